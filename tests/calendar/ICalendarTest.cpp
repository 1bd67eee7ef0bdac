// Calendar files: the RFC 5545 forms of texts and dates, recurrence rules in the calendar's
// years, the 29 February rule of birthdays, merging without doubles, the round trip of an export,
// bad input counted rather than fatal, and the import as the dialog's one undo step.
#include "calendar/uICalendar.h"
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "calendar/uKalenderTageTabelle.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"

#include <gtest/gtest.h>

using namespace ICalendar;

namespace {

QByteArray calendar(const QByteArray& events, const QByteArray& lineEnd = "\r\n") {
    QByteArray text = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//test//EN\n" + events + "END:VCALENDAR\n";
    return text.replace("\n", lineEnd);
}

QByteArray event(const QByteArray& body) {
    return "BEGIN:VEVENT\nUID:x\n" + body + "\nEND:VEVENT\n";
}

// "YYYY-MM-DD text" per entry, in order.
QStringList lines(const TReadResult& result) {
    QStringList out;
    for (const TIcsEntry& e : result.Entries)
        out << e.Date.toString(Qt::ISODate) + QLatin1Char(' ') + e.Text;
    return out;
}

QStringList lines(const TKalenderTageListe& list) {
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.Items(i).Date().toString(Qt::ISODate) + QLatin1Char(' ') + list.Items(i).Text;
    out.sort();
    return out;
}

} // namespace

TEST(ICalendarRead, FoldedLinesEscapedTextsAndTheFormsOfDates) {
    // The folding example of RFC 5545 3.1 and the escapes of 3.3.11; a UTF-8 text; DATE,
    // DATE-TIME with a zone (its own wall-clock day) and a floating DATE-TIME.
    const QByteArray data =
        calendar(event("DTSTART;VALUE=DATE:20260301\nSUMMARY:This is a lo\n ng description\n"
                       "  that exists on a long line.") +
                 event("DTSTART;VALUE=DATE:20260302\nSUMMARY:Anna\\, Max\\; Tom \\\\ Co\\nJo") +
                 event("DTSTART;TZID=America/New_York:20260303T230000\nSUMMARY:Grüße €") +
                 event("DTSTART:20260304T000000\nSUMMARY:Floating"));
    for (const QByteArray& lineEnd : {QByteArray("\r\n"), QByteArray("\n")}) {
        const TReadResult read =
            Read(QByteArray(data).replace("\r\n", lineEnd), TListKind::Holidays, 2026, 2026);
        EXPECT_TRUE(read.Calendar);
        EXPECT_EQ(
            lines(read),
            (QStringList{QStringLiteral("2026-03-01 This is a long description that exists on a long line."),
                         QStringLiteral("2026-03-02 Anna, Max; Tom \\ Co Jo"),
                         QStringLiteral("2026-03-03 Grüße €"), QStringLiteral("2026-03-04 Floating")}));
        EXPECT_EQ(read.Unreadable, 0);
        EXPECT_EQ(read.ReplacedCharacters, 0);
    }
}

TEST(ICalendarRead, YearlyRulesFollowTheirRulesInTheYearsAskedFor) {
    const QByteArray data = calendar(
        event("DTSTART;VALUE=DATE:19901121\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH\nSUMMARY:Thanksgiving") +
        event("DTSTART;VALUE=DATE:20240229\nRRULE:FREQ=YEARLY\nSUMMARY:Schalttag") +
        event("DTSTART;VALUE=DATE:20250101\nRRULE:FREQ=YEARLY;COUNT=2\nSUMMARY:Zweimal") +
        event("DTSTART;VALUE=DATE:20250601\nRRULE:FREQ=YEARLY;UNTIL=20260101\nEXDATE;VALUE=DATE:20250601\n"
              "SUMMARY:Nie") +
        event("DTSTART;VALUE=DATE:20240510\nSUMMARY:Vorbei"));
    const TReadResult holidays = Read(data, TListKind::Holidays, 2026, 2028);
    EXPECT_EQ(
        lines(holidays),
        (QStringList{QStringLiteral("2026-11-26 Thanksgiving"), QStringLiteral("2027-11-25 Thanksgiving"),
                     QStringLiteral("2028-11-23 Thanksgiving"), QStringLiteral("2028-02-29 Schalttag"),
                     QStringLiteral("2026-01-01 Zweimal")}));
    EXPECT_EQ(holidays.OutsideYears, 2);

    // A birthday on 29 February is kept on 28 February in the other years.
    const TReadResult birthdays = Read(data, TListKind::Birthdays, 2026, 2028);
    EXPECT_EQ(lines(birthdays).filter(QStringLiteral("Schalttag")),
              (QStringList{QStringLiteral("2026-02-28 Schalttag"), QStringLiteral("2027-02-28 Schalttag"),
                           QStringLiteral("2028-02-29 Schalttag")}));
}

