#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

class TKalenderTageListe;

// Calendar files (iCalendar, .ics) for the holidays and birthdays lists, read and written through
// libical, which unfolds lines, unescapes texts, knows DATE and DATE-TIME values and expands
// recurrence rules. Everything of libical stays inside this unit.
namespace ICalendar {

// Files beyond this are refused before anything is parsed.
constexpr qint64 kMaxFileBytes = qint64(32) << 20;

enum class TListKind { Holidays, Birthdays };

// One day an event falls on, with its text as a project can store it.
struct TIcsEntry {
    QDate Date;
    QString Text;
};

struct TReadResult {
    // False: the data holds no calendar at all (or is over kMaxFileBytes); nothing else is set.
    bool Calendar = false;
    // In file order; a recurring event's days in date order.
    std::vector<TIcsEntry> Entries;
    int Events = 0;       // events seen
    int Unreadable = 0;   // events (and stray lines) that could not be read
    int OtherList = 0;    // events our own export wrote for the other list
    int OutsideYears = 0; // readable events with no day in the years
    // Characters of the texts outside Windows-1252, each turned into "?".
    int ReplacedCharacters = 0;
};

// The events of `data` that fall into the years firstYear ... lastYear, for the list of `kind`.
// Yearly (and other) rules are expanded into those years. A yearly birthday on 29 February falls
// on 28 February in the other years; holidays follow the rules as written (29 February only). A
// file our export wrote keeps its two lists apart: importing it as holidays leaves its birthdays
// out and the other way round. Never throws: whatever cannot be read is counted in the result.
TReadResult Read(const QByteArray& data, TListKind kind, int firstYear, int lastYear);

// Reads the file at `path` the same way; its size is checked before it is read. Raises Exception
// when it cannot be read, is too large or holds no calendar.
TReadResult ReadFile(const QString& path, TListKind kind, int firstYear, int lastYear);

struct TMergeResult {
    int Added = 0;
    int Present = 0; // texts the date's entry already held
};

// Adds each entry's text to the list's entry of its date with ", ", unless that entry already
// holds the text as one of its ", "-separated parts (so a second import adds nothing).
TMergeResult Merge(const std::vector<TIcsEntry>& entries, TKalenderTageListe& list);

// The line that tells the user what an import did, in the interface language.
QString ImportReport(const TReadResult& calendar, const TMergeResult& merged);

// A calendar with one all-day event per holiday and one yearly event per birthday (a birthday
// of the same day and text in later years is the same event). Each event carries the list it
// came from, so that an import takes back what it exported.
QByteArray Write(const TKalenderTageListe& holidays, const TKalenderTageListe& birthdays);

} // namespace ICalendar
