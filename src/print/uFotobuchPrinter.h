#pragma once

class TFBDocument;
class QWidget;

// The print job of a document. Until printing exists, Print does nothing.
class TFotobuchPrinter {
public:
    TFotobuchPrinter(TFBDocument& document, QWidget* owner);

    void Print();

private:
    TFBDocument& document_;
    QWidget* owner_;
};