TEST(ICalendarRead, BadInputIsCountedAndTheRestRead) {
    // A broken rule, a broken date, a missing summary, a character outside Windows-1252 and bytes
    // that are not UTF-8, then a file cut off inside an event.
    QByteArray data =
        calendar(event("DTSTART;VALUE=DATE:20260101\nRRULE:FREQ=SOMETIMES;BYDAY=XX\nSUMMARY:Regel") +
                 event("DTSTART:garbage\nSUMMARY:Datum") + event("DTSTART;VALUE=DATE:20260102") +
                 event("DTSTART;VALUE=DATE:20260103\nSUMMARY:Kuchen \xF0\x9F\x8E\x82 \xE4\xB8\xAD") +
                 event("DTSTART;VALUE=DATE:20260104\nSUMMARY:M\xFCller") +
                 event("DTSTART;VALUE=DATE:20260105\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30\n"
                       "SUMMARY:Nie"));
    data.chop(QByteArray("END:VCALENDAR\r\n").size());
    data += "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20260106\r\nSUMM";
    const TReadResult read = Read(data, TListKind::Holidays, 2026, 2026);
    EXPECT_TRUE(read.Calendar);
    EXPECT_EQ(lines(read),
              (QStringList{QStringLiteral("2026-01-03 Kuchen ? ?"), QStringLiteral("2026-01-04 M?ller")}));
    EXPECT_EQ(read.ReplacedCharacters, 3);
    EXPECT_EQ(read.Events, 7);
    EXPECT_GE(read.Unreadable, 4); // rule, date, summary, the cut event (and its calendar)
    EXPECT_EQ(read.OutsideYears, 1);

    EXPECT_FALSE(Read(QByteArray("just some text\n"), TListKind::Holidays, 2026, 2026).Calendar);
    EXPECT_FALSE(Read(QByteArray(), TListKind::Holidays, 2026, 2026).Calendar);
}

TEST(ICalendarMerge, TextsAlreadyThereAreSkippedSoASecondImportAddsNothing) {
    TKalenderTageListe list;
    list.Add(QStringLiteral("Neujahr, Oma"), QStringLiteral(", "), QDate(2026, 1, 1));
    const std::vector<TIcsEntry> entries{{QDate(2026, 1, 1), QStringLiteral("Oma")},
                                         {QDate(2026, 1, 1), QStringLiteral("Neujahr, Oma")},
                                         {QDate(2026, 1, 1), QStringLiteral("Fest")},
                                         {QDate(2026, 1, 2), QStringLiteral("Fest")}};
    const TMergeResult first = Merge(entries, list);
    EXPECT_EQ(first.Added, 2);
    EXPECT_EQ(first.Present, 2);
    EXPECT_EQ(lines(list), (QStringList{QStringLiteral("2026-01-01 Neujahr, Oma, Fest"),
                                        QStringLiteral("2026-01-02 Fest")}));
    EXPECT_EQ(Merge(entries, list).Added, 0);
}

