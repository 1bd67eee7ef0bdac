// The same drawing on the two surfaces: a bitmap and a PDF page (the paged device a printer is).
#include "render/uBitmapDrawContext.h"
#include "render/uPrinterDrawContext.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage TwoColourPicture() {
    QImage picture(40, 20, QImage::Format_ARGB32);
    picture.fill(0xFF0000FFu);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x)
            picture.setPixel(x, y, 0xFF00FF00u);
    return picture;
}

// A page in millimetres: a grey panel, a line of text, an upright and a turned picture.
void DrawSample(TDrawContext& dc, float pixelsPerMm) {
    dc.Transformation.Reset();
    dc.Transformation.Scale(pixelsPerMm);
    dc.SetPenStyle(psClear);
    dc.Brush().SetColor(0x808080);
    dc.Rectangle(5, 5, 45, 25);
    dc.SetPenStyle(psSolid);
    dc.Font.SetName(QStringLiteral("Arial"));
    dc.Font.SetSize(14);
    dc.Font.SetColor(0x000000);
    dc.TextOut(QStringLiteral("Tintaro"), 0, 5, 30);
    dc.DrawImageOrthogonalBlt(TwoColourPicture(), 50, 5, 20, 10);
    dc.DrawImage(TwoColourPicture(), 0, 0, 40, 20, 60, 40, 20, 10, 30);
}

int CountColour(const QImage& image, const QRect& area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

TEST(PrinterDrawContext, SameDrawingOnABitmapAndOnAPdfPage) {
    // Bitmap at 4 px per mm.
    QImage bitmap(400, 300, QImage::Format_ARGB32);
    bitmap.fill(0xFFFFFFFFu);
    {
        TBitmapDrawContext dc(bitmap);
        DrawSample(dc, 4);
    }
    EXPECT_EQ(bitmap.pixel(100, 60), 0xFF808080u);
    EXPECT_EQ(bitmap.pixel(19, 19), 0xFFFFFFFFu);
    EXPECT_EQ(bitmap.pixel(20, 20), 0xFF808080u);
    EXPECT_GT(CountColour(bitmap, QRect(20, 120, 160, 40), 0xFFFFFFFFu), 0);
    EXPECT_LT(CountColour(bitmap, QRect(20, 120, 160, 40), 0xFFFFFFFFu), 160 * 40); // ink of the text
    EXPECT_EQ(bitmap.pixel(210, 30), 0xFF0000FFu);  // left half of the upright picture
    EXPECT_EQ(bitmap.pixel(270, 30), 0xFF00FF00u);  // right half
    EXPECT_EQ(bitmap.pixel(222, 150), 0xFF0000FFu); // left half of the turned picture
    EXPECT_EQ(bitmap.pixel(258, 170), 0xFF00FF00u); // its right half

    // The same on a PDF page at 1200 dpi.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A6), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    const float ppm = 1200 / 25.4f;
    int scratchWidth = 0;
    {
        TPrinterDrawContext dc(&writer);
        EXPECT_EQ(dc.PrinterHandle(), &writer);
        EXPECT_EQ(dc.DeviceClip().Left, 0);
        EXPECT_EQ(dc.DeviceClip().Right, writer.width());
        EXPECT_NEAR(dc.DeviceClip().Right, 105 / 25.4 * 1200, 15); // A6 in whole points
        EXPECT_EQ(dc.DeviceClip().Bottom, writer.height());
        DrawSample(dc, ppm);
        // The upright picture is resampled at a quarter of 1200 dpi (300 dpi) and blitted once.
        const TRect box = dc.Transformation.BoundingRect(50, 5, 70, 15);
        scratchWidth = (box.Right - box.Left + 1 + 3) / 4;
        // A rendered bitmap copied onto the page unchanged.
        dc.BlitBitmap(TwoColourPicture(), 100, 4000, 500, 4200);
    }
    const QByteArray pdf = buffer.data();
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);
    EXPECT_TRUE(pdf.contains("LiberationSans")) << "the text's face is embedded";
    EXPECT_TRUE(pdf.contains("/Width " + QByteArray::number(scratchWidth))) << scratchWidth;
    EXPECT_TRUE(pdf.contains("/Width 40")) << "the blitted bitmap";
    // Three pictures: the resampled upright one, the turned one and the blitted one.
    EXPECT_GE(pdf.count("/Subtype /Image"), 3);
}

TEST(PrinterDrawContext, AlphaPicturesAreNotForPrinters) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    TPrinterDrawContext dc(&writer);
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.fill(0xFF000000u);
    EXPECT_ANY_THROW(dc.DrawImageAlpha(BitmapData(picture), 0, 0, 2, 2, 0, 0, 10, 10));
}
