// Picture operations of the base draw context (the printer's): resampling into a scratch bitmap
// at no more than 360 dpi, then one blit.
#include "render/uDrawContext.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage Page(int w, int h, int dpi) {
    QImage page(w, h, QImage::Format_ARGB32);
    page.fill(0xFFFFFFFFu);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    return page;
}

QImage Checker(int w, int h) {
    QImage picture(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, ((x + y) % 2) ? 0xFF0000FFu : 0xFFFF0000u);
    return picture;
}

// True when the area is made of k x k blocks of one colour each, counted from (x0, y0).
bool MadeOfBlocks(const QImage& image, const QRect& area, int k, int x0, int y0) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int bx = x0 + (x - x0) / k * k, by = y0 + (y - y0) / k * k;
            if (image.pixel(x, y) != image.pixel(bx, by))
                return false;
        }
    return true;
}

} // namespace

TEST(BaseDrawContext, HighResolutionDevicesGetPicturesAtMost360Dpi) {
    QImage page = Page(400, 400, 1200); // 1200 dpi: k = 4 (300 dpi)
    {
        TCanvas canvas(&page);
        TDrawContext dc(canvas);
        dc.Transformation.Scale(1200 / 25.4f);
        dc.DrawImageOrthogonalBlt(Checker(16, 16), 1, 1, 6, 6);
    }
    const int left = qRound(1200 / 25.4f), right = qRound(7 * 1200 / 25.4f);
    EXPECT_EQ(page.pixel(left - 1, left - 1), 0xFFFFFFFFu);
    EXPECT_NE(page.pixel(left + 2, left + 2), 0xFFFFFFFFu);
    EXPECT_TRUE(MadeOfBlocks(page, QRect(left, left, right - left, right - left), 4, left, left));
    // Both colours of the checker arrive.
    int red = 0, blue = 0;
    for (int y = left; y < right; ++y)
        for (int x = left; x < right; ++x) {
            red += page.pixel(x, y) == 0xFFFF0000u;
            blue += page.pixel(x, y) == 0xFF0000FFu;
        }
    EXPECT_GT(red, 1000);
    EXPECT_GT(blue, 1000);

    QImage screen = Page(100, 100, 96); // k = 1: every device pixel resampled
    TCanvas canvas(&screen);
    TDrawContext dc(canvas);
    dc.DrawImageOrthogonalBlt(Checker(8, 8), 10, 10, 9, 9); // scale 9 / (8 + 1): one pixel each
    EXPECT_EQ(screen.pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(screen.pixel(11, 10), 0xFF0000FFu);
    EXPECT_EQ(screen.pixel(17, 17), 0xFFFF0000u);
}

TEST(BaseDrawContext, DrawBitmapTurnedAndAxisParallel) {
    const QImage picture = Checker(10, 10);
    const TBitmapData data = BitmapData(picture);
    QImage turned = Page(80, 80, 96);
    {
        TCanvas canvas(&turned);
        TDrawContext dc(canvas);
        dc.Transformation.Translate(40, 40);
        dc.Transformation.Rotate(30);
        dc.DrawBitmap(data, 0, 0, 10, 10, -15, -15, 30, 30);
    }
    // Covered pixels come out opaque in the picture's colours; the corners of the box stay.
    EXPECT_EQ(turned.pixel(40, 40) | 0x00FF00FFu, 0xFFFF00FFu);
    EXPECT_EQ(turned.pixel(21, 21), 0xFFFFFFFFu); // inside the device box, outside the square
    EXPECT_EQ(turned.pixel(40, 19), 0xFFFFFFFFu); // outside the turned square's corner region
    EXPECT_EQ(turned.pixel(2, 2), 0xFFFFFFFFu);

    QImage straight = Page(60, 60, 96);
    {
        TCanvas canvas(&straight);
        TDrawContext dc(canvas);
        dc.Transformation.Rotate(90); // a quarter turn goes the axis-parallel way
        dc.Transformation.Translate(0, -50);
        dc.DrawBitmap(data, 0, 0, 10, 10, 5, 5, 30, 30);
    }
    int coloured = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            coloured += straight.pixel(x, y) != 0xFFFFFFFFu;
    EXPECT_GE(coloured, 30 * 30);
    EXPECT_LE(coloured, 32 * 32);

    // Source rectangles outside the data draw nothing.
    QImage none = Page(20, 20, 96);
    TCanvas canvas(&none);
    TDrawContext dc(canvas);
    dc.DrawBitmap(data, -1, 0, 5, 5, 0, 0, 10, 10);
    dc.DrawBitmap(data, 0, 0, 11, 5, 0, 0, 10, 10);
    canvas.EndPaint();
    EXPECT_EQ(none, Page(20, 20, 96));
}
