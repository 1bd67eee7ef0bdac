#pragma once

#include <functional>

class QObject;
class TFBDocument;
class TFBElement;
class TFBPage;

// The one event fan-out through which the editing controls keep each other in step. Each event
// has a single subscriber (the main window), which relays it to every control but the source.
// A control passes itself as the source so that it is not told about its own change.
class TMulticaster {
public:
    using ElementChangedEvent =
        std::function<void(const QObject* source, TFBElement* element, TFBPage* page)>;
    using ViewSelectedEvent = std::function<void(const QObject* source, int viewIndex)>;
    using PagesChangedEvent = std::function<void(const QObject* source)>;

    static TMulticaster& instance();

    // The subscriber. An empty callback drops the event.
    ElementChangedEvent OnElementChanged;
    ViewSelectedEvent OnViewSelected;
    PagesChangedEvent OnPagesChanged;

    // An element changed; the page is the element's own page. Nothing for no element.
    void NotifyElementChanged(const QObject* source, TFBElement* element);
    // Something on the page changed (element none). Nothing for no page.
    void NotifyPageChanged(const QObject* source, TFBPage* page);
    // Every existing page of the view changed: one event per page (a view of a single page
    // gives one event).
    void NotifyViewChanged(const QObject* source, TFBDocument* document, int viewIndex);
    // The control selected another view.
    void ViewSelected(const QObject* source, int viewIndex);
    // Pages were inserted or deleted.
    void PagesChanged(const QObject* source);

private:
    TMulticaster() = default;
    void FireElementChanged(const QObject* source, TFBElement* element, TFBPage* page);
};

inline TMulticaster& Multicaster() {
    return TMulticaster::instance();
}
