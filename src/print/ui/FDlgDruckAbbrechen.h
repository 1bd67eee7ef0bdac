#pragma once

#include "i18n/ui/uLocalizerForm.h"

class QLabel;
class QPushButton;

// The small modeless window shown while a job sends its pages: a progress text and "Abbrechen".
class TDlgDruckAbbrechen : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TDlgDruckAbbrechen(QWidget* owner);

    void SetText(const QString& text);
    QString Text() const;
    bool Cancelled() const { return cancelled_; }

    QPushButton* btnAbbrechen;

private:
    QLabel* lblText;
    bool cancelled_ = false;
};
