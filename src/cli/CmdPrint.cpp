// tintaro-cli print FILE --printer QUEUE [job options]: the print job rendered as a PDF and handed
// to the CUPS queue through lp, as the designer sends it; prints lp's request id.
#include "cli/CliCommand.h"
#include "cli/CliPrintJob.h"
#include "print/uCupsPrinter.h"

namespace {

const QString kUsage = QStringLiteral(
    "usage: tintaro-cli print FILE --printer QUEUE [--from A] [--to B] [--copies C] [--fold-shift MM | "
    "--calibration N] [--dpi D] [--print-shop]");

int runPrint(const QStringList& args, QTextStream& out) {
    QString file, queue;
    CliPrintOptions options;
    bool shiftGiven = false, dpiGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--printer")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--printer needs a value"));
            queue = args[++i];
            continue;
        }
        dpiGiven = dpiGiven || a == QLatin1String("--dpi");
        if (Cli::takePrintOption(args, i, options, shiftGiven))
            continue;
        if (a.startsWith(QLatin1String("--")))
            throw CliUsageError(QStringLiteral("unknown option %1").arg(a));
        if (!file.isEmpty())
            throw CliUsageError(kUsage);
        file = a;
    }
    if (file.isEmpty() || queue.isEmpty())
        throw CliUsageError(kUsage);
    Cli::requireFile(file);
    TCupsPrinter printer;
    if (!printer.Select(queue))
        throw CliUsageError(QStringLiteral("unknown printer %1").arg(queue));
    if (dpiGiven)
        printer.SetResolution(options.Dpi);
    Cli::runPrintJob(file, printer, options, out);
    out << "job: " << printer.LastRequestId() << "\n";
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("print"),
                               QStringLiteral("print FILE --printer QUEUE [job options of export-pdf]"),
                               QStringLiteral("print a project on a CUPS queue"), runPrint}};

} // namespace
