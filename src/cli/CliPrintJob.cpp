#include "cli/CliPrintJob.h"

#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "print/uCurrentPrinter.h"
#include "print/uFotobuchPrinter.h"

#include <vector>

namespace {

// Answers the job's questions from the options; messages are kept for the one line on stderr.
class TCliPrintUi : public TPrintUi {
public:
    explicit TCliPrintUi(const CliPrintOptions& options) : options_(options) {}

    void Information(const QString& text) override { message_ = text; }
    void Error(const QString& text) override { message_ = text; }
    std::optional<TPrintDialogAnswer> AskPrintDialog(const TPrintDialogRequest& request) override {
        TPrintDialogAnswer answer;
        answer.RangeMode = options_.From || options_.To ? 1 : 0;
        answer.From = options_.From.value_or(request.From);
        answer.To = options_.To.value_or(request.To);
        answer.Copies = options_.Copies;
        answer.Shift = options_.Shift.value_or(-1.2f);
        return answer;
    }
    void ShowProgress(const QString&) override {}
    bool IsCancelled() override { return false; }
    void CloseProgress() override {}

    const QString& Message() const { return message_; }

private:
    const CliPrintOptions& options_;
    QString message_;
};

QString mm(double value) {
    return QString::asprintf("%.1f", value);
}

} // namespace

namespace Cli {

bool takePrintOption(const QStringList& args, int& i, CliPrintOptions& options, bool& shiftGiven) {
    const QString& a = args[i];
    auto value = [&]() -> QString {
        if (i + 1 >= args.size())
            throw CliUsageError(QStringLiteral("%1 needs a value").arg(a));
        return args[++i];
    };
    auto number = [&](const QString& text) {
        bool ok = false;
        const double v = QString(text).replace(u',', u'.').toDouble(&ok);
        if (!ok)
            throw CliUsageError(QStringLiteral("%1 must be a number, not \"%2\"").arg(a, text));
        return v;
    };
    if (a == QLatin1String("--from")) {
        options.From = parseInt(value(), a);
    } else if (a == QLatin1String("--to")) {
        options.To = parseInt(value(), a);
    } else if (a == QLatin1String("--copies")) {
        options.Copies = parseInt(value(), a);
        if (options.Copies < 1 || options.Copies > 1000)
            throw CliUsageError(QStringLiteral("--copies must lie between 1 and 1000"));
    } else if (a == QLatin1String("--fold-shift") || a == QLatin1String("--calibration")) {
        if (shiftGiven)
            throw CliUsageError(QStringLiteral("--fold-shift and --calibration exclude each other"));
        shiftGiven = true;
        if (a == QLatin1String("--fold-shift")) {
            const double v = number(value());
            if (!(v >= -20 && v <= 20))
                throw CliUsageError(QStringLiteral("--fold-shift must lie between -20 and 20 mm"));
            options.Shift = static_cast<float>(v);
        } else {
            const int n = parseInt(value(), a);
            if (n < 1 || n > 50)
                throw CliUsageError(QStringLiteral("--calibration must lie between 1 and 50"));
            options.Shift = -static_cast<float>(n - 1) * 0.1f;
        }
    } else if (a == QLatin1String("--dpi")) {
        options.Dpi = parseInt(value(), a);
        if (options.Dpi < 72 || options.Dpi > 4800)
            throw CliUsageError(QStringLiteral("--dpi must lie between 72 and 4800"));
    } else if (a == QLatin1String("--print-shop")) {
        options.PrintShop = true;
    } else {
        return false;
    }
    return true;
}

void runPrintJob(const QString& file, TCurrentPrinter& printer, const CliPrintOptions& options,
                 QTextStream& out) {
    requireFile(file);
    TFBDocument document;
    LoadDocumentFromFile(document, file);

    TCliPrintUi ui(options);
    TFotobuchPrinter job(document, printer, ui);
    job.UseSettingsStore = false;
    job.PrintShop = options.PrintShop;
    std::vector<TPrintedSheet> sheets;
    job.OnSheet = [&](const TPrintedSheet& sheet) { sheets.push_back(sheet); };
    if (job.Print() != TFotobuchPrinter::TOutcome::Printed)
        throw CliUsageError(ui.Message().isEmpty() ? QStringLiteral("nothing was printed") : ui.Message());

    const TCurrentPrinter::TJobPaper paper = printer.JobPaper();
    out << "paper: " << paper.Name << " " << mm(paper.SizeMM.width()) << " x " << mm(paper.SizeMM.height())
        << " mm\n";
    out << "borderless: " << (document.PrintBorderless ? "yes" : "no") << "\n";
    if (document.DocType == 1 && !options.PrintShop) {
        const double fold = document.PageWidth + (document.PrintBorderless ? job.RandlosverschiebungY : 0.0f);
        out << "fold line: " << mm(fold) << " mm from the top edge\n";
    }
    for (const TPrintedSheet& s : sheets) {
        if (s.Upper == 0)
            out << "sheet " << s.Sheet << ": page " << s.Page << "\n";
        else
            out << "sheet " << s.Sheet << ": upper " << s.Upper << ", lower " << s.Page << "\n";
    }
    out << "sheets: " << job.SheetCount() << "\n";
}

} // namespace Cli
