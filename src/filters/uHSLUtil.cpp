#include "filters/uHSLUtil.h"

#include "filters/uHSLMath.h"

namespace {

std::uint8_t red(std::int32_t colour) {
    return static_cast<std::uint8_t>(colour & 0xFF);
}
std::uint8_t green(std::int32_t colour) {
    return static_cast<std::uint8_t>((colour >> 8) & 0xFF);
}
std::uint8_t blue(std::int32_t colour) {
    return static_cast<std::uint8_t>((colour >> 16) & 0xFF);
}
std::int32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::int32_t>(r | (g << 8) | (b << 16));
}

} // namespace

void RGBToHSL(std::int32_t colour, double& h, double& s, double& l) {
    HSLMath::ToHSL(red(colour) / 255.0, green(colour) / 255.0, blue(colour) / 255.0, h, s, l);
}

std::int32_t HSLToRGB(double l, double s, double h) {
    std::uint8_t r, g, b;
    HSLMath::ToRGB(l, s, h, r, g, b);
    return rgb(r, g, b);
}

void ShiftHSL(std::uint8_t& r, std::uint8_t& g, std::uint8_t& b, float hue, float saturation,
              float lightness) {
    HSLMath::Shift(r, g, b, hue, saturation, lightness);
}

std::int32_t ShiftColor(std::int32_t colour, float hue, float saturation, float lightness) {
    std::uint8_t r = red(colour), g = green(colour), b = blue(colour);
    HSLMath::Shift(r, g, b, hue, saturation, lightness);
    const auto high = static_cast<std::int32_t>(static_cast<std::uint32_t>(colour) & 0xFF000000u);
    return high | rgb(r, g, b);
}

TRGBHSL::TRGBHSL(std::int32_t colour) : b_(blue(colour)), r_(red(colour)), g_(green(colour)) {
    updateHSL();
}

std::int32_t TRGBHSL::GetColor() const {
    return rgb(r_, g_, b_);
}

void TRGBHSL::SetColor(std::int32_t colour) {
    if (colour == GetColor())
        return;
    r_ = red(colour);
    g_ = green(colour);
    b_ = blue(colour);
    updateHSL();
}

void TRGBHSL::SetR(std::uint8_t value) {
    r_ = value;
    updateHSL();
}

void TRGBHSL::SetG(std::uint8_t value) {
    g_ = value;
    updateHSL();
}

void TRGBHSL::SetB(std::uint8_t value) {
    b_ = value;
    updateHSL();
}

void TRGBHSL::SetL(double value) {
    l_ = value;
    HSLMath::ToRGB(l_, s_, h_, r_, g_, b_);
}

void TRGBHSL::updateHSL() {
    RGBToHSL(GetColor(), h_, s_, l_);
}
