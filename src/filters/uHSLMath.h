#pragma once

// The arithmetic of the colour conversions, inline so that the pixel loops of the filters run it
// without a call per pixel. Everything here is double; callers decide how channels enter.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace HSLMath {

// round(value * 255) with halves to even, clamped to 0..255 (NaN gives 0).
inline std::uint8_t ToChannel(double value) {
    const double x = value * 255.0;
    if (!(x > 0.0))
        return 0;
    if (x >= 255.0)
        return 255;
    return static_cast<std::uint8_t>(std::nearbyint(x));
}

// r, g, b in 0..1.
inline void ToHSL(double r, double g, double b, double& h, double& s, double& l) {
    const double mx = std::max(r, std::max(g, b));
    const double mn = std::min(r, std::min(g, b));
    l = (mx + mn) / 2.0;
    if (mx == mn) {
        h = 0.0;
        s = 0.0;
        return;
    }
    const double d = mx - mn;
    s = l >= 0.5 ? d / (2.0 - mx - mn) : d / (mx + mn);
    if (mx == r)
        h = (g - b) / d;
    else if (mx == g)
        h = (b - r) / d + 2.0;
    else
        h = (r - g) / d + 4.0;
    h = h / 6.0;
    if (h < 0.0)
        h += 1.0;
}

inline double HueToChannel(double p, double q, double x) {
    if (x < 0.0)
        x += 1.0;
    else if (x > 1.0)
        x -= 1.0;
    if (6.0 * x < 1.0)
        return p + (q - p) * 6.0 * x;
    if (2.0 * x < 1.0)
        return q;
    if (3.0 * x < 2.0)
        return p + (q - p) * (2.0 / 3.0 - x) * 6.0;
    return p;
}

inline void ToRGB(double l, double s, double h, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
    if (s == 0.0) {
        r = g = b = ToChannel(l);
        return;
    }
    const double q = l > 0.5 ? l + s - l * s : l * (1.0 + s);
    const double p = 2.0 * l - q;
    r = ToChannel(HueToChannel(p, q, h + 1.0 / 3.0));
    g = ToChannel(HueToChannel(p, q, h));
    b = ToChannel(HueToChannel(p, q, h - 1.0 / 3.0));
}

// Hue plus shift, brought into (0, 1]. A shift beyond a whole turn is first reduced exactly (whole
// turns change nothing), so the wrap ends after at most two steps; for the shifts the dialogs offer
// (-0.5..0.5) it is the plain loop. A shift that is not finite is no shift.
inline double WrapHue(double h, float shift) {
    double turn = std::isfinite(shift) ? static_cast<double>(shift) : 0.0;
    if (std::fabs(turn) > 1.0)
        turn = std::fmod(turn, 1.0);
    h += turn;
    while (h <= 0.0)
        h += 1.0;
    while (h > 1.0)
        h -= 1.0;
    return h;
}

inline double ShiftClamped(double value, float shift) {
    if (std::isnan(shift))
        return value;
    return std::clamp(value + static_cast<double>(shift), 0.0, 1.0);
}

// The per-pixel step of the hue/saturation/lightness filter; channels enter as float / 255.
inline void Shift(std::uint8_t& r, std::uint8_t& g, std::uint8_t& b, float hue, float saturation,
                  float lightness) {
    const double rf = static_cast<double>(static_cast<float>(r) / 255.0f);
    const double gf = static_cast<double>(static_cast<float>(g) / 255.0f);
    const double bf = static_cast<double>(static_cast<float>(b) / 255.0f);
    double h, s, l;
    ToHSL(rf, gf, bf, h, s, l);
    h = WrapHue(h, hue);
    s = ShiftClamped(s, saturation);
    l = ShiftClamped(l, lightness);
    ToRGB(l, s, h, r, g, b);
}

} // namespace HSLMath
