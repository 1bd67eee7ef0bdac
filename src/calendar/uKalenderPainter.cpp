#include "calendar/uKalenderPainter.h"

#include "render/uDrawContext.h"

#include <algorithm>
#include <cmath>

namespace {

TKalenderRect rectOf(float left, float top, float width, float height) {
    return {left, top, left + width, top + height};
}

TKalenderRect applied(TKalenderRect r, const TPaddingData& padding) {
    padding.Apply(r);
    return r;
}

} // namespace

int KalenderFontSize(float percent, float height) {
    // The default rounding mode rounds halves to even.
    const double points = static_cast<double>(percent) * height / 100.0 / 25.4 * 72.0;
    return static_cast<int>(std::nearbyint(points));
}

// --- TKalenderPainter ------------------------------------------------------------------------

TKalenderPainter::TKalenderPainter(const TKalenderData& data, const TKalenderTageListe& holidays,
                                   const TKalenderTageListe& birthdays)
    : Data(data), Holidays(holidays), Birthdays(birthdays) {}

TKalenderPainter::~TKalenderPainter() = default;

void TKalenderPainter::Paint(TDrawContext&, float, float, float, float) {}

void TKalenderPainter::FillIfColored(TDrawContext& dc, const TKalenderRect& r, int32_t colour) const {
    if (colour == NoColor)
        return;
    dc.Brush().SetStyle(bsSolid);
    dc.Brush().SetColor(static_cast<TColor>(colour));
    dc.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

int32_t TKalenderPainter::DayColor(const QDate& date) const {
    int32_t colour = Data.Font.Color();
    if (Birthdays.Contains(date))
        colour = Data.TextColorGeburtstag;
    const int weekday = TKalenderData::IsoWeekday(date);
    if (weekday == 6)
        colour = Data.TextColorSamstag;
    if (weekday == 7)
        colour = Data.TextColorSonntag;
    if (Holidays.Contains(date))
        colour = Data.TextColorFeiertag;
    return colour;
}

void TKalenderPainter::ApplyFontHeight(TDrawContext& dc, float percent, const TKalenderRect& r) {
    if (percent > 0)
        dc.Font.SetSize(KalenderFontSize(percent, r.Height()));
}

float TKalenderPainter::PaintText(TDrawContext& dc, const QString& text, const TKalenderRect& r, int flags) {
    return dc.TextRect(text, flags, r.Left, r.Top, r.Right, r.Bottom);
}

void TKalenderPainter::PaintTextAt(TDrawContext& dc, const QString& text, float x, float y) {
    dc.TextOut(text, 0, x, y);
}

TKalenderRect TKalenderPainter::GridCell(const TKalenderRect& r, int columns, int rows, int column, int row) {
    const float w = r.Width();
    const float h = r.Height();
    return {r.Left + w * static_cast<float>(column) / static_cast<float>(columns),
            r.Top + h * static_cast<float>(row) / static_cast<float>(rows),
            r.Left + w * static_cast<float>(column + 1) / static_cast<float>(columns),
            r.Top + h * static_cast<float>(row + 1) / static_cast<float>(rows)};
}

void TKalenderPainter::PaintDayCells(TDrawContext& dc, const TKalenderRect& band, int columns, int rows,
                                     int start, bool columnMajor) {
    TKalenderRect r = applied(band, Data.RowSpacing);
    FillIfColored(dc, r, Data.ColorZeilen);
    Data.RowPadding.Apply(r);

    const QDate first = Data.FirstDayOfMonth();
    const int days = Data.DaysInMonth();
    for (int d = 1; d <= days; ++d) {
        const int index = start + d - 1;
        const int column = columnMajor ? index / rows : index % columns;
        const int row = columnMajor ? index % rows : index / columns;
        if (column >= columns || row >= rows)
            break;
        TKalenderRect cell = applied(GridCell(r, columns, rows, column, row), Data.CellSpacing);
        FillIfColored(dc, cell, Data.ColorZellen);
        Data.CellPadding.Apply(cell);
        dc.SetFont(Data.Font);
        ApplyFontHeight(dc, Data.FontHeight, cell);
        dc.Font.SetColor(DayColor(first.addDays(d - 1)));
        PaintText(dc, QString::number(d), cell, Data.FTextAlign);
    }
}

void TKalenderPainter::PaintWeekdayCells(TDrawContext& dc, const TKalenderRect& band,
                                         const TPaddingData& outer, const TPaddingData& inner, int columns,
                                         int rows, const QDate& first, int count, bool weekendColours,
                                         int align) {
    TKalenderRect r = applied(band, outer);
    FillIfColored(dc, r, Data.WochentagColorZeile);
    inner.Apply(r);

    for (int i = 0; i < count; ++i) {
        const int column = columns == 1 ? 0 : i;
        const int row = columns == 1 ? i : 0;
        TKalenderRect cell = applied(GridCell(r, columns, rows, column, row), Data.WochentagCellSpacing);
        FillIfColored(dc, cell, Data.WochentagColorZelle);
        Data.WochentagCellPadding.Apply(cell);
        dc.SetFont(Data.WochentagFont);
        ApplyFontHeight(dc, Data.WochentagFontHeight, cell);
        const int weekday = TKalenderData::IsoWeekday(first.addDays(i));
        if (weekendColours && weekday == 6)
            dc.Font.SetColor(Data.TextColorSamstag);
        if (weekendColours && weekday == 7)
            dc.Font.SetColor(Data.TextColorSonntag);
        PaintText(dc, TKalenderData::WeekdayName(weekday), cell, align);
    }
}

// --- TKalenderPainter4x7 ---------------------------------------------------------------------

void TKalenderPainter4x7::Paint(TDrawContext& dc, float Left, float Top, float Width, float Height) {
    dc.SetPenStyle(psClear);
    TStrip strip = PaintBackgroundAndTitle(dc, Left, Top, Width, Height);
    if (Data.ShowWochentage) {
        const float w = Height * Data.WochentagSize / 100;
        PaintWochentage(dc, Left, strip.Top, Width, w);
        strip.Top += w;
        strip.Height -= w;
    }
    PaintSondertagBand(dc, Left, Width, Height, strip);
    PaintTage(dc, Left, strip.Top, Width, strip.Height);
    dc.SetPenStyle(psSolid);
}

TKalenderPainter4x7::TStrip TKalenderPainter4x7::PaintBackgroundAndTitle(TDrawContext& dc, float Left,
                                                                         float Top, float Width,
                                                                         float Height) {
    FillIfColored(dc, rectOf(Left, Top, Width, Height), Data.Color);
    TStrip strip{Top, Height};
    if (Data.ShowMonatJahr) {
        const float t = Height * Data.MonatJahrSize / 100;
        strip.Height -= t;
        if (Data.ShowMonatJahrOnBottom) {
            PaintMonatJahr(dc, Left, Top + Height - t, Width, t);
        } else {
            PaintMonatJahr(dc, Left, strip.Top, Width, t);
            strip.Top += t;
        }
    }
    return strip;
}

void TKalenderPainter4x7::PaintSondertagBand(TDrawContext& dc, float Left, float Width, float Height,
                                             TStrip& strip) {
    if (!Data.ShowSondertage)
        return;
    const float s = Height * Data.SondertagSize / 100;
    strip.Height -= s;
    PaintSondertage(dc, Left, strip.Top + strip.Height, Width, s);
}

void TKalenderPainter4x7::PaintMonatJahr(TDrawContext& dc, float Left, float Top, float Width, float Height) {
    TKalenderRect r = rectOf(Left, Top, Width, Height);
    Data.MonatJahrRowSpacing.Apply(r);
    FillIfColored(dc, r, Data.MonatJahrColorZeile);
    Data.MonatJahrRowPadding.Apply(r);
    dc.SetFont(Data.MonatJahrFont);
    ApplyFontHeight(dc, Data.MonatJahrFontHeight, r);

    const QString month = TKalenderData::MonthName(Data.Monat);
    const QString year = QString::number(Data.Jahr);
    const int align = Data.MonatJahrTextAlign;
    if (!Data.MonatJahrZweizeilig) {
        PaintText(dc, QStringLiteral("%1 %2").arg(month, year), r, align);
        return;
    }

    // Two lines: the year below the month name at two thirds of its size.
    const int h = dc.Font.Size();
    const int s = static_cast<int>(std::nearbyint(h * 0.66));
    const float wm = dc.TextWidth(month);
    const float hm = dc.TextHeight(month);
    dc.Font.SetSize(s);
    const float wy = dc.TextWidth(year);
    const float hy = dc.TextHeight(year);
    float x = r.Left;
    if (align & tfCenter)
        x = (r.Right + r.Left - wm) / 2;
    if (align & tfRight)
        x = r.Right - wm;
    float y = r.Top;
    if (align & tfVCenter)
        y = (r.Bottom + r.Top - hm - hy) / 2;
    if (align & tfBottom)
        y = r.Bottom - hm - hy;
    dc.Font.SetSize(h);
    PaintTextAt(dc, month, x, y);
    y += hm;
    if (align & tfCenter)
        x = (r.Right + r.Left - wy) / 2;
    if (align & tfRight)
        x = r.Right - wy;
    dc.Font.SetSize(s);
    PaintTextAt(dc, year, x, y);
}

void TKalenderPainter4x7::PaintSondertage(TDrawContext& dc, float Left, float Top, float Width,
                                          float Height) {
    const QString holidays = Holidays.GetMonthText(Data.Jahr, Data.Monat, QStringLiteral(", "));
    const QString birthdays = Birthdays.GetMonthText(Data.Jahr, Data.Monat, QStringLiteral(", "));

    TKalenderRect r = rectOf(Left, Top, Width, Height);
    Data.SondertagRowSpacing.Apply(r);
    FillIfColored(dc, r, Data.SondertagColorZeile);
    Data.SondertagRowPadding.Apply(r);
    dc.SetFont(Data.SondertagFont);
    ApplyFontHeight(dc, Data.SondertagFontHeight, r);

    const int flags = (Data.SonderTagTextAlign & ~(tfVCenter | tfBottom)) | tfWordBreak;
    float total = 0;
    for (const QString& text : {holidays, birthdays})
        if (!text.isEmpty())
            total += PaintText(dc, text, r, flags | tfCalcRect);

    float y = r.Top;
    if (Data.SonderTagTextAlign & tfVCenter)
        y = r.Top + (r.Bottom - r.Top - total) / 2;
    if (Data.SonderTagTextAlign & tfBottom)
        y = r.Bottom - total;
    y = std::max(r.Top, y);

    if (!holidays.isEmpty()) {
        dc.Font.SetColor(Data.TextColorFeiertag);
        y += PaintText(dc, holidays, {r.Left, y, r.Right, r.Bottom}, flags);
    }
    if (!birthdays.isEmpty()) {
        dc.Font.SetColor(Data.TextColorGeburtstag);
        PaintText(dc, birthdays, {r.Left, y, r.Right, r.Bottom}, flags);
    }
}

void TKalenderPainter4x7::PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height) {
    const int rows = Data.WeekRowCount();
    auto row = [&](int r) {
        TKalenderRect result{Left, Top + static_cast<float>(r) * Height / static_cast<float>(rows),
                             Left + Width,
                             Top + static_cast<float>(r + 1) * Height / static_cast<float>(rows)};
        Data.RowSpacing.Apply(result);
        return result;
    };
    if (Data.ColorZeilen != NoColor)
        for (int r = 0; r < rows; ++r)
            FillIfColored(dc, row(r), Data.ColorZeilen);

    dc.SetFont(Data.Font);
    const QDate first = Data.FirstDayOfMonth();
    const int days = Data.DaysInMonth();
    int column = TKalenderData::IsoWeekday(first) - 1;
    int r = 0;
    for (int d = 1; d <= days; ++d) {
        const TKalenderRect inner = applied(row(r), Data.RowPadding);
        const TKalenderRect cell = applied(GridCell(inner, 7, 1, column, 0), Data.CellSpacing);
        TKalenderRect padded = cell;
        const bool paddedOk = Data.CellPadding.Apply(padded);
        if (Data.FontHeight > 0)
            ApplyFontHeight(dc, Data.FontHeight, padded);
        dc.Font.SetColor(DayColor(first.addDays(d - 1)));
        FillIfColored(dc, cell, Data.ColorZellen);
        PaintText(dc, QString::number(d), paddedOk ? padded : cell, Data.FTextAlign);
        if (++column > 6) {
            column = 0;
            ++r;
        }
    }
}

