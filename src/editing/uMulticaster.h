#pragma once

#include <functional>
#include <vector>

class QObject;
class TFBDocument;
class TFBElement;
class TFBPage;

// The one event fan-out through which the editing controls keep each other in step. Its three
// events reach every subscriber, each told the source: a control passes itself as the source so
// that the receiver can leave it out. The main window subscribes and relays each event to its
// views and panels except the source; the panels themselves do not subscribe.
class TMulticaster {
public:
    using ElementChangedEvent =
        std::function<void(const QObject* source, TFBElement* element, TFBPage* page)>;
    using ViewSelectedEvent = std::function<void(const QObject* source, int viewIndex)>;
    using PagesChangedEvent = std::function<void(const QObject* source)>;

    // One subscriber's handlers; a handler left empty ignores its event.
    struct TSubscriber {
        ElementChangedEvent ElementChanged;
        ViewSelectedEvent ViewSelected;
        PagesChangedEvent PagesChanged;
    };

    // Holds a subscription; it ends when the object goes (or is moved from and reset).
    class TSubscription {
    public:
        TSubscription() = default;
        ~TSubscription() { Reset(); }
        TSubscription(TSubscription&& other) noexcept : id_(other.id_) { other.id_ = 0; }
        TSubscription& operator=(TSubscription&& other) noexcept;
        TSubscription(const TSubscription&) = delete;
        TSubscription& operator=(const TSubscription&) = delete;

        bool Active() const;
        void Reset();

    private:
        friend class TMulticaster;
        explicit TSubscription(int id) : id_(id) {}
        int id_ = 0;
    };

    static TMulticaster& instance();

    // Events reach the subscribers in the order they subscribed. A subscriber that unsubscribes
    // while an event is under way is not called any more, one that subscribes then is called
    // from the next event on.
    [[nodiscard]] TSubscription Subscribe(TSubscriber subscriber);
    int SubscriberCount() const { return static_cast<int>(subscribers_.size()); }
    // Drops every subscriber; their subscriptions become inactive (a fresh start for tests).
    void Clear() { subscribers_.clear(); }

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
    struct TEntry {
        int Id;
        TSubscriber Handlers;
    };

    TMulticaster() = default;
    const TSubscriber* find(int id) const;
    void unsubscribe(int id);
    // Calls call(handlers) for every subscriber present when the event started and still present.
    void fire(const std::function<void(const TSubscriber&)>& call) const;
    void fireElementChanged(const QObject* source, TFBElement* element, TFBPage* page);

    std::vector<TEntry> subscribers_;
    int nextId_ = 1;
};

inline TMulticaster& Multicaster() {
    return TMulticaster::instance();
}
