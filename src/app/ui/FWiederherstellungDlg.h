#pragma once

#include "app/uRecoveryStore.h"
#include "i18n/ui/uLocalizerForm.h"

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

// The offer of recovery copies at the start: one row per copy (project, folder, time of the
// copy) and the buttons "Projekt wiederherstellen", "Verwerfen" and "Später". Each button ends the
// dialog with its answer for the selected row.
class TWiederherstellungDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TWiederherstellungDlg(QWidget* owner, const std::vector<TRecoveryEntry>& copies = {});

    TRecoveryAnswer Answer() const { return answer_; }
    // Selects a row (tests, screenshots).
    void SelectRow(int row);

    QTreeWidget* lvKopien;
    QPushButton* btnWiederherstellen;
    QPushButton* btnVerwerfen;
    QPushButton* btnSpaeter;

protected:
    // The rows name projects never saved as the main window does, in the current language.
    void AfterTranslate() override;

private:
    void finish(TRecoveryAnswer::TAction action);
    void fillRows();
    void updateButtons();

    QLabel* lblHinweis;
    std::vector<TRecoveryEntry> copies_;
    TRecoveryAnswer answer_;
};
