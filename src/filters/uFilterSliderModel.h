#pragma once

// The arithmetic of the filter dialogs' slider: its range in linear and exponential mode, mouse
// positions on the track, the thumb, the ticks, the keys' steps and the number field's text.

#include <QLocale>
#include <QString>

#include <optional>
#include <vector>

enum class TSliderMode { Linear = 0, Expo = 1 };

namespace FilterSlider {

float Minimum(TSliderMode mode);
float Maximum(TSliderMode mode);
float Clamp(TSliderMode mode, float value);
// What the R key gives back: 0 linear, 1 exponential.
float Neutral(TSliderMode mode);
// The arrow keys' step and the page keys' step.
float SmallStep(TSliderMode mode);
float BigStep(TSliderMode mode);

// The position under a mouse x on a track that starts at trackLeft and is trackWidth wide
// (clamped to the range).
float PositionAt(TSliderMode mode, int x, int trackLeft, int trackWidth);
// The left edge of the 6-pixel thumb for a position.
int ThumbLeft(TSliderMode mode, float position, int trackLeft, int trackWidth);
constexpr int kThumbWidth = 6;

struct TTick {
    int X;
    bool Full;
};
// Linear: 21 ticks, every fifth full; exponential: 0.1, 1 (full), 2 … 9, 10 (full).
std::vector<TTick> Ticks(TSliderMode mode, int trackLeft, int trackWidth);

// The number field: linear as a rounded whole number, exponential with two decimals, in the
// locale's way ("1,00" in German).
QString Text(TSliderMode mode, float position, const QLocale& locale);
// A typed number in the locale's way; nothing for text that is no number.
std::optional<float> ParseTyped(const QString& text, const QLocale& locale);
// Whether a typed value must be written back because clamping changed it.
bool NeedsRewrite(float typed, float clamped);

} // namespace FilterSlider
