#include "calendar/uKalenderPainter.h"
#include "render/uBitmapDrawContext.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <typeinfo>
#include <vector>

namespace {

struct TRecordedText {
    QString Text;
    TKalenderRect Rect;
    int Flags = 0;
    int32_t Colour = 0;
    int Size = 0;
};

// A painter that notes every text it draws (measuring left out) with its rectangle, font colour and size.
template <class P>
class TRecording : public P {
public:
    using P::P;
    std::vector<TRecordedText> Texts;

    const TRecordedText* Find(const QString& text, int occurrence = 0) const {
        for (const TRecordedText& t : Texts)
            if (t.Text == text && occurrence-- == 0)
                return &t;
        return nullptr;
    }

protected:
    float PaintText(TDrawContext& dc, const QString& text, const TKalenderRect& r, int flags) override {
        if (!(flags & tfCalcRect))
            Texts.push_back({text, r, flags, dc.Font.Color(), dc.Font.Size()});
        return P::PaintText(dc, text, r, flags);
    }
    void PaintTextAt(TDrawContext& dc, const QString& text, float x, float y) override {
        Texts.push_back({text, {x, y, x, y}, 0, dc.Font.Color(), dc.Font.Size()});
        P::PaintTextAt(dc, text, x, y);
    }
};

// Settings with only the day cells shown and every fill off.
void plainDays(TKalenderData& data, int year, int month) {
    data.SetJahr(year);
    data.SetMonat(month);
    data.ShowMonatJahr = false;
    data.ShowWochentage = false;
    data.ShowSondertage = false;
    data.Color = NoColor;
    data.ColorZeilen = NoColor;
    data.ColorZellen = NoColor;
    data.WochentagColorZeile = NoColor;
    data.WochentagColorZelle = NoColor;
    data.MonatJahrColorZeile = NoColor;
    data.SondertagColorZeile = NoColor;
    data.CellPadding.Clear();
    data.RowPadding.Clear();
    data.CellSpacing.Clear();
    data.RowSpacing.Clear();
    data.WochentagCellPadding.Clear();
    data.WochentagRowPadding.Clear();
    data.WochentagCellSpacing.Clear();
    data.WochentagRowSpacing.Clear();
    data.MonatJahrRowPadding.Clear();
    data.MonatJahrRowSpacing.Clear();
    data.SondertagRowPadding.Clear();
    data.SondertagRowSpacing.Clear();
    data.FontHeight = 0;
    data.Font.SetColor(0x000000);
}

// A bitmap at 2 pixels per millimetre to paint on.
class TSurface {
public:
    explicit TSurface(int wMm = 160, int hMm = 220) : image(wMm * 2, hMm * 2, QImage::Format_ARGB32) {
        image.fill(0xFFFFFFFFu);
        dc = std::make_unique<TBitmapDrawContext>(image);
        dc->Transformation.Scale(2);
    }
    QRgb Pixel(float xMm, float yMm) {
        dc->ReleaseCanvas();
        return image.pixel(static_cast<int>(xMm * 2), static_cast<int>(yMm * 2)) & 0xFFFFFFu;
    }
    QImage image;
    std::unique_ptr<TBitmapDrawContext> dc;
};

void expectRect(const TRecordedText* t, float left, float top, float right, float bottom) {
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(t->Rect.Left, left, 1e-3);
    EXPECT_NEAR(t->Rect.Top, top, 1e-3);
    EXPECT_NEAR(t->Rect.Right, right, 1e-3);
    EXPECT_NEAR(t->Rect.Bottom, bottom, 1e-3);
}

class KalenderPainterTest : public ::testing::Test {
protected:
    // A recording painter of the given layout over the fixture's settings, painted into the box.
    template <class P>
    std::unique_ptr<TRecording<P>> paint(float left, float top, float width, float height) {
        auto painter = std::make_unique<TRecording<P>>(data, holidays, birthdays);
        painter->Paint(*surface.dc, left, top, width, height);
        return painter;
    }

