#pragma once

#include "platform/uFont.h"

#include <QString>

#include <cstdint>

// The settings of one calendar element: month and year shown, the calendar type and the look of
// the title band, the weekday band, the day cells and the special-days band.

// "No fill" in calendar colours.
constexpr int32_t NoColor = 0x7FFFFFFF;

// Four margins in per cent of a rectangle's width (Left, Right) or height (Top, Bottom).
class TPaddingData {
public:
    float Right = 0;
    float Bottom = 0;
    float Top = 0;
    float Left = 0;

    void Clear() { Right = Bottom = Top = Left = 0; }
    void SetValues(float left, float top, float right, float bottom);
    bool operator==(const TPaddingData&) const = default;
};

class TKalenderData {
public:
    // Shows the current month and year of the system clock, everything else at its reset value.
    TKalenderData();
    TKalenderData(const TKalenderData&) = delete;
    TKalenderData& operator=(const TKalenderData&) = delete;

    // Every field except those marked "kept" goes back to its default.
    void Reset();
    void SetMonat(int value);
    void SetJahr(int value);

    // The translated name of weekday n (1 = Monday ... 7 = Sunday) or month n (1 ... 12); empty
    // outside the range.
    static QString WeekdayName(int n);
    static QString MonthName(int n);

    int32_t Monat = 1;   // kept by Reset
    int32_t Jahr = 2000; // kept by Reset
    TFont WochentagFont;
    TFont Font;
    int32_t TextColorSonntag = 0;
    int32_t TextColorSamstag = 0;
    int32_t Color = 0;
    int32_t ColorZeilen = 0;
    int32_t ColorZellen = 0;
    TPaddingData CellPadding;
    TPaddingData RowPadding;
    TPaddingData CellSpacing;
    TPaddingData RowSpacing;
    float FontHeight = 0;
    int32_t FTextAlign = 0;
    bool ShowWochentage = false;
    float WochentagSize = 0;
    TPaddingData WochentagCellPadding;
    TPaddingData WochentagRowPadding;
    TPaddingData WochentagCellSpacing;
    int32_t WochentagColorZeile = 0;
    int32_t WochentagTextAlign = 0;
    float WochentagFontHeight = 0;
    TPaddingData WochentagRowSpacing;
    int32_t WochentagColorZelle = 0;
    bool ShowMonatJahr = false;
    int32_t MonatJahrTextAlign = 0;
    float MonatJahrFontHeight = 0;
    float MonatJahrSize = 0;
    int32_t MonatJahrColorZeile = 0;
    TFont MonatJahrFont;
    TPaddingData MonatJahrRowPadding;
    TPaddingData MonatJahrRowSpacing;
    bool ShowMonatJahrOnBottom = false; // kept by Reset
    bool MonatJahrZweizeilig = false;   // kept by Reset
    uint8_t Typ = 0;                    // kept by Reset
    int32_t TextColorFeiertag = 0;
    int32_t TextColorGeburtstag = 0;
    bool ShowSondertage = false;   // kept by Reset
    float SondertagFontHeight = 0; // kept by Reset
    TFont SondertagFont;           // kept by Reset
    float SondertagSize = 0;       // kept by Reset
    int32_t SondertagColorZeile = 0;
    TPaddingData SondertagRowSpacing;
    TPaddingData SondertagRowPadding;
    int32_t SonderTagTextAlign = 0; // kept by Reset
};
