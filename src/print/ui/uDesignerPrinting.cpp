#include "print/ui/uDesignerPrinting.h"

#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uProgramInfo.h"
#include "print/uCupsPrinter.h"
#include "print/uPdfPrinter.h"
#include "print/uPrinterSupport.h"
#include "print/ui/FDlgDruckAbbrechen.h"
#include "print/ui/FDruckDlg.h"
#include "print/ui/FDruckerEigenschaften.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPushButton>

TDesignerPrintUi::TDesignerPrintUi(QWidget* owner) : owner_(owner) {}

TDesignerPrintUi::~TDesignerPrintUi() {
    CloseProgress();
}

void TDesignerPrintUi::Information(const QString& text) {
    QMessageBox::information(owner_, ProgramInfo::ApplicationTitle(), text);
}

void TDesignerPrintUi::Error(const QString& text) {
    QMessageBox::warning(owner_, ProgramInfo::ApplicationTitle(), text);
}

std::optional<TPrintDialogAnswer> TDesignerPrintUi::AskPrintDialog(const TPrintDialogRequest& request) {
    TVXDruckDlg dialog(owner_);
    dialog.SetRange(request.From, request.To);
    dialog.PageSelection = request.PageSelection;
    dialog.SetHint(request.Hint);
    dialog.Randlosverschiebung = request.Shift;
    dialog.SettingsKey = request.SettingsKey;
    dialog.Document = request.Document;
    dialog.SetFoldButtonVisible(request.ShowFoldButton);
    if (dialog.ShowModal() != QDialog::Accepted)
        return std::nullopt;
    return TPrintDialogAnswer{dialog.RangeMode(), dialog.From(), dialog.To(), dialog.Copies(),
                              dialog.Randlosverschiebung};
}

void TDesignerPrintUi::ShowProgress(const QString& text) {
    if (!cancel_) {
        // A window of its own: a child window would be disabled with the main window.
        cancel_ = std::make_unique<TDlgDruckAbbrechen>(nullptr);
        cancel_->setWindowFlag(Qt::WindowStaysOnTopHint);
        if (owner_) {
            owner_->setEnabled(false);
            cancel_->move(owner_->geometry().center() - cancel_->rect().center());
        }
        cancel_->show();
    }
    cancel_->SetText(text);
    QApplication::processEvents();
}

bool TDesignerPrintUi::IsCancelled() {
    if (!cancel_)
        return false;
    QApplication::processEvents();
    return cancel_->Cancelled();
}

void TDesignerPrintUi::CloseProgress() {
    if (!cancel_)
        return;
    if (owner_)
        owner_->setEnabled(true);
    cancel_->hide();
    cancel_.reset();
}

namespace DesignerPrinting {

namespace {

bool havePrinter(QWidget* owner) {
    InstallDialogs();
    TPrinterSupport& support = PrinterSupport();
    // The designer's printer is the CUPS server's queues, looked at on first use.
    static std::unique_ptr<TCupsPrinter> queues;
    if (!support.HasPrinter()) {
        if (!queues)
            queues = std::make_unique<TCupsPrinter>();
        support.Install(queues.get());
    }
    if (support.HasPrinter() && !support.Printer().PrinterNames().isEmpty())
        return true;
    QMessageBox::information(owner, ProgramInfo::ApplicationTitle(),
                             Translate(QStringLiteral("Es ist kein Drucker installiert.")));
    return false;
}

} // namespace

void InstallDialogs() {
    TPrinterSupport& support = PrinterSupport();
    if (!support.Warn)
        support.Warn = [](const QString& text) {
            QMessageBox::warning(QApplication::activeWindow(), ProgramInfo::ApplicationTitle(), text);
        };
    if (!support.PropertiesDialog)
        support.PropertiesDialog = [](TCurrentPrinter& printer, QObject* parent) {
            TDruckerEigenschaftenDlg dialog(printer, qobject_cast<QWidget*>(parent));
            return dialog.exec() == QDialog::Accepted;
        };
}

void PrintDocument(TFBDocument& document, QWidget* owner) {
    if (!havePrinter(owner))
        return;
    TDesignerPrintUi ui(owner);
    TFotobuchPrinter job(document, PrinterSupport().Printer(), ui);
    job.Print();
}

void PrinterSetup(QWidget* owner) {
    if (!havePrinter(owner))
        return;
    TCurrentPrinter& printer = PrinterSupport().Printer();
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("DruckereinrichtungDlg"));
    dialog.setWindowTitle(Translate(QStringLiteral("Druckereinrichtung")));
    auto* names = new QComboBox(&dialog);
    names->setObjectName(QStringLiteral("cmbName"));
    names->addItems(printer.PrinterNames());
    names->setCurrentText(printer.SelectedName());
    auto* properties = new QPushButton(Translate(QStringLiteral("&Eigenschaften")), &dialog);
    properties->setObjectName(QStringLiteral("btnEigenschaften"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* form = new QFormLayout(&dialog);
    form->addRow(Translate(QStringLiteral("&Name:")), names);
    form->addRow(QString(), properties);
    form->addRow(buttons);
    const QString before = printer.SelectedName();
    const TDeviceMode mode = printer.DeviceMode();
    QObject::connect(names, &QComboBox::activated, &dialog, [&](int index) {
        if (printer.Select(names->itemText(index)))
            PrinterSupport().ResetToPrinterDefaults();
    });
    QObject::connect(properties, &QPushButton::clicked, &dialog, [&] {
        try {
            PrinterSupport().ShowPrinterProperties(&dialog);
        } catch (const Exception& e) {
            QMessageBox::warning(&dialog, ProgramInfo::ApplicationTitle(), e.message());
        }
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) {
        printer.Select(before);
        printer.TakeDeviceMode(mode);
    }
}

void SaveAsPdf(TFBDocument& document, QWidget* owner) {
    const QString path = QFileDialog::getSaveFileName(
        owner, Translate(QStringLiteral("Als PDF speichern...")), QString(), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    InstallDialogs();
    TPdfPrinter pdf;
    pdf.SetOutputFile(
        path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".pdf"));
    // The PDF printer becomes the current printer for the job, so that its dialogs work on it.
    TPrinterSupport& support = PrinterSupport();
    TCurrentPrinter* previous = support.HasPrinter() ? &support.Printer() : nullptr;
    support.Install(&pdf);
    TDesignerPrintUi ui(owner);
    TFotobuchPrinter job(document, pdf, ui);
    // A PDF is no printer of the product: the stored printer settings stay as they are.
    job.UseSettingsStore = false;
    try {
        job.Print();
    } catch (...) {
        support.Install(previous);
        throw;
    }
    support.Install(previous);
}

} // namespace DesignerPrinting
