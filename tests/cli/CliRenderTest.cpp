#include "support/TestSupport.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/PageElements.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

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
    TestSupport::addPages(doc, 2);
    doc.Pages.Items(1)->Seitenfarbe = 0x00FFFF;
    const QString photo = dir.filePath("rot.png");
    QImage red(60, 40, QImage::Format_RGB32);
    red.fill(qRgb(230, 0, 0));
    red.save(photo);
    for (int i = 0; i < 2; ++i) {
        TFBPage* page = doc.Pages.Items(i);
        auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 20, 15, 20, 10);
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

namespace {

// Counts the pixels that are not white.
int inkOf(const QImage& image) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFFu;
    return ink;
}

TEST(CliRender, WizardProductsRenderWithTheirPlacedPhoto) {
    QTemporaryDir dir;
    const QString photo = dir.filePath("blau.png");
    QImage blue(300, 200, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 230));
    blue.save(photo);
    // A booklet and an 8:5 book (book mode: cover margin around the spread) and an A4 calendar.
    for (const char* code : {"1", "31", "61"}) {
        SCOPED_TRACE(code);
        const QString project = dir.filePath(QStringLiteral("p%1.fbp").arg(code));
        const QString out = dir.filePath("view.png");
        ASSERT_EQ(runCli({"new", "--product", code, "--year", "2024", project}).exitCode, 0);
        // The view's size from the document's own geometry.
        const QJsonObject doc = QJsonDocument::fromJson(runCli({"info", project}).out).object();
        const double w = doc["PageWidth"].toDouble(), h = doc["PageHeight"].toDouble();
        const double u = doc["Umschlagbreite"].toDouble(), s = doc["Stegbreite"].toDouble();
        const bool book = doc["ScreenMode"].toInt() == 1;
        const QSize size(int(std::nearbyint((book ? 2 * w + s + 2 * u : w) / 25.4 * 50)),
                         int(std::nearbyint((book ? h + 2 * u : h) / 25.4 * 50)));
        ASSERT_EQ(runCli({"place", project, "--page", "0", "--frame", "0", photo}).exitCode, 0);
        const auto result = runCli({"render", project, "--view", "0", "--dpi", "50", out});
        ASSERT_EQ(result.exitCode, 0) << result.err.constData();
        const QImage image(out);
        EXPECT_EQ(image.size(), size);
        int photoPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                photoPixels += (image.pixel(x, y) & 0xFFFFFF) == 0x0000E6u;
        EXPECT_GT(photoPixels, image.width() * image.height() / 10);
        // The bare print form has less on it than the screen form (no page edges, no placeholders).
        const auto bare = runCli({"render", project, "--view", "0", "--dpi", "50", "--bare", out});
        ASSERT_EQ(bare.exitCode, 0);
        EXPECT_LE(inkOf(QImage(out)), inkOf(image));
    }
}

} // namespace
