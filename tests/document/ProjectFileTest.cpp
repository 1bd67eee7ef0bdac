#include "support/SampleDocument.h"

#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"
#include "platform/uAtomicFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::writeFile;

namespace {

// The message of the error the call raises; empty when it raises none.
template <typename F>
QString errorOf(F&& call) {
    try {
        call();
    } catch (const Exception& error) {
        return error.message();
    }
    return QString();
}

class ProjectFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        target = dir.filePath(QStringLiteral("album.fbp"));
        assets.reset(new QTemporaryDir);
        SampleDocument::fill(doc, assets->path());
    }
    // Only the files the test made itself: no temporary file is ever left behind.
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir dir;
    std::unique_ptr<QTemporaryDir> assets;
    QString target;
    TFBDocument doc;
};

} // namespace

TEST_F(ProjectFile, SavedFileLoadsBackAndReplacesTheOldOneKeepingItsPermissions) {
    SaveDocumentToFile(doc, target);
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(files(), QStringList{QStringLiteral("album.fbp")});
    const QByteArray first = readFile(target);
    EXPECT_TRUE(first.startsWith(QByteArray("VX DataFile\0\0\0\0\0\x01\0\0\0", 20)));

    // The same bytes as the container written into memory.
    EXPECT_EQ(first, SampleDocument::saved(doc));

    TFBDocument loaded;
    LoadDocumentFromFile(loaded, target);
    EXPECT_EQ(loaded.Pages.Count(), 3);
    EXPECT_EQ(loaded.Dokumentname, doc.Dokumentname);

    // Saving over an existing file keeps its permissions.
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup));
    loaded.Dokumentname = QStringLiteral("Neu");
    SaveDocumentToFile(loaded, target);
    EXPECT_EQ(QFile::permissions(target) & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    TFBDocument again;
    LoadDocumentFromFile(again, target);
    EXPECT_EQ(again.Dokumentname, QStringLiteral("Neu"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("album.fbp")});
}

TEST_F(ProjectFile, AWriteFailingPartWayLeavesThePreviousFileIntact) {
    writeFile(target, QByteArrayLiteral("the previous project"));
    SaveDocumentToFile(doc, target);
    const QByteArray previous = readFile(target);
    ASSERT_GT(previous.size(), 1000);

    // The disk fills up at the header, inside the first item, in the middle and at the last byte.
    for (const qint64 limit :
         {qint64(0), qint64(10), qint64(100), previous.size() / 2, previous.size() - 1}) {
        SCOPED_TRACE(limit);
        doc.Modified = true;
        TWriteFaults faults;
        faults.FailAfterBytes = limit;
        const QString message = errorOf([&] { SaveDocumentToFile(doc, target, faults); });
        EXPECT_TRUE(message.contains(QStringLiteral("album.fbp"))) << qPrintable(message);
        EXPECT_TRUE(message.contains(QStringLiteral("Die bisherige Datei ist unverändert.")))
            << qPrintable(message);
        EXPECT_EQ(readFile(target), previous);
        EXPECT_EQ(files(), QStringList{QStringLiteral("album.fbp")});
        EXPECT_TRUE(doc.Modified); // the changes are still unsaved
    }

    // The rename failing at the very end changes nothing either.
    TWriteFaults faults;
    faults.FailCommit = true;
    doc.Modified = true;
    EXPECT_FALSE(errorOf([&] { SaveDocumentToFile(doc, target, faults); }).isEmpty());
    EXPECT_EQ(readFile(target), previous);
    EXPECT_EQ(files(), QStringList{QStringLiteral("album.fbp")});
    EXPECT_TRUE(doc.Modified);

    // Exactly enough room: the save goes through.
    faults = {};
    faults.FailAfterBytes = previous.size();
    doc.Dokumentname = QStringLiteral("Photobook 8:5 Größe"); // the same length as before
    SaveDocumentToFile(doc, target, faults);
    EXPECT_FALSE(doc.Modified);
}

TEST_F(ProjectFile, AReadOnlyTargetIsRefusedAndLeftAlone) {
    writeFile(target, QByteArrayLiteral("kept"));
    ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    doc.Modified = true;
    EXPECT_EQ(errorOf([&] { SaveDocumentToFile(doc, target); }),
              QStringLiteral("Die Datei ist schreibgeschützt"));
    EXPECT_EQ(readFile(target), QByteArrayLiteral("kept"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("album.fbp")});
    EXPECT_TRUE(doc.Modified);

    // Reading a read-only project works.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    SaveDocumentToFile(doc, target);
    QFile::setPermissions(target, QFileDevice::ReadOwner);
    TFBDocument loaded;
    LoadDocumentFromFile(loaded, target);
    EXPECT_EQ(loaded.Pages.Count(), 3);
}

TEST_F(ProjectFile, ATargetThatIsAFolderOrInAMissingFolderGivesAnError) {
    const QString folder = dir.filePath(QStringLiteral("ordner.fbp"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(errorOf([&] { SaveDocumentToFile(doc, folder); }).isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_FALSE(
        errorOf([&] { SaveDocumentToFile(doc, dir.filePath(QStringLiteral("fehlt/a.fbp"))); }).isEmpty());
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(ProjectFile, FilesThatAreNoProjectsAreRefusedUnchanged) {
    const QString text = dir.filePath(QStringLiteral("text.fbp"));
    writeFile(text,
              QByteArrayLiteral("Kein Projekt, nur ein Text, der lang genug ist, um ein Element zu sein. ")
                  .repeated(4));
    const QString empty = dir.filePath(QStringLiteral("leer.fbp"));
    writeFile(empty, QByteArray());
    TFBDocument loaded;
    EXPECT_EQ(errorOf([&] { LoadDocumentFromFile(loaded, text); }), QStringLiteral("Invalid file format."));
    EXPECT_EQ(errorOf([&] { LoadDocumentFromFile(loaded, empty); }), QStringLiteral("Invalid file format."));
    EXPECT_EQ(readFile(empty), QByteArray()); // opening wrote nothing into it
    EXPECT_FALSE(
        errorOf([&] { LoadDocumentFromFile(loaded, dir.filePath(QStringLiteral("fehlt.fbp"))); }).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("fehlt.fbp")))); // and created nothing
    EXPECT_FALSE(errorOf([&] { LoadDocumentFromFile(loaded, dir.path()); }).isEmpty());

    // A project cut short anywhere is reported instead of loading as a shortened album; the file
    // is not changed.
    SaveDocumentToFile(doc, target);
    const QByteArray full = readFile(target);
    for (const qsizetype cutAt : {qsizetype(10), qsizetype(20 + 100), full.size() / 3, full.size() - 1}) {
        SCOPED_TRACE(cutAt);
        writeFile(target, full.left(cutAt));
        const QString message = errorOf([&] { LoadDocumentFromFile(loaded, target); });
        EXPECT_FALSE(message.isEmpty());
        EXPECT_EQ(readFile(target), full.left(cutAt));
    }
    EXPECT_EQ(errorOf([&] { LoadDocumentFromFile(loaded, target); }),
              QStringLiteral("Die Datei ist unvollständig oder beschädigt."));
    // Bytes after the last item are damage as well.
    writeFile(target, full + QByteArray(30, '\0'));
    EXPECT_FALSE(errorOf([&] { LoadDocumentFromFile(loaded, target); }).isEmpty());
    writeFile(target, full);
    LoadDocumentFromFile(loaded, target);
    EXPECT_EQ(loaded.Pages.Count(), 3);
}
