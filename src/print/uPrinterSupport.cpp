#include "print/uPrinterSupport.h"

#include "document/uStreamEncoding.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"

#include <QIODevice>
#include <QLocale>

#include <cmath>

namespace {

// Tenths of a millimetre, halves to even as the paper sizes are compared.
std::int32_t tenths(float mm) {
    return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(mm) * 10.0));
}

} // namespace

TPrinterSupport& PrinterSupport() {
    static TPrinterSupport support;
    return support;
}

TCurrentPrinter& TPrinterSupport::Printer() const {
    if (!printer_)
        throw Exception(Translate(QStringLiteral("Es ist kein Drucker installiert.")));
    return *printer_;
}

void TPrinterSupport::Warning(const QString& text) const {
    Debug().Trace(text);
    if (Warn)
        Warn(text);
}

QString TPrinterSupport::FormName(float width, float height) {
    const QLocale locale;
    return QStringLiteral("ZK %1 x %2").arg(locale.toString(width, 'f', 2), locale.toString(height, 'f', 2));
}

void TPrinterSupport::ResetToPrinterDefaults() {
    TCurrentPrinter& printer = Printer();
    const bool hadMode = printer.HasDeviceMode();
    const TDeviceMode copy = printer.DeviceMode();
    printer.ResetDeviceMode();
    if (!hadMode)
        return;
    printer.DeviceMode().Orientation = 0;
    SetColorMode();
    if (copy.PaperWidth != 0 && copy.PaperLength != 0)
        SetPaperSizeMM(copy.PaperWidth / 10.0f, copy.PaperLength / 10.0f);
    else
        SetPaperNumber(copy.PaperSize);
}

bool TPrinterSupport::ShowPrinterProperties(QObject* parent) {
    TCurrentPrinter& printer = Printer();
    if (!printer.HasDeviceMode())
        throw Exception(QStringLiteral("Devicemode konnte nicht geladen werden"));
    if (!PropertiesDialog)
        return false;
    return PropertiesDialog(printer, parent);
}

QStringList TPrinterSupport::GetPrinterInfo() const {
    QStringList info;
    if (!printer_ || printer_->SelectedName().isEmpty())
        return info;
    const TQueueDescription d = printer_->Describe();
    info << QString() << d.Name << QString() << d.Location << d.MakeAndModel << d.Description << d.Location
         << QString() << QString() << QString() << QString()
         << (d.IsDefault ? Translate(QStringLiteral("Standarddrucker")) : QString());
    return info;
}

QString TPrinterSupport::GetDeviceName() const {
    return printer_ ? printer_->SelectedName() : QString();
}

QString TPrinterSupport::GetPortName() const {
    return printer_ && !printer_->SelectedName().isEmpty() ? printer_->Describe().Location : QString();
}

int TPrinterSupport::MaxCopies() const {
    return Printer().MaxCopies();
}

void TPrinterSupport::SetCopies(int n) {
    TCurrentPrinter& printer = Printer();
    if (printer.JobRunning())
        throw Exception(QStringLiteral("Kopien können nicht während eines Druckauftrags gesetzt werden"));
    if (!printer.HasDeviceMode())
        return;
    printer.DeviceMode().Copies = n;
    printer.DeviceMode().Fields |= TDeviceMode::fCopies;
}

bool TPrinterSupport::SetPaperNumber(int paper) {
    TCurrentPrinter& printer = Printer();
    ReadPaperList();
    const TPaperInfo* found = nullptr;
    for (const TPaperInfo& p : papers_)
        if (p.PaperNumber == paper)
            found = &p;
    if (!found)
        return false;
    if (printer.HasDeviceMode()) {
        TDeviceMode& mode = printer.DeviceMode();
        mode.PaperSize = paper;
        mode.PageSizeKey = found->Key;
        mode.Fields |= TDeviceMode::fPaperSize;
        // The number alone names the paper now; sizes and form of an earlier paper would
        // contradict it.
        mode.Fields &= ~(TDeviceMode::fPaperWidth | TDeviceMode::fPaperLength | TDeviceMode::fFormName);
        mode.PaperWidth = 0;
        mode.PaperLength = 0;
        mode.FormName.clear();
    }
    return true;
}

void TPrinterSupport::FillFromPaper(int index, std::int32_t w, std::int32_t h) {
    TCurrentPrinter& printer = Printer();
    FillPaper(printer.DeviceMode(), papers_[static_cast<size_t>(index)], w, h);
}

