#include "document/uDataFile.h"

#include "platform/Exception.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray header() {
    return QByteArray("VX DataFile\0\0\0\0\0\x01\0\0\0", 20);
}

// One item header as the container lays it out.
QByteArray itemHeader(const QByteArray& section, const QByteArray& key, qint32 size, qint32 marker = 1) {
    QByteArray bytes(168, '\0');
    qToLittleEndian(marker, bytes.data());
    bytes.replace(4, section.size(), section);
    bytes.replace(132, key.size(), key);
    qToLittleEndian(size, bytes.data() + 164);
    return bytes;
}

QByteArray item(const QByteArray& section, const QByteArray& key, const QByteArray& data) {
    return itemHeader(section, key, qint32(data.size())) + data;
}

QString messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(DataFile, NewMemoryContainerIsExactlyTheHeader) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    EXPECT_EQ(stream.data(), header());
    EXPECT_TRUE(file.HasValidHeader());
    EXPECT_FALSE(file.IsReadOnly());
}

TEST(DataFile, Int32ItemIs172BytesLaidOutByteExact) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    file.WriteInteger(QStringLiteral("Doc"), QStringLiteral("DocVersion"), 5);
    QByteArray expected = QByteArray("\x01\0\0\0", 4) + "Doc" + QByteArray(125, '\0') + "DocVersion" +
                          QByteArray(22, '\0') + QByteArray("\x04\0\0\0\x05\0\0\0", 8);
    ASSERT_EQ(expected.size(), 172);
    EXPECT_EQ(stream.data().mid(20), expected);
}

TEST(DataFile, LookupIgnoresCaseAndFindsTheFirstOfDuplicates) {
    QBuffer stream;
    {
        TMemoryDataFile writer(stream);
        writer.WriteInteger(QStringLiteral("Doc"), QStringLiteral("DocVersion"), 5);
        writer.WriteString(QStringLiteral("Doc/Pages/Page3"), QStringLiteral("Name"),
                           QStringLiteral("erste"));
        writer.WriteString(QStringLiteral("DOC/pages/page3"), QStringLiteral("NAME"),
                           QStringLiteral("zweite"));
        writer.WriteString(QStringLiteral("Grüße"), QStringLiteral("Schlüssel"), QStringLiteral("Ä"));
    }
    // A second container on the same stream writes no second header and searches linearly.
    TMemoryDataFile reader(stream);
    EXPECT_EQ(stream.size(), 20 + 172 + (168 + 6) + (168 + 7) + (168 + 2));
    EXPECT_EQ(reader.ReadInteger(QStringLiteral("doc"), QStringLiteral("docversion"), -1), 5);
    EXPECT_EQ(reader.ReadString(QStringLiteral("doc/pages/PAGE3"), QStringLiteral("name"), {}),
              QStringLiteral("erste"));
    EXPECT_EQ(reader.ReadString(QStringLiteral("GRÜßE"), QStringLiteral("SCHLÜSSEL"), {}),
              QStringLiteral("Ä"));
    // Names are stored as Windows-1252 bytes.
    EXPECT_TRUE(stream.data().contains(QByteArray("Gr\xFC\xDF"
                                                  "e")));

    // The index gives the same answers.
    reader.BuildCache();
    ASSERT_EQ(reader.CacheItems().size(), 4u);
    EXPECT_EQ(reader.CacheItems()[1].Position, 20 + 172);
    EXPECT_EQ(reader.CacheItems()[2].Section, QStringLiteral("DOC/pages/page3"));
    EXPECT_EQ(reader.ReadString(QStringLiteral("doc/pages/PAGE3"), QStringLiteral("name"), {}),
              QStringLiteral("erste"));
    EXPECT_EQ(reader.ReadString(QStringLiteral("GRÜßE"), QStringLiteral("SCHLÜSSEL"), {}),
              QStringLiteral("Ä"));
}

TEST(DataFile, MissingItemsReadAsMinusOneAndLeaveTargetsAlone) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    file.WriteBuffer(QStringLiteral("S"), QStringLiteral("K"), QByteArray("abc"));
    QByteArray buffer("keep");
    EXPECT_EQ(file.ReadBuffer(QStringLiteral("S"), QStringLiteral("missing"), buffer), -1);
    EXPECT_EQ(buffer, QByteArray("keep"));

    QBuffer target;
    target.setData("old content");
    EXPECT_EQ(file.ReadStream(QStringLiteral("T"), QStringLiteral("K"), target), -1);
    EXPECT_EQ(target.data(), QByteArray("old content"));
    EXPECT_EQ(file.ReadStream(QStringLiteral("S"), QStringLiteral("K"), target), 3);
    EXPECT_EQ(target.data(), QByteArray("abc"));
    EXPECT_TRUE(target.isOpen());
    EXPECT_EQ(target.pos(), 0);
}

