#include "editing/uMulticaster.h"

#include "document/uFotobuchDocument.h"

TMulticaster& TMulticaster::instance() {
    static TMulticaster multicaster;
    return multicaster;
}

void TMulticaster::FireElementChanged(const QObject* source, TFBElement* element, TFBPage* page) {
    if (OnElementChanged)
        OnElementChanged(source, element, page);
}

void TMulticaster::NotifyElementChanged(const QObject* source, TFBElement* element) {
    if (!element)
        return;
    FireElementChanged(source, element, element->Page);
}

void TMulticaster::NotifyPageChanged(const QObject* source, TFBPage* page) {
    if (!page)
        return;
    FireElementChanged(source, nullptr, page);
}

void TMulticaster::NotifyViewChanged(const QObject* source, TFBDocument* document, int viewIndex) {
    if (!document)
        return;
    TFBPage* left = document->LeftPage(viewIndex);
    TFBPage* right = document->RightPage(viewIndex);
    if (left)
        FireElementChanged(source, nullptr, left);
    // Single pages are their own left and right page.
    if (right && right != left)
        FireElementChanged(source, nullptr, right);
}

void TMulticaster::ViewSelected(const QObject* source, int viewIndex) {
    if (OnViewSelected)
        OnViewSelected(source, viewIndex);
}

void TMulticaster::PagesChanged(const QObject* source) {
    if (OnPagesChanged)
        OnPagesChanged(source);
}
