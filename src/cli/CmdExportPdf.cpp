// tintaro-cli export-pdf FILE OUT.pdf [job options]: the print job on the PDF printer, answered as
// the print dialog would be; OUT is replaced only when the job ends normally.
#include "cli/CliCommand.h"
#include "cli/CliPrintJob.h"
#include "print/uPdfPrinter.h"

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli export-pdf FILE OUT.pdf [--from A] [--to B] "
                                      "[--copies C] [--fold-shift MM | --calibration N] "
                                      "[--dpi D] [--print-shop]");

int runExportPdf(const QStringList& args, QTextStream& out) {
    QString file, target;
    CliPrintOptions options;
    bool shiftGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (Cli::takePrintOption(args, i, options, shiftGiven))
            continue;
        if (a.startsWith(QLatin1String("--")))
            throw CliUsageError(QStringLiteral("unknown option %1").arg(a));
        if (file.isEmpty())
            file = a;
        else if (target.isEmpty())
            target = a;
        else
            throw CliUsageError(kUsage);
    }
    if (file.isEmpty() || target.isEmpty())
        throw CliUsageError(kUsage);
    TPdfPrinter printer(options.Dpi);
    printer.SetOutputFile(target);
    Cli::runPrintJob(file, printer, options, out);
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("export-pdf"),
                               QStringLiteral("export-pdf FILE OUT.pdf [--from A] [--to B] [--copies C] "
                                              "[--fold-shift MM | --calibration N] [--dpi D] [--print-shop]"),
                               QStringLiteral("print a project into a PDF as the print dialog would"),
                               runExportPdf}};

} // namespace
