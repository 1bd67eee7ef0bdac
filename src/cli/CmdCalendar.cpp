// tintaro-cli calendar FILE --set KEY=VALUE... [--element P:E | --all]: changes calendar settings
// the way the calendar properties dialog applies them, and saves the project in place. KEY is a
// stored key name ("FontHeight", "ShowMonatJahrOnBottom", "Color"), a padding side
// ("CellPadding.Left") or a font part ("MonatJahrFont.Style"). P counts pages and E the page's
// calendars, both from 0; without --element the first calendar of the project is changed, with
// --all every calendar takes its settings and keeps its own month and year. Either every value
// converts and the file is saved, or nothing changes.
#include "calendar/uKalenderEigenschaften.h"
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uUndo.h"
#include "platform/Exception.h"

namespace {

const QString kUsage =
    QStringLiteral("usage: tintaro-cli calendar FILE --set KEY=VALUE... [--element P:E | --all]");

struct TCalendarArgs {
    QString file;
    QList<std::pair<QString, QString>> settings;
    int page = -1;
    int element = -1;
    bool all = false;
};

TCalendarArgs parse(const QStringList& args) {
    TCalendarArgs parsed;
    bool haveElement = false;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--set")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--set needs KEY=VALUE; %1").arg(kUsage));
            const QString setting = args[++i];
            const qsizetype eq = setting.indexOf(u'=');
            if (eq <= 0)
                throw CliUsageError(QStringLiteral("--set needs KEY=VALUE, not \"%1\"").arg(setting));
            parsed.settings.append({setting.left(eq), setting.mid(eq + 1)});
        } else if (arg == QLatin1String("--element")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--element needs P:E; %1").arg(kUsage));
            const QStringList parts = args[++i].split(u':');
            if (parts.size() != 2)
                throw CliUsageError(QStringLiteral("--element needs P:E, not \"%1\"").arg(args[i]));
            parsed.page = Cli::parseInt(parts[0], QStringLiteral("P"));
            parsed.element = Cli::parseInt(parts[1], QStringLiteral("E"));
            haveElement = true;
        } else if (arg == QLatin1String("--all")) {
            parsed.all = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 1 || parsed.settings.isEmpty())
        throw CliUsageError(kUsage);
    if (haveElement && parsed.all)
        throw CliUsageError(QStringLiteral("--element and --all exclude each other"));
    parsed.file = positional.first();
    return parsed;
}

TFBKalenderElement* chosenCalendar(const TFBDocument& document, const TCalendarArgs& args) {
    if (args.page < 0) {
        for (const TFBPage* page : document.Pages)
            if (page->Calendars.Count() > 0)
                return page->Calendar(0);
        throw CliUsageError(QStringLiteral("the project has no calendar"));
    }
    if (args.page >= document.Pages.Count())
        throw CliUsageError(QStringLiteral("page %1 does not exist (the project has %2 pages)")
                                .arg(args.page)
                                .arg(document.Pages.Count()));
    const TFBPage* page = document.Pages.Items(args.page);
    if (args.element < 0 || args.element >= page->Calendars.Count())
        throw CliUsageError(QStringLiteral("calendar %1 does not exist on page %2 (it has %3)")
                                .arg(args.element)
                                .arg(args.page)
                                .arg(page->Calendars.Count()));
    return page->Calendar(args.element);
}

int runCalendar(const QStringList& args, QTextStream& out) {
    const TCalendarArgs parsed = parse(args);
    Cli::requireFile(parsed.file);

    TFBDocument document;
    LoadDocumentFromFile(document, parsed.file);
    TFBKalenderElement* calendar = chosenCalendar(document, parsed);

    const QLocale locale = KalenderZahlLocale();
    TKalenderPropWerte werte = TKalenderPropWerte::Show(*calendar->Data, locale);
    for (const auto& [key, value] : parsed.settings) {
        try {
            SetKalenderWertByKey(werte, key, value);
        } catch (const Exception& e) {
            throw CliUsageError(e.message());
        }
    }
    ApplyKalenderEigenschaften(*calendar, werte, parsed.all ? TKalenderApply::All : TKalenderApply::One,
                               locale);
    UndoManager().Clear();
    SaveDocumentToFile(document, parsed.file);

    int calendars = 1;
    if (parsed.all) {
        calendars = 0;
        for (const TFBPage* page : document.Pages)
            calendars += page->Calendars.Count();
    }
    out << "calendars=" << calendars << " settings=" << parsed.settings.size() << '\n';
    return 0;
}

CliRegistration reg{CliCommand{
    QStringLiteral("calendar"), QStringLiteral("calendar FILE --set KEY=VALUE... [--element P:E | --all]"),
    QStringLiteral("changes calendar settings as the properties dialog does"), runCalendar}};

} // namespace
