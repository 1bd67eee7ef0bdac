#include "support/PictureSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

class CliEdit : public ::testing::Test {
protected:
    void SetUp() override {
        book = dir.filePath(QStringLiteral("buch.fbp"));
        ASSERT_EQ(
            runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("31"), book}).exitCode,
            0);
        photo = PictureSupport::writeFile(dir.filePath(QStringLiteral("foto.jpg")),
                                          PictureSupport::jpeg(PictureSupport::photo(120, 80)));
    }
    TestSupport::CliResult edit(const QStringList& steps, const QString& out) {
        return runCli(QStringList{QStringLiteral("edit"), book, out} + steps);
    }
    QByteArray canonical(const QString& file) {
        const auto result = runCli({QStringLiteral("info"), QStringLiteral("--canonical"), file});
        EXPECT_EQ(result.exitCode, 0) << result.err.constData();
        return result.out;
    }
    QString path(const char* name) { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QString book;
    QString photo;
};

TEST_F(CliEdit, EachStepReportsTheHistoryAndUndoNamesTheRecordAndPlace) {
    const QString out = path("aus.fbp");
    const auto result =
        edit({QStringLiteral("view"), QStringLiteral("1"), QStringLiteral("picture"), QStringLiteral("1"),
              QStringLiteral("0"), photo, QStringLiteral("select"), QStringLiteral("pic"),
              QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("zoom"), QStringLiteral("1"),
              QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("undo"), QStringLiteral("undo"),
              QStringLiteral("undo"), QStringLiteral("redo")},
             out);
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    const QString state = QStringLiteral(" records=(\\d+) redo=(\\d+) bytes=(\\d+)$");
    const QStringList expected = {
        QStringLiteral("^1 view") + state,
        QStringLiteral("^2 picture") + state,
        QStringLiteral("^3 select") + state,
        QStringLiteral("^4 zoom") + state,
        QStringLiteral("^5 undo TUndoBildZoomPan view=1 focus=Pic:1:0") + state,
        QStringLiteral("^6 undo TUndoBildEinfuegen view=1 focus=none") + state,
        QStringLiteral("^7 undo nothing") + state,
        QStringLiteral("^8 redo TUndoBildEinfuegen view=1 focus=none") + state,
    };
    const int records[] = {0, 1, 1, 2, 1, 0, 0, 1};
    const int redo[] = {0, 0, 0, 0, 1, 2, 2, 1};
    for (int i = 0; i < 8; ++i) {
        const auto match = QRegularExpression(expected[i]).match(lines[i]);
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), records[i]) << i;
        EXPECT_EQ(match.captured(2).toInt(), redo[i]) << i;
    }
    // The record of a picture holds its bytes.
    EXPECT_GT(QRegularExpression(state).match(lines[1]).captured(3).toInt(), int(readFile(photo).size()));
}

