#pragma once

#include "i18n/ui/uLocalizerForm.h"

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QToolButton;

// "Bilder-Stoßkante": moves the edge where the two pictures of a folded sheet meet onto the fold,
// by 0.1 mm steps or through the printer calibration.
class TDruckpositionKnickDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TDruckpositionKnickDlg(QWidget* owner);

    void SetShift(float shift);
    float Shift() const { return shift_; }
    QString OffsetText() const;

    // Runs the calibration and returns its value in mm, or nothing when it did not end with
    // "Fertig". The designer shows the calibration dialog; tests answer themselves.
    std::function<std::optional<float>(QWidget*)> Calibrate;

    QToolButton* btnLinks;
    QToolButton* btnRechts;
    QPushButton* btnJustage;
    QPushButton* btnOk;
    QPushButton* btnAbbrechen;

private:
    void AutoCalibrate();

    float shift_ = -1.2f;
    QLabel* lblOffset;
};
