// tintaro-cli copy, paste and drop, and the edit steps toggle-orientation and insert-text.
#include "support/PictureSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;
using TestSupport::writeFile;

namespace {

class CliClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        prints = path("abzuege.fbp");
        book = path("buch.fbp");
        ASSERT_EQ(runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("21"), prints})
                      .exitCode,
                  0);
        ASSERT_EQ(
            runCli({QStringLiteral("new"), QStringLiteral("--product"), QStringLiteral("31"), book}).exitCode,
            0);
        photo =
            PictureSupport::writeFile(path("foto.jpg"), PictureSupport::jpeg(PictureSupport::photo(120, 80)));
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QStringList lines(const TestSupport::CliResult& result) const {
        return QString::fromUtf8(result.out).split(u'\n', Qt::SkipEmptyParts);
    }
    // The command is refused with one line on stderr and leaves the project as it was.
    void expectRefused(const QStringList& args, const QString& project) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const QByteArray before = readFile(project);
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_EQ(readFile(project), before);
    }

    QTemporaryDir dir;
    QString prints, book, photo;
};

TEST_F(CliClipboard, DroppedFilesFillTheFramesOneRecordEach) {
    const QString list = path("liste.txt");
    writeFile(list, (photo + QStringLiteral("\r\n") + photo + QStringLiteral("\n")).toUtf8());
    const auto result = runCli({QStringLiteral("drop"), prints, QStringLiteral("--view"), QStringLiteral("1"),
                                QStringLiteral("--at"), QStringLiteral("20,30"), QStringLiteral("--format"),
                                QStringLiteral("VXFileList"), QStringLiteral("--data"), list});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(lines(result), (QStringList{QStringLiteral("picture %1 into frame 0 of page 1").arg(photo),
                                          QStringLiteral("picture %1 into frame 0 of page 2").arg(photo),
                                          QStringLiteral("undo records: 2")}));
    // Saved in place: the frames show the photo when the project is read again.
    const auto again = runCli({QStringLiteral("copy"), prints, QStringLiteral("--page"), QStringLiteral("2"),
                               QStringLiteral("--frame"), QStringLiteral("0"), path("kopie.clip")});
    EXPECT_EQ(again.exitCode, 0) << again.err.constData();
}

TEST_F(CliClipboard, AFileManagersUriListIsTakenAndTheFileKept) {
    QDir(dir.path()).mkpath(QStringLiteral("Grüße 2024"));
    const QString strand = path("Grüße 2024/Strand #1.jpg");
    QFile::copy(photo, strand);
    const QString uris = path("uris.txt");
    writeFile(uris, "https://example.org/anderes.jpg\r\n" + QUrl::fromLocalFile(strand).toEncoded() + "\r\n");
    const auto result = runCli({QStringLiteral("drop"), prints, QStringLiteral("--view"), QStringLiteral("0"),
                                QStringLiteral("--at"), QStringLiteral("50,50"), QStringLiteral("--format"),
                                QStringLiteral("text/uri-list"), QStringLiteral("--data"), uris});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(lines(result).first(), QStringLiteral("picture %1 into frame 0 of page 0").arg(strand));
    EXPECT_TRUE(QFile::exists(strand));
}

TEST_F(CliClipboard, RefusedDropsLeaveTheProjectUntouched) {
    const QString colour = path("farbe.bin");
    writeFile(colour, QByteArray("\x03\x00\x00\x00rot\xFF\x00\x00\x00", 11));
    const QString nothing = path("leer.txt");
    writeFile(nothing, QByteArray("relativ.jpg\r\n"));
    const auto dropArgs = [&](const char* at, const char* format, const QString& data) {
        return QStringList{QStringLiteral("drop"),     prints,
                           QStringLiteral("--view"),   QStringLiteral("0"),
                           QStringLiteral("--at"),     QString::fromLatin1(at),
                           QStringLiteral("--format"), QString::fromLatin1(format),
                           QStringLiteral("--data"),   data};
    };
    expectRefused(dropArgs("-20,-20", "VXColor", colour), prints);          // beside the frames
    expectRefused(dropArgs("50,50", "VXFileList", nothing), prints);        // no file there
    expectRefused(dropArgs("50,50", "VXPic", colour), prints);              // no frame's number
    expectRefused(dropArgs("50,50", "image/png", colour), prints);          // no drop format
    expectRefused(dropArgs("fünfzig", "VXColor", colour), prints);          // no point
    expectRefused(dropArgs("50,50", "VXColor", path("fehlt.bin")), prints); // no payload

    // A colour dropped into the frame is a change.
    const auto result = runCli(dropArgs("50,50", "VXColor", colour));
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_EQ(lines(result), (QStringList{QStringLiteral("colour 0x0000ff into frame 0 of page 0"),
                                          QStringLiteral("undo records: 1")}));
}

