// tintaro-cli new --product CODE [--year YEAR] [--pages N] OUT: builds a product of the catalogue as
// the new-project wizard does and saves it as a project file. The page count is the wizard's for
// the product unless given; calendars always have twelve month pages and a cover. The year (for
// calendars) defaults to this year.
#include "catalogue/uDateiNeuWizzard.h"
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"

#include <QDate>

#include <optional>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli new --product CODE [--year YEAR] [--pages N] OUT");
constexpr int kMaxPages = 1000;

bool isCalendarProduct(int code) {
    TFBDocument probe;
    return CreateProductDocument(probe, code, 2000, 1) && probe.IsCalendar();
}

int runNew(const QStringList& args, QTextStream& out) {
    std::optional<int> product;
    std::optional<int> year;
    std::optional<int> pages;
    QString target;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto value = [&]() -> const QString& {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value; %2").arg(arg, kUsage));
            return args[++i];
        };
        if (arg == QLatin1String("--product"))
            product = Cli::parseInt(value(), QStringLiteral("--product"));
        else if (arg == QLatin1String("--year"))
            year = Cli::parseInt(value(), QStringLiteral("--year"));
        else if (arg == QLatin1String("--pages"))
            pages = Cli::parseInt(value(), QStringLiteral("--pages"));
        else if (arg.startsWith(QLatin1String("--")))
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        else if (target.isEmpty())
            target = arg;
        else
            throw CliUsageError(kUsage);
    }
    if (!product || target.isEmpty())
        throw CliUsageError(kUsage);
    if (!IsProductCode(*product))
        throw CliUsageError(QStringLiteral("unknown product code %1").arg(*product));
    if (pages && (*pages < 1 || *pages > kMaxPages))
        throw CliUsageError(QStringLiteral("--pages must be between 1 and %1").arg(kMaxPages));
    if (pages && isCalendarProduct(*product))
        throw CliUsageError(QStringLiteral("--pages does not apply to calendars (12 months and a cover)"));

    TFBDocument document;
    const int y = year.value_or(QDate::currentDate().year());
    const int n = pages.value_or(WizardPageCount(*product));
    if (!CreateProductDocument(document, *product, y, n))
        throw CliUsageError(QStringLiteral("unknown product code %1").arg(*product));
    SaveDocumentToFile(document, target);
    out << target << ": product " << *product << ", " << document.Pages.Count() << " pages";
    if (document.IsCalendar()) {
        int month = 0, startYear = 0;
        document.GetCalendarStart(month, startYear);
        out << ", year " << startYear;
    }
    out << "\n";
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("new"), QStringLiteral("new --product CODE [--year YEAR] [--pages N] OUT"),
               QStringLiteral("create a project of a catalogue product and save it as OUT"), runNew}};

} // namespace
