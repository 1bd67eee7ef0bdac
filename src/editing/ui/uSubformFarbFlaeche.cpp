#include "editing/ui/uSubformFarbFlaeche.h"

TSFormFarbFlaeche::TSFormFarbFlaeche(QWidget* parent) : TSubForm(parent) {
    setObjectName(QStringLiteral("SFormFarbFlaeche"));
}
