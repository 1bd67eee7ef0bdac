#include "filters/uPictureFilter.h"

#include "filters/uHSLUtil.h"
#include "platform/Exception.h"
#include "support/PictureSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace {

// One row of the given 0xRRGGBB values (opaque).
QImage row(std::initializer_list<QRgb> colours, QImage::Format format = QImage::Format_RGB32) {
    QImage image(int(colours.size()), 1, format);
    int x = 0;
    for (QRgb c : colours)
        image.setPixel(x++, 0, 0xFF000000u | c);
    return image;
}

QImage greyRamp() {
    QImage image(256, 1, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i)
        image.setPixel(i, 0, qRgb(i, i, i));
    return image;
}

int blueAt(const QImage& image, int x) {
    return qBlue(image.pixel(x, 0));
}

QString errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.message();
    }
    return {};
}

TEST(FilterHKIG, NeutralContrastExtremesAndLightness) {
    const QImage ramp = greyRamp();
    QImage image = ramp;
    FilterHKIG(image, 0, 0, 0, 1);
    EXPECT_EQ(image, ramp);

    image = ramp;
    FilterHKIG(image, 0, 1, 0, 1);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(blueAt(image, i), i < 128 ? 0 : i == 128 ? 128 : 255) << i;

    image = ramp;
    FilterHKIG(image, 0, -1, 0, 1);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(blueAt(image, i) >= 127 && blueAt(image, i) <= 129) << i;
    // Halves go to the even neighbour: 127.5 and 128.5 both give 128.
    EXPECT_EQ(blueAt(image, 64), 128);
    EXPECT_EQ(blueAt(image, 192), 128);
    EXPECT_EQ(blueAt(image, 193), 129);

    image = ramp;
    FilterHKIG(image, 1, 0, 0, 1);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(image.pixel(i, 0), qRgb(255, 255, 255));

    // 0.3 as a float is a hair above 0.3: 255 x 0.3 rounds to 77 in double (in float it would be 76.5).
    image = ramp;
    FilterHKIG(image, 0.3f, 0, 0, 1);
    EXPECT_EQ(blueAt(image, 0), 77);
    EXPECT_EQ(blueAt(image, 100), 177);
    EXPECT_EQ(blueAt(image, 200), 255);
}

TEST(FilterHKIG, AllFourStepsTogether) {
    // Gamma 2: 181; +51: 232; contrast 128 / 64.5: 334.4 -> 334; intensity 0.75: 250.5 -> 250.
    QImage image = row({0x808080, 0x000000});
    FilterHKIG(image, 0.2f, 0.5f, -0.25f, 2);
    EXPECT_EQ(image.pixel(0, 0), qRgb(250, 250, 250));
    const auto table = HKIGTable(0.2f, 0.5f, -0.25f, 2);
    EXPECT_EQ(table[128], 250);
    EXPECT_EQ(image.pixel(1, 0), qRgb(table[0], table[0], table[0]));
}

TEST(FilterHKIG, RangeChecksInOrderBeforeAnyPixelChanges) {
    const QImage ramp = greyRamp();
    QImage image = ramp;
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 2, 2, 2, 0); }),
              QStringLiteral("prozHelligkeit außerhalb von -1..1"));
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 0, -1.5f, 2, 0); }),
              QStringLiteral("prozKontrast außerhalb von -1..1"));
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 0, 0, 1.01f, 0); }),
              QStringLiteral("prozIntensitaet außerhalb von -1..1"));
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 0, 0, 0, 0.00005f); }),
              QStringLiteral("gamma außerhalb von 0,0001..100"));
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 0, 0, 0, 100.01f); }),
              QStringLiteral("gamma außerhalb von 0,0001..100"));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, nan, 0, 0, 1); }),
              QStringLiteral("prozHelligkeit außerhalb von -1..1"));
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 0, 0, 0, inf); }),
              QStringLiteral("gamma außerhalb von 0,0001..100"));
    EXPECT_EQ(image, ramp);
    // The bounds themselves pass.
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, -1, 1, -1, 0.0001f); }), QString());
    image = ramp;
    EXPECT_EQ(errorOf([&] { FilterHKIG(image, 1, -1, 1, 100); }), QString());
}

