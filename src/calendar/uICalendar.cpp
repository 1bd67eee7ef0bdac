#include "calendar/uICalendar.h"

#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uCodepage.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>
#include <tuple>

namespace ICalendar {

namespace {

// --- libical's objects, each freed by its owner --------------------------------------------------

struct TComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using TComponent = std::unique_ptr<icalcomponent, TComponentFree>;

struct TIteratorFree {
    void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
};
using TIterator = std::unique_ptr<icalrecur_iterator, TIteratorFree>;

struct TBufferFree {
    void operator()(char* text) const { icalmemory_free_buffer(text); }
};
using TBuffer = std::unique_ptr<char, TBufferFree>;

// Hands the parser the data like fgets: at most size - 1 bytes, up to and with the next newline.
struct TLineSource {
    const char* position;
    const char* end;
};

char* nextChunk(char* buffer, size_t size, void* data) {
    auto* source = static_cast<TLineSource*>(data);
    if (source->position >= source->end || size < 2)
        return nullptr;
    const size_t room = std::min<size_t>(size - 1, size_t(source->end - source->position));
    const void* newline = std::memchr(source->position, '\n', room);
    const size_t length = newline ? size_t(static_cast<const char*>(newline) - source->position) + 1 : room;
    std::memcpy(buffer, source->position, length);
    buffer[length] = '\0';
    source->position += length;
    return buffer;
}

// One parse of a whole text. Besides the complete calendars it keeps what an unterminated one
// (a file cut short) left open, closed with an error note; the parser owns that part.
class TParser {
public:
    explicit TParser(const QByteArray& text) : parser_(icalparser_new()) {
        if (!parser_)
            return;
        TLineSource source{text.constData(), text.constData() + text.size()};
        icalparser_set_gen_data(parser_, &source);
        complete_.reset(icalparser_parse(parser_, nextChunk));
        open_ = icalparser_clean(parser_);
    }
    ~TParser() {
        if (parser_)
            icalparser_free(parser_);
    }
    TParser(const TParser&) = delete;
    TParser& operator=(const TParser&) = delete;

    icalcomponent* Complete() const { return complete_.get(); }
    icalcomponent* Open() const { return open_; }

private:
    icalparser* parser_;
    TComponent complete_;
    icalcomponent* open_ = nullptr;
};

// By default a libical error may abort the process; here every error is a value to count.
void prepareLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { icalerror_set_errors_are_fatal(0); });
}

// The list an event of our own export belongs to.
const char* const kListProperty = "X-TINTARO-LISTE";
const char* const kHolidaysMark = "Feiertage";
const char* const kBirthdaysMark = "Geburtstage";

// However long a file is, reading it ends: after this much time the events not yet looked at are
// counted as unreadable.
constexpr qint64 kBudgetMs = 30000;
// Days kept from one file; beyond, further days count as unreadable events.
constexpr size_t kMaxEntries = 1000000;

// --- texts --------------------------------------------------------------------------------------

// The summary as a project can store it: line breaks and tabs become blanks, runs of blanks one,
// each character outside Windows-1252 (a surrogate pair is one) a "?".
QString storableText(const char* utf8, int& replaced) {
    const QString text = QString::fromUtf8(utf8);
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            result += u'?';
            ++replaced;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            result += u' ';
        } else if (Codepage::ansiOf(c.unicode()) < 0) {
            result += u'?';
            ++replaced;
        } else {
            result += c;
        }
    }
    return result.simplified();
}

// --- dates --------------------------------------------------------------------------------------

// The calendar day of a time as the file means it: a date as written, a time with a zone (or
// floating) on the day of its wall clock, a UTC time on the day it is here.
QDate dayOf(const icaltimetype& time) {
    const QDate date(time.year, time.month, time.day);
    if (!date.isValid() || time.is_date || !icaltime_is_utc(time))
        return date;
    const QDateTime utc(date, QTime(time.hour, time.minute, time.second), QTimeZone::utc());
    return utc.toLocalTime().date();
}