TEST(DataFile, StreamsAreStoredWholeFromTheirStart) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    QBuffer source;
    source.setData(QByteArray("\x89PNG\r\n\x1a\n-picture-bytes", 23));
    source.open(QIODevice::ReadOnly);
    source.seek(10);
    file.WriteStream(QStringLiteral("Pics/Pic0"), QStringLiteral("Data"), source);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    EXPECT_EQ(file.ReadStream(QStringLiteral("pics/pic0"), QStringLiteral("data"), target), 23);
    EXPECT_EQ(target.data(), source.data());
}

TEST(DataFile, OverlongNamesAreRejectedAndNothingIsWritten) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    const QString section127(127, QLatin1Char('s'));
    const QString key31(31, QLatin1Char('k'));
    file.WriteInteger(section127, key31, 7);
    EXPECT_EQ(file.ReadInteger(section127, key31, 0), 7);
    const qint64 size = stream.size();
    EXPECT_FALSE(messageOf([&] { file.WriteInteger(section127 + "s", key31, 1); }).isEmpty());
    EXPECT_FALSE(messageOf([&] { file.WriteInteger(section127, key31 + "k", 1); }).isEmpty());
    EXPECT_EQ(stream.size(), size);
}

TEST(DataFile, ReadOnlyStreamsRefuseWrites) {
    QBuffer stream;
    { TMemoryDataFile(stream).WriteInteger(QStringLiteral("A"), QStringLiteral("B"), 1); }
    stream.close();
    stream.open(QIODevice::ReadOnly);
    TMemoryDataFile file(stream);
    EXPECT_TRUE(file.IsReadOnly());
    EXPECT_EQ(file.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), 0), 1);
    EXPECT_EQ(messageOf([&] { file.WriteInteger(QStringLiteral("A"), QStringLiteral("C"), 2); }),
              QStringLiteral("Die Datei ist schreibgeschützt"));
}

TEST(DataFile, FileContainerCreatesIndexesAndReopens) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("projekt.fbp"));
    {
        TDataFile file(path);
        EXPECT_EQ(file.FileName(), path);
        EXPECT_TRUE(file.CacheItems().empty());
        for (int i = 0; i < 100; ++i)
            file.WriteInteger(QStringLiteral("Doc/Pages/Page%1").arg(i), QStringLiteral("Nr"), i);
        file.WriteInteger(QStringLiteral("Doc/Pages/Page5"), QStringLiteral("Nr"), 500);
    }
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.read(20), header());
    raw.close();

    TDataFile file(path);
    EXPECT_FALSE(file.IsReadOnly());
    ASSERT_EQ(file.CacheItems().size(), 101u);
    EXPECT_EQ(file.ReadInteger(QStringLiteral("doc/pages/page5"), QStringLiteral("NR"), -1), 5);
    EXPECT_EQ(file.ReadInteger(QStringLiteral("Doc/Pages/Page99"), QStringLiteral("Nr"), -1), 99);
    EXPECT_EQ(file.ReadInteger(QStringLiteral("Doc/Pages/Page100"), QStringLiteral("Nr"), -1), -1);
    // Items appended after indexing are not in the index.
    file.WriteInteger(QStringLiteral("Neu"), QStringLiteral("Nr"), 1);
    EXPECT_EQ(file.ReadInteger(QStringLiteral("Neu"), QStringLiteral("Nr"), -1), -1);
}

TEST(DataFile, FileMarkedReadOnlyReadsButRefusesEveryWrite) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("schreibgeschuetzt.fbp"));
    { TDataFile(path).WriteString(QStringLiteral("Doc"), QStringLiteral("Titel"), QStringLiteral("Urlaub")); }
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const qint64 size = QFileInfo(path).size();
    {
        TDataFile file(path);
        EXPECT_TRUE(file.IsReadOnly());
        EXPECT_EQ(file.ReadString(QStringLiteral("doc"), QStringLiteral("titel"), {}),
                  QStringLiteral("Urlaub"));
        const QString expected = QStringLiteral("Die Datei ist schreibgeschützt");
        EXPECT_EQ(messageOf([&] { file.WriteInteger(QStringLiteral("A"), QStringLiteral("B"), 1); }),
                  expected);
        EXPECT_EQ(messageOf([&] { file.WriteString(QStringLiteral("A"), QStringLiteral("B"), {}); }),
                  expected);
        QBuffer source;
        EXPECT_EQ(messageOf([&] { file.WriteStream(QStringLiteral("A"), QStringLiteral("B"), source); }),
                  expected);
        EXPECT_EQ(messageOf([&] { file.WriteFont(QStringLiteral("A"), QStringLiteral("B"), TFont()); }),
                  expected);
    }
    EXPECT_EQ(QFileInfo(path).size(), size);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(DataFile, OpeningFailuresRaiseClearErrors) {
    QTemporaryDir dir;
    EXPECT_FALSE(messageOf([&] { TDataFile file(dir.filePath(QStringLiteral("fehlt/x.fbp"))); }).isEmpty());
    EXPECT_FALSE(messageOf([&] { TDataFile file(dir.path()); }).isEmpty());
}

