#include "support/TestSupport.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {

// A spread book (mode 2) of two 40 x 30 mm pages: a red photo on the left page, an empty frame on
// the right page, a yellow right page.
QString writeProject(const QTemporaryDir& dir) {
    TFBDocument doc;
    doc.Reset();
    doc.ScreenMode = 2;
    doc.PageWidth = 40;
    doc.PageHeight = 30;
    doc.PicturesHaveShadows = false;
    for (int i = 0; i < 2; ++i)
        doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    doc.Pages.Items(1)->Seitenfarbe = 0x00FFFF;
    const QString photo = dir.filePath("rot.png");
    QImage red(60, 40, QImage::Format_RGB32);
    red.fill(qRgb(230, 0, 0));
    red.save(photo);
    for (int i = 0; i < 2; ++i) {
        TFBPage* page = doc.Pages.Items(i);
        auto* frame =
            static_cast<TFBPictureElement*>(page->Pictures.Add(std::make_unique<TFBPictureElement>(page)));
        frame->CenterX = 20;
        frame->CenterY = 15;
        frame->Width = 20;
        frame->Height = 10;
        if (i == 0)
            frame->SetPictureFile(photo);
    }
    const QString path = dir.filePath("buch.fbp");
    SaveDocumentToFile(doc, path);
    doc.Reset();
    return path;
}

TEST(CliRender, DrawsTheViewAtTheAskedResolution) {
    QTemporaryDir dir;
    const QString project = writeProject(dir);
    const QString out = dir.filePath("view.png");
    const auto result = runCli({"render", project, "--view", "0", "--dpi", "254", out});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QImage image(out);
    ASSERT_FALSE(image.isNull());
    // 80 x 30 mm at 10 pixels per millimetre.
    EXPECT_EQ(image.size(), QSize(800, 300));
    EXPECT_EQ(image.pixel(200, 150) & 0xFFFFFF, 0xE60000u); // the photo
    EXPECT_EQ(image.pixel(50, 50) & 0xFFFFFF, 0xFFFFFFu);   // the white left page
    EXPECT_EQ(image.pixel(450, 50) & 0xFFFFFF, 0xFFFF00u);  // yellow right page (0x00BBGGRR 0x00FFFF)
    EXPECT_EQ(image.pixel(600, 100) & 0xFFFFFF, 0xC0C0C0u); // outline of the empty frame
    EXPECT_EQ(image.pixel(400, 150) & 0xFFFFFF, 0xD0D0D0u); // edge of the right page

    // Bare: no page colours, no placeholder; quality 2: no photo.
    const auto bare =
        runCli({"render", project, "--view", "0", "--dpi", "254", "--bare", "--quality", "2", out});
    ASSERT_EQ(bare.exitCode, 0) << bare.err.constData();
    image.load(out);
    EXPECT_EQ(image.pixel(450, 50) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(600, 100) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(200, 150) & 0xFFFFFF, 0xFFFFFFu);

    // The default is 96 dots per inch: round(80 / 25.4 * 96) x round(30 / 25.4 * 96).
    ASSERT_EQ(runCli({"render", project, "--view", "0", out}).exitCode, 0);
    image.load(out);
    EXPECT_EQ(image.size(), QSize(302, 113));
}

TEST(CliRender, RefusesAViewThatDoesNotExistAndBadArguments) {
    QTemporaryDir dir;
    const QString project = writeProject(dir);
    const QString out = dir.filePath("view.png");
    const auto missing = runCli({"render", project, "--view", "1", out});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("view 1 does not exist")) << missing.err.constData();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(runCli({"render", project, "--view", "-1", out}).exitCode, 2);
    EXPECT_EQ(runCli({"render", project, out}).exitCode, 2);
    EXPECT_EQ(runCli({"render", project, "--view", "0", "--dpi", "0", out}).exitCode, 2);
    // 80 x 30 mm at 100000 dpi would need more than a gigabyte.
    const auto huge = runCli({"render", project, "--view", "0", "--dpi", "100000", out});
    EXPECT_EQ(huge.exitCode, 2);
    EXPECT_TRUE(huge.err.contains("cannot be made")) << huge.err.constData();
    EXPECT_EQ(runCli({"render", dir.filePath("fehlt.fbp"), "--view", "0", out}).exitCode, 2);
}

} // namespace
