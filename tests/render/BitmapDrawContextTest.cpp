// Picture operations of the bitmap surface: point sampling, bilinear sampling, soft shadow
// rectangles and the blending they share.
#include "render/uBitmapDrawContext.h"
#include "render/uShadowBitmap.h"

#include "ReferenceBlend.h"

#include "platform/Exception.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>

namespace {

QImage Filled(int w, int h, uint32_t argb) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(argb);
    return image;
}

QImage Numbered(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y * 4099 + x * 37 + 11));
    return image;
}

} // namespace

TEST(AlphaBlend, MatchesTheByteFormulaForEveryAlpha) {
    std::mt19937 random(7);
    for (uint32_t alpha = 0; alpha < 256; ++alpha) {
        for (int i = 0; i < 2000; ++i) {
            const uint32_t s = (alpha << 24) | (random() & 0x00FFFFFFu);
            const uint32_t d = random();
            ASSERT_EQ(AlphaBlendPixel(s, d), ReferenceBlend(s, d)) << std::hex << s << " " << d;
        }
        // The extremes of every byte.
        for (uint32_t s : {0x00000000u, 0x00FFFFFFu})
            for (uint32_t d : {0x00000000u, 0xFFFFFFFFu})
                ASSERT_EQ(AlphaBlendPixel(s | (alpha << 24), d), ReferenceBlend(s | (alpha << 24), d));
    }
}

TEST(AlphaBlend, AlphaZeroKeepsAlphaTwoMovesAtMostOneStep) {
    uint32_t src[3] = {0x00FFFFFFu, 0x02FFFFFFu, 0x02000000u};
    uint32_t dst[3] = {0x80102030u, 0x80102030u, 0x80102030u};
    AlphaBlendPixels(src, dst, 3);
    EXPECT_EQ(dst[0], 0x80102030u);
    for (int shift = 0; shift < 32; shift += 8) {
        EXPECT_LE(std::abs(int((dst[1] >> shift) & 255) - int((0x80102030u >> shift) & 255)), 1);
        EXPECT_LE(std::abs(int((dst[2] >> shift) & 255) - int((0x80102030u >> shift) & 255)), 1);
    }
}

