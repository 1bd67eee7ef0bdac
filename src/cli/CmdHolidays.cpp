// tintaro-cli holidays YEAR: the German public holidays of a year as the holidays dialog computes
// them, in date order, one line each: the date as YYYY-MM-DD, a tab and the text (texts of one
// date joined by ", ").
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "cli/CliCommand.h"

namespace {

int runHolidays(const QStringList& args, QTextStream& out) {
    if (args.size() != 1)
        throw CliUsageError(QStringLiteral("usage: tintaro-cli holidays YEAR"));
    const int year = Cli::parseInt(args.first(), QStringLiteral("YEAR"));
    if (year < kKalenderMinJahr || year > kKalenderMaxJahr)
        throw CliUsageError(QStringLiteral("YEAR must lie between %1 and %2, not %3")
                                .arg(kKalenderMinJahr)
                                .arg(kKalenderMaxJahr)
                                .arg(year));

    TKalenderTageListe holidays;
    ComputeHolidays(holidays, year);
    holidays.Sort();
    for (int i = 0; i < holidays.Count(); ++i) {
        const TKalendertagSpezial& entry = holidays.Items(i);
        out << entry.Date().toString(Qt::ISODate) << '\t' << entry.Text << '\n';
    }
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("holidays"), QStringLiteral("holidays YEAR"),
                               QStringLiteral("the German public holidays of a year (1700-2500), by date"),
                               runHolidays}};

} // namespace
