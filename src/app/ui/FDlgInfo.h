#pragma once

#include "i18n/ui/uLocalizerForm.h"

class QLabel;

// The about window: product line with the version string and the version line.
class TDlgInfo : public TLocalizerDialog {
    Q_OBJECT
public:
    explicit TDlgInfo(QWidget* owner);

    QString ProductText() const;
    QString VersionText() const;

private:
    QLabel* lblProduct;
    QLabel* lblVersion;
};