void TKalenderPainter4x7::PaintWochentage(TDrawContext& dc, float Left, float Top, float Width,
                                          float Height) {
    TKalenderRect r = rectOf(Left, Top, Width, Height);
    Data.WochentagRowSpacing.Apply(r);
    FillIfColored(dc, r, Data.WochentagColorZeile);
    dc.SetFont(Data.WochentagFont);
    const TKalenderRect inner = applied(r, Data.WochentagRowPadding);
    auto cell = [&](int i) { return applied(GridCell(inner, 7, 1, i, 0), Data.WochentagCellSpacing); };
    if (Data.WochentagFontHeight > 0)
        ApplyFontHeight(dc, Data.WochentagFontHeight, applied(cell(0), Data.WochentagCellPadding));
    for (int i = 0; i < 7; ++i) {
        TKalenderRect c = cell(i);
        FillIfColored(dc, c, Data.WochentagColorZelle);
        Data.WochentagCellPadding.Apply(c);
        PaintText(dc, TKalenderData::WeekdayName(i + 1), c, Data.WochentagTextAlign);
    }
}

// --- one row, one column ---------------------------------------------------------------------

void TKalenderPainterHorizontal::PaintWochentage(TDrawContext& dc, float Left, float Top, float Width,
                                                 float Height) {
    const int n = Data.DaysInMonth();
    PaintWeekdayCells(dc, rectOf(Left, Top, Width, Height), Data.WochentagCellSpacing,
                      Data.WochentagCellPadding, n, 1, Data.FirstDayOfMonth(), n, false, Data.FTextAlign);
}

