#include "DatePrinting.h"
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Easter Sunday by the anonymous Gregorian algorithm (Meeus, Jones, Butcher).
QDate easterMeeus(int y) {
    const int a = y % 19;
    const int b = y / 100;
    const int c = y % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(y, month, day);
}

// Easter Sunday by Gauss's rule with its two exceptions (April 26 and the April 25 case).
QDate easterGauss(int y) {
    const int k = y / 100;
    const int m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
    const int s = 2 - (3 * k + 3) / 4;
    const int a = y % 19;
    const int d = (19 * a + m) % 30;
    const int r = (d + a / 11) / 29;
    const int og = 21 + d - r;
    const int sz = 7 - (y + y / 4 + s) % 7;
    const int oe = 7 - (og - sz) % 7;
    const int os = og + oe; // day of March, may run into April
    return QDate(y, 3, 1).addDays(os - 1);
}

// The holidays of a year by date.
std::map<QDate, QString> holidaysOf(int year) {
    TKalenderTageListe list;
    ComputeHolidays(list, year);
    std::map<QDate, QString> byDate;
    for (int i = 0; i < list.Count(); ++i)
        byDate[list.Items(i).Date()] = list.Items(i).Text;
    EXPECT_EQ(int(byDate.size()), list.Count()) << "one entry per date";
    return byDate;
}

TEST(EasterSunday, KnownDates) {
    EXPECT_EQ(EasterSunday(2021), QDate(2021, 4, 4));
    EXPECT_EQ(EasterSunday(2022), QDate(2022, 4, 17));
    EXPECT_EQ(EasterSunday(2023), QDate(2023, 4, 9));
    EXPECT_EQ(EasterSunday(2024), QDate(2024, 3, 31));
    EXPECT_EQ(EasterSunday(2025), QDate(2025, 4, 20));
    // The earliest and latest possible dates and the two exceptional cases of the rule.
    EXPECT_EQ(EasterSunday(1818), QDate(1818, 3, 22));
    EXPECT_EQ(EasterSunday(2285), QDate(2285, 3, 22));
    EXPECT_EQ(EasterSunday(1943), QDate(1943, 4, 25));
    EXPECT_EQ(EasterSunday(2038), QDate(2038, 4, 25));
    EXPECT_EQ(EasterSunday(1981), QDate(1981, 4, 19)); // would be 26 April without the exception
    EXPECT_EQ(EasterSunday(1954), QDate(1954, 4, 18)); // the 25 April exception
    EXPECT_EQ(EasterSunday(1700), QDate(1700, 4, 11));
    EXPECT_EQ(EasterSunday(2000), QDate(2000, 4, 23));
}

TEST(EasterSunday, AgreesWithTwoOtherMethodsInEveryYearOfTheRange) {
    for (int year = kKalenderMinJahr; year <= kKalenderMaxJahr; ++year) {
        const QDate easter = EasterSunday(year);
        ASSERT_EQ(easter, easterMeeus(year)) << year;
        ASSERT_EQ(easter, easterGauss(year)) << year;
        ASSERT_EQ(easter.dayOfWeek(), 7) << year;
        ASSERT_GE(easter, QDate(year, 3, 22)) << year;
        ASSERT_LE(easter, QDate(year, 4, 25)) << year;
    }
}