TEST(Filters, FormatRuleNullPictureAndRejectedParameters) {
    QImage rgb888(4, 4, QImage::Format_RGB888);
    rgb888.fill(Qt::red);
    const QImage before = rgb888;
    const QString only32 = QStringLiteral("nur 32bit Bilder werden unterstützt");
    EXPECT_EQ(errorOf([&] { FilterHKIG(rgb888, 0, 0, 0, 1); }), only32);
    EXPECT_EQ(errorOf([&] { FilterHSL(rgb888, 0.1f, 0, 0); }), only32);
    EXPECT_EQ(errorOf([&] { FilterSWCol(rgb888, 0.1f, 0.3f); }), only32);
    // The format is checked before the parameters.
    EXPECT_EQ(errorOf([&] { FilterHKIG(rgb888, 5, 0, 0, 1); }), only32);
    EXPECT_EQ(rgb888, before);

    QImage none;
    EXPECT_EQ(errorOf([&] {
                  FilterHKIG(none, 0, 0, 0, 1);
                  FilterHSL(none, 0, 0, 0);
                  FilterSWCol(none, 0, 0);
              }),
              QString());
    EXPECT_TRUE(none.isNull());

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const QString invalid = QStringLiteral("Filterparameter ungültig");
    QImage image = PictureSupport::photo(16, 8);
    const QImage original = image;
    EXPECT_EQ(errorOf([&] { FilterHSL(image, inf, 0, 0); }), invalid);
    EXPECT_EQ(errorOf([&] { FilterHSL(image, 0, nan, 0); }), invalid);
    EXPECT_EQ(errorOf([&] { FilterHSL(image, 0, 0, -inf); }), invalid);
    EXPECT_EQ(errorOf([&] { FilterSWCol(image, nan, 0.3f); }), invalid);
    EXPECT_EQ(errorOf([&] { FilterSWCol(image, 0.1f, inf); }), invalid);
    EXPECT_EQ(image, original);
}

TEST(FilterHSL, ZeroShiftKeepsEveryColour) {
    QImage all(4096, 4096, QImage::Format_RGB32);
    for (int y = 0; y < 4096; ++y) {
        auto* line = reinterpret_cast<QRgb*>(all.scanLine(y));
        for (int x = 0; x < 4096; ++x)
            line[x] = 0xFF000000u | quint32(y * 4096 + x);
    }
    const QImage before = all;
    FilterHSL(all, 0, 0, 0);
    EXPECT_EQ(all, before);
}

TEST(FilterHSL, HueShiftsTurnColoursAndKeepGreys) {
    QImage image = row({0xFF0000, 0x00FF00, 0x000000, 0x808080, 0xFFFFFF, 0x3C3C3C});
    FilterHSL(image, 0.5f, 0, 0);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 255, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 0), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(4, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 0), qRgb(60, 60, 60));
    image = row({0xC82828});
    FilterHSL(image, -0.5f, -1, 0);
    EXPECT_EQ(image.pixel(0, 0), qRgb(120, 120, 120));
    image = row({0xC82828});
    FilterHSL(image, 0, 0, 1);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(FilterSWCol, OneToneAndBlackAndWhite) {
    QImage image = row({0x808080, 0x000000, 0xFFFFFF});
    FilterSWCol(image, 0.1f, 0.3f);
    EXPECT_EQ(image.pixel(0, 0), qRgb(166, 136, 90));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 255, 255));
    // Saturation 0: the integer mean of the three channels as a grey.
    image = row({0xFF0000, 0x0A0B0D, 0x102030});
    FilterSWCol(image, 0.7f, 0);
    EXPECT_EQ(image.pixel(0, 0), qRgb(85, 85, 85));
    EXPECT_EQ(image.pixel(1, 0), qRgb(11, 11, 11));
    EXPECT_EQ(image.pixel(2, 0), qRgb(32, 32, 32));
}