void TKalenderPainterHorizontal::PaintTage(TDrawContext& dc, float Left, float Top, float Width,
                                           float Height) {
    PaintDayCells(dc, rectOf(Left, Top, Width, Height), Data.DaysInMonth(), 1, 0, false);
}

void TKalenderPainterVertical::Paint(TDrawContext& dc, float Left, float Top, float Width, float Height) {
    dc.SetPenStyle(psClear);
    TStrip strip = PaintBackgroundAndTitle(dc, Left, Top, Width, Height);
    PaintSondertagBand(dc, Left, Width, Height, strip);
    float left = Left;
    float width = Width;
    if (Data.ShowWochentage) {
        // The weekday column takes a share of the width here.
        const float w = Width * Data.WochentagSize / 100;
        PaintWochentage(dc, left, strip.Top, w, strip.Height);
        left += w;
        width -= w;
    }
    PaintTage(dc, left, strip.Top, width, strip.Height);
    dc.SetPenStyle(psSolid);
}

void TKalenderPainterVertical::PaintWochentage(TDrawContext& dc, float Left, float Top, float Width,
                                               float Height) {
    const int n = Data.DaysInMonth();
    PaintWeekdayCells(dc, rectOf(Left, Top, Width, Height), Data.WochentagRowSpacing,
                      Data.WochentagRowPadding, 1, n, Data.FirstDayOfMonth(), n, true,
                      Data.WochentagTextAlign);
}

