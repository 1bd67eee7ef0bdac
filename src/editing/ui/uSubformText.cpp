#include "editing/ui/uSubformText.h"

TSFormDlgRTFText::TSFormDlgRTFText(QWidget* parent) : TSubForm(parent) {
    setObjectName(QStringLiteral("SFormDlgRTFText"));
}
