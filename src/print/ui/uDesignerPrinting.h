#pragma once

#include "print/uFotobuchPrinter.h"

#include <memory>

class QWidget;
class TDlgDruckAbbrechen;
class TFBDocument;

// The designer's answers to a print job: message boxes, the print dialog and the cancel window,
// which disables the main window while it is shown.
class TDesignerPrintUi : public TPrintUi {
public:
    explicit TDesignerPrintUi(QWidget* owner);
    ~TDesignerPrintUi() override;

    void Information(const QString& text) override;
    void Error(const QString& text) override;
    std::optional<TPrintDialogAnswer> AskPrintDialog(const TPrintDialogRequest& request) override;
    void ShowProgress(const QString& text) override;
    bool IsCancelled() override;
    void CloseProgress() override;

    TDlgDruckAbbrechen* CancelDialog() const { return cancel_.get(); }

private:
    QWidget* owner_;
    std::unique_ptr<TDlgDruckAbbrechen> cancel_;
};

// The main window's print commands on the shared current printer.
namespace DesignerPrinting {
// Installs the printer support's dialogs and warnings once.
void InstallDialogs();
// Print: the print job of the document with the designer's dialogs.
void PrintDocument(TFBDocument& document, QWidget* owner);
// Printer set-up: the printer list and the properties of the chosen printer.
void PrinterSetup(QWidget* owner);
// "Als PDF speichern...": the same job onto the PDF printer, into a file the user picks.
void SaveAsPdf(TFBDocument& document, QWidget* owner);
} // namespace DesignerPrinting
