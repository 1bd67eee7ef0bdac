#include "DatePrinting.h"
#include "KalenderSamples.h"
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "document/uDataFile.h"
#include "platform/Exception.h"

#include <QBuffer>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

using KalenderSamples::MemoryContainer;

const QString kSep = QStringLiteral(", ");

double day(int y, int m, int d) {
    return KalenderDateToDays(QDate(y, m, d));
}

// Makes the German date separator the one the list uses, for the length of a test.
class GermanLocale {
public:
    GermanLocale() : previous_(QLocale()) { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~GermanLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

TEST(KalenderTageListe, AddJoinsTextsOfExactlyTheSameDate) {
    TKalenderTageListe list;
    list.Add(QStringLiteral("Anna"), kSep, day(2024, 3, 5));
    list.Add(QStringLiteral("Max"), kSep, day(2024, 3, 5));
    list.Add(QStringLiteral("Tom"), QStringLiteral(" / "), QDate(2024, 3, 5));
    list.Add(QStringLiteral("Abend"), kSep, day(2024, 3, 5) + 0.5); // another date-time
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Text, QStringLiteral("Anna, Max / Tom"));
    EXPECT_EQ(list.IndexOfDate(day(2024, 3, 5)), 0);
    EXPECT_EQ(list.IndexOfDate(day(2024, 3, 5) + 0.5), 1);
    EXPECT_EQ(list.IndexOfDate(day(2024, 3, 6)), -1);
    EXPECT_TRUE(list.Contains(QDate(2024, 3, 5)));
    EXPECT_FALSE(list.Contains(QDate(2025, 3, 5))); // a birthday counts for its one year only
    EXPECT_FALSE(list.Contains(QDate()));

    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(list.FindText(day(2024, 3, 6), text));
    EXPECT_EQ(text, QStringLiteral("unchanged"));
    EXPECT_TRUE(list.FindText(day(2024, 3, 5), text));
    EXPECT_EQ(text, QStringLiteral("Anna, Max / Tom"));
    EXPECT_THROW(list.Items(2), Exception);

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(KalenderTageListe, SortOrdersByDateAndKeepsTheOrderOfEqualDates) {
    MemoryContainer c;
    // Two entries of one date can only come from a file.
    const QString s = QStringLiteral("Geburtstage");
    c.file->WriteInteger(s, QStringLiteral("Anzahl"), 4);
    const double dates[] = {day(2024, 5, 1), day(2023, 1, 1), day(2024, 5, 1), day(2024, 1, 2)};
    const char* texts[] = {"first", "old", "second", "jan"};
    for (int i = 0; i < 4; ++i) {
        c.file->WriteFloat(s + QStringLiteral("/Item%1").arg(i), QStringLiteral("Datum"), dates[i]);
        c.file->WriteString(s + QStringLiteral("/Item%1").arg(i), QStringLiteral("Text"),
                            QString::fromLatin1(texts[i]));
    }
    c.file->BuildCache();
    TKalenderTageListe list;
    list.Load(*c.file, s);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.Contains(QDate(2024, 5, 1)));
    QString text;
    list.FindText(day(2024, 5, 1), text);
    EXPECT_EQ(text, QStringLiteral("first")); // the first entry of the date answers

    list.Sort();
    QStringList order;
    for (int i = 0; i < list.Count(); ++i)
        order << list.Items(i).Text;
    EXPECT_EQ(order, (QStringList{"old", "jan", "first", "second"}));
}

TEST(KalenderTageListe, MonthEntriesAreDayAndMonthWithTheDateSeparator) {
    GermanLocale german;
    EXPECT_EQ(SystemDateSeparator(), QStringLiteral("."));
    TKalenderTageListe list;
    list.Add(QStringLiteral("Silvester"), kSep, QDate(2024, 12, 31));
    list.Add(QStringLiteral("Hl. Abend"), kSep, QDate(2024, 12, 24));
    list.Add(QStringLiteral("Nikolaus"), kSep, QDate(2024, 12, 6));
    list.Add(QStringLiteral("Hl. Abend"), kSep, QDate(2023, 12, 24)); // other year
    list.Add(QStringLiteral("Neujahr"), kSep, QDate(2025, 1, 1));     // other month

    QStringList lines{QStringLiteral("before")};
    list.GetMonthEntries(2024, 12, lines);
    EXPECT_EQ(lines, (QStringList{"before", "06.12. Nikolaus", "24.12. Hl. Abend", "31.12. Silvester"}));
    EXPECT_EQ(list.GetMonthText(2024, 12, kSep),
              QStringLiteral("06.12. Nikolaus, 24.12. Hl. Abend, 31.12. Silvester"));
    EXPECT_EQ(list.GetMonthText(2025, 1, kSep), QStringLiteral("01.01. Neujahr"));
    EXPECT_TRUE(list.GetMonthText(2024, 11, kSep).isEmpty());
    // The list itself keeps its order.
    EXPECT_EQ(list.Items(0).Text, QStringLiteral("Silvester"));
}

TEST(KalenderTageListe, MonthEntriesFollowOtherDateSeparators) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TKalenderTageListe list;
    list.Add(QStringLiteral("Hl. Abend"), kSep, QDate(2024, 12, 24));
    const QString text = list.GetMonthText(2024, 12, kSep);
    QLocale::setDefault(previous);
    EXPECT_EQ(text, QStringLiteral("24/12/ Hl. Abend"));
}

