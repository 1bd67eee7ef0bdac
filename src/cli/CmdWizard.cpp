// tintaro-cli wizard [--today YYYY-MM-DD]: prints the new-project wizard's tree of choices as one
// JSON object, the calendar years as offered on that day (default today). Every step has the keys
// caption, heading, picture, code (0 when none), year ("" when none) and children, in that order.
#include "catalogue/uWizzardStep.h"
#include "cli/CliCommand.h"

#include <QDate>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli wizard [--today YYYY-MM-DD]");

void writeStep(const TWizzardStep& step, QTextStream& out, int depth) {
    const QString indent(depth * 2, QLatin1Char(' '));
    const QString inner((depth + 1) * 2, QLatin1Char(' '));
    out << "{\n";
    out << inner << "\"caption\": " << Cli::jsonString(step.Caption) << ",\n";
    out << inner << "\"heading\": " << Cli::jsonString(step.Heading) << ",\n";
    out << inner << "\"picture\": " << Cli::jsonString(step.Picture) << ",\n";
    out << inner << "\"code\": " << step.ProductCode << ",\n";
    out << inner << "\"year\": " << Cli::jsonString(step.Year) << ",\n";
    out << inner << "\"children\": [";
    for (int i = 0; i < step.ChildCount(); ++i) {
        out << (i == 0 ? "\n" : ",\n") << inner << "  ";
        writeStep(*step.Child(i), out, depth + 2);
    }
    if (step.HasChildren())
        out << "\n" << inner;
    out << "]\n" << indent << "}";
}

int runWizard(const QStringList& args, QTextStream& out) {
    QDate today = QDate::currentDate();
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--today")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--today needs a value; %1").arg(kUsage));
            const QString text = args[++i];
            today = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!today.isValid())
                throw CliUsageError(
                    QStringLiteral("--today must be a date YYYY-MM-DD, not \"%1\"").arg(text));
        } else {
            throw CliUsageError(kUsage);
        }
    }
    const auto root = BuildWizardTree(today);
    writeStep(*root, out, 0);
    out << "\n";
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("wizard"), QStringLiteral("wizard [--today YYYY-MM-DD]"),
                               QStringLiteral("print the new-project wizard's choices as JSON"), runWizard}};

} // namespace