TEST(ComputeHolidays, EveryHolidayLandsOnItsDayInEveryYearOfTheRange) {
    const std::pair<const char*, int> movable[] = {
        {"Karfreitag", -2},      {"Ostersonntag", 0},   {"Ostermontag", 1},   {"Christi Himmelfahrt", 39},
        {"Pfingstsonntag", 49},  {"Pfingstmontag", 50}, {"Rosenmontag", -48}, {"Fastnacht", -47},
        {"Aschermittwoch", -46}, {"Fronleichnam", 60},
    };
    const std::pair<const char*, std::pair<int, int>> fixed[] = {
        {"Neujahr", {1, 1}},
        {"Hl. 3 Könige", {1, 6}},
        {"Maifeiertag", {5, 1}},
        {"Mariä Aufnahme", {8, 15}},
        {"Tag der dt. Einheit", {10, 3}},
        {"Reformationstag", {10, 31}},
        {"Allerheiligen", {11, 1}},
        {"Hl. Abend", {12, 24}},
        {"1. Weihnachtsfeiertag", {12, 25}},
        {"2. Weihnachtsfeiertag", {12, 26}},
        {"Silvester", {12, 31}},
    };
    for (int year = kKalenderMinJahr; year <= kKalenderMaxJahr; ++year) {
        const auto byDate = holidaysOf(year);
        const auto has = [&](const QDate& date, const char* text) {
            const auto it = byDate.find(date);
            return it != byDate.end() &&
                   it->second.split(QStringLiteral(", ")).contains(QString::fromUtf8(text));
        };
        const QDate easter = easterMeeus(year);
        for (const auto& [text, offset] : movable)
            ASSERT_TRUE(has(easter.addDays(offset), text)) << year << " " << text;
        for (const auto& [text, monthDay] : fixed)
            ASSERT_TRUE(has(QDate(year, monthDay.first, monthDay.second), text)) << year << " " << text;

        // Buß- und Bettag: a Wednesday from 16 to 22 November.
        int found = 0;
        for (int day = 16; day <= 22; ++day) {
            const QDate date(year, 11, day);
            if (has(date, "Buß- und Bettag")) {
                ++found;
                ASSERT_EQ(date.dayOfWeek(), 3) << year;
            }
        }
        ASSERT_EQ(found, 1) << year;

        // Every text exactly once, all entries of the year.
        int texts = 0;
        for (const auto& [date, text] : byDate) {
            ASSERT_EQ(date.year(), year);
            texts += int(text.split(QStringLiteral(", ")).size());
        }
        ASSERT_EQ(texts, 22) << year;
    }
}

TEST(ComputeHolidays, TextsOfOneDateAreJoined) {
    const auto y2008 = holidaysOf(2008);
    EXPECT_EQ(y2008.at(QDate(2008, 5, 1)), QStringLiteral("Maifeiertag, Christi Himmelfahrt"));
    EXPECT_EQ(y2008.size(), 21u);
    EXPECT_EQ(holidaysOf(2022).at(QDate(2022, 11, 16)), QString::fromUtf8("Buß- und Bettag"));
    EXPECT_EQ(holidaysOf(2023).at(QDate(2023, 11, 22)), QString::fromUtf8("Buß- und Bettag"));
}

TEST(ComputeHolidays, ReplacesOnlyTheEntriesOfItsYear) {
    TKalenderTageListe list;
    list.Add(QStringLiteral("Eigener Tag"), QStringLiteral(", "), QDate(2024, 7, 7));
    list.Add(QStringLiteral("Neujahr"), QStringLiteral(", "), QDate(2025, 1, 1));
    list.Add(QStringLiteral("Getippt"), QStringLiteral(", "), QDate(2025, 3, 3));
    ComputeHolidays(list, 2024);
    EXPECT_FALSE(list.Contains(QDate(2024, 7, 7)));
    EXPECT_TRUE(list.Contains(QDate(2025, 3, 3)));
    EXPECT_TRUE(list.Contains(QDate(2024, 1, 1)));
    QString text;
    ASSERT_TRUE(list.FindText(KalenderDateToDays(QDate(2025, 1, 1)), text));
    EXPECT_EQ(text, QStringLiteral("Neujahr")) << "the other year's entry is not joined twice";
    // Entries carry no time part.
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Items(i).Datum, double(qint64(list.Items(i).Datum)));

    // A calendar from September: computing both years keeps both, and computing one again does
    // not double its texts.
    TKalenderTageListe spanning;
    ComputeHolidays(spanning, 2025);
    ComputeHolidays(spanning, 2026);
    ComputeHolidays(spanning, 2025);
    EXPECT_EQ(spanning.Count(), int(holidaysOf(2025).size() + holidaysOf(2026).size()));
    EXPECT_TRUE(spanning.Contains(QDate(2025, 12, 25)));
    EXPECT_TRUE(spanning.Contains(QDate(2026, 1, 1)));
    ASSERT_TRUE(spanning.FindText(KalenderDateToDays(QDate(2025, 1, 1)), text));
    EXPECT_EQ(text, QStringLiteral("Neujahr"));
}

} // namespace
