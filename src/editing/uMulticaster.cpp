#include "editing/uMulticaster.h"

#include "document/uFotobuchDocument.h"

#include <algorithm>

TMulticaster::TSubscription& TMulticaster::TSubscription::operator=(TSubscription&& other) noexcept {
    if (this != &other) {
        Reset();
        id_ = other.id_;
        other.id_ = 0;
    }
    return *this;
}

bool TMulticaster::TSubscription::Active() const {
    return id_ != 0 && Multicaster().find(id_) != nullptr;
}

void TMulticaster::TSubscription::Reset() {
    if (id_ != 0)
        Multicaster().unsubscribe(id_);
    id_ = 0;
}

TMulticaster& TMulticaster::instance() {
    static TMulticaster multicaster;
    return multicaster;
}

TMulticaster::TSubscription TMulticaster::Subscribe(TSubscriber subscriber) {
    const int id = nextId_++;
    subscribers_.push_back({id, std::move(subscriber)});
    return TSubscription(id);
}

const TMulticaster::TSubscriber* TMulticaster::find(int id) const {
    const auto it = std::find_if(subscribers_.begin(), subscribers_.end(),
                                 [id](const TEntry& entry) { return entry.Id == id; });
    return it == subscribers_.end() ? nullptr : &it->Handlers;
}

void TMulticaster::unsubscribe(int id) {
    std::erase_if(subscribers_, [id](const TEntry& entry) { return entry.Id == id; });
}

void TMulticaster::fire(const std::function<void(const TSubscriber&)>& call) const {
    // A handler may subscribe or unsubscribe: walk the ids of the start, look each one up anew.
    std::vector<int> ids;
    ids.reserve(subscribers_.size());
    for (const TEntry& entry : subscribers_)
        ids.push_back(entry.Id);
    for (const int id : ids) {
        if (const TSubscriber* handlers = find(id)) {
            // A copy: the handler may end its own subscription while it runs.
            const TSubscriber copy = *handlers;
            call(copy);
        }
    }
}

void TMulticaster::fireElementChanged(const QObject* source, TFBElement* element, TFBPage* page) {
    fire([&](const TSubscriber& s) {
        if (s.ElementChanged)
            s.ElementChanged(source, element, page);
    });
}

void TMulticaster::NotifyElementChanged(const QObject* source, TFBElement* element) {
    if (!element)
        return;
    fireElementChanged(source, element, element->Page);
}

void TMulticaster::NotifyPageChanged(const QObject* source, TFBPage* page) {
    if (!page)
        return;
    fireElementChanged(source, nullptr, page);
}

void TMulticaster::NotifyViewChanged(const QObject* source, TFBDocument* document, int viewIndex) {
    if (!document)
        return;
    TFBPage* left = document->LeftPage(viewIndex);
    TFBPage* right = document->RightPage(viewIndex);
    if (left)
        fireElementChanged(source, nullptr, left);
    // Single pages are their own left and right page.
    if (right && right != left)
        fireElementChanged(source, nullptr, right);
}

void TMulticaster::ViewSelected(const QObject* source, int viewIndex) {
    fire([&](const TSubscriber& s) {
        if (s.ViewSelected)
            s.ViewSelected(source, viewIndex);
    });
}

void TMulticaster::PagesChanged(const QObject* source) {
    fire([&](const TSubscriber& s) {
        if (s.PagesChanged)
            s.PagesChanged(source);
    });
}
