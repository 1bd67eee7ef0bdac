#include "render/uBitmapDrawContext.h"
#include "render/uShadowBitmap.h"

#include <QImage>

#include <gtest/gtest.h>

#include <numeric>

TEST(BlurKernel, IntegerWeightsForTheSigmasInUse) {
    const TBlurKernel& k15 = BlurKernel(1.5f);
    EXPECT_EQ(k15.Radius, 3);
    EXPECT_EQ(k15.Weights, (std::vector<int>{9, 28, 55, 72, 55, 28, 9}));
    const TBlurKernel& k2 = BlurKernel(2.0f);
    EXPECT_EQ(k2.Radius, 5);
    EXPECT_EQ(k2.Weights, (std::vector<int>{2, 7, 17, 31, 45, 52, 45, 31, 17, 7, 2}));
    for (float sigma : {0.3f, 0.8f, 3.0f, 7.5f, 40.0f}) {
        const TBlurKernel& k = BlurKernel(sigma);
        EXPECT_GE(k.Radius, 1) << sigma;
        EXPECT_EQ(std::accumulate(k.Weights.begin(), k.Weights.end(), 0), 256) << sigma;
        EXPECT_EQ(static_cast<int>(k.Weights.size()), 2 * k.Radius + 1);
    }
}

TEST(ShadowBitmap, TransparencyForcesOneGreyOnEverythingDrawn) {
    TShadowBitmap shadow(30, 30);
    EXPECT_EQ(shadow.Shade(), 128);
    shadow.SetTransparency(0);
    EXPECT_EQ(shadow.Shade(), 255);
    shadow.SetTransparency(100);
    EXPECT_EQ(shadow.Shade(), 0);
    shadow.SetTransparency(150); // clamped
    EXPECT_EQ(shadow.Shade(), 0);
    shadow.SetTransparency(50);
    EXPECT_EQ(shadow.Shade(), 128);

    shadow.Clear();
    {
        TBitmapDrawContext dc(shadow);
        dc.Brush().SetColor(0x0000FF); // red asked for, grey drawn
        dc.SetPenColor(0x00FF00);
        dc.Rectangle(5, 5, 20, 20);
        dc.Font.SetColor(0xFF0000);
        dc.Font.SetSize(20);
        dc.TextOut(QStringLiteral("W"), 0, 2, 2);
    }
    shadow.Canvas().EndPaint();
    const QImage& image = shadow.Image();
    EXPECT_EQ(image.pixel(10, 10) & 0x00FFFFFFu, 0x808080u);
    EXPECT_EQ(image.pixel(5, 5) & 0x00FFFFFFu, 0x808080u); // the outline too
    EXPECT_EQ(image.pixel(25, 25) & 0x00FFFFFFu, 0u);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const QRgb p = image.pixel(x, y);
            ASSERT_EQ(qRed(p), qGreen(p));
            ASSERT_EQ(qRed(p), qBlue(p));
            ASSERT_LE(qRed(p), 128);
        }
}

TEST(ShadowBitmap, SingleGreyPixelBlursIntoASymmetricSpot) {
    TShadowBitmap shadow(21, 21);
    shadow.Clear();
    shadow.Image().setPixel(10, 10, 0xFF808080u);
    shadow.Blur(0x000000, 1.5f);
    const QImage& image = shadow.Image();
    int sum = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            const QRgb p = image.pixel(x, y);
            EXPECT_EQ(p & 0x00FFFFFFu, 0u); // black
            sum += qAlpha(p);
            EXPECT_EQ(qAlpha(p), qAlpha(image.pixel(20 - x, y)));
            EXPECT_EQ(qAlpha(p), qAlpha(image.pixel(x, 20 - y)));
        }
    // 128 * 72 / 256 = 36 in the middle row, then 36 * 72 / 256 = 10.
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 10);
    EXPECT_NEAR(sum, 128, 40);                 // rounding down in both passes loses a little
    EXPECT_EQ(qAlpha(image.pixel(14, 10)), 0); // beyond the radius
}

TEST(ShadowBitmap, BlurOfBlackLeavesNoAlphaAndSaturatesAtFull) {
    TShadowBitmap shadow(12, 9);
    shadow.Clear();
    shadow.Blur(0x000000, 1.5f);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(shadow.Image().pixel(x, y), 0u);

    shadow.Image().fill(0xFFFFFFFFu); // full mask everywhere: edges repeat, 255 stays 255
    shadow.Blur(0x0000FF, 2.0f);
    EXPECT_EQ(shadow.Image().pixel(0, 0), 0xFFFF0000u); // red colour, alpha 255
    EXPECT_EQ(shadow.Image().pixel(11, 8), 0xFFFF0000u);
}

TEST(ShadowBitmap, DrawnThroughDrawImageAlphaBlendsTheShadow) {
    TShadowBitmap shadow(10, 10);
    shadow.Clear();
    shadow.Image().fill(0xFF808080u);
    shadow.Blur(0x000000, 1.5f);
    QImage page(10, 10, QImage::Format_ARGB32);
    page.fill(0xFFFFFFFFu);
    TBitmapDrawContext dc(page);
    dc.DrawImageAlpha(shadow.BitmapData(), 0, 0, 10, 10, 0, 0, 10, 10);
    // Alpha 128 (a = 64): white moves half the way to black, the alpha byte half the way to 128.
    EXPECT_EQ(page.pixel(5, 5), 0xBF7F7F7Fu);
}

TEST(BlendBitmap, WeightedMixClippedToTheDestination) {
    QImage dest(4, 4, QImage::Format_ARGB32);
    dest.fill(0xFF000000u);
    QImage src(3, 3, QImage::Format_ARGB32);
    src.fill(0xFFC8C8C8u);
    src.setPixel(2, 2, 0xFF000000u); // equal to the destination: left alone

    QImage copy = dest;
    BlendBitmap(copy, 2, 2, 0, src); // weight 0 copies; only the overlap (2..3) changes
    EXPECT_EQ(copy.pixel(2, 2), 0xFFC8C8C8u);
    EXPECT_EQ(copy.pixel(3, 3), 0xFFC8C8C8u);
    EXPECT_EQ(copy.pixel(1, 1), 0xFF000000u);

    QImage mixed = dest;
    BlendBitmap(mixed, -1, -1, 128, src); // e = 64
    // 200 + floor(64 * (0 - 200 + 255) / 128) - 128 = 99; alpha 255 + floor(64 * 255 / 128) - 128 = 254.
    EXPECT_EQ(mixed.pixel(0, 0), 0xFE636363u);
    EXPECT_EQ(mixed.pixel(1, 1), 0xFF000000u); // equal pixels stay
    EXPECT_EQ(mixed.pixel(2, 2), 0xFF000000u); // outside the source

    QImage untouched = dest;
    BlendBitmap(untouched, 4, 0, 0, src); // no overlap
    EXPECT_EQ(untouched, dest);
}