TEST(Filters, AlphaNeverChangesAndPremultipliedIsFilteredStraight) {
    QImage image(64, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgba(x * 4, 255 - x * 3, y * 60, x * 4 + y));
    const auto alphas = [](const QImage& i) {
        std::vector<int> a;
        for (int y = 0; y < i.height(); ++y)
            for (int x = 0; x < i.width(); ++x)
                a.push_back(qAlpha(i.pixel(x, y)));
        return a;
    };
    const std::vector<int> before = alphas(image);
    QImage hkig = image, hsl = image, swcol = image;
    FilterHKIG(hkig, 0.4f, 0.3f, 0.2f, 1.5f);
    FilterHSL(hsl, 0.3f, 0.5f, -0.2f);
    FilterSWCol(swcol, 0.1f, 0.3f);
    EXPECT_EQ(alphas(hkig), before);
    EXPECT_EQ(alphas(hsl), before);
    EXPECT_EQ(alphas(swcol), before);
    EXPECT_NE(hkig, image);

    // A premultiplied picture comes back premultiplied, its colours filtered as straight values.
    QImage pre(1, 1, QImage::Format_ARGB32_Premultiplied);
    pre.setPixel(0, 0, qPremultiply(qRgba(200, 100, 50, 128)));
    FilterHKIG(pre, 0, 0, 0, 1);
    EXPECT_EQ(pre.format(), QImage::Format_ARGB32_Premultiplied);
    // Filtering the premultiplied values themselves would lift (100, 50, 25) to straight
    // (255, 201, 151); filtered straight, (200, 100, 50) becomes (251, 151, 101).
    QImage lifted(1, 1, QImage::Format_ARGB32_Premultiplied);
    lifted.setPixel(0, 0, qPremultiply(qRgba(200, 100, 50, 128)));
    FilterHKIG(lifted, 0.2f, 0, 0, 1);
    const QRgb back = lifted.convertToFormat(QImage::Format_ARGB32).pixel(0, 0);
    EXPECT_NEAR(qRed(back), 251, 2);
    EXPECT_NEAR(qGreen(back), 151, 2);
    EXPECT_NEAR(qBlue(back), 101, 2);
    EXPECT_EQ(qAlpha(back), 128);
}

TEST(Filters, ProgressAfterEveryRowInOrder) {
    for (int height : {1, 3, 7}) {
        QImage image = PictureSupport::photo(5, height);
        std::vector<int> hkig, hsl, swcol;
        FilterHKIG(image, 0, 0.1f, 0, 1, [&](int p) { hkig.push_back(p); });
        FilterHSL(image, 0.1f, 0, 0, [&](int p) { hsl.push_back(p); });
        FilterSWCol(image, 0.1f, 0.3f, [&](int p) { swcol.push_back(p); });
        std::vector<int> expected;
        if (height == 1)
            expected = {100};
        else if (height == 3)
            expected = {0, 50, 100};
        else
            expected = {0, 17, 33, 50, 67, 83, 100};
        EXPECT_EQ(hkig, expected) << height;
        EXPECT_EQ(hsl, expected) << height;
        EXPECT_EQ(swcol, expected) << height;
    }
}

