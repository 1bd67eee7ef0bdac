#pragma once

#include "i18n/ui/uLocalizerForm.h"

#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

// "Kalibrierung": the two print passes on one A4 sheet and the reading of the calibration
// number, in three steps shown one at a time.
class TKalibrierung : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TKalibrierung(QWidget* owner);

    // (n - 1) * 0.1 mm for the number in the field; 0 without a whole number.
    float CalibrationValue() const;
    int CurrentPanel() const;

    // Where a pass goes; the designer prints on the current printer.
    std::function<void(int pass)> PrintPass;

    QWidget* pnlSchritt1;
    QWidget* pnlSchritt2;
    QWidget* pnlSchritt3;
    QGroupBox* grpSchritt[7]; // 1..6
    QPushButton* btnEinstellungen1;
    QPushButton* btnDrucken1;
    QPushButton* btnEinstellungen2;
    QPushButton* btnDrucken2;
    QPushButton* btnFertig;
    QLineEdit* edtKalibrierzahl;
    QTimer* timer;

protected:
    // The steps' titles and texts are built from several texts: set anew in every language.
    void AfterTranslate() override;
    void RegisterTexts() override;

private:
    void ShowPanel(int panel);
    void Bold(int step, bool bold);
    bool PrinterSettings();
    void RunPass(int pass);
};
