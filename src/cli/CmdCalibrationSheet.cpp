// tintaro-cli calibration-sheet OUT.pdf [--pass 1|2] [--overlay] [--dpi D]: the printer
// calibration's two passes on two A4 pages, one pass alone, or both on one page.
#include "cli/CliCommand.h"
#include "print/uKalibrierung.h"
#include "print/uPdfPrinter.h"

namespace {

const QString kUsage =
    QStringLiteral("usage: tintaro-cli calibration-sheet OUT.pdf [--pass 1|2] [--overlay] [--dpi D]");

int runCalibrationSheet(const QStringList& args, QTextStream& out) {
    QString target;
    int pass = 0, dpi = 1200;
    bool overlay = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("%1 needs a value").arg(a));
            return args[++i];
        };
        if (a == QLatin1String("--pass")) {
            pass = Cli::parseInt(value(), a);
            if (pass != 1 && pass != 2)
                throw CliUsageError(QStringLiteral("--pass must be 1 or 2"));
        } else if (a == QLatin1String("--overlay")) {
            overlay = true;
        } else if (a == QLatin1String("--dpi")) {
            dpi = Cli::parseInt(value(), a);
            if (dpi < 72 || dpi > 4800)
                throw CliUsageError(QStringLiteral("--dpi must lie between 72 and 4800"));
        } else if (a.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1").arg(a));
        } else if (target.isEmpty()) {
            target = a;
        } else {
            throw CliUsageError(kUsage);
        }
    }
    if (target.isEmpty())
        throw CliUsageError(kUsage);
    if (pass != 0 && overlay)
        throw CliUsageError(QStringLiteral("--pass and --overlay exclude each other"));
    const QList<int> pages = overlay ? QList<int>{3} : pass != 0 ? QList<int>{pass} : QList<int>{1, 2};
    TPdfPrinter printer(dpi);
    printer.SetOutputFile(target);
    Kalibrierung::PrintSheets(printer, pages);
    const TCurrentPrinter::TJobPaper paper = printer.JobPaper();
    out << "paper: " << paper.Name
        << QString::asprintf(" %.1f x %.1f mm\n", paper.SizeMM.width(), paper.SizeMM.height());
    out << "pages: " << pages.size() << "\n";
    return 0;
}

CliRegistration reg{CliCommand{QStringLiteral("calibration-sheet"),
                               QStringLiteral("calibration-sheet OUT.pdf [--pass 1|2] [--overlay] [--dpi D]"),
                               QStringLiteral("print the printer calibration sheet into a PDF"),
                               runCalibrationSheet}};

} // namespace
