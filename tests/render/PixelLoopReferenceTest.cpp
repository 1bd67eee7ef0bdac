// The fast pixel loops (spans solved per row, interior without clamping, 16-bit lanes) against
// the per-pixel formulas written out plainly, on random pictures and transformations.
#include "render/uBitmapDrawContext.h"
#include "render/uShadowBitmap.h"

#include "ReferenceBlend.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>

namespace {

void ReferencePut(QImage& image, int x, int y, uint32_t p) {
    const uint32_t a = p >> 24;
    if (a == 255)
        image.setPixel(x, y, p);
    else if (a != 0)
        image.setPixel(x, y, ReferenceBlend(p, image.pixel(x, y)));
}

QImage RandomPicture(std::mt19937& random, int w, int h) {
    QImage picture(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t alpha;
            switch (random() % 4) {
            case 0:
                alpha = 0;
                break;
            case 1:
            case 2:
                alpha = 255;
                break;
            default:
                alpha = random() % 256;
            }
            picture.setPixel(x, y, (alpha << 24) | (random() & 0x00FFFFFFu));
        }
    return picture;
}

void RandomTransformation(std::mt19937& random, TTransformation& t) {
    std::uniform_real_distribution<float> shift(5, 35), scale(0.4f, 3.5f), angle(-180, 180);
    t.Reset();
    t.Translate(shift(random), shift(random));
    t.Scale(scale(random));
    if (random() % 3 != 0)
        t.Rotate(angle(random));
}

QImage Background(std::mt19937& random) {
    QImage target(48, 40, QImage::Format_ARGB32);
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            target.setPixel(x, y, random());
    return target;
}

} // namespace

TEST(PixelLoopReference, DrawImageAlphaMatchesThePlainFormula) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        const int pw = 1 + static_cast<int>(random() % 9), ph = 1 + static_cast<int>(random() % 7);
        const QImage picture = RandomPicture(random, pw, ph);
        const int sx = static_cast<int>(random() % pw), sy = static_cast<int>(random() % ph);
        const int sw = 1 + static_cast<int>(random() % (pw - sx)),
                  sh = 1 + static_cast<int>(random() % (ph - sy));
        std::uniform_real_distribution<float> pos(-6, 6), size(1, 14);
        const float X = pos(random), Y = pos(random), W = size(random), H = size(random);
        QImage fast = Background(random);
        QImage expected = fast;

        TBitmapDrawContext dc(fast);
        RandomTransformation(random, dc.Transformation);
        const TBitmapData data = BitmapData(picture);
        dc.DrawImageAlpha(data, sx, sy, sw, sh, X, Y, W, H);

        TTransformation t;
        t.Assign(dc.Transformation);
        const TRect box = t.BoundingRect(X, Y, X + W, Y + H);
        t.Translate(X, Y);
        t.Scale(W / sw, H / sh);
        t.Translate(-sx, -sy);
        t.Update();
        const int left = sx << 16, right = (sx + sw) << 16, top = sy << 16, bottom = (sy + sh) << 16;
        for (int y = std::max(0, box.Top); y <= std::min(expected.height() - 1, box.Bottom); ++y)
            for (int x = std::max(0, box.Left); x <= std::min(expected.width() - 1, box.Right); ++x) {
                int fx, fy;
                t.InverseTransformFixed(x * 65536, y * 65536, fx, fy);
                if (fx == left - 1)
                    fx = left;
                if (fx == right)
                    fx = right - 1;
                if (fy == top - 1)
                    fy = top;
                if (fy == bottom)
                    fy = bottom - 1;
                if (fx < left || fx >= right || fy < top || fy >= bottom)
                    continue;
                int x0 = fx >> 16, y0 = fy >> 16;
                uint32_t p;
                if (pw == 1 || ph == 1) {
                    p = picture.pixel(x0, y0);
                } else {
                    if (x0 == pw - 1)
                        --x0;
                    if (y0 == ph - 1)
                        --y0;
                    const int wx = 255 - ((fx >> 8) & 255), wy = 255 - ((fy >> 8) & 255);
                    p = 0;
                    for (int shift = 0; shift < 32; shift += 8) {
                        auto c = [&](int px, int py) { return int((picture.pixel(px, py) >> shift) & 255); };
                        const int up = (c(x0, y0) * wx + c(x0 + 1, y0) * (256 - wx)) / 256;
                        const int down = (c(x0, y0 + 1) * wx + c(x0 + 1, y0 + 1) * (256 - wx)) / 256;
                        p |= static_cast<uint32_t>((up * wy + down * (256 - wy)) / 256) << shift;
                    }
                }
                ReferencePut(expected, x, y, p);
            }
        ASSERT_EQ(fast, expected) << "round " << round;
    }
}

TEST(PixelLoopReference, DrawImageMatchesThePlainFormula) {
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        const int pw = 1 + static_cast<int>(random() % 9), ph = 1 + static_cast<int>(random() % 7);
        const QImage picture = RandomPicture(random, pw, ph);
        const int sx = static_cast<int>(random() % pw), sy = static_cast<int>(random() % ph);
        const int sw = 1 + static_cast<int>(random() % (pw - sx)),
                  sh = 1 + static_cast<int>(random() % (ph - sy));
        std::uniform_real_distribution<float> pos(-6, 6), size(1, 14), angle(-90, 90);
        const float CX = pos(random), CY = pos(random), W = size(random), H = size(random), A = angle(random);
        QImage fast = Background(random);
        QImage expected = fast;

        TBitmapDrawContext dc(fast);
        RandomTransformation(random, dc.Transformation);
        dc.DrawImage(picture, sx, sy, sw, sh, CX, CY, W, H, A);

        TTransformation t;
        t.Assign(dc.Transformation);
        t.RotateAt(CX, CY, A);
        const TRect box = t.BoundingRect(CX - W / 2, CY - H / 2, CX + W / 2, CY + H / 2);
        t.Translate(CX - W / 2, CY - H / 2);
        t.Scale(W / sw, H / sh);
        t.Translate(-sx, -sy);
        t.Update();
        const int32_t* m = t.Inverse2012();
        for (int y = std::max(0, box.Top - 1); y <= std::min(expected.height() - 1, box.Bottom + 1); ++y)
            for (int x = std::max(0, box.Left - 1); x <= std::min(expected.width() - 1, box.Right + 1); ++x) {
                const int px = (x * m[0] + y * m[1] + m[2]) >> 12; // truncation, no rounding term
                const int py = (x * m[3] + y * m[4] + m[5]) >> 12;
                if (px < sx || px >= sx + sw || py < sy || py >= sy + sh)
                    continue;
                ReferencePut(expected, x, y, picture.pixel(px, py));
            }
        ASSERT_EQ(fast, expected) << "round " << round;
    }
}