TEST(KalenderTageListe, DeleteYearRemovesOnlyThatYear) {
    TKalenderTageListe list;
    list.Add(QStringLiteral("b"), kSep, QDate(2025, 3, 1));
    list.Add(QStringLiteral("a"), kSep, QDate(2024, 12, 31));
    list.Add(QStringLiteral("c"), kSep, QDate(2024, 1, 1));
    list.Add(QStringLiteral("d"), kSep, QDate(2023, 12, 31));
    list.DeleteYear(2024);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Text, QStringLiteral("d")); // sorted
    EXPECT_EQ(list.Items(1).Text, QStringLiteral("b"));
    list.DeleteYear(1999);
    EXPECT_EQ(list.Count(), 2);
}

TEST(KalenderTageListeStorage, SavesCountAndItemSectionsAndLoadsByAppending) {
    TKalenderTageListe list;
    list.Add(QString::fromUtf8("Hl. 3 Könige"), kSep, QDate(2024, 1, 6));
    list.Add(QStringLiteral("Anna, Max"), kSep, QDate(2024, 3, 5));
    list.Add(QStringLiteral("Abends"), kSep, day(2024, 3, 5) + 0.75); // a time part survives
    MemoryContainer c;
    list.Save(*c.file, QStringLiteral("Feiertage"));
    c.file->BuildCache();
    EXPECT_EQ(c.file->ReadInteger(QStringLiteral("Feiertage"), QStringLiteral("Anzahl"), -1), 3);
    EXPECT_EQ(c.file->ReadFloat(QStringLiteral("Feiertage/Item0"), QStringLiteral("Datum"), 0),
              day(2024, 1, 6));
    EXPECT_EQ(c.file->ReadString(QStringLiteral("Feiertage/Item1"), QStringLiteral("Text"), {}),
              QStringLiteral("Anna, Max"));

    TKalenderTageListe loaded;
    loaded.Add(QStringLiteral("schon da"), kSep, QDate(2020, 2, 2));
    loaded.Load(*c.file, QStringLiteral("Feiertage"));
    ASSERT_EQ(loaded.Count(), 4);
    EXPECT_EQ(loaded.Items(0).Text, QStringLiteral("schon da"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.Items(i + 1).Datum, list.Items(i).Datum);
        EXPECT_EQ(loaded.Items(i + 1).Text, list.Items(i).Text);
    }
}

TEST(KalenderTageListeStorage, MissingValuesGiveTodayAndAnEmptyText) {
    MemoryContainer c;
    c.file->WriteInteger(QStringLiteral("L"), QStringLiteral("Anzahl"), 2);
    c.file->WriteString(QStringLiteral("L/Item0"), QStringLiteral("Text"), QStringLiteral("ohne Datum"));
    c.file->WriteFloat(QStringLiteral("L/Item1"), QStringLiteral("Datum"), day(2024, 8, 8));
    c.file->BuildCache();
    TKalenderTageListe list;
    list.Load(*c.file, QStringLiteral("L"));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Date(), QDate::currentDate());
    EXPECT_EQ(list.Items(0).Text, QStringLiteral("ohne Datum"));
    EXPECT_EQ(list.Items(1).Date(), QDate(2024, 8, 8));
    EXPECT_TRUE(list.Items(1).Text.isEmpty());

    TKalenderTageListe none;
    none.Load(*c.file, QStringLiteral("NotThere"));
    EXPECT_EQ(none.Count(), 0);
}

TEST(KalenderTageListeStorage, DamagedCountOrDateDoesNotInventOrBreakEntries) {
    MemoryContainer c;
    c.file->WriteInteger(QStringLiteral("L"), QStringLiteral("Anzahl"), 2000000000);
    c.file->WriteFloat(QStringLiteral("L/Item0"), QStringLiteral("Datum"),
                       std::numeric_limits<double>::quiet_NaN());
    c.file->WriteString(QStringLiteral("L/Item0"), QStringLiteral("Text"), QStringLiteral("kaputt"));
    c.file->WriteFloat(QStringLiteral("L/Item1"), QStringLiteral("Datum"), day(2024, 1, 1));
    c.file->BuildCache();
    TKalenderTageListe list;
    list.Load(*c.file, QStringLiteral("L"));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Date(), QDate::currentDate());
    list.Sort();
    list.DeleteYear(2024);
    EXPECT_LE(list.Count(), 1);
}

TEST(KalenderTageListeStorage, SurvivesAFileOnDisk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("liste.fbp"));
    TKalenderTageListe holidays;
    ComputeHolidays(holidays, 2024);
    {
        TDataFile file(path);
        holidays.Save(file, QStringLiteral("Feiertage"));
    }
    TDataFile file(path, TDataFile::OpenMode::ReadOnly);
    TKalenderTageListe loaded;
    loaded.Load(file, QStringLiteral("Feiertage"));
    ASSERT_EQ(loaded.Count(), holidays.Count());
    for (int i = 0; i < loaded.Count(); ++i) {
        EXPECT_EQ(loaded.Items(i).Datum, holidays.Items(i).Datum);
        EXPECT_EQ(loaded.Items(i).Text, holidays.Items(i).Text);
    }
}

} // namespace
