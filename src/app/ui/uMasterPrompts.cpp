#include "app/ui/uMasterPrompts.h"

#include "app/ui/FDlgInfo.h"
#include "app/ui/FWiederherstellungDlg.h"
#include "i18n/ulocalize.h"
#include "platform/uProgramInfo.h"
#include "print/ui/uDesignerPrinting.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString TDialogPrompts::ProjectFilter() {
    return QStringLiteral("FBP-") + Translate(QStringLiteral("Dateien")) + QStringLiteral(" (*.fbp)");
}

TMasterPrompts::TAnswer TDialogPrompts::AskYesNoCancel(QWidget* parent, const QString& text) {
    const auto button =
        QMessageBox::question(parent, ProgramInfo::ApplicationTitle(), text,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return TAnswer::Yes;
    if (button == QMessageBox::No)
        return TAnswer::No;
    return TAnswer::Cancel;
}

bool TDialogPrompts::AskYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, ProgramInfo::ApplicationTitle(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

QString TDialogPrompts::OpenProjectFileName(QWidget* parent) {
    QFileDialog dialog(parent, Translate(QStringLiteral("Datei öffnen")));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(ProjectFilter());
    dialog.setDefaultSuffix(QStringLiteral("fbp"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString TDialogPrompts::SaveProjectFileName(QWidget* parent, const QString& currentPath) {
    QFileDialog dialog(parent, Translate(QStringLiteral("Album speichern")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(ProjectFilter());
    dialog.setDefaultSuffix(QStringLiteral("fbp"));
    if (!currentPath.isEmpty())
        dialog.selectFile(currentPath);
    // The dialog asks before an existing file is overwritten; the folder must exist.
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        const QString path = dialog.selectedFiles().first();
        if (QFileInfo(QFileInfo(path).absolutePath()).isDir())
            return path;
    }
}

void TDialogPrompts::ShowError(QWidget* parent, const QString& message) {
    QMessageBox::critical(parent, ProgramInfo::ApplicationTitle(), message);
}

void TDialogPrompts::Print(QWidget* parent, TFBDocument& document) {
    DesignerPrinting::PrintDocument(document, parent);
}

void TDialogPrompts::SaveAsPdf(QWidget* parent, TFBDocument& document) {
    DesignerPrinting::SaveAsPdf(document, parent);
}

void TDialogPrompts::ShowPrinterSetup(QWidget* parent) {
    DesignerPrinting::PrinterSetup(parent);
}

void TDialogPrompts::ShowAbout(QWidget* parent) {
    TDlgInfo dialog(parent);
    dialog.exec();
}

void TDialogPrompts::Beep() {
    QApplication::beep();
}

TRecoveryAnswer TMasterPrompts::AskRecovery(QWidget*, const std::vector<TRecoveryEntry>&) {
    return {};
}

TRecoveryAnswer TDialogPrompts::AskRecovery(QWidget* parent, const std::vector<TRecoveryEntry>& copies) {
    TWiederherstellungDlg dialog(parent, copies);
    dialog.exec();
    return dialog.Answer();
}
