#include "render/uBitmapDrawContext.h"
#include "render/uPixelLoops.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage Pattern(int w, int h, bool alpha) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgba((x * 7) & 255, (y * 5) & 255, (x ^ y) & 255, alpha ? (x + y) & 255 : 255));
    return image;
}

// Draws the turned picture operations onto a patterned buffer with the rows split into the
// given number of bands.
QImage Draw(int bands) {
    SetPixelLoopBands(bands);
    QImage buffer = Pattern(900, 700, false);
    const QImage picture = Pattern(640, 480, true);
    {
        TBitmapDrawContext dc(buffer);
        dc.Transformation.Translate(450, 350);
        dc.Transformation.Rotate(7);
        dc.DrawImageAlpha(BitmapData(picture), 0, 0, 640, 480, -400, -300, 800, 600);
        dc.Transformation.Reset();
        dc.DrawImage(picture, 10, 10, 600, 400, 450, 350, 700, 500, -11);
        dc.DrawShadowRect(450, 350, 600, 400, 3, 20);
        dc.ReleaseCanvas();
    }
    SetPixelLoopBands(0);
    return buffer;
}

TEST(PixelLoopBands, BandsDrawTheSamePixelsAsOneWalk) {
    const QImage single = Draw(1);
    EXPECT_EQ(Draw(2), single);
    EXPECT_EQ(Draw(3), single);
    EXPECT_EQ(Draw(7), single);
}

} // namespace
