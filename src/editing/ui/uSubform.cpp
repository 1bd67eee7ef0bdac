#include "editing/ui/uSubform.h"

TSubForm::TSubForm(QWidget* parent) : QWidget(parent) {}

void TSubForm::SetElement(TFBElement* element) {
    element_ = element;
    Refresh();
}

void TSubForm::ElementChanged(TFBElement* element, TFBPage*) {
    if (element && element == element_)
        Refresh();
}

void TSubForm::DocumentRestored() {
    SetElement(nullptr);
}
