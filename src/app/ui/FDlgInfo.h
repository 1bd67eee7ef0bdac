#pragma once

#include <QDialog>

class QLabel;

// The about window: product line with the version string and the version line.
class TDlgInfo : public QDialog {
    Q_OBJECT
public:
    explicit TDlgInfo(QWidget* owner);

    QString ProductText() const;
    QString VersionText() const;

private:
    QLabel* lblProduct;
    QLabel* lblVersion;
};
