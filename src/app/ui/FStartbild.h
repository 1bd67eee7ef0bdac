#pragma once

#include <QWidget>

// The splash window shown while the program starts: the program's title and "Version 2.00".
class TStartbild : public QWidget {
    Q_OBJECT
public:
    TStartbild();

    QString VersionText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
