#pragma once

#include "i18n/ui/uLocalizerForm.h"

class QLabel;

// The progress window of long operations: caption "Fortschritt", a fixed frame without title-bar
// buttons, always on top, centred on the screen, one centred multi-line label. At most one exists;
// the main window creates it on the first progress text and destroys it on the empty one.
class TProgressDlg : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TProgressDlg(QWidget* owner);

    void SetText(const QString& text);
    QString Text() const;

protected:
    // The user cannot close it; the operation that opened it does.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* lText;
};
