// tintaro-cli special-days FILE [--compute-holidays YEAR] [--add-birthday DD.MM.YYYY TEXT]...
// [--import-ics CAL.ics --as holiday|birthday [--year Y]] [--export-ics OUT.ics] [--list]:
// edits the project's holidays and birthdays the way the holidays and birthdays dialog does, in
// the order given, and saves the project in place when anything was asked to change (an import
// that adds nothing leaves it untouched). An import reads a calendar file into one list for the
// years of the project's calendars (or the one --year) and reports on one line what it added,
// what was there already and what it could not read. --export-ics writes both lists as a
// calendar file afterwards. --list prints every entry afterwards, by date, one line each:
// YYYY-MM-DD, a tab, "holiday" or "birthday", a tab and the text.
#include "calendar/uKalender.h"
#include "calendar/uKalenderBesondereTage.h"
#include "calendar/uKalenderTageTabelle.h"
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uUndo.h"
#include "platform/uAtomicFile.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString kSynopsis =
    QStringLiteral("special-days FILE [--compute-holidays YEAR] [--add-birthday DD.MM.YYYY TEXT]... "
                   "[--import-ics CAL.ics --as holiday|birthday [--year Y]] [--export-ics OUT.ics] [--list]");
const QString kUsage = QStringLiteral("usage: tintaro-cli ") + kSynopsis;

struct TAction {
    enum Kind { Compute, Birthday, Import };
    Kind kind = Compute;
    int year = 0;
    QDate date;
    QString text;
};

int checkedYear(int year) {
    if (year < kKalenderMinJahr || year > kKalenderMaxJahr)
        throw CliUsageError(QStringLiteral("YEAR must lie between %1 and %2, not %3")
                                .arg(kKalenderMinJahr)
                                .arg(kKalenderMaxJahr)
                                .arg(year));
    return year;
}

void list(const TFBDocument& document, QTextStream& out) {
    struct TLine {
        double date;
        int kind;
        QString text;
    };
    std::vector<TLine> lines;
    const auto collect = [&](const TKalenderTageListe& entries, int kind) {
        for (int i = 0; i < entries.Count(); ++i)
            lines.push_back({entries.Items(i).Datum, kind, entries.Items(i).Text});
    };
    collect(document.Feiertage, 0);
    collect(document.Geburtstage, 1);
    std::stable_sort(lines.begin(), lines.end(), [](const TLine& a, const TLine& b) {
        const double da = std::floor(a.date), db = std::floor(b.date);
        return da != db ? da < db : a.kind < b.kind;
    });
    for (const TLine& line : lines) {
        const QDate date = KalenderDaysToDate(line.date);
        QString text = line.text;
        text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        out << (date.isValid() ? date.toString(Qt::ISODate) : QStringLiteral("invalid")) << '\t'
            << (line.kind == 0 ? "holiday" : "birthday") << '\t' << text << '\n';
    }
}

