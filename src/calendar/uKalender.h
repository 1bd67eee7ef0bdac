#pragma once

#include "platform/uFont.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>

class TCustomDataFile;

// The settings of one calendar element: month and year shown, the calendar type and the look of
// the title band, the weekday band, the day cells and the special-days band. Lengths in the
// paddings are per cent of the rectangle they apply to; colours are 0x00BBGGRR; text alignments
// are the draw context's text flags (1 centre, 2 right, 4 centre vertically, 8 bottom).
// Weekdays are numbered 1 = Monday ... 7 = Sunday throughout the calendar.

// "No fill" in calendar colours.
constexpr int32_t NoColor = 0x7FFFFFFF;

// The range the setters keep the shown month and year in.
constexpr int kKalenderMinJahr = 1700;
constexpr int kKalenderMaxJahr = 2500;

// The calendar types; the type selects the painter. Any other value draws as a month grid.
enum TKalenderTyp : uint8_t {
    ktMonatsraster = 0,         // 7 weekday columns, one row per week
    ktHorizontal = 1,           // one row of day cells
    ktVertikal = 2,             // one column of day cells, weekday column on the left
    ktZweiWochenHorizontal = 3, // 3 rows of 14 columns
    ktZweiWochenVertikal = 4,   // 2 columns of 21 rows
};

// Four margins in per cent of a rectangle's width (Left, Right) or height (Top, Bottom).
// Negative margins make the rectangle grow.
class TPaddingData {
public:
    float Right = 0;
    float Bottom = 0;
    float Top = 0;
    float Left = 0;

    void Clear() { Right = Bottom = Top = Left = 0; }
    void SetValues(float left, float top, float right, float bottom);

    // Shrinks the rectangle (left, top, right, bottom) in place by the margins, each taken from
    // the incoming width or height. True when the result is not empty (right >= left and
    // bottom >= top).
    bool Apply(float& left, float& top, float& right, float& bottom) const;
    // The same for any rectangle with the members Left, Top, Right and Bottom.
    template <typename Rect>
    bool Apply(Rect& rect) const {
        return Apply(rect.Left, rect.Top, rect.Right, rect.Bottom);
    }

    // Keys "Left", "Top", "Right", "Bottom" as 8-byte floats; a missing key reads as 0.
    void Save(TCustomDataFile& file, const QString& section) const;
    void Load(TCustomDataFile& file, const QString& section);

    bool operator==(const TPaddingData&) const = default;
};

class TKalenderData {
public:
    // Shows the current month and year of the system clock, everything else at its reset value.
    TKalenderData();
    TKalenderData(const TKalenderData&) = delete;
    TKalenderData& operator=(const TKalenderData&) = delete;

    // Every field except those marked "kept" goes back to its default. Font sizes stay as they
    // are: drawing sizes the fonts from the height percentages.
    void Reset();
    // Clamped to 1..12 and 1700..2500.
    void SetMonat(int value);
    void SetJahr(int value);

    // Writes every setting into the section; the paddings go into sections named after the
    // section with the padding's name appended directly ("…/KalenderDataCellPadding").
    void Save(TCustomDataFile& file, const QString& section) const;
    // Resets, then reads the same keys. A missing key keeps the field's current value ("Typ"
    // becomes 0); a font changes only when a font record is stored. Month and year are taken as
    // stored.
    void Load(TCustomDataFile& file, const QString& section);

    // Day 1 and the last day of the shown month. A month or year outside the setters' range (only
    // a damaged file gives one) counts as the nearest month and year inside it, so the dates are
    // always valid.
    QDate FirstDayOfMonth() const;
    QDate LastDayOfMonth() const;
    int DaysInMonth() const { return LastDayOfMonth().day(); }
    // 1 = Monday ... 7 = Sunday.
    static int IsoWeekday(const QDate& date) { return date.dayOfWeek(); }
    // The number of Monday-to-Sunday weeks the shown month touches (4 to 6).
    int WeekRowCount() const;

    // The translated name of weekday n (1 = Monday ... 7 = Sunday, "Mo" ...) or month n
    // (1 ... 12, "Januar" ...); empty outside the range.
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

// A copy of one calendar's settings in the stored form (a memory container with the section
// "data"), for copying settings between calendars and for restoring them after a failed change.
class TKalenderDataSnapshot {
public:
    static constexpr const char* kSection = "data";

    TKalenderDataSnapshot() = default;
    explicit TKalenderDataSnapshot(const TKalenderData& source) { Take(source); }

    void Take(const TKalenderData& source);
    // Loads the settings into the target (a Load: fields marked kept keep the target's values
    // where nothing is stored). Does nothing while the snapshot is empty.
    void RestoreTo(TKalenderData& target) const;
    bool IsEmpty() const { return bytes_.isEmpty(); }

private:
    QByteArray bytes_;
};

// Days since 30 December 1899 (the stored date-time) of a date without time part, and back; the
// fraction of a date-time is its time of day and is dropped. A value that is no date gives an
// invalid QDate.
double KalenderDateToDays(const QDate& date);
QDate KalenderDaysToDate(double days);
