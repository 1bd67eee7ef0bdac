#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

class TCurrentPrinter;

// The options of a print job given on the command line, answered as the print dialog would.
struct CliPrintOptions {
    std::optional<int> From;
    std::optional<int> To;
    int Copies = 1;
    std::optional<float> Shift; // from --fold-shift or --calibration
    int Dpi = 1200;
    bool PrintShop = false;
};

namespace Cli {
// Takes the job option at args[i] (and its value) into options; false when args[i] is none.
bool takePrintOption(const QStringList& args, int& i, CliPrintOptions& options, bool& shiftGiven);
// Loads the project, runs the print job on the printer and prints the paper, the sheets and
// their pages. Raises CliUsageError when the job prints nothing or fails.
void runPrintJob(const QString& file, TCurrentPrinter& printer, const CliPrintOptions& options,
                 QTextStream& out);
} // namespace Cli
