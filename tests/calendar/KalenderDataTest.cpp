#include "DatePrinting.h"
#include "KalenderSamples.h"
#include "calendar/uKalender.h"
#include "document/uDataFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace KalenderSamples;

struct Rect {
    float Left, Top, Right, Bottom;
};

TKalenderData* monthOf(TKalenderData& data, int year, int month) {
    data.SetJahr(year);
    data.SetMonat(month);
    return &data;
}

TEST(KalenderData, NewObjectShowsTodayWithTheDefaultLook) {
    const QDate today = QDate::currentDate();
    const TKalenderData d;
    EXPECT_EQ(d.Monat, today.month());
    EXPECT_EQ(d.Jahr, today.year());
    EXPECT_EQ(d.Font.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(d.Font.Color(), 0);
    EXPECT_EQ(d.Font.Style(), 0);
    EXPECT_EQ(d.WochentagFont, d.Font);
    EXPECT_EQ(d.MonatJahrFont, d.Font);
    EXPECT_EQ(d.TextColorSamstag, 0x808080);
    EXPECT_EQ(d.TextColorSonntag, 0x0000FF);
    EXPECT_EQ(d.TextColorFeiertag, 0x0000FF);
    EXPECT_EQ(d.TextColorGeburtstag, 0x800000);
    EXPECT_EQ(d.WochentagSize, 15.0f);
    EXPECT_EQ(d.MonatJahrSize, 15.0f);
    EXPECT_EQ(d.FontHeight, 50.0f);
    EXPECT_EQ(d.WochentagFontHeight, 50.0f);
    EXPECT_EQ(d.MonatJahrFontHeight, 50.0f);
    EXPECT_EQ(d.FTextAlign, 5);
    EXPECT_EQ(d.WochentagTextAlign, 5);
    EXPECT_EQ(d.MonatJahrTextAlign, 5);
    for (int32_t fill : {d.Color, d.ColorZeilen, d.ColorZellen, d.WochentagColorZeile, d.WochentagColorZelle,
                         d.MonatJahrColorZeile, d.SondertagColorZeile})
        EXPECT_EQ(fill, NoColor);
    for (const TPaddingData* p :
         {&d.CellPadding, &d.RowPadding, &d.CellSpacing, &d.RowSpacing, &d.WochentagCellPadding,
          &d.WochentagRowPadding, &d.WochentagCellSpacing, &d.WochentagRowSpacing, &d.MonatJahrRowPadding,
          &d.MonatJahrRowSpacing, &d.SondertagRowSpacing, &d.SondertagRowPadding})
        EXPECT_EQ(*p, TPaddingData());
    EXPECT_TRUE(d.ShowWochentage);
    EXPECT_TRUE(d.ShowMonatJahr);
    EXPECT_FALSE(d.ShowMonatJahrOnBottom);
    EXPECT_FALSE(d.MonatJahrZweizeilig);
    EXPECT_FALSE(d.ShowSondertage);
    EXPECT_EQ(d.Typ, 0);
    EXPECT_EQ(d.SondertagSize, 0.0f);
    EXPECT_EQ(d.SonderTagTextAlign, 0);
}

TEST(KalenderData, ResetRestoresDefaultsButKeepsTheKeptFieldsAndFontSizes) {
    TKalenderData d;
    setEverything(d);
    d.Reset();

    // Kept: month, year, type, bottom title, two-line title and the special-days band.
    EXPECT_EQ(d.Monat, 7);
    EXPECT_EQ(d.Jahr, 2031);
    EXPECT_EQ(d.Typ, 3);
    EXPECT_TRUE(d.ShowMonatJahrOnBottom);
    EXPECT_TRUE(d.MonatJahrZweizeilig);
    EXPECT_TRUE(d.ShowSondertage);
    EXPECT_EQ(d.SondertagFontHeight, 40.0f);
    EXPECT_EQ(d.SondertagSize, 11.0f);
    EXPECT_EQ(d.SondertagFont.Name(), QStringLiteral("Georgia"));
    EXPECT_EQ(d.SonderTagTextAlign, 9);

    // Reset: the day-number font becomes black Arial without style but keeps its size; the other
    // two fonts are copies of it.
    EXPECT_EQ(d.Font.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(d.Font.Size(), 14);
    EXPECT_EQ(d.Font.Style(), 0);
    EXPECT_EQ(d.Font.Color(), 0);
    EXPECT_EQ(d.WochentagFont, d.Font);
    EXPECT_EQ(d.MonatJahrFont, d.Font);
    EXPECT_EQ(d.SondertagColorZeile, NoColor);
    EXPECT_EQ(d.SondertagRowPadding, TPaddingData());
    EXPECT_EQ(d.CellPadding, TPaddingData());
    EXPECT_TRUE(d.ShowWochentage);
    EXPECT_EQ(d.TextColorGeburtstag, 0x800000);

    // Everything that is not kept equals what a new object has (apart from the font size).
    TKalenderData fresh;
    fresh.Font.SetSize(14);
    fresh.WochentagFont = fresh.Font;
    fresh.MonatJahrFont = fresh.Font;
    fresh.Monat = d.Monat;
    fresh.Jahr = d.Jahr;
    fresh.Typ = d.Typ;
    fresh.ShowMonatJahrOnBottom = fresh.MonatJahrZweizeilig = fresh.ShowSondertage = true;
    fresh.SondertagFontHeight = d.SondertagFontHeight;
    fresh.SondertagSize = d.SondertagSize;
    fresh.SondertagFont = d.SondertagFont;
    fresh.SonderTagTextAlign = d.SonderTagTextAlign;
    EXPECT_EQ(storedForm(d), storedForm(fresh));
}

TEST(KalenderData, SettersClampMonthAndYear) {
    TKalenderData d;
    d.SetJahr(1650);
    EXPECT_EQ(d.Jahr, 1700);
    d.SetJahr(3000);
    EXPECT_EQ(d.Jahr, 2500);
    d.SetJahr(1984);
    EXPECT_EQ(d.Jahr, 1984);
    d.SetMonat(0);
    EXPECT_EQ(d.Monat, 1);
    d.SetMonat(13);
    EXPECT_EQ(d.Monat, 12);
    d.SetMonat(-5);
    EXPECT_EQ(d.Monat, 1);
    d.SetMonat(6);
    EXPECT_EQ(d.Monat, 6);
}

TEST(KalenderData, MonthDates) {
    TKalenderData d;
    monthOf(d, 2024, 2);
    EXPECT_EQ(d.FirstDayOfMonth(), QDate(2024, 2, 1));
    EXPECT_EQ(d.LastDayOfMonth(), QDate(2024, 2, 29));
    EXPECT_EQ(d.DaysInMonth(), 29);
    monthOf(d, 1900, 2);
    EXPECT_EQ(d.LastDayOfMonth(), QDate(1900, 2, 28));
    monthOf(d, 2500, 12);
    EXPECT_EQ(d.LastDayOfMonth(), QDate(2500, 12, 31));
    EXPECT_EQ(TKalenderData::IsoWeekday(QDate(2024, 12, 29)), 7); // a Sunday
    EXPECT_EQ(TKalenderData::IsoWeekday(QDate(2024, 12, 30)), 1); // a Monday
}

TEST(KalenderData, WeekRowCountOfTheNamedMonths) {
    TKalenderData d;
    EXPECT_EQ(monthOf(d, 2010, 2)->WeekRowCount(), 4); // 28 days from a Monday
    EXPECT_EQ(monthOf(d, 2011, 1)->WeekRowCount(), 6); // 31 days from a Saturday
    EXPECT_EQ(monthOf(d, 2010, 8)->WeekRowCount(), 6); // 31 days from a Sunday
    EXPECT_EQ(monthOf(d, 2024, 9)->WeekRowCount(), 6); // 30 days from a Sunday
    EXPECT_EQ(monthOf(d, 2024, 6)->WeekRowCount(), 5); // 30 days from a Saturday
    EXPECT_EQ(monthOf(d, 2024, 2)->WeekRowCount(), 5); // 29 days from a Thursday
    EXPECT_EQ(monthOf(d, 2021, 2)->WeekRowCount(), 4); // 28 days from a Monday again
    EXPECT_EQ(monthOf(d, 2015, 2)->WeekRowCount(), 5); // 28 days from a Sunday
}

TEST(KalenderData, WeekRowCountFollowsTheRuleInEveryMonthOfTheRange) {
    TKalenderData d;
    int fours = 0;
    for (int year = kKalenderMinJahr; year <= kKalenderMaxJahr; ++year) {
        for (int month = 1; month <= 12; ++month) {
            monthOf(d, year, month);
            const QDate first(year, month, 1);
            const int start = first.dayOfWeek();
            const int days = first.daysInMonth();
            int expected = 5;
            if (days == 28 && start == 1)
                expected = 4;
            else if ((days == 31 && start >= 6) || (days == 30 && start == 7))
                expected = 6;
            ASSERT_EQ(d.WeekRowCount(), expected) << year << "-" << month;
            fours += expected == 4;
        }
    }
    EXPECT_GT(fours, 0);
}

TEST(KalenderData, OutOfRangeStoredMonthStillGivesValidDates) {
    // Loading takes month and year as stored; a damaged file must not make the dates invalid.
    TKalenderData d;
    d.Monat = 13;
    d.Jahr = 99999;
    EXPECT_TRUE(d.FirstDayOfMonth().isValid());
    EXPECT_EQ(d.FirstDayOfMonth(), QDate(2500, 12, 1));
    EXPECT_EQ(d.WeekRowCount(), 5);
    d.Monat = 0;
    d.Jahr = -4;
    EXPECT_EQ(d.LastDayOfMonth(), QDate(1700, 1, 31));
}

TEST(KalenderData, NamesGoThroughTheLookupAndAreEmptyOutsideTheRange) {
    EXPECT_EQ(TKalenderData::WeekdayName(1), QStringLiteral("Mo"));
    EXPECT_EQ(TKalenderData::WeekdayName(6), QStringLiteral("Sa"));
    EXPECT_EQ(TKalenderData::WeekdayName(7), QStringLiteral("So"));
    EXPECT_TRUE(TKalenderData::WeekdayName(0).isEmpty());
    EXPECT_TRUE(TKalenderData::WeekdayName(8).isEmpty());
    EXPECT_EQ(TKalenderData::MonthName(1), QStringLiteral("Januar"));
    EXPECT_EQ(TKalenderData::MonthName(3), QStringLiteral("März")); // the key keeps its old spelling
    EXPECT_EQ(TKalenderData::MonthName(12), QStringLiteral("Dezember"));
    EXPECT_TRUE(TKalenderData::MonthName(0).isEmpty());
    EXPECT_TRUE(TKalenderData::MonthName(13).isEmpty());
}

TEST(PaddingData, ApplyTakesEveryMarginFromTheIncomingSize) {
    TPaddingData p;
    p.SetValues(10, 20, 30, 40);
    float left = 0, top = 0, right = 200, bottom = 100;
    EXPECT_TRUE(p.Apply(left, top, right, bottom));
    EXPECT_FLOAT_EQ(left, 20);
    EXPECT_FLOAT_EQ(top, 20);
    EXPECT_FLOAT_EQ(right, 140);
    EXPECT_FLOAT_EQ(bottom, 60);

    Rect r{10, 10, 20, 30};
    p.SetValues(-50, 0, -50, 0); // negative margins make it grow
    EXPECT_TRUE(p.Apply(r));
    EXPECT_FLOAT_EQ(r.Left, 5);
    EXPECT_FLOAT_EQ(r.Right, 25);
    EXPECT_FLOAT_EQ(r.Top, 10);
    EXPECT_FLOAT_EQ(r.Bottom, 30);
}

TEST(PaddingData, MarginsBeyondTheWholeGiveAnEmptyRectangle) {
    TPaddingData p;
    p.SetValues(60, 0, 60, 0);
    Rect r{0, 0, 100, 50};
    EXPECT_FALSE(p.Apply(r));
    EXPECT_LT(r.Right, r.Left);

    p.SetValues(0, 50, 0, 50); // exactly nothing left still counts as non-empty
    Rect s{0, 0, 100, 50};
    EXPECT_TRUE(p.Apply(s));
    EXPECT_FLOAT_EQ(s.Top, s.Bottom);

    p.SetValues(0, 70, 0, 40);
    Rect t{0, 0, 100, 50};
    EXPECT_FALSE(p.Apply(t));
}

TEST(PaddingData, SaveAndLoadWithMissingKeysAsZero) {
    MemoryContainer c;
    TPaddingData p;
    p.SetValues(1.5f, -2, 3, 4.25f);
    p.Save(*c.file, QStringLiteral("P"));
    c.file->WriteFloat(QStringLiteral("Q"), QStringLiteral("Top"), 7);
    c.file->BuildCache();

    TPaddingData q;
    q.SetValues(9, 9, 9, 9);
    q.Load(*c.file, QStringLiteral("P"));
    EXPECT_EQ(q, p);
    q.Load(*c.file, QStringLiteral("Q"));
    EXPECT_EQ(q.Top, 7);
    EXPECT_EQ(q.Left, 0);
    EXPECT_EQ(q.Right, 0);
    EXPECT_EQ(q.Bottom, 0);
}

TEST(KalenderDataStorage, ItemsAreWrittenInTheFixedOrderWithPaddingsAppendedToTheSection) {
    const QString s = QStringLiteral("Doc/Pages/Page0/Kalenderlist/Kalender0/KalenderData");
    std::vector<QString> expected;
    const auto keys = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            expected.push_back(s + QLatin1Char('|') + QLatin1String(name));
    };
    const auto paddings = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            for (const char* side : {"Left", "Top", "Right", "Bottom"})
                expected.push_back(s + QLatin1String(name) + QLatin1Char('|') + QLatin1String(side));
    };
    keys({"Typ", "Monat", "Jahr", "Font", "TextColorSamstag", "TextColorSonntag", "TextColorFeiertag",
          "TextColorGeburtstag", "Color", "ColorZeilen", "ColorZellen", "FontHeight", "FTextAlign"});
    paddings({"CellPadding", "RowPadding", "CellSpacing", "RowSpacing"});
    keys({"ShowWochentage", "WochentagFont", "WochentagSize", "WochentagFontHeight", "WochentagColorZeile",
          "WochentagColorZelle", "WochentagTextAlign"});
    paddings({"WochentagCellPadding", "WochentagRowPadding", "WochentagCellSpacing", "WochentagRowSpacing"});
    keys({"ShowMonatJahr", "ShowMonatJahrOnBottom", "MonatJahrTextAlign", "MonatJahrFontHeight",
          "MonatJahrSize", "MonatJahrColorZeile", "MonatJahrZweizeilig", "MonatJahrFont"});
    paddings({"MonatJahrRowPadding", "MonatJahrRowSpacing"});
    keys({"ShowSondertage", "SondertagFont", "SondertagFontHeight", "SondertagSize", "SondertagColorZeile",
          "SonderTagTextAlign"});
    paddings({"SondertagRowSpacing", "SondertagRowPadding"});

    MemoryContainer c;
    TKalenderData d;
    d.Save(*c.file, s);
    c.file->BuildCache();
    std::vector<QString> written;
    for (const TDataFileCacheItem& item : c.file->CacheItems())
        written.push_back(item.Section + QLatin1Char('|') + item.Key);
    EXPECT_EQ(written, expected);

    // The value sizes: int32 4, float 8, bool 1.
    const auto sizeOf = [&](const char* name) {
        QByteArray value;
        return c.file->ReadBuffer(s, QLatin1String(name), value);
    };
    EXPECT_EQ(sizeOf("Typ"), 4);
    EXPECT_EQ(sizeOf("FontHeight"), 8);
    EXPECT_EQ(sizeOf("ShowWochentage"), 1);
    EXPECT_EQ(sizeOf("SonderTagTextAlign"), 4);
    EXPECT_GT(sizeOf("Font"), 9);
}

