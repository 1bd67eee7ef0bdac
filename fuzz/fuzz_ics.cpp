// Reads arbitrary bytes as a calendar file into both lists and checks what an import promises:
// every day lies in the years asked for and has a storable text, a second import adds nothing,
// and the export of the lists reads back into the same holidays and into birthdays that hold at
// least the exported ones (a birthday recurs, so later years may gain it, also joined with others).
#include "calendar/uICalendar.h"
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "platform/uCodepage.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

constexpr int kFirstYear = 2024;
constexpr int kLastYear = 2026;

std::set<std::pair<double, QString>> entriesOf(const TKalenderTageListe& list) {
    std::set<std::pair<double, QString>> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.emplace(list.Items(i).Datum, list.Items(i).Text);
    return entries;
}

// Every text of `inner` is on its date in `outer`, alone or joined with others.
bool holdsAll(const std::set<std::pair<double, QString>>& outer,
              const std::set<std::pair<double, QString>>& inner) {
    const QString separator = QStringLiteral(", ");
    for (const auto& wanted : inner) {
        const auto found = std::find_if(outer.begin(), outer.end(), [&](const auto& e) {
            return e.first == wanted.first &&
                   (separator + e.second + separator).contains(separator + wanted.second + separator);
        });
        if (found == outer.end())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TKalenderTageListe lists[2];
    const ICalendar::TListKind kinds[2] = {ICalendar::TListKind::Holidays, ICalendar::TListKind::Birthdays};
    for (int k = 0; k < 2; ++k) {
        const ICalendar::TReadResult read = ICalendar::Read(bytes, kinds[k], kFirstYear, kLastYear);
        for (const ICalendar::TIcsEntry& entry : read.Entries) {
            if (entry.Date.year() < kFirstYear || entry.Date.year() > kLastYear || entry.Text.isEmpty())
                std::abort();
            for (const QChar c : entry.Text)
                if (Codepage::ansiOf(c.unicode()) < 0 || c.unicode() < 0x20)
                    std::abort();
        }
        ICalendar::Merge(read.Entries, lists[k]);
        if (ICalendar::Merge(read.Entries, lists[k]).Added != 0)
            std::abort();
    }

    const QByteArray exported = ICalendar::Write(lists[0], lists[1]);
    for (int k = 0; k < 2; ++k) {
        TKalenderTageListe again;
        ICalendar::Merge(ICalendar::Read(exported, kinds[k], kFirstYear, kLastYear).Entries, again);
        const auto before = entriesOf(lists[k]);
        const auto after = entriesOf(again);
        if (k == 0 ? after != before : !holdsAll(after, before))
            std::abort();
    }
    return 0;
}