TEST(DataFile, EmptyExistingFileGetsItsHeader) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("leer.fbp"));
    QFile empty(path);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    { TDataFile(path).WriteInteger(QStringLiteral("A"), QStringLiteral("B"), 3); }
    TDataFile file(path);
    EXPECT_TRUE(file.HasValidHeader());
    EXPECT_EQ(file.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), 0), 3);
}

// --- Damaged input --------------------------------------------------------------------------

TEST(DataFileDamage, MarkerOtherThanOneIsInvalidFormat) {
    QBuffer stream;
    stream.setData(header() + item("A", "B", "1234") + itemHeader("C", "D", 0, 7));
    TMemoryDataFile file(stream);
    // The first item is found before the damage is reached; a later one is not.
    EXPECT_EQ(file.ReadInteger(QStringLiteral("A"), QStringLiteral("B"), 0), 0x34333231);
    EXPECT_EQ(messageOf([&] { file.ReadInteger(QStringLiteral("C"), QStringLiteral("D"), 0); }),
              QStringLiteral("Invalid file format."));
    EXPECT_EQ(messageOf([&] { file.BuildCache(); }), QStringLiteral("Invalid file format."));
    EXPECT_TRUE(file.CacheItems().empty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.fbp"));
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write(stream.data());
    raw.close();
    EXPECT_EQ(messageOf([&] { TDataFile damaged(path); }), QStringLiteral("Invalid file format."));
}

TEST(DataFileDamage, TruncatedLastItemGivesTheBytesThatAreThere) {
    QBuffer stream;
    stream.setData(header() + item("A", "B", "xy") + itemHeader("Pic", "Data", 1000000) + "abcdef");
    TMemoryDataFile file(stream);
    QByteArray data;
    EXPECT_EQ(file.ReadBuffer(QStringLiteral("Pic"), QStringLiteral("Data"), data), 6);
    EXPECT_EQ(data, QByteArray("abcdef"));
    file.BuildCache();
    ASSERT_EQ(file.CacheItems().size(), 2u);
    EXPECT_EQ(file.CacheItems()[1].Size, 1000000);
    EXPECT_EQ(file.ReadBuffer(QStringLiteral("Pic"), QStringLiteral("Data"), data), 6);
    // A reader that needs more bytes than are left gives its default.
    EXPECT_EQ(file.ReadFloat(QStringLiteral("Pic"), QStringLiteral("Data"), 2.5), 2.5);
    EXPECT_EQ(stream.size(), 20 + 170 + 174); // reading never grows the stream
}

TEST(DataFileDamage, AbsurdSizesNeverAllocateOrLoop) {
    // A negative size would lead back into earlier items; the readable items end there.
    QBuffer negative;
    negative.setData(header() + item("A", "B", "1") + itemHeader("C", "D", -169) + item("E", "F", "2"));
    TMemoryDataFile a(negative);
    EXPECT_EQ(a.ReadString(QStringLiteral("E"), QStringLiteral("F"), QStringLiteral("-")),
              QStringLiteral("-"));
    EXPECT_EQ(a.ReadString(QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("-")),
              QStringLiteral("-"));
    a.BuildCache();
    EXPECT_EQ(a.CacheItems().size(), 1u);
    EXPECT_EQ(a.ReadString(QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("-")),
              QStringLiteral("-"));

    QBuffer huge;
    huge.setData(header() + itemHeader("A", "B", 0x7FFFFFFF) + "z");
    TMemoryDataFile b(huge);
    QByteArray data;
    EXPECT_EQ(b.ReadBuffer(QStringLiteral("A"), QStringLiteral("B"), data), 1);
    b.BuildCache();
    EXPECT_EQ(b.CacheItems().size(), 1u);

    // A header cut short, and streams shorter than the file header, hold no items.
    for (const QByteArray& bytes :
         {header() + itemHeader("A", "B", 0).left(167), QByteArray("VX Da"), QByteArray()}) {
        QBuffer stream;
        stream.setData(bytes);
        stream.open(QIODevice::ReadOnly);
        TMemoryDataFile file(stream);
        EXPECT_EQ(file.ReadBuffer(QStringLiteral("A"), QStringLiteral("B"), data), -1);
        file.BuildCache();
        EXPECT_TRUE(file.CacheItems().empty());
        EXPECT_EQ(stream.data(), bytes);
    }
}

TEST(DataFileDamage, NamesFillingTheWholeFieldEndAtTheField) {
    // No zero byte inside the field: the name is the whole field.
    QBuffer stream;
    stream.setData(header() + itemHeader(QByteArray(128, 'S'), QByteArray(32, 'k'), 1) + "\x01");
    TMemoryDataFile file(stream);
    file.BuildCache();
    ASSERT_EQ(file.CacheItems().size(), 1u);
    EXPECT_EQ(file.CacheItems()[0].Section, QString(128, QLatin1Char('S')));
    EXPECT_EQ(file.CacheItems()[0].Key, QString(32, QLatin1Char('k')));
    EXPECT_TRUE(file.ReadBool(QString(128, QLatin1Char('s')), QString(32, QLatin1Char('K')), false));
}
