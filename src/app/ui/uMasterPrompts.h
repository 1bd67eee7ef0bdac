#pragma once

#include "app/uRecoveryStore.h"

#include <QString>

#include <vector>

class QWidget;
class TFBDocument;

// Everything the main window asks of the user, behind one small interface so that tests answer
// instead of the user. TDialogPrompts is the real one with message boxes and file dialogs.
class TMasterPrompts {
public:
    enum class TAnswer { Yes, No, Cancel };

    virtual ~TMasterPrompts() = default;

    // The unsaved-changes question with the buttons Yes, No and Cancel.
    virtual TAnswer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    // A question with the buttons Yes and No (deleting a page); true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The open and save dialogs for project files; an empty result means cancelled.
    virtual QString OpenProjectFileName(QWidget* parent) = 0;
    virtual QString SaveProjectFileName(QWidget* parent, const QString& currentPath) = 0;
    // The report of a failed operation.
    virtual void ShowError(QWidget* parent, const QString& message) = 0;
    // The print dialog and the print job on the designer's printer.
    virtual void Print(QWidget* parent, TFBDocument& document) = 0;
    // The same job into a PDF file the user names.
    virtual void SaveAsPdf(QWidget* parent, TFBDocument& document) = 0;
    // The platform's printer set-up dialog.
    virtual void ShowPrinterSetup(QWidget* parent) = 0;
    // The about window.
    virtual void ShowAbout(QWidget* parent) = 0;
    // The system's beep (undo with nothing to undo).
    virtual void Beep() = 0;
    // The recovery copies left by a run that did not end cleanly: restore one, discard one or put
    // them off. Without a dialog of its own, the answer is to put them off.
    virtual TRecoveryAnswer AskRecovery(QWidget* parent, const std::vector<TRecoveryEntry>& copies);
};

class TDialogPrompts : public TMasterPrompts {
public:
    TAnswer AskYesNoCancel(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    QString OpenProjectFileName(QWidget* parent) override;
    QString SaveProjectFileName(QWidget* parent, const QString& currentPath) override;
    void ShowError(QWidget* parent, const QString& message) override;
    void Print(QWidget* parent, TFBDocument& document) override;
    void SaveAsPdf(QWidget* parent, TFBDocument& document) override;
    void ShowPrinterSetup(QWidget* parent) override;
    void ShowAbout(QWidget* parent) override;
    void Beep() override;
    TRecoveryAnswer AskRecovery(QWidget* parent, const std::vector<TRecoveryEntry>& copies) override;

    // The filter of both dialogs: "FBP-" + translated "Dateien" for "*.fbp".
    static QString ProjectFilter();
};
