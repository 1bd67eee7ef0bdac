#pragma once

// Conversions between 0x00BBGGRR colours and hue, saturation and lightness (all three in 0..1, a
// whole turn of hue being 1). Results round to the nearest channel value with halves to even; the
// arithmetic is double throughout, except that ShiftHSL takes its channels as float / 255, so that
// the filters, their previews and the command line give identical pixels.

#include <cstdint>

// Hue, saturation and lightness of a 0x00BBGGRR colour.
void RGBToHSL(std::int32_t colour, double& h, double& s, double& l);
// The 0x00BBGGRR colour of lightness, saturation and hue; every channel is clamped to 0..255.
std::int32_t HSLToRGB(double l, double s, double h);
// Shifts one pixel's hue (wrapped into (0, 1]), saturation and lightness (each clamped to 0..1).
// A shift that is not a finite number leaves its component as it is.
void ShiftHSL(std::uint8_t& r, std::uint8_t& g, std::uint8_t& b, float hue, float saturation,
              float lightness);
// ShiftHSL on a 0x00BBGGRR colour; the high byte is kept.
std::int32_t ShiftColor(std::int32_t colour, float hue, float saturation, float lightness);

// One colour held both ways; every change of one side recomputes the other.
class TRGBHSL {
public:
    explicit TRGBHSL(std::int32_t colour = 0);

    std::int32_t GetColor() const;
    void SetColor(std::int32_t colour);
    void SetR(std::uint8_t value);
    void SetG(std::uint8_t value);
    void SetB(std::uint8_t value);
    // The colour follows from the new lightness and the kept hue and saturation.
    void SetL(double value);

    std::uint8_t R() const { return r_; }
    std::uint8_t G() const { return g_; }
    std::uint8_t B() const { return b_; }
    double H() const { return h_; }
    double S() const { return s_; }
    double L() const { return l_; }

private:
    void updateHSL();

    std::uint8_t b_ = 0;
    std::uint8_t r_ = 0;
    std::uint8_t g_ = 0;
    double l_ = 0;
    double h_ = 0;
    double s_ = 0;
};
