#include "calendar/uKalenderBesondereTage.h"

#include "calendar/uKalender.h"
#include "document/uDataFile.h"
#include "document/uFotobuchList.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Orders entries (or pointers to them) by date.
constexpr auto earlierDate = [](const auto& a, const auto& b) { return a->Datum < b->Datum; };

// The section of entry i of a list stored under section.
QString itemSection(const QString& section, int i) {
    return section + QStringLiteral("/Item") + QString::number(i);
}

} // namespace

QDate TKalendertagSpezial::Date() const {
    return KalenderDaysToDate(Datum);
}

// ---------------------------------------------------------------------------------------------
// TKalenderTageListe

void TKalenderTageListe::Add(const QString& text, const QString& separator, double date) {
    const int index = IndexOfDate(date);
    if (index >= 0) {
        items_[index]->Text += separator + text;
        return;
    }
    auto item = std::make_unique<TKalendertagSpezial>();
    item->Text = text;
    item->Datum = date;
    items_.push_back(std::move(item));
}

void TKalenderTageListe::Add(const QString& text, const QString& separator, const QDate& date) {
    Add(text, separator, KalenderDateToDays(date));
}

const TKalendertagSpezial& TKalenderTageListe::Items(int index) const {
    if (index < 0 || index >= Count())
        ThrowListIndexError(index);
    return *items_[index];
}

int TKalenderTageListe::IndexOfDate(double date) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[i]->Datum == date)
            return i;
    return -1;
}

bool TKalenderTageListe::FindText(double date, QString& text) const {
    const int index = IndexOfDate(date);
    if (index < 0)
        return false;
    text = items_[index]->Text;
    return true;
}

bool TKalenderTageListe::Contains(const QDate& date) const {
    return date.isValid() && Contains(KalenderDateToDays(date));
}

void TKalenderTageListe::Sort() {
    // Stable, so that of two entries of one date the later one stays later.
    std::stable_sort(items_.begin(), items_.end(), earlierDate);
}

void TKalenderTageListe::GetMonthEntries(int year, int month, QStringList& lines) const {
    std::vector<const TKalendertagSpezial*> entries;
    for (const auto& item : items_) {
        const QDate date = item->Date();
        if (date.isValid() && date.year() == year && date.month() == month)
            entries.push_back(item.get());
    }
    std::stable_sort(entries.begin(), entries.end(), earlierDate);
    const QString separator = SystemDateSeparator();
    for (const TKalendertagSpezial* entry : entries) {
        const QDate date = entry->Date();
        lines.append(QStringLiteral("%1%2%3%2 %4")
                         .arg(date.day(), 2, 10, QLatin1Char('0'))
                         .arg(separator)
                         .arg(date.month(), 2, 10, QLatin1Char('0'))
                         .arg(entry->Text));
    }
}

QString TKalenderTageListe::GetMonthText(int year, int month, const QString& separator) const {
    QStringList lines;
    GetMonthEntries(year, month, lines);
    return lines.join(separator);
}

void TKalenderTageListe::DeleteYear(int year) {
    Sort();
    std::erase_if(items_, [year](const auto& item) {
        const QDate date = item->Date();
        return date.isValid() && date.year() == year;
    });
}

void TKalenderTageListe::Save(TCustomDataFile& file, const QString& section) const {
    file.WriteInteger(section, QStringLiteral("Anzahl"), Count());
    for (int i = 0; i < Count(); ++i) {
        const QString entrySection = itemSection(section, i);
        file.WriteFloat(entrySection, QStringLiteral("Datum"), items_[i]->Datum);
        file.WriteString(entrySection, QStringLiteral("Text"), items_[i]->Text);
    }
}

void TKalenderTageListe::Load(TCustomDataFile& file, const QString& section) {
    const int count = file.ReadInteger(section, QStringLiteral("Anzahl"), 0);
    const double today = KalenderDateToDays(QDate::currentDate());
    for (int i = 0; i < count; ++i) {
        const QString entrySection = itemSection(section, i);
        // A damaged count claims more entries than the file holds: stop at the first one that is
        // not there at all instead of filling the list with invented days.
        if (!file.FindItem(entrySection, QStringLiteral("Datum")) &&
            !file.FindItem(entrySection, QStringLiteral("Text")))
            break;
        auto item = std::make_unique<TKalendertagSpezial>();
        item->Datum = file.ReadFloat(entrySection, QStringLiteral("Datum"), today);
        // A value that is no number would break sorting and matching; it counts as missing.
        if (!std::isfinite(item->Datum))
            item->Datum = today;
        item->Text = file.ReadString(entrySection, QStringLiteral("Text"), QString());
        items_.push_back(std::move(item));
    }
}

// ---------------------------------------------------------------------------------------------

QString SystemDateSeparator() {
    // The first character of the short date format that is not part of a field.
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return QString(c);
    return QStringLiteral(".");
}

QDate EasterSunday(int year) {
    // Gauss's rule in the form with the lunar and solar corrections computed from the century.
    const int g = year % 19 + 1;
    const int c = year / 100 + 1;
    const int x = 3 * c / 4 - 12;
    const int z = (8 * c + 5) / 25 - 5;
    const int d = 5 * year / 4 - x - 10;
    int e = (11 * g + 20 + z - x) % 30;
    if (e < 0)
        e += 30;
    if ((e == 25 && g > 11) || e == 24)
        ++e;
    int n = 44 - e;
    if (n < 21)
        n += 30;
    n = n + 7 - (d + n) % 7;
    if (n > 31)
        return QDate(year, 4, n - 31);
    return QDate(year, 3, n);
}

void ComputeHolidays(TKalenderTageListe& list, int year) {
    const QDate easter = EasterSunday(year);
    const QString separator = QStringLiteral(", ");
    const auto add = [&](const char* text, const QDate& date) {
        list.Add(QString::fromUtf8(text), separator, date);
    };
    // Buß- und Bettag: the Wednesday before 23 November, the first Wednesday from 16 November on.
    const QDate november16(year, 11, 16);
    const QDate bussUndBettag = november16.addDays((3 - november16.dayOfWeek() + 7) % 7);

    // Only the year's own entries go: a calendar from September spans two years, and the holidays
    // of the other year stay as the user computed or typed them.
    list.DeleteYear(year);
    add("Neujahr", QDate(year, 1, 1));
    add("Maifeiertag", QDate(year, 5, 1));
    add("Tag der dt. Einheit", QDate(year, 10, 3));
    add("Hl. Abend", QDate(year, 12, 24));
    add("1. Weihnachtsfeiertag", QDate(year, 12, 25));
    add("2. Weihnachtsfeiertag", QDate(year, 12, 26));
    add("Silvester", QDate(year, 12, 31));
    add("Karfreitag", easter.addDays(-2));
    add("Ostersonntag", easter);
    add("Ostermontag", easter.addDays(1));
    add("Christi Himmelfahrt", easter.addDays(39));
    add("Pfingstsonntag", easter.addDays(49));
    add("Pfingstmontag", easter.addDays(50));
    add("Rosenmontag", easter.addDays(-48));
    add("Fastnacht", easter.addDays(-47));
    add("Aschermittwoch", easter.addDays(-46));
    add("Hl. 3 Könige", QDate(year, 1, 6));
    add("Fronleichnam", easter.addDays(60));
    add("Mariä Aufnahme", QDate(year, 8, 15));
    add("Reformationstag", QDate(year, 10, 31));
    add("Allerheiligen", QDate(year, 11, 1));
    add("Buß- und Bettag", bussUndBettag);
}
