#pragma once

#include <QString>
#include <QStringList>

class TCurrentPrinter;
class TDrawContext;

// The printer calibration: a normal pass prints a vernier scale of 50 numbered bars, each 0.1 mm
// lower than the one before; a borderless pass on the re-fed sheet prints one red line at the
// nominal place. The number of the bar that touches the line tells how far borderless printing
// moves the picture.
namespace Kalibrierung {

constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 50;

// Whether the text is a calibration number (a whole number from 1 to 50).
bool IsCalibrationNumber(const QString& text);
// (n - 1) * 0.1 mm for a whole number n; 0 when the text holds none.
float CalibrationValue(const QString& text);
// The fold-line dialog's offset label for a shift: "0,0 mm" at the default shift -1.2, else how
// far the edge moves left or right, with the locale's decimal separator.
QString FoldLineLabel(float shift);

// Cuts a text at blanks, hyphens and tabs into lines of at most maxLength characters where the
// words allow it.
QStringList WrapWords(const QString& text, int maxLength);

// Draws pass 1 (normal) or 2 (borderless) in the landscape drawing system laid onto a portrait
// A4 sheet; the context maps millimetres on the paper at the given resolution.
void DrawPass(TDrawContext& dc, int pass, double dpiX, double dpiY);

// Prints on the printer's current paper: each entry of pages is one sheet, bit 1 for pass 1 and
// bit 2 for pass 2. The document is ended even when drawing fails; raises Exception when the
// printer cannot take it.
void PrintSheets(TCurrentPrinter& printer, const QList<int>& pages);

} // namespace Kalibrierung
