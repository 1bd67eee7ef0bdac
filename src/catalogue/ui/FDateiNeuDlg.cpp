#include "catalogue/ui/FDateiNeuDlg.h"

TDateiNeuDlg::TDateiNeuDlg(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Neues Projekt anlegen"));
}

int TDateiNeuDlg::Execute(TFBDocument&) {
    return ResultCancelled;
}
