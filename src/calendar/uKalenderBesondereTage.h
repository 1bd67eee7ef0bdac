#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TCustomDataFile;

// The special days of a document: holidays and birthdays, each a date with a text. Dates are the
// stored date-times (days since 30 December 1899); entries made by the program carry no time part,
// and dates match only when they are exactly equal. A birthday belongs to its one date, not to the
// same day of other years.

// One special day.
class TKalendertagSpezial {
public:
    QString Text;
    double Datum = 0.0;

    QDate Date() const;
};

// The holidays or the birthdays of a document, in insertion order until something sorts them.
class TKalenderTageListe {
public:
    TKalenderTageListe() = default;
    TKalenderTageListe(const TKalenderTageListe&) = delete;
    TKalenderTageListe& operator=(const TKalenderTageListe&) = delete;

    // Joins the text to the entry of exactly this date (old text, separator, text), or appends a
    // new entry.
    void Add(const QString& text, const QString& separator, double date);
    void Add(const QString& text, const QString& separator, const QDate& date);
    // Removes the entries of all years.
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    const TKalendertagSpezial& Items(int index) const;
    // Position of the first entry of exactly this date, or -1.
    int IndexOfDate(double date) const;
    bool FindText(double date, QString& text) const;
    bool Contains(double date) const { return IndexOfDate(date) >= 0; }
    bool Contains(const QDate& date) const;

    // Orders the entries by date; entries of one date keep their order.
    void Sort();
    // Appends "dd.mm. text" (with the system's date separator) for every entry of the month, in
    // date order. The list itself is left as it is.
    void GetMonthEntries(int year, int month, QStringList& lines) const;
    // Those lines joined with the separator; empty when the month has none.
    QString GetMonthText(int year, int month, const QString& separator) const;
    // Sorts, then removes every entry of the year.
    void DeleteYear(int year);

    // "Anzahl", then per entry i the section + "/Item" + i with "Datum" and "Text".
    void Save(TCustomDataFile& file, const QString& section) const;
    // Appends the stored entries as they are (existing entries stay). A missing date reads as
    // today, a missing text as empty.
    void Load(TCustomDataFile& file, const QString& section);

private:
    std::vector<std::unique_ptr<TKalendertagSpezial>> items_;
};

// The separator the user's locale puts between day, month and year ("." in German).
QString SystemDateSeparator();

// Easter Sunday of a year of the Gregorian calendar.
QDate EasterSunday(int year);

// Replaces the year's entries of the list by the German public holidays of the year: the fixed
// dates and those that follow Easter Sunday, texts of one date joined by ", ". Entries of other
// years stay. The texts are German in every language.
void ComputeHolidays(TKalenderTageListe& list, int year);
