#pragma once

#include "print/uDeviceMode.h"

#include "i18n/ui/uLocalizerForm.h"

#include <optional>
#include <vector>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TFBDocument;

// "Drucken": the printer with its details and properties, the printer settings the product needs,
// all pages or a range, the copies and, for borderless folded products, the fold line. It works on
// the shared current printer; cancelling restores the printer and settings it opened with.
class TVXDruckDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TVXDruckDlg(QWidget* owner);

    void SetRange(int from, int to);
    void SetHint(const QString& text);
    void SetFoldButtonVisible(bool visible);

    int ShowModal();
    int RangeMode() const; // 0 all pages, 1 from-to
    int From() const;
    int To() const;
    int Copies() const;

    float Randlosverschiebung = -1.2f;
    QString SettingsKey;
    std::vector<bool>* PageSelection = nullptr;
    TFBDocument* Document = nullptr;

    QComboBox* cmbName;
    QLabel* lblTyp;
    QLabel* lblOrt;
    QLabel* lblKommentar;
    QPushButton* btnEigenschaften;
    QGroupBox* grpHinweis;
    QPlainTextEdit* memHinweis;
    QGroupBox* grpDruckbereich;
    QRadioButton* rbAlle;
    QRadioButton* rbSeiten;
    QLineEdit* edtVon;
    QLineEdit* edtBis;
    QGroupBox* grpAnzahl;
    QSpinBox* spnAnzahl;
    QPushButton* btnDruckposition;
    QFrame* frmDruckposition;
    QPushButton* btnOk;
    QPushButton* btnAbbrechen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillPrinters();
    void ShowDetails();
    void PrinterChosen(int index);
    void AdjustFold();

    QString savedPrinter_;
    std::optional<TDeviceMode> savedMode_;
    bool vonFocused_ = false;
    bool bisFocused_ = false;
};