    TKalenderData data;
    TKalenderTageListe holidays;
    TKalenderTageListe birthdays;
    TSurface surface;
};

TEST_F(KalenderPainterTest, MonthGridWeeksStartOnMondayWithFourToSixRows) {
    // January 2024 begins on a Monday: five rows over 50 mm, 10 mm each.
    plainDays(data, 2024, 1);
    const auto january = paint<TKalenderPainter4x7>(0, 0, 70, 50);
    ASSERT_EQ(january->Texts.size(), 31u);
    expectRect(january->Find("1"), 0, 0, 10, 10);
    expectRect(january->Find("31"), 20, 40, 30, 50);

    // September 2024 begins on a Sunday: six rows.
    plainDays(data, 2024, 9);
    const auto september = paint<TKalenderPainter4x7>(0, 0, 70, 60);
    expectRect(september->Find("1"), 60, 0, 70, 10);
    expectRect(september->Find("30"), 0, 50, 10, 60);

    // February 2021 begins on a Monday and has 28 days: four rows.
    plainDays(data, 2021, 2);
    const auto february = paint<TKalenderPainter4x7>(0, 0, 70, 40);
    expectRect(february->Find("28"), 60, 30, 70, 40);
}

TEST_F(KalenderPainterTest, TwoWeekLayoutsContinueInTheNextRowOrColumn) {
    // June 2024 begins on a Saturday.
    plainDays(data, 2024, 6);
    const auto horizontal = paint<TKalenderPainter2WochenHorizontal>(0, 0, 140, 30);
    expectRect(horizontal->Find("1"), 50, 0, 60, 10);
    expectRect(horizontal->Find("9"), 130, 0, 140, 10);
    expectRect(horizontal->Find("10"), 0, 10, 10, 20);

    // March 2024 begins on a Friday.
    plainDays(data, 2024, 3);
    const auto vertical = paint<TKalenderPainter2WochenVertical>(0, 0, 20, 210);
    expectRect(vertical->Find("1"), 0, 40, 10, 50);
    expectRect(vertical->Find("17"), 0, 200, 10, 210);
    expectRect(vertical->Find("18"), 10, 0, 20, 10);
}

TEST_F(KalenderPainterTest, OneRowAndOneColumnGiveEveryDayItsCell) {
    plainDays(data, 2024, 2); // 29 days
    const auto horizontal = paint<TKalenderPainterHorizontal>(0, 0, 145, 10);
    ASSERT_EQ(horizontal->Texts.size(), 29u);
    expectRect(horizontal->Find("29"), 140, 0, 145, 10);

    const auto vertical = paint<TKalenderPainterVertical>(0, 0, 10, 145);
    expectRect(vertical->Find("2"), 0, 5, 10, 10);
}

TEST_F(KalenderPainterTest, HolidayBeatsWeekendWhichBeatsBirthday) {
    plainDays(data, 2024, 6);
    data.Font.SetColor(0x111111);
    data.TextColorSamstag = 0x0000AA;
    data.TextColorSonntag = 0x0000FF;
    data.TextColorFeiertag = 0x00AA00;
    data.TextColorGeburtstag = 0xAA0000;
    holidays.Add("Fest", ", ", QDate(2024, 6, 1));    // a Saturday
    birthdays.Add("Anna", ", ", QDate(2024, 6, 1));   // the same day
    birthdays.Add("Ben", ", ", QDate(2024, 6, 8));    // a Saturday
    birthdays.Add("Carla", ", ", QDate(2024, 6, 12)); // a Wednesday
    const auto painter = paint<TKalenderPainter4x7>(0, 0, 70, 60);
    EXPECT_EQ(painter->Find("1")->Colour, 0x00AA00);
    EXPECT_EQ(painter->Find("2")->Colour, 0x0000FF);
    EXPECT_EQ(painter->Find("8")->Colour, 0x0000AA);
    EXPECT_EQ(painter->Find("12")->Colour, 0xAA0000);
    EXPECT_EQ(painter->Find("13")->Colour, 0x111111);
}

TEST_F(KalenderPainterTest, BandsAreShareOfTheWholeHeightAndTitleCanGoToTheBottom) {
    plainDays(data, 2024, 1);
    data.ShowMonatJahr = true;
    data.MonatJahrSize = 20;
    data.ShowWochentage = true;
    data.WochentagSize = 10;
    data.ShowMonatJahrOnBottom = true;
    data.MonatJahrTextAlign = tfCenter | tfVCenter;
    const auto painter = paint<TKalenderPainter4x7>(0, 0, 70, 100);
    const TRecordedText* title = painter->Find(TKalenderData::MonthName(1) + " 2024");
    expectRect(title, 0, 80, 70, 100);
    expectRect(painter->Find(TKalenderData::WeekdayName(1)), 0, 0, 10, 10);
    // The days fill the 70 mm between weekday band and title: five rows of 14 mm.
    expectRect(painter->Find("1"), 0, 10, 10, 24);
    expectRect(painter->Find("31"), 20, 66, 30, 80);

    data.ShowMonatJahrOnBottom = false;
    const auto onTop = paint<TKalenderPainter4x7>(0, 0, 70, 100);
    expectRect(onTop->Find(TKalenderData::MonthName(1) + " 2024"), 0, 0, 70, 20);
    expectRect(onTop->Find(TKalenderData::WeekdayName(7)), 60, 20, 70, 30);
}

TEST_F(KalenderPainterTest, FontSizeFollowsThePercentOfTheTextRectangle) {
    EXPECT_EQ(KalenderFontSize(50, 10), 14); // 14.17 points
    EXPECT_EQ(KalenderFontSize(25, 25.4f), 18);
    EXPECT_EQ(KalenderFontSize(10, 50.8f), 14); // 14.4
    EXPECT_EQ(KalenderFontSize(10, 60), 17);    // 17.01

    plainDays(data, 2024, 1);
    data.FontHeight = 50;
    data.Font.SetSize(99);
    const auto painter = paint<TKalenderPainter4x7>(0, 0, 70, 50); // 10 mm rows
    EXPECT_EQ(painter->Find("1")->Size, 14);

    data.FontHeight = 0; // the stored size stays
    const auto kept = paint<TKalenderPainter4x7>(0, 0, 70, 50);
    EXPECT_EQ(kept->Find("1")->Size, 99);
}

TEST_F(KalenderPainterTest, TwoLineTitlePutsTheSmallerYearBelowTheMonth) {
    plainDays(data, 2024, 1);
    data.ShowMonatJahr = true;
    data.MonatJahrSize = 100;
    data.MonatJahrZweizeilig = true;
    data.MonatJahrFont.SetSize(30);
    data.MonatJahrFontHeight = 0;
    data.MonatJahrTextAlign = 0;
    const auto painter = paint<TKalenderPainter4x7>(5, 5, 100, 60);
    const TRecordedText* month = painter->Find(TKalenderData::MonthName(1));
    const TRecordedText* year = painter->Find("2024");
    ASSERT_NE(month, nullptr);
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(month->Size, 30);
    EXPECT_EQ(year->Size, 20); // round(30 * 0.66)
    EXPECT_FLOAT_EQ(month->Rect.Left, 5);
    EXPECT_FLOAT_EQ(year->Rect.Left, 5);
    EXPECT_GT(year->Rect.Top, month->Rect.Top + 5);
}

TEST_F(KalenderPainterTest, SpecialDaysBandShowsHolidaysThenBirthdaysInTheirColours) {
    plainDays(data, 2024, 5);
    data.ShowSondertage = true;
    data.SondertagSize = 20;
    data.SondertagColorZeile = 0xCCEEFF;
    data.TextColorFeiertag = 0x0000CC;
    data.TextColorGeburtstag = 0xCC0000;
    data.SonderTagTextAlign = 0;
    holidays.Add("Tag der Arbeit", ", ", QDate(2024, 5, 1));
    birthdays.Add("Oma", ", ", QDate(2024, 5, 20));
    const auto painter = paint<TKalenderPainter4x7>(0, 0, 150, 100);
    const TRecordedText* h = nullptr;
    const TRecordedText* b = nullptr;
    for (const TRecordedText& t : painter->Texts) {
        if (t.Text.contains("Tag der Arbeit"))
            h = &t;
        if (t.Text.contains("Oma"))
            b = &t;
    }
    ASSERT_NE(h, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(h->Colour, 0x0000CC);
    EXPECT_EQ(b->Colour, 0xCC0000);
    EXPECT_NEAR(h->Rect.Top, 80, 1e-3);
    EXPECT_GT(b->Rect.Top, h->Rect.Top);
    EXPECT_TRUE(h->Flags & tfWordBreak);
    // The band is filled (colour 0x00BBGGRR shows as red FF, green EE, blue CC).
    EXPECT_EQ(surface.Pixel(149, 99), 0xFFEECCu);

    // A month without special days keeps the band's fill and space but draws no text.
    data.SetMonat(7);
    surface.image.fill(0xFFFFFFFFu);
    const auto july = paint<TKalenderPainter4x7>(0, 0, 150, 100);
    EXPECT_EQ(july->Texts.size(), 31u);
    expectRect(july->Find("31"), 2 * 150.0f / 7, 4 * 16, 3 * 150.0f / 7, 80);
    EXPECT_EQ(surface.Pixel(149, 99), 0xFFEECCu);
}

TEST_F(KalenderPainterTest, WeekdayNamesOfTheLayouts) {
    plainDays(data, 2024, 6);
    data.ShowWochentage = true;
    data.WochentagSize = 10;
    data.WochentagFont.SetColor(0x222222);
    data.TextColorSamstag = 0x0000AA;
    data.TextColorSonntag = 0x0000FF;

    // Month grid: Mo ... So once, all in the weekday font's colour.
    const auto grid = paint<TKalenderPainter4x7>(0, 0, 70, 100);
    EXPECT_EQ(grid->Find(TKalenderData::WeekdayName(7))->Colour, 0x222222);

    // Two weeks across: Mo ... So twice from the Monday before the 1st, weekends coloured.
    const auto twoWeeks = paint<TKalenderPainter2WochenHorizontal>(0, 0, 140, 100);
    const TRecordedText* secondSunday = twoWeeks->Find(TKalenderData::WeekdayName(7), 1);
    expectRect(secondSunday, 130, 0, 140, 10);
    EXPECT_EQ(secondSunday->Colour, 0x0000FF);
    EXPECT_EQ(twoWeeks->Find(TKalenderData::WeekdayName(6))->Colour, 0x0000AA);
    EXPECT_EQ(twoWeeks->Find(TKalenderData::WeekdayName(1))->Colour, 0x222222);

    // One row: the weekday of every date, June 1st being a Saturday, no weekend colours.
    const auto row = paint<TKalenderPainterHorizontal>(0, 0, 150, 100);
    const TRecordedText* first = row->Find(TKalenderData::WeekdayName(6));
    expectRect(first, 0, 0, 5, 10);
    EXPECT_EQ(first->Colour, 0x222222);

    // One column: the weekday column takes its share of the width, weekends coloured.
    const auto column = paint<TKalenderPainterVertical>(0, 0, 100, 150);
    const TRecordedText* sunday = column->Find(TKalenderData::WeekdayName(7));
    expectRect(sunday, 0, 5, 10, 10);
    EXPECT_EQ(sunday->Colour, 0x0000FF);
    expectRect(column->Find("1"), 10, 0, 100, 5);
}

TEST_F(KalenderPainterTest, OnlyCellsWithADayAreFilled) {
    plainDays(data, 2024, 9); // begins on a Sunday
    data.ColorZellen = 0x00FF00;
    TKalenderPainter4x7 painter(data, holidays, birthdays);
    painter.Paint(*surface.dc, 0, 0, 70, 60);
    EXPECT_EQ(surface.Pixel(5, 5), 0xFFFFFFu);   // Monday before the 1st
    EXPECT_EQ(surface.Pixel(69, 1), 0x00FF00u);  // corner of the 1st
    EXPECT_EQ(surface.Pixel(15, 55), 0xFFFFFFu); // after the 30th
}

TEST(KalenderPainterFactory, TypeSelectsThePainter) {
    TKalenderData data;
    TKalenderTageListe none;
    const auto make = [&](int typ) {
        data.Typ = static_cast<uint8_t>(typ);
        return CreateKalenderPainter(data, none, none);
    };
    EXPECT_NE(dynamic_cast<TKalenderPainterHorizontal*>(make(1).get()), nullptr);
    EXPECT_NE(dynamic_cast<TKalenderPainterVertical*>(make(2).get()), nullptr);
    EXPECT_NE(dynamic_cast<TKalenderPainter2WochenHorizontal*>(make(3).get()), nullptr);
    EXPECT_NE(dynamic_cast<TKalenderPainter2WochenVertical*>(make(4).get()), nullptr);
    for (int typ : {0, 5, 200}) {
        const auto painter = make(typ);
        const TKalenderPainter& base = *painter;
        EXPECT_EQ(typeid(base), typeid(TKalenderPainter4x7)) << typ;
    }
}

} // namespace