TEST_F(CliClipboard, CopiedBytesPasteIntoAnotherProject) {
    ASSERT_EQ(runCli({QStringLiteral("place"), prints, QStringLiteral("--page"), QStringLiteral("0"),
                      QStringLiteral("--frame"), QStringLiteral("0"), photo})
                  .exitCode,
              0);
    const QString copied = path("bild.clip");
    const auto copy = runCli({QStringLiteral("copy"), prints, QStringLiteral("--page"), QStringLiteral("0"),
                              QStringLiteral("--frame"), QStringLiteral("0"), copied});
    ASSERT_EQ(copy.exitCode, 0) << copy.err.constData();
    EXPECT_EQ(lines(copy),
              QStringList{QStringLiteral("copied TFBPictureElement as CF_ZK_FotobuchPic, %1 bytes")
                              .arg(readFile(copied).size())});
    EXPECT_GT(readFile(copied).size(), readFile(photo).size());

    const auto paste = runCli({QStringLiteral("paste"), book, QStringLiteral("--view"), QStringLiteral("1"),
                               QStringLiteral("--page"), QStringLiteral("2"), QStringLiteral("--frame"),
                               QStringLiteral("0"), copied});
    ASSERT_EQ(paste.exitCode, 0) << paste.err.constData();
    EXPECT_EQ(lines(paste), QStringList{QStringLiteral("pasted TFBPictureElement into frame 0 of page 2")});

    // A text copied from a left page goes onto the left page of the view it is pasted in.
    const QString withText = path("mit-text.fbp");
    ASSERT_EQ(
        runCli({QStringLiteral("edit"), book, withText, QStringLiteral("insert-text"), QStringLiteral("1")})
            .exitCode,
        0);
    const QString text = path("text.clip");
    const auto copyText =
        runCli({QStringLiteral("copy"), withText, QStringLiteral("--page"), QStringLiteral("1"),
                QStringLiteral("--element"), QStringLiteral("0"), text});
    ASSERT_EQ(copyText.exitCode, 0) << copyText.err.constData();
    EXPECT_TRUE(
        lines(copyText).value(0).startsWith(QStringLiteral("copied TFBTextElement as CF_ZK_FotobuchData, ")));
    const auto pasteText =
        runCli({QStringLiteral("paste"), withText, QStringLiteral("--view"), QStringLiteral("2"), text});
    ASSERT_EQ(pasteText.exitCode, 0) << pasteText.err.constData();
    EXPECT_EQ(lines(pasteText),
              QStringList{QStringLiteral("pasted TFBTextElement onto page 3 as element 0")});

    // Refused: an empty frame to copy, bytes that hold no element, a frame off the view, a frame's
    // content with no frame selected.
    const QByteArray before = readFile(book);
    EXPECT_EQ(runCli({QStringLiteral("copy"), book, QStringLiteral("--page"), QStringLiteral("1"),
                      QStringLiteral("--frame"), QStringLiteral("0"), path("nie.clip")})
                  .exitCode,
              2);
    EXPECT_FALSE(QFile::exists(path("nie.clip")));
    expectRefused({QStringLiteral("paste"), book, QStringLiteral("--view"), QStringLiteral("1"), photo},
                  book);
    expectRefused({QStringLiteral("paste"), book, QStringLiteral("--view"), QStringLiteral("1"),
                   QStringLiteral("--page"), QStringLiteral("4"), QStringLiteral("--frame"),
                   QStringLiteral("0"), copied},
                  book);
    expectRefused({QStringLiteral("paste"), book, QStringLiteral("--view"), QStringLiteral("1"), copied},
                  book);
    EXPECT_EQ(readFile(book), before);
}

TEST_F(CliClipboard, EditStepsTurnTheViewAndInsertText) {
    const auto result =
        runCli({QStringLiteral("edit"), book, path("aus.fbp"), QStringLiteral("toggle-orientation"),
                QStringLiteral("1"), QStringLiteral("insert-text"), QStringLiteral("2"),
                QStringLiteral("toggle-orientation"), QStringLiteral("1"), QStringLiteral("undo")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    const QStringList out = lines(result);
    ASSERT_EQ(out.size(), 7);
    EXPECT_TRUE(out[0].startsWith(QStringLiteral("1 toggle-orientation records=1 ")));
    EXPECT_EQ(out[1], QStringLiteral("orientation 1"));
    EXPECT_TRUE(out[2].startsWith(QStringLiteral("2 insert-text records=2 ")));
    EXPECT_EQ(out[3], QStringLiteral("text element 0 on page 2"));
    EXPECT_EQ(out[5], QStringLiteral("orientation 0"));
    EXPECT_TRUE(out[6].startsWith(QStringLiteral("4 undo TUndoLayoutEinfuegen view=1 ")));
    EXPECT_EQ(runCli({QStringLiteral("edit"), book, path("nie.fbp"), QStringLiteral("toggle-orientation"),
                      QStringLiteral("99")})
                  .exitCode,
              2);
}

} // namespace
