#include "calendar/uKalender.h"

#include "i18n/ulocalize.h"

#include <QDate>

#include <algorithm>

void TPaddingData::SetValues(float left, float top, float right, float bottom) {
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
}

TKalenderData::TKalenderData() {
    const QDate today = QDate::currentDate();
    Monat = today.month();
    Jahr = today.year();
    Reset();
}

void TKalenderData::Reset() {
    Font.BeginUpdate();
    Font.SetName(QStringLiteral("Arial"));
    Font.SetStyle(0);
    Font.SetColor(0);
    Font.EndUpdate();
    WochentagFont = Font;
    MonatJahrFont = Font;
    TextColorSonntag = 0x0000FF;
    TextColorSamstag = 0x808080;
    Color = NoColor;
    ColorZeilen = NoColor;
    ColorZellen = NoColor;
    CellPadding.Clear();
    RowPadding.Clear();
    CellSpacing.Clear();
    RowSpacing.Clear();
    FontHeight = 50.0f;
    FTextAlign = 5;
    ShowWochentage = true;
    WochentagSize = 15.0f;
    WochentagCellPadding.Clear();
    WochentagRowPadding.Clear();
    WochentagCellSpacing.Clear();
    WochentagColorZeile = NoColor;
    WochentagTextAlign = 5;
    WochentagFontHeight = 50.0f;
    WochentagRowSpacing.Clear();
    WochentagColorZelle = NoColor;
    ShowMonatJahr = true;
    MonatJahrTextAlign = 5;
    MonatJahrFontHeight = 50.0f;
    MonatJahrSize = 15.0f;
    MonatJahrColorZeile = NoColor;
    MonatJahrRowPadding.Clear();
    MonatJahrRowSpacing.Clear();
    TextColorFeiertag = 0x0000FF;
    TextColorGeburtstag = 0x800000;
    SondertagColorZeile = NoColor;
    SondertagRowSpacing.Clear();
    SondertagRowPadding.Clear();
}

void TKalenderData::SetMonat(int value) {
    Monat = std::clamp(value, 1, 12);
}

void TKalenderData::SetJahr(int value) {
    Jahr = std::clamp(value, 1700, 2500);
}

QString TKalenderData::WeekdayName(int n) {
    static const char* const keys[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    if (n < 1 || n > 7)
        return QString();
    return Translate(QString::fromLatin1(keys[n - 1]));
}

QString TKalenderData::MonthName(int n) {
    static const char* const keys[] = {"Januar", "Februar", "Marz",      "April",   "Mai",      "Juni",
                                       "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    if (n < 1 || n > 12)
        return QString();
    return Translate(QString::fromLatin1(keys[n - 1]));
}
