#include "editing/ui/uSubformBild.h"

TSFormBild::TSFormBild(QWidget* parent) : TSubForm(parent) {
    setObjectName(QStringLiteral("SFormBild"));
}