bool simpleYearly(const icalrecurrencetype& rule) {
    return rule.freq == ICAL_YEARLY_RECURRENCE && rule.by_month[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           rule.by_month_day[0] == ICAL_RECURRENCE_ARRAY_MAX && rule.by_day[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           rule.by_year_day[0] == ICAL_RECURRENCE_ARRAY_MAX &&
           rule.by_week_no[0] == ICAL_RECURRENCE_ARRAY_MAX && rule.by_set_pos[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

// A rule whose month days lie beyond every month it allows has no day at all; libical would look
// for one until its last year, which takes long.
bool noDayPossible(const icalrecurrencetype& rule) {
    if (rule.by_month_day[0] == ICAL_RECURRENCE_ARRAY_MAX)
        return false;
    static constexpr int kLongest[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int longest = 0;
    if (rule.by_month[0] == ICAL_RECURRENCE_ARRAY_MAX)
        longest = 31;
    for (int i = 0; i < ICAL_BY_MONTH_SIZE && rule.by_month[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int month = icalrecurrencetype_month_month(rule.by_month[i]);
        longest = std::max(longest, month >= 1 && month <= 12 ? kLongest[month] : 31);
    }
    for (int i = 0; i < ICAL_BY_MONTHDAY_SIZE && rule.by_month_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        if (std::abs(int(rule.by_month_day[i])) <= longest)
            return false;
    return true;
}

// A yearly birthday on 29 February is kept on the last day of February in every year.
void lastDayOfFebruary(icalrecurrencetype& rule) {
    rule.by_month[0] = 2;
    rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
    rule.by_month_day[0] = -1;
    rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
}

class TReader {
public:
    TReader(TListKind kind, int firstYear, int lastYear)
        : kind_(kind), firstYear_(firstYear), lastYear_(lastYear) {
        timer_.start();
    }

    // A calendar, a set of them or a lone event.
    void Take(icalcomponent* root) {
        const icalcomponent_kind kind = icalcomponent_isa(root);
        if (kind == ICAL_VEVENT_COMPONENT)
            event(root);
        else if (kind == ICAL_VCALENDAR_COMPONENT || kind == ICAL_XROOT_COMPONENT)
            Collect(root);
        else
            ++result_.Unreadable;
    }

    void Collect(icalcomponent* component) {
        result_.Unreadable += icalcomponent_count_properties(component, ICAL_XLICERROR_PROPERTY);
        for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); child;
             child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
            const icalcomponent_kind kind = icalcomponent_isa(child);
            if (kind == ICAL_VEVENT_COMPONENT)
                event(child);
            else if (kind == ICAL_VCALENDAR_COMPONENT || kind == ICAL_XROOT_COMPONENT)
                Collect(child);
        }
    }

    TReadResult Result() { return std::move(result_); }

private:
    void event(icalcomponent* event) {
        ++result_.Events;
        if (timer_.elapsed() > kBudgetMs || result_.Entries.size() >= kMaxEntries ||
            icalcomponent_count_properties(event, ICAL_XLICERROR_PROPERTY) > 0) {
            ++result_.Unreadable;
            return;
        }
        if (belongsToOtherList(event)) {
            ++result_.OtherList;
            return;
        }
        icalproperty* startProperty = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        const icaltimetype start =
            startProperty ? icalproperty_get_dtstart(startProperty) : icaltime_null_time();
        const char* summary = icalcomponent_get_summary(event);
        if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start) || !dayOf(start).isValid() ||
            !summary) {
            ++result_.Unreadable;
            return;
        }
        int replaced = 0;
        const QString text = storableText(summary, replaced);
        if (text.isEmpty()) {
            ++result_.Unreadable;
            return;
        }

        std::vector<QDate> days;
        if (!occurrences(event, start, days)) {
            ++result_.Unreadable;
            return;
        }
        result_.ReplacedCharacters += replaced;
        if (days.empty()) {
            ++result_.OutsideYears;
            return;
        }
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
        for (const QDate& day : days)
            result_.Entries.push_back({day, text});
    }

    bool belongsToOtherList(icalcomponent* event) const {
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
            const char* name = icalproperty_get_x_name(p);
            const char* value = icalproperty_get_x(p);
            if (!name || !value || qstricmp(name, kListProperty) != 0)
                continue;
            const char* other = kind_ == TListKind::Holidays ? kBirthdaysMark : kHolidaysMark;
            return qstricmp(value, other) == 0;
        }
        return false;
    }

    bool inYears(const QDate& day) const { return day.year() >= firstYear_ && day.year() <= lastYear_; }

    // The event's days in the years, without its excluded days. False for a rule that cannot be
    // followed.
    bool occurrences(icalcomponent* event, const icaltimetype& start, std::vector<QDate>& days) const {
        QSet<QDate> excluded;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
            excluded.insert(dayOf(icalproperty_get_exdate(p)));

        icalproperty* ruleProperty = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (!ruleProperty) {
            const QDate day = dayOf(start);
            if (inYears(day) && !excluded.contains(day))
                days.push_back(day);
            return true;
        }
        for (; ruleProperty; ruleProperty = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
            icalrecurrencetype rule = icalproperty_get_rrule(ruleProperty);
            if (rule.freq == ICAL_NO_RECURRENCE)
                return false;
            if (kind_ == TListKind::Birthdays && start.month == 2 && start.day == 29 && simpleYearly(rule))
                lastDayOfFebruary(rule);
            if (noDayPossible(rule))
                continue;
            TIterator iterator(icalrecur_iterator_new(rule, start));
            if (!iterator)
                return false;
            // Rules finer than a year jump to the first year (not possible with a count, which
            // counts from the start). A yearly rule from the start takes a few hundred steps.
            if (rule.freq != ICAL_YEARLY_RECURRENCE && rule.count == 0 && start.year < firstYear_) {
                icaltimetype from = start;
                from.year = firstYear_;
                from.month = 1;
                from.day = 1;
                icalrecur_iterator_set_start(iterator.get(), from);
            }
            const int maxSteps = std::max(2000, 400 * (lastYear_ - firstYear_ + 1));
            for (int step = 0; step < maxSteps; ++step) {
                const icaltimetype next = icalrecur_iterator_next(iterator.get());
                if (icaltime_is_null_time(next))
                    break;
                const QDate day = dayOf(next);
                if (!day.isValid() || day.year() > lastYear_)
                    break;
                if (inYears(day) && !excluded.contains(day))
                    days.push_back(day);
            }
        }
        return true;
    }

    TListKind kind_;
    int firstYear_;
    int lastYear_;
    QElapsedTimer timer_;
    TReadResult result_;
};

// --- writing ------------------------------------------------------------------------------------

icaltimetype dateValue(const QDate& date) {
    icaltimetype time = icaltime_null_date();
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    time.is_date = 1;
    return time;
}

void addEvent(icalcomponent* calendar, const QDate& date, const QString& text, const char* mark, bool yearly,
              int number) {
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const QByteArray uid =
        QStringLiteral("%1-%2-%3@tintaro.io")
            .arg(QString::fromLatin1(mark).toLower(), date.toString(QStringLiteral("yyyyMMdd")))
            .arg(number)
            .toUtf8();
    icalcomponent_add_property(event, icalproperty_new_uid(uid.constData()));
    icalcomponent_add_property(
        event, icalproperty_new_dtstamp(icaltime_current_time_with_zone(icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(event, icalproperty_new_dtstart(dateValue(date)));
    icalcomponent_add_property(event, icalproperty_new_dtend(dateValue(date.addDays(1))));
    if (yearly) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = ICAL_YEARLY_RECURRENCE;
        if (date.month() == 2 && date.day() == 29)
            lastDayOfFebruary(rule);
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
    }
    icalcomponent_add_property(event, icalproperty_new_summary(text.toUtf8().constData()));
    icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    icalproperty* list = icalproperty_new_x(mark);
    icalproperty_set_x_name(list, kListProperty);
    icalcomponent_add_property(event, list);
    icalcomponent_add_component(calendar, event);
}

} // namespace

TReadResult Read(const QByteArray& data, TListKind kind, int firstYear, int lastYear) {
    prepareLibrary();
    TReadResult none;
    if (data.size() > kMaxFileBytes)
        return none;
    firstYear = std::clamp(firstYear, kKalenderMinJahr, kKalenderMaxJahr);
    lastYear = std::clamp(lastYear, firstYear, kKalenderMaxJahr);
    // The parser reads a C string: a zero byte would end the file early.
    QByteArray text = data;
    text.replace('\0', ' ');
    const TParser parser(text);
    if (!parser.Complete() && !parser.Open())
        return none;
    TReader reader(kind, firstYear, lastYear);
    for (icalcomponent* root : {parser.Complete(), parser.Open()})
        if (root)
            reader.Take(root);
    TReadResult result = reader.Result();
    // Text without a single calendar line is no calendar file.
    const bool calendarFound = result.Events > 0 || [&] {
        for (icalcomponent* root : {parser.Complete(), parser.Open()})
            if (root && icalcomponent_isa(root) != ICAL_XLICINVALID_COMPONENT &&
                icalcomponent_isa(root) != ICAL_NO_COMPONENT)
                return true;
        return false;
    }();
    if (!calendarFound)
        return none;
    result.Calendar = true;
    return result;
}

TReadResult ReadFile(const QString& path, TListKind kind, int firstYear, int lastYear) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(Translate(QStringLiteral("Die Datei %1 kann nicht gelesen werden.")).arg(name));
    if (file.size() > kMaxFileBytes)
        throw Exception(Translate(QStringLiteral("Die Datei %1 ist zu groß.")).arg(name));
    const QByteArray data = file.readAll();
    TReadResult result = Read(data, kind, firstYear, lastYear);
    if (!result.Calendar)
        throw Exception(Translate(QStringLiteral("Die Datei %1 ist keine Kalenderdatei.")).arg(name));
    return result;
}

TMergeResult Merge(const std::vector<TIcsEntry>& entries, TKalenderTageListe& list) {
    TMergeResult result;
    // The parts of each touched date's entry, so many texts on one day stay quick to look up.
    QHash<qint64, QSet<QString>> parts;
    const QString separator = QStringLiteral(", ");
    for (const TIcsEntry& entry : entries) {
        const double date = KalenderDateToDays(entry.Date);
        const qint64 key = qint64(date);
        auto found = parts.find(key);
        QString existing;
        const bool exists = list.FindText(date, existing);
        if (found == parts.end()) {
            QSet<QString> own;
            if (exists)
                for (const QString& part : existing.split(separator))
                    own.insert(part);
            found = parts.insert(key, own);
        }
        const bool present =
            found->contains(entry.Text) ||
            (exists && entry.Text.contains(separator) &&
             (separator + existing + separator).contains(separator + entry.Text + separator));
        if (present) {
            ++result.Present;
            continue;
        }
        list.Add(entry.Text, separator, date);
        found->insert(entry.Text);
        ++result.Added;
    }
    return result;
}

QString ImportReport(const TReadResult& calendar, const TMergeResult& merged) {
    return Translate(QStringLiteral("%1 Einträge übernommen, %2 schon vorhanden, %3 außerhalb der "
                                    "Kalenderjahre, %4 nicht lesbar, %5 Zeichen durch \"?\" ersetzt."))
        .arg(merged.Added)
        .arg(merged.Present)
        .arg(calendar.OutsideYears)
        .arg(calendar.Unreadable)
        .arg(calendar.ReplacedCharacters);
}

QByteArray Write(const TKalenderTageListe& holidays, const TKalenderTageListe& birthdays) {
    prepareLibrary();
    TComponent calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Tintaro//Tintaro Print Kit//DE"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));

    const auto byDate = [](const TKalenderTageListe& list) {
        std::vector<std::pair<QDate, QString>> entries;
        for (int i = 0; i < list.Count(); ++i) {
            const QDate date = KalenderDaysToDate(list.Items(i).Datum);
            if (date.isValid() && !list.Items(i).Text.isEmpty())
                entries.emplace_back(date, list.Items(i).Text);
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return entries;
    };
    int number = 0;
    for (const auto& [date, text] : byDate(holidays))
        addEvent(calendar.get(), date, text, kHolidaysMark, false, number++);
    // A birthday recurs: the same day and text of a later year is already its event.
    // An event on 29 February also stands for 28 February of the years without one.
    std::set<std::tuple<int, int, QString>> written;
    for (const auto& [date, text] : byDate(birthdays)) {
        const bool standIn = date.month() == 2 && date.day() == 28 && !QDate::isLeapYear(date.year());
        if (written.count({date.month(), date.day(), text}) || (standIn && written.count({2, 29, text})))
            continue;
        written.insert({date.month(), date.day(), text});
        addEvent(calendar.get(), date, text, kBirthdaysMark, true, number++);
    }
    TBuffer text(icalcomponent_as_ical_string_r(calendar.get()));
    return text ? QByteArray(text.get()) : QByteArray();
}

} // namespace ICalendar
