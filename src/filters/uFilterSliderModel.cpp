#include "filters/uFilterSliderModel.h"

#include "render/uTransformation.h"

#include <algorithm>
#include <cmath>

namespace FilterSlider {

float Minimum(TSliderMode mode) {
    return mode == TSliderMode::Expo ? 0.1f : -100.0f;
}

float Maximum(TSliderMode mode) {
    return mode == TSliderMode::Expo ? 10.0f : 100.0f;
}

float Clamp(TSliderMode mode, float value) {
    if (std::isnan(value))
        return Neutral(mode);
    return std::clamp(value, Minimum(mode), Maximum(mode));
}

float Neutral(TSliderMode mode) {
    return mode == TSliderMode::Expo ? 1.0f : 0.0f;
}

float SmallStep(TSliderMode mode) {
    return mode == TSliderMode::Expo ? 0.1f : 1.0f;
}

float BigStep(TSliderMode mode) {
    return mode == TSliderMode::Expo ? 1.0f : 10.0f;
}

float PositionAt(TSliderMode mode, int x, int trackLeft, int trackWidth) {
    // An even length puts the middle of the track on a whole pixel.
    const int even = std::max(2, trackWidth + (trackWidth & 1));
    const double share = double(x - trackLeft) / even;
    const double value =
        mode == TSliderMode::Expo ? std::pow(10.0, 2.0 * share - 1.0) : -100.0 + 200.0 * share;
    return Clamp(mode, static_cast<float>(value));
}

int ThumbLeft(TSliderMode mode, float position, int trackLeft, int trackWidth) {
    const double share = mode == TSliderMode::Expo ? (std::log10(double(position)) + 1.0) / 2.0
                                                   : (double(position) + 100.0) / 200.0;
    return trackLeft - kThumbWidth / 2 + static_cast<int>(std::nearbyint(share * trackWidth));
}

std::vector<TTick> Ticks(TSliderMode mode, int trackLeft, int trackWidth) {
    std::vector<TTick> ticks;
    if (mode == TSliderMode::Expo) {
        for (double v : {0.1, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0}) {
            const int x =
                trackLeft + static_cast<int>(std::nearbyint((trackWidth - 1) / 2.0 * (1.0 + std::log10(v))));
            ticks.push_back({x, v == 0.1 || v == 1.0 || v == 10.0});
        }
    } else {
        for (int i = 0; i <= 20; ++i)
            ticks.push_back({trackLeft + MulDiv(i, trackWidth - 1, 20), i % 5 == 0});
    }
    return ticks;
}

QString Text(TSliderMode mode, float position, const QLocale& locale) {
    if (mode == TSliderMode::Expo)
        return locale.toString(double(position), 'f', 2);
    return locale.toString(static_cast<int>(std::nearbyint(position)));
}

std::optional<float> ParseTyped(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return static_cast<float>(value);
}

bool NeedsRewrite(float typed, float clamped) {
    return std::fabs(double(typed) - double(clamped)) >= 1e-6;
}

} // namespace FilterSlider
