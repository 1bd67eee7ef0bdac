#pragma once

// The three colour filters, which rewrite the pixels of a 32-bit picture in place, and the
// arithmetic their dialogs share with the command line (fitting, the turned preview copy, slider
// positions as filter parameters). Pixels are the bytes blue, green, red, alpha; alpha never
// changes.

#include <QImage>
#include <QSize>

#include <array>
#include <cstdint>
#include <functional>

class TFBPictureElement;
enum class TPictureFilterKind;

// Receives the per cent done after each row, in row order, on the calling thread.
using TFilterProgress = std::function<void(int percent)>;

// Each filter accepts Format_RGB32, Format_ARGB32 and Format_ARGB32_Premultiplied (the last filtered
// un-premultiplied) and raises Exception("nur 32bit Bilder werden unterstützt") for any other
// format; a null picture is left alone. Every check happens before the first pixel changes.

// Lightness, contrast and intensity in -1..1, gamma in 0.0001..100; the first parameter out of
// range raises its own message (NaN and infinities are out of range).
void FilterHKIG(QImage& bitmap, float helligkeit, float kontrast, float intensitaet, float gamma,
                const TFilterProgress& progress = {});
// Shifts hue, saturation and lightness of every pixel. Any shift that is not a finite number raises
// "Filterparameter ungültig".
void FilterHSL(QImage& bitmap, float hue, float saturation, float lightness,
               const TFilterProgress& progress = {});
// Colours the picture in one tone of hue and saturation (saturation 0: black and white). A
// parameter that is not a finite number raises "Filterparameter ungültig".
void FilterSWCol(QImage& bitmap, float hue, float saturation, const TFilterProgress& progress = {});

// The table FilterHKIG applies to blue, green and red (the parameters already checked).
std::array<std::uint8_t, 256> HKIGTable(float helligkeit, float kontrast, float intensitaet, float gamma);
// The error text of the first FilterHKIG parameter out of range; empty when all are accepted.
QString CheckHKIG(float helligkeit, float kontrast, float intensitaet, float gamma);

// Runs the frame's filter (or red-eye) dialog through the picture store; the frame gets a private
// copy of its picture first, which stays even when the user cancels. True when the user confirmed;
// false for a frame without picture.
bool ApplyFilter(TFBPictureElement& element, TPictureFilterKind kind);

namespace FilterDialogMath {

// A picture of `picture` pixels fitted into `client`: full width, or full height when the width
// would make it too high; never below 1 x 1.
QSize Fit(QSize picture, QSize client);
// The quarter turn an angle shows (0, 90, 180 or 270): taken modulo 360, -90 is 270; any angle
// that is not a whole quarter turn shows the picture unturned (0).
int QuarterTurn(int angle);
// The picture turned clockwise by a quarter-turn angle, pixel for pixel; other angles copy it.
QImage Turned(const QImage& picture, int angle);
// The preview copy: the picture turned by the angle and scaled with the bilinear filter to its
// fitted size within `client` (device pixels), in the picture's pixel format.
QImage FittedCopy(const QImage& picture, int angle, QSize client);

struct THKIGParameters {
    float Helligkeit, Kontrast, Intensitaet, Gamma;
};
struct THSLParameters {
    float Hue, Saturation, Lightness;
};
struct TSWColParameters {
    float Hue, Saturation;
};
// The sliders' positions (linear -100..100, gamma 0.1..10) as filter parameters.
THKIGParameters HKIGFromSliders(float helligkeit, float kontrast, float intensitaet, float gamma);
THSLParameters HSLFromSliders(float hue, float saturation, float lightness);
TSWColParameters SWColFromSliders(float hue, float saturation);

// The sliders' starting positions.
constexpr float kSWColHueDefault = -80;
constexpr float kSWColSaturationDefault = -40;
// "Schwarz/Weiß" puts the colouring saturation here (S = 0).
constexpr float kSWColBlackAndWhite = -100;

} // namespace FilterDialogMath
