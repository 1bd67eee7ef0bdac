#pragma once

#include <QString>

class TFont;
class TKalenderData;

// The preset looks of the calendar products. Each preset resets the settings (month, year and
// type stay) and then sets the values of the product's look.

// Sets the preset of the calendar product code; false (and nothing changed) for a code without
// a preset.
bool ApplyKalenderPreset(TKalenderData& data, int productCode);

// Gives the font the name when a font of that name is installed, otherwise "Arial".
void SetFontIfInstalled(TFont& font, const QString& name);