void TKalenderPainterVertical::PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height) {
    PaintDayCells(dc, rectOf(Left, Top, Width, Height), 1, Data.DaysInMonth(), 0, false);
}

// --- two weeks -------------------------------------------------------------------------------

namespace {

// The Monday on or before day 1 of the shown month.
QDate mondayBefore(const TKalenderData& data) {
    const QDate first = data.FirstDayOfMonth();
    return first.addDays(1 - TKalenderData::IsoWeekday(first));
}

} // namespace

void TKalenderPainter2WochenHorizontal::PaintWochentage(TDrawContext& dc, float Left, float Top, float Width,
                                                        float Height) {
    PaintWeekdayCells(dc, rectOf(Left, Top, Width, Height), Data.WochentagCellSpacing,
                      Data.WochentagCellPadding, 14, 1, mondayBefore(Data), 14, true, Data.FTextAlign);
}

void TKalenderPainter2WochenHorizontal::PaintTage(TDrawContext& dc, float Left, float Top, float Width,
                                                  float Height) {
    PaintDayCells(dc, rectOf(Left, Top, Width, Height), 14, 3,
                  TKalenderData::IsoWeekday(Data.FirstDayOfMonth()) - 1, false);
}

void TKalenderPainter2WochenVertical::PaintWochentage(TDrawContext& dc, float Left, float Top, float Width,
                                                      float Height) {
    PaintWeekdayCells(dc, rectOf(Left, Top, Width, Height), Data.WochentagRowSpacing,
                      Data.WochentagRowPadding, 1, 21, mondayBefore(Data), 21, true, Data.WochentagTextAlign);
}

void TKalenderPainter2WochenVertical::PaintTage(TDrawContext& dc, float Left, float Top, float Width,
                                                float Height) {
    PaintDayCells(dc, rectOf(Left, Top, Width, Height), 2, 21,
                  TKalenderData::IsoWeekday(Data.FirstDayOfMonth()) - 1, true);
}

std::unique_ptr<TKalenderPainter> CreateKalenderPainter(const TKalenderData& data,
                                                        const TKalenderTageListe& holidays,
                                                        const TKalenderTageListe& birthdays) {
    switch (data.Typ) {
    case ktHorizontal:
        return std::make_unique<TKalenderPainterHorizontal>(data, holidays, birthdays);
    case ktVertikal:
        return std::make_unique<TKalenderPainterVertical>(data, holidays, birthdays);
    case ktZweiWochenHorizontal:
        return std::make_unique<TKalenderPainter2WochenHorizontal>(data, holidays, birthdays);
    case ktZweiWochenVertikal:
        return std::make_unique<TKalenderPainter2WochenVertical>(data, holidays, birthdays);
    default:
        return std::make_unique<TKalenderPainter4x7>(data, holidays, birthdays);
    }
}
