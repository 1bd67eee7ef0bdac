#include "filters/uHSLUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

TEST(HSLConversion, PrimariesGreysAndMixedColours) {
    double h, s, l;
    RGBToHSL(rgb(255, 0, 0), h, s, l);
    EXPECT_DOUBLE_EQ(h, 0.0);
    EXPECT_DOUBLE_EQ(s, 1.0);
    EXPECT_DOUBLE_EQ(l, 0.5);
    RGBToHSL(rgb(0, 255, 0), h, s, l);
    EXPECT_DOUBLE_EQ(h, 1.0 / 3.0);
    RGBToHSL(rgb(0, 0, 255), h, s, l);
    EXPECT_DOUBLE_EQ(h, 2.0 / 3.0);
    // Magenta lies before red: the negative hue wraps to 5/6.
    RGBToHSL(rgb(255, 0, 255), h, s, l);
    EXPECT_DOUBLE_EQ(h, 5.0 / 6.0);
    RGBToHSL(rgb(90, 90, 90), h, s, l);
    EXPECT_EQ(h, 0.0);
    EXPECT_EQ(s, 0.0);
    EXPECT_DOUBLE_EQ(l, 90.0 / 255.0);
    // Dark and light colours take the two saturation formulas.
    RGBToHSL(rgb(100, 50, 50), h, s, l);
    EXPECT_NEAR(s, (50.0 / 255) / (150.0 / 255), 1e-12);
    RGBToHSL(rgb(250, 200, 200), h, s, l);
    EXPECT_NEAR(s, (50.0 / 255) / (2 - 450.0 / 255), 1e-12);
    // Orange lies just below the red-eye test's limit of 0.09.
    RGBToHSL(rgb(255, 128, 0), h, s, l);
    EXPECT_NEAR(h, 0.0837, 1e-3);
}

TEST(HSLConversion, RoundTripOfASpreadOfColours) {
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 7) {
                double h, s, l;
                RGBToHSL(rgb(r, g, b), h, s, l);
                ASSERT_EQ(HSLToRGB(l, s, h), rgb(r, g, b)) << r << ' ' << g << ' ' << b;
            }
}

TEST(HSLConversion, HalvesRoundToEvenAndResultsAreClamped) {
    // A lightness whose channel value is exactly 126.5 gives 126, not 127.
    double l = 126.5 / 255.0;
    while (l * 255.0 < 126.5)
        l = std::nextafter(l, 1.0);
    while (l * 255.0 > 126.5)
        l = std::nextafter(l, 0.0);
    ASSERT_EQ(l * 255.0, 126.5);
    EXPECT_EQ(HSLToRGB(l, 0, 0), rgb(126, 126, 126));
    EXPECT_EQ(HSLToRGB(2.0, 0, 0), rgb(255, 255, 255));
    EXPECT_EQ(HSLToRGB(-1.0, 0, 0), 0);
    EXPECT_EQ(HSLToRGB(std::numeric_limits<double>::quiet_NaN(), 0, 0), 0);
    // A saturation above 1 overshoots in the formula; the channels stay in range.
    EXPECT_EQ(HSLToRGB(0.5, 3.0, 0.0), rgb(255, 0, 0));
}

TEST(ShiftColour, HueLightnessAndSaturation) {
    EXPECT_EQ(ShiftColor(rgb(255, 0, 0), 0.5f, 0, 0), rgb(0, 255, 255));
    // A hue shift of one whole turn, or of many, changes nothing.
    EXPECT_EQ(ShiftColor(rgb(200, 40, 60), 1.0f, 0, 0), rgb(200, 40, 60));
    EXPECT_EQ(ShiftColor(rgb(200, 40, 60), -3.0f, 0, 0), rgb(200, 40, 60));
    EXPECT_EQ(ShiftColor(rgb(200, 40, 60), 3.25f, 0, 0), ShiftColor(rgb(200, 40, 60), 0.25f, 0, 0));
    // Greys have no hue to shift.
    for (int v : {0, 1, 77, 128, 254, 255})
        for (float hue : {-0.5f, -0.2f, 0.1f, 0.5f})
            EXPECT_EQ(ShiftColor(rgb(v, v, v), hue, 0, 0), rgb(v, v, v));
    // The wizard's lighter and darker shades of a grey 128: L 0.502 +/- 0.07.
    EXPECT_EQ(ShiftColor(rgb(128, 128, 128), 0, 0, 0.07f), rgb(146, 146, 146));
    EXPECT_EQ(ShiftColor(rgb(128, 128, 128), 0, 0, -0.07f), rgb(110, 110, 110));
    EXPECT_EQ(ShiftColor(rgb(10, 10, 10), 0, 0, -0.07f), 0);
    EXPECT_EQ(ShiftColor(rgb(200, 40, 60), 0, -1.0f, 0), rgb(120, 120, 120));
    // The high byte travels through untouched.
    EXPECT_EQ(ShiftColor(static_cast<std::int32_t>(0x7F000000) | rgb(128, 128, 128), 0, 0, 0.07f),
              static_cast<std::int32_t>(0x7F000000) | rgb(146, 146, 146));
}

TEST(ShiftColour, NonFiniteAndHugeShiftsEndAndChangeNothingTheyCannot) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::int32_t c = rgb(200, 40, 60);
    EXPECT_EQ(ShiftColor(c, 1e30f, 0, 0), ShiftColor(c, 0, 0, 0));
    EXPECT_EQ(ShiftColor(c, inf, 0, 0), c);
    EXPECT_EQ(ShiftColor(c, nan, nan, nan), c);
    EXPECT_EQ(ShiftColor(c, 0, 0, inf), rgb(255, 255, 255));
    EXPECT_EQ(ShiftColor(c, 0, 0, -inf), 0);
}

TEST(RGBHSLObject, KeepsBothSidesInStep) {
    TRGBHSL colour(rgb(200, 40, 60));
    EXPECT_EQ(colour.GetColor(), rgb(200, 40, 60));
    double h, s, l;
    RGBToHSL(rgb(200, 40, 60), h, s, l);
    EXPECT_EQ(colour.H(), h);
    EXPECT_EQ(colour.S(), s);
    EXPECT_EQ(colour.L(), l);

    colour.SetR(0);
    colour.SetG(0);
    colour.SetB(255);
    EXPECT_DOUBLE_EQ(colour.H(), 2.0 / 3.0);
    EXPECT_EQ(colour.GetColor(), rgb(0, 0, 255));

    // Lightness 0.75 of pure blue is a light blue; hue and saturation stay.
    colour.SetL(0.75);
    EXPECT_EQ(colour.GetColor(), rgb(128, 128, 255));
    EXPECT_DOUBLE_EQ(colour.H(), 2.0 / 3.0);
    EXPECT_EQ(colour.S(), 1.0);
    EXPECT_EQ(colour.L(), 0.75);

    colour.SetColor(rgb(128, 128, 128));
    EXPECT_EQ(colour.S(), 0.0);
    EXPECT_EQ(colour.R(), 128);
}

} // namespace
