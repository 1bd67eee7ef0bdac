#include "support/PictureSupport.h"
#include "support/TestSupport.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::readFile;
using TestSupport::runCli;

namespace {

class CliPlace : public ::testing::Test {
protected:
    void SetUp() override {
        // Page 0 with two empty frames, page 1 without frames.
        TFBDocument doc;
        doc.Reset();
        TFBPage* first = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        for (int i = 0; i < 2; ++i)
            first->Pictures.Add(std::make_unique<TFBPictureElement>(first));
        project = dir.filePath(QStringLiteral("album.fbp"));
        SaveDocumentToFile(doc, project);
        doc.Reset();
    }

    // The picture entry of a frame after loading the project again.
    const TBildManagerListItem* placed(TFBDocument& doc, int page, int frame) {
        LoadDocumentFromFile(doc, project);
        const auto* element =
            static_cast<const TFBPictureElement*>(doc.Pages.Items(page)->Pictures.Items(frame));
        return TBildmanager::Instance().Find(element->RefIndex);
    }

    QTemporaryDir dir;
    QString project;
};

TEST_F(CliPlace, PutsTheUprightPictureIntoTheFrameAndSavesInPlace) {
    // A camera photo held sideways: the frame gets it upright.
    const QString photo = PictureSupport::writeFile(
        dir.filePath(QStringLiteral("photo.jpg")),
        PictureSupport::withOrientation(PictureSupport::jpeg(PictureSupport::photo(300, 200)), 6));
    const auto result = runCli({QStringLiteral("place"), project, QStringLiteral("--page"),
                                QStringLiteral("0"), QStringLiteral("--frame"), QStringLiteral("1"), photo});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    EXPECT_TRUE(result.out.contains("200 x 300"));

    TFBDocument doc;
    const TBildManagerListItem* entry = placed(doc, 0, 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->FileName, photo);
    EXPECT_EQ(entry->PicWidth, 200);
    EXPECT_EQ(entry->PicHeight, 300);
    EXPECT_EQ(entry->RefCount, 1);
    EXPECT_EQ(static_cast<const TFBPictureElement*>(doc.Pages.Items(0)->Pictures.Items(0))->RefIndex, -1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left behind
    doc.Reset();

    // Placing a second picture into the same frame replaces the first one in the store.
    const QString other = dir.filePath(QStringLiteral("other.png"));
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::darkGreen);
    ASSERT_TRUE(small.save(other, "PNG"));
    ASSERT_EQ(runCli({QStringLiteral("place"), project, QStringLiteral("--frame"), QStringLiteral("1"),
                      QStringLiteral("--page"), QStringLiteral("0"), other})
                  .exitCode,
              0);
    entry = placed(doc, 0, 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->PicWidth, 40);
    EXPECT_EQ(TBildmanager::Instance().Count(), 1);
    doc.Reset();
}

TEST_F(CliPlace, MissingPagesFramesAndPicturesAreRefusedAndTheFileStaysAsItWas) {
    const QString photo = PictureSupport::writeFile(dir.filePath(QStringLiteral("p.jpg")),
                                                    PictureSupport::jpeg(PictureSupport::photo(64, 48)));
    const QString junk = PictureSupport::writeFile(dir.filePath(QStringLiteral("junk.jpg")), "not a picture");
    // An icon the platform would read by its content, named like a photo.
    QByteArray icon;
    QBuffer iconBuffer(&icon);
    iconBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&iconBuffer, "ico").write(PictureSupport::photo(32, 32)));
    const QString iconJpg = PictureSupport::writeFile(dir.filePath(QStringLiteral("icon.jpg")), icon);
    const QByteArray before = readFile(project);
    struct Case {
        QStringList args;
        const char* message;
    };
    const QString p = QStringLiteral("--page");
    const QString f = QStringLiteral("--frame");
    for (const Case& c : {
             Case{{project, p, QStringLiteral("2"), f, QStringLiteral("0"), photo}, "page 2 does not exist"},
             Case{{project, p, QStringLiteral("-1"), f, QStringLiteral("0"), photo},
                  "page -1 does not exist"},
             Case{{project, p, QStringLiteral("1"), f, QStringLiteral("0"), photo},
                  "frame 0 does not exist on page 1"},
             Case{{project, p, QStringLiteral("0"), f, QStringLiteral("2"), photo},
                  "frame 2 does not exist on page 0"},
             Case{{project, p, QStringLiteral("0"), f, QStringLiteral("0"),
                   dir.filePath(QStringLiteral("none.jpg"))},
                  "picture not found"},
             Case{{project, p, QStringLiteral("0"), f, QStringLiteral("0"), junk}, "could not be decoded"},
             Case{{project, p, QStringLiteral("0"), f, QStringLiteral("0"), iconJpg}, "could not be decoded"},
             Case{{dir.filePath(QStringLiteral("none.fbp")), p, QStringLiteral("0"), f, QStringLiteral("0"),
                   photo},
                  "file not found"},
             Case{{project, p, QStringLiteral("x"), f, QStringLiteral("0"), photo}, "whole number"},
             Case{{project, p, QStringLiteral("0"), photo}, "usage"},
         }) {
        SCOPED_TRACE(c.message);
        const auto result = runCli(QStringList{QStringLiteral("place")} + c.args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(c.message)) << result.err.constData();
        EXPECT_EQ(readFile(project), before);
    }
}

} // namespace
