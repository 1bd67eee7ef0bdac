#include "print/uCupsPrinter.h"

#include "platform/Exception.h"
#include "print/uPdfPrinter.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>

TCupsPrinter::TCupsPrinter() {
    Select(DefaultPrinterName());
}

TCupsPrinter::~TCupsPrinter() = default;

const TCupsQueue& TCupsPrinter::Queue() const {
    // The queue is asked once per selection; its PPD does not change while the program runs.
    if (describedName_ != SelectedName() || !queue_.Exists) {
        describedName_ = SelectedName();
        queue_ = SelectedName().isEmpty() ? TCupsQueue{} : Cups::Describe(SelectedName());
    }
    return queue_;
}

QStringList TCupsPrinter::PrinterNames() const {
    return Cups::QueueNames();
}

QString TCupsPrinter::DefaultPrinterName() const {
    return Cups::DefaultQueue();
}

TQueueDescription TCupsPrinter::Describe() const {
    return Queue().Description;
}

bool TCupsPrinter::SupportsCustomPageSizes() const {
    return Queue().CustomSizes;
}

std::vector<TQueueOption> TCupsPrinter::Options() const {
    return Queue().Options;
}

int TCupsPrinter::JobResolution() const {
    if (resolution_ > 0)
        return resolution_;
    const int dpi = Queue().HighestResolution();
    return dpi > 0 ? dpi : 1200;
}

std::vector<TPaperInfo> TCupsPrinter::DriverPapers() const {
    return Queue().Papers();
}

TDeviceMode TCupsPrinter::DriverDefaults() const {
    const TCupsQueue& queue = Queue();
    TDeviceMode mode;
    mode.QueueName = SelectedName();
    mode.MakeAndModel = queue.Description.MakeAndModel;
    mode.Fields = TDeviceMode::fCopies;
    mode.Copies = 1;
    for (const TPaperInfo& p : queue.Papers())
        if (p.Key == queue.DefaultPageSize || p.BorderlessKey == queue.DefaultPageSize) {
            mode.PaperSize = p.PaperNumber;
            mode.PageSizeKey = p.Key;
            mode.Fields |= TDeviceMode::fPaperSize;
        }
    if (const TQueueOption* color = queue.Option(QStringLiteral("ColorModel"))) {
        mode.Fields |= TDeviceMode::fColor;
        const QString d = color->Default.toLower();
        mode.Color = d.contains(QLatin1String("gray")) || d.contains(QLatin1String("grey")) ||
                             d.contains(QLatin1String("black"))
                         ? TDeviceMode::kColorMonochrome
                         : TDeviceMode::kColorColor;
    }
    mode.Resolution = queue.HighestResolution();
    return mode;
}

QPaintDevice* TCupsPrinter::OpenDocument(const QString& title) {
    file_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tintaro-job-XXXXXX.pdf"));
    if (!file_->open())
        throw Exception(QStringLiteral("Schreibfehler: %1").arg(file_->errorString()));
    title_ = title;
    writer_ = OpenPdfWriter(file_.get(), JobPaper(), JobResolution(), title);
    return writer_.get();
}

void TCupsPrinter::NextPage() {
    if (writer_)
        writer_->newPage();
}

QStringList TCupsPrinter::LpArguments(const QString& file) const {
    const TDeviceMode& mode = DeviceMode();
    const int copies = mode.Has(TDeviceMode::fCopies) ? std::max(1, mode.Copies) : 1;
    QStringList args{QStringLiteral("-d"), SelectedName(),         QStringLiteral("-t"), title_,
                     QStringLiteral("-n"), QString::number(copies)};
    const QString media = JobPaper().Key;
    if (!media.isEmpty())
        args << QStringLiteral("-o") << QStringLiteral("media=") + media;
    args << QStringLiteral("-o") << QStringLiteral("sides=one-sided") << QStringLiteral("-o")
         << QStringLiteral("print-scaling=none");
    if (copies > 1)
        args << QStringLiteral("-o") << QStringLiteral("collate=true");
    // The choices of the properties dialog; the paper is the job's own.
    for (const auto& [key, value] : mode.Options)
        if (key != QLatin1String("PageSize"))
            args << QStringLiteral("-o") << key + u'=' + value;
    args << file;
    return args;
}

void TCupsPrinter::CloseDocument() {
    if (!writer_)
        return;
    if (file_->size() == 0) {
        QPainter blank(writer_.get());
    }
    writer_.reset();
    std::unique_ptr<QTemporaryFile> file = std::move(file_);
    if (!file->flush())
        throw Exception(QStringLiteral("Schreibfehler: %1").arg(file->errorString()));
    QProcess lp;
    lp.start(QStringLiteral("lp"), LpArguments(file->fileName()));
    if (!lp.waitForStarted(10000))
        throw Exception(QStringLiteral("Der Druckauftrag konnte nicht gesendet werden: lp fehlt"));
    if (!lp.waitForFinished(120000) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
        throw Exception(QStringLiteral("Der Druckauftrag konnte nicht gesendet werden: %1")
                            .arg(QString::fromLocal8Bit(lp.readAllStandardError()).simplified()));
    const QString answer = QString::fromLocal8Bit(lp.readAllStandardOutput());
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("request id is (\\S+)")).match(answer);
    requestId_ = m.hasMatch() ? m.captured(1) : answer.simplified();
}

void TCupsPrinter::DiscardDocument() {
    writer_.reset();
    file_.reset();
}