TEST_F(CliEdit, StepAndUndoGiveTheProjectBeforeAndRedoTheOneAfter) {
    const QByteArray before = canonical(book);
    const QList<QStringList> steps = {
        {QStringLiteral("picture"), QStringLiteral("2"), QStringLiteral("0"), photo},
        {QStringLiteral("delete-view"), QStringLiteral("1")},
        {QStringLiteral("insert-text"), QStringLiteral("3")},
        {QStringLiteral("colour"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0x3366CC")},
    };
    for (const QStringList& step : steps) {
        SCOPED_TRACE(step.join(u' ').toStdString());
        ASSERT_EQ(edit(step, path("nach.fbp")).exitCode, 0);
        ASSERT_EQ(edit(step + QStringList{QStringLiteral("undo")}, path("zurueck.fbp")).exitCode, 0);
        ASSERT_EQ(edit(step + QStringList{QStringLiteral("undo"), QStringLiteral("redo")}, path("wieder.fbp"))
                      .exitCode,
                  0);
        const QByteArray after = canonical(path("nach.fbp"));
        EXPECT_NE(after, before);
        EXPECT_EQ(canonical(path("zurueck.fbp")), before);
        // A colour area is made with the time of day as its date; the repeated one carries the
        // date of the first, made in another run of the tool.
        static const QRegularExpression date(QStringLiteral("\"FileDate\":[-+.e0-9]+"));
        EXPECT_EQ(QString::fromUtf8(canonical(path("wieder.fbp"))).replace(date, QString()),
                  QString::fromUtf8(after).replace(date, QString()));
    }
}

TEST_F(CliEdit, ARefusedStepExitsWithOneLineAndWritesNothing) {
    const QByteArray original = readFile(book);
    const QString out = path("nie.fbp");
    const QList<QStringList> refused = {
        {QStringLiteral("zoom"), QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2")}, // no picture
        {QStringLiteral("delete-view"), QStringLiteral("0")},                                    // the cover
        {QStringLiteral("picture"), QStringLiteral("99"), QStringLiteral("0"), photo},
        {QStringLiteral("insert-view"), QStringLiteral("5"), QStringLiteral("1")},
        {QStringLiteral("layout"), QStringLiteral("1"), QStringLiteral("KeinLayout")},
        {QStringLiteral("calendar-start"), QStringLiteral("2026"), QStringLiteral("1")}, // no calendar
        {QStringLiteral("rotate"), QStringLiteral("1"), QStringLiteral("0")},            // too short
        {QStringLiteral("hüpfen")},
    };
    for (const QStringList& steps : refused) {
        SCOPED_TRACE(steps.join(u' ').toStdString());
        const auto result =
            edit(QStringList{QStringLiteral("insert-text"), QStringLiteral("1")} + steps, out);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_FALSE(QFile::exists(out));
    }
    EXPECT_EQ(readFile(book), original);
    EXPECT_EQ(runCli({QStringLiteral("edit"), book}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("edit"), book, out}).exitCode, 2); // no steps
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliEdit, TheBudgetKeepsTheNewestRecords) {
    const auto result = runCli({QStringLiteral("edit"), book, path("b.fbp"), QStringLiteral("--undo-budget"),
                                QStringLiteral("1000"), QStringLiteral("picture"), QStringLiteral("1"),
                                QStringLiteral("0"), photo, QStringLiteral("picture"), QStringLiteral("1"),
                                QStringLiteral("0"), photo, QStringLiteral("undo"), QStringLiteral("undo")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QStringList lines = QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2 picture records=1 ")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("4 undo nothing")));
}

TEST_F(CliEdit, TheCanonicalInfoNamesPicturesByTheirBytesWithTheirUses) {
    const QString out = path("c.fbp");
    ASSERT_EQ(
        edit({QStringLiteral("picture"), QStringLiteral("1"), QStringLiteral("0"), photo,
              QStringLiteral("picture"), QStringLiteral("1"), QStringLiteral("1"), photo,
              QStringLiteral("colour"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("0xFF")},
             out)
            .exitCode,
        0);
    const QJsonObject info = QJsonDocument::fromJson(canonical(out)).object();
    const QJsonArray pictures = info.value(QStringLiteral("pictures")).toArray();
    ASSERT_EQ(pictures.size(), 2);
    QStringList names;
    for (const QJsonValue& value : pictures) {
        const QJsonObject picture = value.toObject();
        EXPECT_FALSE(picture.contains(QStringLiteral("RefIndex")));
        EXPECT_EQ(picture.value(QStringLiteral("Picture")).toString().size(), 64);
        EXPECT_EQ(picture.value(QStringLiteral("RefCount")).toInt(),
                  picture.value(QStringLiteral("Uses")).toInt());
        names << picture.value(QStringLiteral("Picture")).toString();
    }
    EXPECT_LT(names[0], names[1]);
    const QJsonArray frames = info.value(QStringLiteral("pages"))
                                  .toArray()[1]
                                  .toObject()
                                  .value(QStringLiteral("pictures"))
                                  .toArray();
    EXPECT_EQ(frames[0].toObject().value(QStringLiteral("Picture")),
              frames[1].toObject().value(QStringLiteral("Picture")));
    const QJsonArray empty = info.value(QStringLiteral("pages"))
                                 .toArray()[2]
                                 .toObject()
                                 .value(QStringLiteral("pictures"))
                                 .toArray();
    EXPECT_TRUE(empty[1].toObject().value(QStringLiteral("Picture")).isNull());
    EXPECT_FALSE(frames[0].toObject().contains(QStringLiteral("RefIndex")));
}

} // namespace