TEST(KalenderDataStorage, SaveAndLoadKeepEverySetting) {
    TKalenderData source;
    setEverything(source);
    MemoryContainer c;
    source.Save(*c.file, QStringLiteral("E/KalenderData"));
    c.file->BuildCache();

    TKalenderData target;
    target.Load(*c.file, QStringLiteral("E/KalenderData"));
    EXPECT_EQ(storedForm(target), storedForm(source));
    EXPECT_EQ(target.Monat, 7);
    EXPECT_EQ(target.Jahr, 2031);
    EXPECT_EQ(target.Typ, 3);
    EXPECT_EQ(target.Font, source.Font);
    EXPECT_EQ(target.SondertagFont, source.SondertagFont);
    EXPECT_EQ(target.WochentagCellPadding, source.WochentagCellPadding);
    EXPECT_EQ(target.SondertagRowPadding, source.SondertagRowPadding);
    EXPECT_EQ(target.FontHeight, 61.5f);
}

TEST(KalenderDataStorage, MissingKeysKeepKeptFieldsAndGiveResetValuesOtherwise) {
    MemoryContainer c;
    c.file->WriteInteger(QStringLiteral("K"), QStringLiteral("Monat"), 3);
    c.file->WriteBool(QStringLiteral("K"), QStringLiteral("ShowSondertage"), false);
    c.file->BuildCache();

    TKalenderData d;
    setEverything(d);
    d.Load(*c.file, QStringLiteral("K"));
    EXPECT_EQ(d.Monat, 3);
    EXPECT_EQ(d.Jahr, 2031);                                      // kept: not stored
    EXPECT_TRUE(d.ShowMonatJahrOnBottom);                         // kept: not stored
    EXPECT_TRUE(d.MonatJahrZweizeilig);                           // kept
    EXPECT_FALSE(d.ShowSondertage);                               // stored
    EXPECT_EQ(d.SondertagSize, 11.0f);                            // kept
    EXPECT_EQ(d.SondertagFont.Name(), QStringLiteral("Georgia")); // no font record: unchanged
    EXPECT_EQ(d.Typ, 0);                                          // the type alone falls back to 0
    EXPECT_EQ(d.Font.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(d.Color, NoColor);
    EXPECT_EQ(d.FontHeight, 50.0f);
    EXPECT_EQ(d.CellPadding, TPaddingData());
}

TEST(KalenderDataStorage, MonthAndYearAreTakenAsStored) {
    MemoryContainer c;
    c.file->WriteInteger(QStringLiteral("K"), QStringLiteral("Monat"), 14);
    c.file->WriteInteger(QStringLiteral("K"), QStringLiteral("Jahr"), 1600);
    c.file->WriteInteger(QStringLiteral("K"), QStringLiteral("Typ"), 256 + 4);
    c.file->WriteBuffer(QStringLiteral("K"), QStringLiteral("Font"), QByteArray(9, 'x')); // too short
    c.file->BuildCache();
    TKalenderData d;
    d.Font.SetName(QStringLiteral("Kept"));
    d.Load(*c.file, QStringLiteral("K"));
    EXPECT_EQ(d.Monat, 14);
    EXPECT_EQ(d.Jahr, 1600);
    EXPECT_EQ(d.Typ, 0); // not 4, the low byte
    // Reset renames the font; the 9-byte record is ignored.
    EXPECT_EQ(d.Font.Name(), QStringLiteral("Arial"));
}

TEST(KalenderDataStorage, DamagedFloatsCountAsMissing) {
    MemoryContainer c;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    c.file->WriteFloat(QStringLiteral("K"), QStringLiteral("FontHeight"), nan);
    c.file->WriteFloat(QStringLiteral("K"), QStringLiteral("SondertagSize"), 1e300);
    c.file->WriteFloat(QStringLiteral("K"), QStringLiteral("WochentagSize"), 20);
    c.file->WriteFloat(QStringLiteral("KCellPadding"), QStringLiteral("Left"),
                       -std::numeric_limits<double>::infinity());
    c.file->WriteFloat(QStringLiteral("KCellPadding"), QStringLiteral("Top"), 5);
    c.file->BuildCache();
    TKalenderData d;
    d.SondertagSize = 7;
    d.Load(*c.file, QStringLiteral("K"));
    EXPECT_EQ(d.FontHeight, 50.0f);   // the reset value
    EXPECT_EQ(d.SondertagSize, 7.0f); // kept
    EXPECT_EQ(d.WochentagSize, 20.0f);
    EXPECT_EQ(d.CellPadding.Left, 0.0f);
    EXPECT_EQ(d.CellPadding.Top, 5.0f);
}

TEST(KalenderDataSnapshot, RestoresIntoAnotherObjectAndIsEmptyBeforeTaking) {
    TKalenderData source;
    setEverything(source);
    TKalenderDataSnapshot snapshot;
    EXPECT_TRUE(snapshot.IsEmpty());
    TKalenderData untouched;
    untouched.Typ = 2;
    snapshot.RestoreTo(untouched);
    EXPECT_EQ(untouched.Typ, 2);

    snapshot.Take(source);
    EXPECT_FALSE(snapshot.IsEmpty());
    TKalenderData target;
    snapshot.RestoreTo(target);
    EXPECT_EQ(storedForm(target), storedForm(source));

    // The snapshot stays as taken when the source changes afterwards.
    source.Typ = 1;
    TKalenderData second;
    snapshot.RestoreTo(second);
    EXPECT_EQ(second.Typ, 3);
}

TEST(KalenderDates, DaysSinceTheDayZeroBothWays) {
    EXPECT_EQ(KalenderDateToDays(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(KalenderDateToDays(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(KalenderDateToDays(QDate(2024, 12, 24)), 45650.0);
    EXPECT_EQ(KalenderDaysToDate(45650.0), QDate(2024, 12, 24));
    EXPECT_EQ(KalenderDaysToDate(45650.75), QDate(2024, 12, 24));
    EXPECT_EQ(KalenderDaysToDate(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(KalenderDaysToDate(KalenderDateToDays(QDate(1700, 3, 1))), QDate(1700, 3, 1));
    EXPECT_FALSE(KalenderDaysToDate(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_FALSE(KalenderDaysToDate(1e300).isValid());
}

} // namespace
