#pragma once

#include "i18n/ui/uLocalizerForm.h"

// The splash window shown while the program starts: the program's title and "Version 2.00".
class TStartbild : public TLocalizerForm {
    Q_OBJECT
public:
    TStartbild();

    QString VersionText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