int runSpecialDays(const QStringList& args, QTextStream& out) {
    QStringList positional;
    QList<TAction> actions;
    bool showList = false;
    ICalendar::TListKind importKind = ICalendar::TListKind::Holidays;
    bool haveKind = false;
    int importYear = 0;
    QString exportPath;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--compute-holidays")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--compute-holidays needs YEAR; %1").arg(kUsage));
            TAction action;
            action.kind = TAction::Compute;
            action.year = checkedYear(Cli::parseInt(args[++i], QStringLiteral("YEAR")));
            actions << action;
        } else if (arg == QLatin1String("--add-birthday")) {
            if (i + 2 >= args.size())
                throw CliUsageError(QStringLiteral("--add-birthday needs DD.MM.YYYY TEXT; %1").arg(kUsage));
            TAction action;
            action.kind = TAction::Birthday;
            action.date = QDate::fromString(args[++i], QStringLiteral("dd.MM.yyyy"));
            if (!action.date.isValid())
                throw CliUsageError(QStringLiteral("\"%1\" is no date DD.MM.YYYY").arg(args[i]));
            checkedYear(action.date.year());
            action.text = args[++i].trimmed();
            if (action.text.isEmpty())
                throw CliUsageError(QStringLiteral("the birthday text is empty"));
            if (!TKalenderTageModel::IsStorable(action.text))
                throw CliUsageError(QStringLiteral("the text \"%1\" holds characters a project cannot store")
                                        .arg(action.text));
            actions << action;
        } else if (arg == QLatin1String("--import-ics")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--import-ics needs CAL.ics; %1").arg(kUsage));
            TAction action;
            action.kind = TAction::Import;
            action.text = args[++i];
            actions << action;
        } else if (arg == QLatin1String("--as")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--as needs holiday or birthday; %1").arg(kUsage));
            const QString kind = args[++i];
            if (kind == QLatin1String("holiday"))
                importKind = ICalendar::TListKind::Holidays;
            else if (kind == QLatin1String("birthday"))
                importKind = ICalendar::TListKind::Birthdays;
            else
                throw CliUsageError(QStringLiteral("--as must be holiday or birthday, not \"%1\"").arg(kind));
            haveKind = true;
        } else if (arg == QLatin1String("--year")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--year needs YEAR; %1").arg(kUsage));
            importYear = checkedYear(Cli::parseInt(args[++i], QStringLiteral("YEAR")));
        } else if (arg == QLatin1String("--export-ics")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--export-ics needs OUT.ics; %1").arg(kUsage));
            exportPath = args[++i];
        } else if (arg == QLatin1String("--list")) {
            showList = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        } else {
            positional << arg;
        }
    }
    const bool imports = std::any_of(actions.begin(), actions.end(),
                                     [](const TAction& a) { return a.kind == TAction::Import; });
    if (positional.size() != 1 || (actions.isEmpty() && !showList && exportPath.isEmpty()))
        throw CliUsageError(kUsage);
    if (imports != haveKind)
        throw CliUsageError(imports ? QStringLiteral("--import-ics needs --as holiday|birthday")
                                    : QStringLiteral("--as belongs to --import-ics"));
    if (importYear != 0 && !imports)
        throw CliUsageError(QStringLiteral("--year belongs to --import-ics"));
    const QString file = positional.first();
    Cli::requireFile(file);

    TFBDocument document;
    LoadDocumentFromFile(document, file);
    bool edits = false;
    for (const TAction& action : actions) {
        if (action.kind == TAction::Import) {
            Cli::requireFile(action.text, QStringLiteral("calendar file"));
            int first = importYear, last = importYear;
            if (importYear == 0) {
                const auto years = KalenderJahre(document);
                if (!years)
                    throw CliUsageError(QStringLiteral("the project has no calendars; give --year"));
                first = years->first;
                last = years->second;
            }
            const ICalendar::TReadResult calendar = ICalendar::ReadFile(action.text, importKind, first, last);
            TKalenderTageBearbeitung dialog(document, first, 1);
            const ICalendar::TMergeResult merged = dialog.Importiere(calendar, importKind);
            out << QStringLiteral("%1: %2 added, %3 already there, %4 unreadable, %5 outside the years, "
                                  "%6 of the other list, %7 characters replaced by \"?\"\n")
                       .arg(QFileInfo(action.text).fileName())
                       .arg(merged.Added)
                       .arg(merged.Present)
                       .arg(calendar.Unreadable)
                       .arg(calendar.OutsideYears)
                       .arg(calendar.OtherList)
                       .arg(calendar.ReplacedCharacters);
            continue;
        }
        edits = true;
        if (action.kind == TAction::Compute) {
            TKalenderTageBearbeitung dialog(document, action.year, 1);
            dialog.BerechneFeiertage();
        } else {
            // As typed into the birthday cell of that day, behind what the cell shows, then OK.
            TKalenderTageBearbeitung dialog(document, action.date.year(), action.date.month());
            TKalenderTageModel& table = dialog.Model();
            const int row = table.RowOfDate(action.date);
            const QString shown = table.CellText(row, TKalenderTageModel::GeburtstageColumn);
            table.SetCellText(row, TKalenderTageModel::GeburtstageColumn,
                              shown.isEmpty() ? action.text : shown + QStringLiteral(", ") + action.text);
            dialog.Uebernehmen();
        }
    }
    UndoManager().Clear();
    if (edits || document.Modified)
        SaveDocumentToFile(document, file);
    if (!exportPath.isEmpty()) {
        const QByteArray calendar = ICalendar::Write(document.Feiertage, document.Geburtstage);
        TAtomicFile output(exportPath);
        if (calendar.isEmpty() || output.write(calendar) != calendar.size())
            throw CliUsageError(QStringLiteral("cannot write %1").arg(exportPath));
        output.Commit();
    }
    if (showList)
        list(document, out);
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("special-days"), kSynopsis,
                               QStringLiteral("computes holidays, adds birthdays, reads and writes calendar "
                                              "files and lists the special days"),
                               runSpecialDays}};

} // namespace
