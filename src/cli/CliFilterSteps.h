#pragma once

// The FILTER options shared by `filter-image` and `filter`:
//   --hkig H,K,I,G        lightness, contrast, intensity (-1..1) and gamma (0.0001..100)
//   --hsl HUE,SAT,LIGHT   shifts of hue (-0.5..0.5), saturation and lightness (-1..1)
//   --swcol HUE,SAT       one-tone colouring (both 0..1; saturation 0 is black and white)
//   --redeye X,Y[,N]      a red-eye brush click on stored-picture pixel X, Y (brush N: 3, 5 or 9)
// Numbers are written the C way ("0.25").

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

enum class TPictureFilterKind;

struct TCliFilterStep {
    TPictureFilterKind Kind;
    float Values[4] = {0, 0, 0, 0};
    int X = 0, Y = 0, Brush = 5;
};

namespace CliFilter {

extern const char* const kOptionsUsage;
// True when args[i] names a filter option.
bool IsFilterOption(const QString& arg);
// Reads the filter option at args[i] and its value (i moves past it); raises CliUsageError for a
// malformed or out-of-range value.
TCliFilterStep ParseStep(const QStringList& args, int& i);
// Raises CliUsageError when a red-eye click lies outside a picture of that size.
void RequireInside(const TCliFilterStep& step, QSize picture);
// Applies one step to the picture the way the dialog's OK does.
void Apply(QImage& picture, const TCliFilterStep& step);
// Writes the picture as PNG through a temporary file, so a failure leaves `path` as it was;
// raises CliUsageError on failure.
void WritePng(const QImage& picture, const QString& path);

} // namespace CliFilter
