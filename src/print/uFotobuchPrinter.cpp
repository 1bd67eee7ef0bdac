#include "print/uFotobuchPrinter.h"

TFotobuchPrinter::TFotobuchPrinter(TFBDocument& document, QWidget* owner)
    : document_(document), owner_(owner) {}

void TFotobuchPrinter::Print() {
    static_cast<void>(document_);
    static_cast<void>(owner_);
}
