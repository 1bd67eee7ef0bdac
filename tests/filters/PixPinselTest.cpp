#include "filters/uPixPinsel.h"

#include <gtest/gtest.h>

namespace {

int painted(TPixPinsel& brush) {
    int count = 0;
    for (int y = 0; y < brush.Height(); ++y)
        for (int x = 0; x < brush.Width(); ++x)
            count += brush.Get(x, y) == 255 ? 1 : 0;
    return count;
}

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The bounding box of the pixels that differ.
QRect changed(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(PixPinsel, RoundMasksOfTheThreeSizes) {
    TPixPinsel brush(3, 3);
    brush.MakeRound();
    EXPECT_EQ(painted(brush), 9);
    brush.SetSize(5, 5);
    brush.MakeRound();
    EXPECT_EQ(painted(brush), 21);
    EXPECT_EQ(brush.Get(0, 0), 0);
    EXPECT_EQ(brush.Get(4, 4), 0);
    EXPECT_EQ(brush.Get(2, 0), 255);
    brush.SetSize(9, 9);
    brush.MakeRound();
    EXPECT_EQ(painted(brush), 69);

    // A new size clears the mask; a size of 0 still gives one pixel to ask for.
    brush.SetSize(4, 4);
    EXPECT_EQ(painted(brush), 0);
    brush.Set(1, 2, 255);
    EXPECT_EQ(brush.Get(1, 2), 255);
    brush.SetSize(0, -3);
    brush.MakeRound();
    EXPECT_EQ(brush.Get(0, 0), 255);
}

TEST(RedEye, PixelRule) {
    const auto after = [](QRgb c) {
        std::uint32_t p = 0xFF000000u | c;
        RedEye::RetouchPixel(p);
        return p & 0xFFFFFFu;
    };
    EXPECT_EQ(after(0xFF0000), 0x000000u);
    EXPECT_EQ(after(0xC8283C), 0x32283Cu); // (200, 40, 60) -> (50, 40, 60)
    EXPECT_EQ(after(0xFF8000), 0x408000u); // orange, hue 0.084 -> (64, 128, 0)
    EXPECT_EQ(after(0xFFA000), 0xFFA000u); // hue 0.105: not red
    EXPECT_EQ(after(0x808080), 0x808080u); // a true grey stays
    EXPECT_EQ(after(0x2060C0), 0x2060C0u); // blue stays
    EXPECT_EQ(after(0xFF0064), 0x320064u); // hue 0.93: a crimson counts as red
    EXPECT_EQ(after(0xFF00F0), 0xFF00F0u); // hue 0.84: magenta does not
    std::uint32_t translucent = 0x40FF0000u;
    RedEye::RetouchPixel(translucent);
    EXPECT_EQ(translucent, 0x40000000u);
}

TEST(RedEye, ClickRetouchesADiscAroundThePictureCentre) {
    TPixPinsel brush(5, 5);
    brush.MakeRound();
    const QImage red = filled(30, 30, qRgb(255, 0, 0));
    QImage picture = red;
    const QPoint centre = RedEye::PaintBoxToPicture({10, 10}, 1.0f);
    EXPECT_EQ(centre, QPoint(10, 10));
    RedEye::Retouch(picture, brush, centre.x(), centre.y());
    EXPECT_EQ(changed(red, picture), QRect(QPoint(8, 8), QPoint(12, 12)));
    EXPECT_EQ(picture.pixel(8, 8), red.pixel(8, 8)); // corner of the disc
    EXPECT_EQ(picture.pixel(10, 8), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(12, 10), qRgb(0, 0, 0));

    // Across the border only pixels of the picture change.
    for (QPoint p : {QPoint(0, 0), QPoint(29, 29), QPoint(-2, 15), QPoint(31, 31), QPoint(15, -100)}) {
        QImage edge = red;
        RedEye::Retouch(edge, brush, p.x(), p.y());
        const QRect box = changed(red, edge);
        EXPECT_TRUE(box.isNull() || QRect(0, 0, 30, 30).contains(box)) << p.x() << ',' << p.y();
    }
    QImage corner = red;
    RedEye::Retouch(corner, brush, 0, 0);
    EXPECT_EQ(changed(red, corner), QRect(0, 0, 3, 3));
}

TEST(RedEye, ZoomStepsCapsAndCentring) {
    float zoom = 1.0f;
    for (int i = 0; i < 20; ++i)
        zoom = RedEye::ZoomStep(zoom, true, {400, 300});
    EXPECT_EQ(zoom, 20.0f);
    zoom = 1.0f;
    for (int i = 0; i < 20; ++i)
        zoom = RedEye::ZoomStep(zoom, true, {3000, 2000});
    EXPECT_EQ(zoom, 10.0f);
    for (int i = 0; i < 20; ++i)
        zoom = RedEye::ZoomStep(zoom, false, {3000, 2000});
    EXPECT_EQ(zoom, 0.25f);
    EXPECT_EQ(RedEye::ZoomStep(1.0f, true, {400, 300}), 1.5f);
    EXPECT_FLOAT_EQ(RedEye::ZoomStep(1.5f, false, {400, 300}), 1.0f);

    EXPECT_EQ(RedEye::PaintBoxSize({401, 300}, 1.5f), QSize(601, 450));
    // The picture point under the client position (50, 40) at scroll (100, 20), zoom 2.
    const QPoint point = RedEye::PictureUnder({50, 40}, {100, 20}, 2.0f);
    EXPECT_EQ(point, QPoint(75, 30));
    // After zooming to 3 the point comes to the middle of a 200 x 100 client area.
    EXPECT_EQ(RedEye::CentringScroll(point, 3.0f, {200, 100}), QPoint(125, 40));

    const QRect visible = RedEye::VisiblePictureRect({15, 0}, {100, 50}, 2.0f, {300, 300});
    EXPECT_EQ(visible, QRect(QPoint(7, 0), QPoint(57, 24)));
    EXPECT_EQ(RedEye::VisiblePictureRect({0, 0}, {1000, 1000}, 1.0f, {300, 200}), QRect(0, 0, 300, 200));
}

TEST(RedEye, OutlineSurroundsThePixelsAClickRetouches) {
    const QImage red = filled(64, 64, qRgb(255, 0, 0));
    for (float zoom : {1.0f, 1.5f, 2.25f, 4.0f})
        for (int n : {3, 5, 9})
            for (int x = int(10 * zoom); x < int(10 * zoom) + 20; ++x) {
                TPixPinsel brush(n, n);
                brush.MakeRound();
                QImage picture = red;
                const QPoint at = RedEye::PaintBoxToPicture({x, x}, zoom);
                RedEye::Retouch(picture, brush, at.x(), at.y());
                const QRect hit = changed(red, picture);
                const QRect outline = RedEye::BrushOutline({x, x}, zoom, n);
                // The retouched pixels span [zoom * left, zoom * (right + 1)) of the paint box.
                EXPECT_LE(std::abs(outline.left() - zoom * hit.left()), 0.5f) << zoom << ' ' << n << ' ' << x;
                EXPECT_LE(std::abs(outline.right() - zoom * (hit.right() + 1)), 0.5f)
                    << zoom << ' ' << n << ' ' << x;
            }
}

} // namespace
