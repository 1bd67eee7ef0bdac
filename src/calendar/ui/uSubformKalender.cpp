#include "calendar/ui/uSubformKalender.h"

TSFormKalender::TSFormKalender(QWidget* parent) : TSubForm(parent) {
    setObjectName(QStringLiteral("SFormKalender"));
}

void TSFormKalender::ElementChanged(TFBElement*, TFBPage*) {
    Refresh();
}
