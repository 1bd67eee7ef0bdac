#include "editing/ui/uSubform.h"

#include "editing/uMulticaster.h"

TSubForm::TSubForm(QWidget* parent) : QWidget(parent) {
    // A child without frame whose background is the style's window colour, like the tab around it.
    setWindowFlags(Qt::Widget);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setEnabled(false);
}

void TSubForm::SetElement(TFBElement* element) {
    element_ = element;
    setEnabled(element != nullptr);
    Refresh();
}

void TSubForm::ElementChanged(TFBElement* element, TFBPage*) {
    if (element && element == element_)
        Refresh();
}

void TSubForm::DocumentRestored() {
    SetElement(nullptr);
}

void TSubForm::Announce() {
    if (element_)
        Multicaster().NotifyElementChanged(this, element_);
}