bool TPrinterSupport::SetPaperSizeMM(float width, float height) {
    // Queues know user forms, so this is the form variant: a size the queue lacks is registered.
    try {
        TCurrentPrinter& printer = Printer();
        ReadPaperList();
        const std::int32_t w = tenths(width), h = tenths(height);
        int i = FindPaper(w, h);
        if (i >= 0) {
            FillFromPaper(i, w, h);
            return true;
        }
        const QString name = FormName(width, height);
        printer.DeleteForm(name);
        if (!printer.AddForm(name, w, h)) {
            if (w != 2100 || h != 2970)
                SetPaperSizeMM(210, 297);
            return true;
        }
        ResetToPrinterDefaults();
        ReadPaperList();
        i = FindPaper(w, h);
        if (i < 0) {
            if (w != 2100 || h != 2970)
                SetPaperSizeMM(210, 297);
            return true;
        }
        FillFromPaper(i, w, h);
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("SetPaperSizeMM: ") + e.message());
    }
    return true;
}

void TPrinterSupport::ReadPaperList() {
    papers_ = printer_ ? printer_->Papers() : std::vector<TPaperInfo>{};
}

int TPrinterSupport::FindPaper(std::int32_t width, std::int32_t height) const {
    for (size_t i = 0; i < papers_.size(); ++i)
        if (std::abs(papers_[i].Width - width) < 20 && std::abs(papers_[i].Height - height) < 20)
            return static_cast<int>(i);
    return -1;
}

bool TPrinterSupport::SetColorMode() {
    TCurrentPrinter& printer = Printer();
    if (!printer.HasDeviceMode() || !printer.DeviceMode().Has(TDeviceMode::fColor))
        return false;
    printer.DeviceMode().Color = TDeviceMode::kColorColor;
    return true;
}

void TPrinterSupport::SaveSelection(QIODevice& stream) const {
    TCurrentPrinter& printer = Printer();
    const TQueueDescription d = printer.SelectedName().isEmpty() ? TQueueDescription{} : printer.Describe();
    if (stream.write(kSelectionTag, 13) != 13)
        throw Exception(QStringLiteral("Stream-Schreibfehler: %1").arg(stream.errorString()));
    StreamWriteString(stream, printer.SelectedName());
    StreamWriteString(stream, printer.SelectedName());
    StreamWriteString(stream, d.MakeAndModel);
    StreamWriteString(stream, d.Location);
    if (!printer.HasDeviceMode()) {
        StreamWriteInt32(stream, 0);
        return;
    }
    const QByteArray bytes = printer.DeviceMode().Serialize();
    StreamWriteInt32(stream, static_cast<std::int32_t>(bytes.size()));
    if (stream.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Stream-Schreibfehler: %1").arg(stream.errorString()));
}

bool TPrinterSupport::LoadSelection(QIODevice& stream) {
    TCurrentPrinter& printer = Printer();
    if (stream.read(13) != QByteArray(kSelectionTag)) {
        Warning(QStringLiteral("Stream ist nicht richtig"));
        return false;
    }
    const QString name = StreamReadString(stream);
    StreamReadString(stream); // device: the queue name again
    StreamReadString(stream); // driver: make-and-model, checked through the record itself
    StreamReadString(stream); // port
    const std::int32_t n = StreamReadInt32(stream);
    if (n == 0)
        return true;
    if (n < 0 || n > TDeviceMode::kMaxStoredSize || n > stream.bytesAvailable())
        throw Exception(QStringLiteral("Stream-Lesefehler: unerwartetes Ende der Daten"));
    const QByteArray bytes = stream.read(n);
    if (bytes.size() != n)
        throw Exception(QStringLiteral("Stream-Lesefehler: unerwartetes Ende der Daten"));
    if (!printer.PrinterNames().contains(name)) {
        Warning(
            QStringLiteral("Der gespeicherte Drucker \"%1\" wurde nicht gefunden. Der Standarddrucker wird "
                           "geladen")
                .arg(name));
        printer.Select(printer.DefaultPrinterName());
        ResetToPrinterDefaults();
        return false;
    }
    printer.Select(name);
    const std::optional<TDeviceMode> mode = TDeviceMode::Deserialize(bytes);
    if (mode && printer.TakeDeviceMode(*mode))
        return true;
    Warning(QStringLiteral("Die gespeicherte Druckereinstellung passt nicht zum Drucker: %1. Die "
                           "Standardeinstellungen werden geladen.")
                .arg(name));
    return false;
}
