#include "DatePrinting.h"
#include "calendar/uKalender.h"
#include "document/uFotobuchDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

TFBPage* addPage(TFBDocument& doc, int calendars) {
    TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    for (int i = 0; i < calendars; ++i)
        page->Calendars.Add(std::make_unique<TFBKalenderElement>(page));
    return page;
}

std::pair<int, int> monthYear(const TFBPage* page, int index = 0) {
    const TKalenderData& data = *page->Calendar(index)->Data;
    return {data.Monat, data.Jahr};
}

TEST(CalendarStart, IsTheFirstPagesFirstCalendarOrJanuaryOfThisYear) {
    TFBDocument doc;
    int month = 0, year = 0;
    doc.GetCalendarStart(month, year);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(year, QDate::currentDate().year());

    addPage(doc, 0);
    TFBPage* second = addPage(doc, 1);
    second->Calendar(0)->Data->SetMonat(5);
    doc.GetCalendarStart(month, year);
    EXPECT_EQ(month, 1); // the first page holds no calendar

    TFBPage* first = doc.Pages.Items(0);
    first->Calendars.Add(std::make_unique<TFBKalenderElement>(first));
    first->Calendar(0)->Data->SetMonat(9);
    first->Calendar(0)->Data->SetJahr(2030);
    doc.GetCalendarStart(month, year);
    EXPECT_EQ(month, 9);
    EXPECT_EQ(year, 2030);
}

TEST(CalendarStart, TwelveMonthPagesAndACover) {
    TFBDocument doc;
    for (int i = 0; i < 12; ++i)
        addPage(doc, 1);
    addPage(doc, 0); // the cover
    doc.Pages.Items(3)->Calendars.Add(std::make_unique<TFBKalenderElement>(doc.Pages.Items(3)));

    doc.SetCalendarStart(2024, 11);
    EXPECT_EQ(monthYear(doc.Pages.Items(0)), std::make_pair(11, 2024));
    EXPECT_EQ(monthYear(doc.Pages.Items(1)), std::make_pair(12, 2024));
    EXPECT_EQ(monthYear(doc.Pages.Items(2)), std::make_pair(1, 2025));
    EXPECT_EQ(monthYear(doc.Pages.Items(3), 0), std::make_pair(2, 2025));
    EXPECT_EQ(monthYear(doc.Pages.Items(3), 1), std::make_pair(2, 2025)); // every calendar of the page
    EXPECT_EQ(monthYear(doc.Pages.Items(11)), std::make_pair(10, 2025));
    EXPECT_EQ(doc.Pages.Items(12)->Calendars.Count(), 0);
    int month = 0, year = 0;
    doc.GetCalendarStart(month, year);
    EXPECT_EQ(month, 11);
    EXPECT_EQ(year, 2024);
}

TEST(CalendarStart, PagesWithoutCalendarUseUpAMonth) {
    TFBDocument doc;
    addPage(doc, 0);
    addPage(doc, 1);
    addPage(doc, 0);
    addPage(doc, 1);
    doc.SetCalendarStart(2024, 11);
    EXPECT_EQ(monthYear(doc.Pages.Items(1)), std::make_pair(12, 2024));
    EXPECT_EQ(monthYear(doc.Pages.Items(3)), std::make_pair(2, 2025));
}

TEST(CalendarStart, OutOfRangeStartIsClampedPerCalendar) {
    TFBDocument doc;
    addPage(doc, 1);
    addPage(doc, 1);
    doc.SetCalendarStart(2500, 12);
    EXPECT_EQ(monthYear(doc.Pages.Items(0)), std::make_pair(12, 2500));
    EXPECT_EQ(monthYear(doc.Pages.Items(1)), std::make_pair(1, 2500)); // 2501 is beyond the range
    doc.SetCalendarStart(1600, 0);
    EXPECT_EQ(monthYear(doc.Pages.Items(0)), std::make_pair(1, 1700));
    EXPECT_EQ(monthYear(doc.Pages.Items(1)), std::make_pair(1, 1700));
}

TEST(ApplyCalendarToAll, CopiesEverythingButEachCalendarsMonthAndYear) {
    TFBDocument doc;
    addPage(doc, 1);
    addPage(doc, 0);
    addPage(doc, 2);
    doc.SetCalendarStart(2026, 1);
    TKalenderData& source = *doc.Pages.Items(0)->Calendar(0)->Data;
    source.Typ = 2;
    source.ShowMonatJahrOnBottom = true;
    source.Font = TFont(QStringLiteral("Times New Roman"), 18, fsBold, 0x123456);
    source.SondertagFont = TFont(QStringLiteral("Georgia"), 8);
    source.WochentagRowSpacing.SetValues(1, 2, 3, 4);
    source.MonatJahrColorZeile = 0x00FF00;
    source.FontHeight = 42;

    TKalenderData& other = *doc.Pages.Items(2)->Calendar(1)->Data;
    other.MonatJahrZweizeilig = true; // a kept field: the stored value of the source wins

    doc.ApplyCalendarToAll(source);
    for (const auto& [pageIndex, month] : {std::pair{0, 1}, std::pair{2, 3}}) {
        for (int i = 0; i < doc.Pages.Items(pageIndex)->Calendars.Count(); ++i) {
            const TKalenderData& d = *doc.Pages.Items(pageIndex)->Calendar(i)->Data;
            EXPECT_EQ(d.Monat, month);
            EXPECT_EQ(d.Jahr, 2026);
            EXPECT_EQ(d.Typ, 2);
            EXPECT_TRUE(d.ShowMonatJahrOnBottom);
            EXPECT_FALSE(d.MonatJahrZweizeilig);
            EXPECT_EQ(d.Font, source.Font);
            EXPECT_EQ(d.SondertagFont, source.SondertagFont);
            EXPECT_EQ(d.WochentagRowSpacing, source.WochentagRowSpacing);
            EXPECT_EQ(d.MonatJahrColorZeile, 0x00FF00);
            EXPECT_EQ(d.FontHeight, 42.0f);
        }
    }
}

TEST(ApplyCalendarToAll, ASourceOutsideTheDocumentWorksToo) {
    TFBDocument doc;
    addPage(doc, 1);
    doc.SetCalendarStart(2027, 4);
    TKalenderData loose;
    loose.Typ = 4;
    loose.SetMonat(12);
    doc.ApplyCalendarToAll(loose);
    const TKalenderData& d = *doc.Pages.Items(0)->Calendar(0)->Data;
    EXPECT_EQ(d.Typ, 4);
    EXPECT_EQ(d.Monat, 4);
    EXPECT_EQ(d.Jahr, 2027);
}

} // namespace