TEST(BitmapDrawImage, AngleZeroAtPixelSizeCopiesPixelForPixel) {
    const QImage picture = Numbered(7, 5);
    QImage target = Filled(30, 30, 0xFFFFFFFFu);
    TBitmapDrawContext dc(target);
    dc.DrawImage(picture, 0, 0, 7, 5, 10 + 3.5f, 20 + 2.5f, 7, 5, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 10 && x < 17 && y >= 20 && y < 25;
            const uint32_t expected = inside ? picture.pixel(x - 10, y - 20) : 0xFFFFFFFFu;
            ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(BitmapDrawImage, SourceRectangleAndAlphaZeroHalfFull) {
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, 0x00FF0000u); // alpha 0
    picture.setPixel(1, 0, 0x80FF0000u); // alpha 128
    picture.setPixel(2, 0, 0xFFFF0000u); // alpha 255
    QImage target = Filled(10, 3, 0xFF0000FFu);
    TBitmapDrawContext dc(target);
    dc.DrawImage(picture, 0, 0, 3, 1, 1.5f, 0.5f, 3, 1, 0);
    EXPECT_EQ(target.pixel(0, 0), 0xFF0000FFu);
    // a = 64: every byte moves half the way, rounded down (red 0 -> 127, blue 255 -> 127, alpha 255 -> 191).
    EXPECT_EQ(target.pixel(1, 0), ReferenceBlend(0x80FF0000u, 0xFF0000FFu));
    EXPECT_EQ(target.pixel(1, 0), 0xBF7F007Fu);
    EXPECT_EQ(target.pixel(2, 0), 0xFFFF0000u);
    EXPECT_EQ(target.pixel(3, 0), 0xFF0000FFu);

    // Only the source rectangle's pixels (here column 2) are used.
    QImage second = Filled(10, 3, 0xFF0000FFu);
    TBitmapDrawContext dc2(second);
    dc2.DrawImage(picture, 2, 0, 1, 1, 5.0f, 1.0f, 4, 2, 0);
    EXPECT_EQ(second.pixel(3, 0), 0xFFFF0000u);
    EXPECT_EQ(second.pixel(6, 1), 0xFFFF0000u);
    EXPECT_EQ(second.pixel(7, 1), 0xFF0000FFu);
    // Source rectangles outside the picture draw nothing.
    const QImage before = second;
    dc2.DrawImage(picture, -1, 0, 1, 1, 5, 1, 4, 2, 0);
    dc2.DrawImage(picture, 0, 0, 4, 1, 5, 1, 4, 2, 0);
    EXPECT_EQ(second, before);
}

TEST(BitmapDrawImage, QuarterTurnAndClipping) {
    const QImage picture = Numbered(4, 2);
    QImage target = Filled(20, 20, 0xFFFFFFFFu);
    TBitmapDrawContext dc(target);
    dc.Transformation.Scale(2);
    // Turned clockwise by 90 degrees: the picture's first row becomes the last column.
    dc.DrawImage(picture, 0, 0, 4, 2, 5, 5, 4, 2, 90);
    // The turned picture covers x 8..12, y 6..14 mm * 2; pixels are sampled at their top-left
    // corner, so the columns that land inside the picture are 9..12.
    EXPECT_EQ(target.pixel(11, 6), picture.pixel(0, 0));
    EXPECT_EQ(target.pixel(12, 7), picture.pixel(0, 0));
    EXPECT_EQ(target.pixel(9, 6), picture.pixel(0, 1));
    EXPECT_EQ(target.pixel(12, 13), picture.pixel(3, 0));
    EXPECT_EQ(target.pixel(8, 6), 0xFFFFFFFFu);
    EXPECT_EQ(target.pixel(11, 14), 0xFFFFFFFFu);

    QImage clipped = Filled(20, 20, 0xFFFFFFFFu);
    TBitmapDrawContext c(clipped);
    c.ClipRect = TRect{0, 0, 20, 8};
    c.ClipToRect(TDrawContext::cmReplace, 0, 0, 11, 20);
    c.DrawImage(Filled(4, 4, 0xFF00FF00u), 0, 0, 4, 4, 10, 10, 20, 20, 0);
    EXPECT_EQ(clipped.pixel(10, 7), 0xFF00FF00u);
    EXPECT_EQ(clipped.pixel(11, 7), 0xFFFFFFFFu); // clip region
    EXPECT_EQ(clipped.pixel(10, 8), 0xFFFFFFFFu); // ClipRect
}

TEST(BitmapDrawImageAlpha, BilinearWeightsAndEdgeClamping) {
    // Two columns, black and white: the picture stretched to 4 x 4 device pixels.
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.setPixel(0, 0, 0xFF000000u);
    picture.setPixel(1, 0, 0xFFFFFFFFu);
    picture.setPixel(0, 1, 0xFF000000u);
    picture.setPixel(1, 1, 0xFFFFFFFFu);
    QImage target = Filled(8, 8, 0xFF0000FFu);
    TBitmapDrawContext dc(target);
    const TBitmapData data = BitmapData(picture);
    dc.DrawImageAlpha(data, 0, 0, 2, 2, 0, 0, 4, 4);
    // x = 0: weight 255 on black, 1 on white: 255 / 256 -> 0.
    EXPECT_EQ(target.pixel(0, 1), 0xFF000000u);
    // x = 1 (half a source pixel): weights 127 / 129: 255 * 129 / 256 = 128.
    EXPECT_EQ(target.pixel(1, 1), 0xFF808080u);
    // x = 3 lies in the last column: the block starts one column earlier, same weights.
    EXPECT_EQ(target.pixel(3, 1), 0xFF808080u);
    // x = 4 maps to the right bound itself and is pulled one unit inside: white.
    EXPECT_EQ(target.pixel(4, 1), 0xFFFFFFFFu);
    EXPECT_EQ(target.pixel(5, 1), 0xFF0000FFu);

    // Not implemented on surfaces without pixel access.
    TCanvas canvas(nullptr);
    TDrawContext base(canvas);
    EXPECT_THROW(base.DrawImageAlpha(data, 0, 0, 2, 2, 0, 0, 4, 4), Exception);
    base.DrawShadowRect(10, 10, 5, 5, 0, 1); // reports, draws nothing, does not fail
}

TEST(BitmapDrawImageAlpha, SinglePixelPictureAndBlending) {
    QImage picture = Filled(1, 1, 0x80FFFFFFu);
    QImage target = Filled(6, 6, 0xFF000000u);
    TBitmapDrawContext dc(target);
    dc.DrawImageAlpha(BitmapData(picture), 0, 0, 1, 1, 1, 1, 3, 3);
    EXPECT_EQ(target.pixel(2, 2), ReferenceBlend(0x80FFFFFFu, 0xFF000000u));
    EXPECT_EQ(target.pixel(0, 0), 0xFF000000u);
}

TEST(BitmapDrawBitmap, CopiesWithoutBlendingAndClampsEdges) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, 0x00123456u);
    picture.setPixel(1, 0, 0xFF654321u);
    QImage target = Filled(10, 4, 0xFFFFFFFFu);
    TBitmapDrawContext dc(target);
    dc.DrawBitmap(BitmapData(picture), 0, 0, 2, 1, 1, 1, 4, 2);
    EXPECT_EQ(target.pixel(1, 1), 0x00123456u); // copied, alpha and all
    EXPECT_EQ(target.pixel(4, 2), 0xFF654321u);
    EXPECT_EQ(target.pixel(5, 3), 0xFF654321u); // one past the last column counts as the last
    EXPECT_EQ(target.pixel(6, 1), 0xFFFFFFFFu);
    EXPECT_EQ(target.pixel(0, 1), 0xFFFFFFFFu);
}

