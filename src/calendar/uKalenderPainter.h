#pragma once

#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"

#include <QDate>
#include <QString>

#include <memory>

class TDrawContext;

// The painters of the calendar element: they split the element's rectangle into the title band,
// the weekday band, the day cells and the special-days band, size every font from the per-cent
// heights of the settings so that the calendar scales with the element, and draw everything in
// document millimetres through a draw context. A painter refers to its settings and lists; it owns
// nothing.

// A rectangle (left, top, right, bottom) in millimetres; TPaddingData::Apply works on it.
struct TKalenderRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    float Width() const { return Right - Left; }
    float Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right < Left || Bottom < Top; }
};

// The font size in points that makes text P per cent as high as a rectangle of height h mm
// (rounded to the nearest point, halves to even).
int KalenderFontSize(float percent, float height);

class TKalenderPainter {
public:
    TKalenderPainter(const TKalenderData& data, const TKalenderTageListe& holidays,
                     const TKalenderTageListe& birthdays);
    virtual ~TKalenderPainter();
    TKalenderPainter(const TKalenderPainter&) = delete;
    TKalenderPainter& operator=(const TKalenderPainter&) = delete;

    // Paints the whole calendar into the rectangle (document millimetres).
    virtual void Paint(TDrawContext& dc, float Left, float Top, float Width, float Height);

    const TKalenderData& Data;
    const TKalenderTageListe& Holidays;
    const TKalenderTageListe& Birthdays;

protected:
    // Fills the rectangle with the colour unless it is NoColor.
    void FillIfColored(TDrawContext& dc, const TKalenderRect& r, int32_t colour) const;
    // The colour of a day number: the day font's colour, then birthday, Saturday, Sunday and
    // holiday colours, later rules winning.
    int32_t DayColor(const QDate& date) const;
    // Sets the context font's size from a per-cent height of the rectangle; P <= 0 keeps it.
    static void ApplyFontHeight(TDrawContext& dc, float percent, const TKalenderRect& r);
    // Every text of the calendar goes through here; returns the height drawn (or measured).
    virtual float PaintText(TDrawContext& dc, const QString& text, const TKalenderRect& r, int flags);
    // Text at a point (the two-line title).
    virtual void PaintTextAt(TDrawContext& dc, const QString& text, float x, float y);

    // Cell (column, row) of a grid of columns x rows over r.
    static TKalenderRect GridCell(const TKalenderRect& r, int columns, int rows, int column, int row);

    // The day cells of the non-grid layouts: the band is prepared, then day d goes to cell
    // (start + d - 1) counted along rows (columnMajor false) or down columns (true).
    void PaintDayCells(TDrawContext& dc, const TKalenderRect& band, int columns, int rows, int start,
                       bool columnMajor);
    // The weekday cells of the non-grid layouts: `count` consecutive dates from `first`, one per
    // cell, the band shrunk by `outer` and `inner`.
    void PaintWeekdayCells(TDrawContext& dc, const TKalenderRect& band, const TPaddingData& outer,
                           const TPaddingData& inner, int columns, int rows, const QDate& first, int count,
                           bool weekendColours, int align);
};

// The month as a grid of weeks: 7 weekday columns, one row per week (4 to 6 rows).
class TKalenderPainter4x7 : public TKalenderPainter {
public:
    using TKalenderPainter::TKalenderPainter;
    void Paint(TDrawContext& dc, float Left, float Top, float Width, float Height) override;

    virtual void PaintWochentage(TDrawContext& dc, float Left, float Top, float Width, float Height);
    virtual void PaintMonatJahr(TDrawContext& dc, float Left, float Top, float Width, float Height);
    virtual void PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height);
    virtual void PaintSondertage(TDrawContext& dc, float Left, float Top, float Width, float Height);

protected:
    // The part of the element's height the bands below the title still share: from Top down,
    // Height high.
    struct TStrip {
        float Top;
        float Height;
    };
    // Fills the background and paints the title band at the top or the bottom of the element;
    // returns the strip the title leaves.
    TStrip PaintBackgroundAndTitle(TDrawContext& dc, float Left, float Top, float Width, float Height);
    // Paints the special-days band (its share of the element's Height) at the bottom of the strip
    // and takes it off the strip.
    void PaintSondertagBand(TDrawContext& dc, float Left, float Width, float Height, TStrip& strip);
};

// All days of the month in one row.
class TKalenderPainterHorizontal : public TKalenderPainter4x7 {
public:
    using TKalenderPainter4x7::TKalenderPainter4x7;
    void PaintWochentage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
    void PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
};

// All days of the month in one column, the weekday names in a column on their left.
class TKalenderPainterVertical : public TKalenderPainter4x7 {
public:
    using TKalenderPainter4x7::TKalenderPainter4x7;
    void Paint(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
    void PaintWochentage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
    void PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
};

// Three rows of two weeks each.
class TKalenderPainter2WochenHorizontal : public TKalenderPainterHorizontal {
public:
    using TKalenderPainterHorizontal::TKalenderPainterHorizontal;
    void PaintWochentage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
    void PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
};

// Two columns of three weeks each.
class TKalenderPainter2WochenVertical : public TKalenderPainterVertical {
public:
    using TKalenderPainterVertical::TKalenderPainterVertical;
    void PaintWochentage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
    void PaintTage(TDrawContext& dc, float Left, float Top, float Width, float Height) override;
};

// The painter of the settings' calendar type (`Typ`): 1 horizontal, 2 vertical, 3 two weeks
// horizontal, 4 two weeks vertical, anything else the month grid.
std::unique_ptr<TKalenderPainter> CreateKalenderPainter(const TKalenderData& data,
                                                        const TKalenderTageListe& holidays,
                                                        const TKalenderTageListe& birthdays);