TEST(FilterDialogMath, FittingTurningAndSliderParameters) {
    using namespace FilterDialogMath;
    EXPECT_EQ(Fit({2272, 1704}, {300, 225}), QSize(300, 225));
    EXPECT_EQ(Fit({1704, 2272}, {300, 225}), QSize(169, 225));
    EXPECT_EQ(Fit({4000, 1000}, {300, 225}), QSize(300, 75));
    // Extreme aspect ratios keep at least one pixel either way.
    EXPECT_EQ(Fit({100000, 1}, {300, 225}), QSize(300, 1));
    EXPECT_EQ(Fit({1, 100000}, {300, 225}), QSize(1, 225));

    EXPECT_EQ(QuarterTurn(0), 0);
    EXPECT_EQ(QuarterTurn(90), 90);
    EXPECT_EQ(QuarterTurn(-90), 270);
    EXPECT_EQ(QuarterTurn(450), 90);
    EXPECT_EQ(QuarterTurn(-180), 180);
    EXPECT_EQ(QuarterTurn(45), 0);

    const QImage photo = PictureSupport::photo(37, 23);
    for (int angle : {90, 180, 270, -90}) {
        const QImage turned = Turned(photo, angle);
        EXPECT_EQ(turned.size(), angle == 180 ? photo.size() : photo.size().transposed());
        EXPECT_EQ(Turned(turned, -angle), photo) << angle;
    }
    const QImage halves = PictureSupport::halves(40, 20);
    // Clockwise: the red left half comes to the top.
    const QImage quarter = Turned(halves, 90);
    EXPECT_EQ(quarter.pixel(9, 5), halves.pixel(5, 10));
    EXPECT_EQ(qRed(quarter.pixel(10, 5)), 220);
    EXPECT_EQ(qBlue(quarter.pixel(10, 35)), 220);

    const QImage fitted = FittedCopy(PictureSupport::photo(2272, 1704), 90, {300, 225});
    EXPECT_EQ(fitted.size(), QSize(169, 225));
    EXPECT_EQ(FittedCopy(PictureSupport::photo(2272, 1704), 45, {300, 225}).size(), QSize(300, 225));
    EXPECT_TRUE(FittedCopy(QImage(), 0, {300, 225}).isNull());

    const THKIGParameters hkig = HKIGFromSliders(30, -100, 50, 0.1f);
    EXPECT_EQ(hkig.Helligkeit, 0.3f);
    EXPECT_EQ(hkig.Kontrast, -1.0f);
    EXPECT_EQ(hkig.Intensitaet, 0.5f);
    EXPECT_EQ(hkig.Gamma, 0.1f);
    const THSLParameters hsl = HSLFromSliders(100, -100, 20);
    EXPECT_EQ(hsl.Hue, 0.5f);
    EXPECT_EQ(hsl.Saturation, -1.0f);
    EXPECT_EQ(hsl.Lightness, 0.2f);
    const TSWColParameters sw = SWColFromSliders(kSWColHueDefault, kSWColSaturationDefault);
    EXPECT_EQ(sw.Hue, 0.1f);
    EXPECT_EQ(sw.Saturation, 0.3f);
    EXPECT_EQ(SWColFromSliders(0, kSWColBlackAndWhite).Saturation, 0.0f);
}

TEST(FilterHSL, LargePicturesGiveThePixelsOfThePlainLoopAndProgressInOrder) {
    // Large enough for the worker threads.
    QImage image = PictureSupport::photo(1100, 700, 9);
    for (int y = 0; y < image.height(); y += 3)
        image.setPixel(y % image.width(), y, qRgb(y % 256, 255 - y % 256, (y * 7) % 256));
    const QImage source = image;
    std::vector<int> percents;
    const auto caller = std::this_thread::get_id();
    bool otherThread = false;
    FilterHSL(image, 0.3f, -0.2f, 0.1f, [&](int p) {
        percents.push_back(p);
        otherThread |= std::this_thread::get_id() != caller;
    });
    EXPECT_FALSE(otherThread);
    ASSERT_EQ(percents.size(), size_t(source.height()));
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = source.pixel(x, y);
            const std::int32_t colour = qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16);
            const std::int32_t shifted = ShiftColor(colour, 0.3f, -0.2f, 0.1f);
            ASSERT_EQ(image.pixel(x, y), qRgb(shifted & 0xFF, (shifted >> 8) & 0xFF, (shifted >> 16) & 0xFF))
                << x << ',' << y;
        }
    }
}

} // namespace