TEST(ICalendarWrite, AnExportReadsBackIntoTheSameLists) {
    TKalenderTageListe holidays, birthdays;
    holidays.Add(QStringLiteral("Maifeiertag, Christi Himmelfahrt"), QStringLiteral(", "), QDate(2008, 5, 1));
    holidays.Add(QStringLiteral("Tag; mit \\ Zeichen € und ein sehr langer Text, der über die Zeilenlänge "
                                "hinausgeht und gefaltet werden muss"),
                 QStringLiteral(", "), QDate(2008, 12, 24));
    birthdays.Add(QStringLiteral("Anna, Max"), QStringLiteral(", "), QDate(2008, 3, 12));
    birthdays.Add(QStringLiteral("Leo"), QStringLiteral(", "), QDate(2008, 2, 29));
    const QByteArray file = Write(holidays, birthdays);
    EXPECT_TRUE(file.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(file.contains("SUMMARY:Anna\\, Max\r\n"));
    for (const QByteArray& line : file.split('\n'))
        EXPECT_LE(line.size(), 76) << "folded at 75 octets";

    TKalenderTageListe holidaysAgain, birthdaysAgain;
    Merge(Read(file, TListKind::Holidays, 2008, 2008).Entries, holidaysAgain);
    Merge(Read(file, TListKind::Birthdays, 2008, 2008).Entries, birthdaysAgain);
    EXPECT_EQ(lines(holidaysAgain), lines(holidays));
    EXPECT_EQ(lines(birthdaysAgain), lines(birthdays));

    // Birthdays recur; the leap-day one on 28 February of other years, for other programs too.
    const TReadResult later = Read(file, TListKind::Birthdays, 2009, 2009);
    EXPECT_EQ(lines(later),
              (QStringList{QStringLiteral("2009-02-28 Leo"), QStringLiteral("2009-03-12 Anna, Max")}));
    EXPECT_EQ(later.OtherList, 2);
}

TEST(ICalendarImport, IsTheDialogsOneUndoStepAndKeepsWhatWasTyped) {
    UndoManager().Clear();
    TFBDocument document;
    document.Feiertage.Add(QStringLiteral("Neujahr"), QStringLiteral(", "), QDate(2026, 1, 1));
    document.Modified = false;
    const TReadResult read = Read(calendar(event("DTSTART;VALUE=DATE:20260101\nSUMMARY:Neujahr") +
                                           event("DTSTART;VALUE=DATE:20260704\nSUMMARY:Sommerfest")),
                                  TListKind::Holidays, 2026, 2026);
    {
        TKalenderTageBearbeitung dialog(document, 2026, 1);
        dialog.Model().SetCellText(1, TKalenderTageModel::FeiertageColumn, QStringLiteral("Getippt"));
        const TMergeResult merged = dialog.Importiere(read, TListKind::Holidays);
        EXPECT_EQ(merged.Added, 1);
        EXPECT_EQ(merged.Present, 1);
        EXPECT_TRUE(document.Modified);
        EXPECT_EQ(UndoManager().Count(), 1);
        EXPECT_EQ(dialog.Model().CellText(1, TKalenderTageModel::FeiertageColumn), QStringLiteral("Getippt"));
        EXPECT_EQ(dialog.Model().CellText(184, TKalenderTageModel::FeiertageColumn),
                  QStringLiteral("Sommerfest"));
        EXPECT_FALSE(dialog.Uebernehmen()) << "the import took the table along";
        EXPECT_EQ(UndoManager().Count(), 1);
    }
    EXPECT_EQ(document.Feiertage.Count(), 3);
    UndoManager().Undo(document);
    EXPECT_EQ(lines(document.Feiertage), QStringList{QStringLiteral("2026-01-01 Neujahr")});

    // Nothing new: no step, not modified.
    document.Modified = false;
    TKalenderTageBearbeitung again(document, 2026, 1);
    const TReadResult same = Read(calendar(event("DTSTART;VALUE=DATE:20260101\nSUMMARY:Neujahr")),
                                  TListKind::Holidays, 2026, 2026);
    EXPECT_EQ(again.Importiere(same, TListKind::Holidays).Added, 0);
    EXPECT_FALSE(document.Modified);
    EXPECT_EQ(UndoManager().Count(), 0);
    UndoManager().Clear();
}