TEST(BitmapDrawShadowRect, GreyCoreAndOnePixelFadeBand) {
    QImage target = Filled(40, 40, 0xFFFFFFFFu);
    TBitmapDrawContext dc(target);
    dc.DrawShadowRect(20, 20, 20, 20, 0, 0.1f); // band below one pixel: still one pixel
    const uint32_t core = ReferenceBlend(0xC0606060u, 0xFFFFFFFFu);
    EXPECT_EQ(core, 0xCF878787u);
    EXPECT_EQ(target.pixel(20, 20), core);
    EXPECT_EQ(target.pixel(11, 20), core);
    EXPECT_EQ(target.pixel(10, 20), 0xFFFFFFFFu); // the fade band: fully faded
    EXPECT_EQ(target.pixel(9, 20), 0xFFFFFFFFu);
}

TEST(BitmapDrawShadowRect, FadesOverTheBandWithRoundCorners) {
    QImage target = Filled(60, 60, 0xFFFFFFFFu);
    TBitmapDrawContext dc(target);
    dc.DrawShadowRect(30, 30, 40, 40, 0, 8);
    // Lighter towards the edge, darkest in the core, symmetric.
    const int edge = qRed(target.pixel(12, 30)), inner = qRed(target.pixel(16, 30)),
              mid = qRed(target.pixel(30, 30));
    EXPECT_GT(edge, inner);
    EXPECT_GT(inner, mid);
    // Cell s counts from the left as B - s and from the right as s - (W - B): mirror of 12 is 48.
    EXPECT_EQ(qRed(target.pixel(48, 30)), qRed(target.pixel(12, 30)));
    // A corner pixel lies further into the band than an edge pixel at the same depth.
    EXPECT_GT(qRed(target.pixel(13, 13)), qRed(target.pixel(13, 30)));
}

TEST(BitmapDrawContext, BitmapResizedAfterReleaseKeepsDrawing) {
    QImage buffer = Filled(20, 20, 0xFFFFFFFFu);
    TBitmapDrawContext dc(buffer);
    dc.SetPenStyle(psClear);
    dc.Brush().SetColor(0x000000);
    dc.Rectangle(0, 0, 10, 10); // opens the painter
    EXPECT_TRUE(dc.Canvas().Painting());
    dc.ReleaseCanvas();
    buffer = Filled(60, 40, 0xFFFFFFFFu);
    dc.Rectangle(30, 20, 50, 30);
    EXPECT_EQ(buffer.pixel(40, 25), 0xFF000000u);
    // Picture operations clip against the new size.
    dc.DrawImage(Filled(2, 2, 0xFF00FF00u), 0, 0, 2, 2, 55, 35, 20, 20, 0);
    EXPECT_EQ(dc.DeviceClip(), (TRect{0, 0, 60, 40}));
    EXPECT_EQ(buffer.pixel(59, 39), 0xFF00FF00u);
}
