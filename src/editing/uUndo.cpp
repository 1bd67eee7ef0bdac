#include "editing/uUndo.h"

TUndoItem::~TUndoItem() = default;

void TUndoItem::Restore(TFBDocument&) {}

TUndoManager& TUndoManager::instance() {
    static TUndoManager manager;
    return manager;
}

void TUndoManager::Add(std::unique_ptr<TUndoItem> item) {
    if (item)
        items_.push_back(std::move(item));
}

void TUndoManager::Undo(TFBDocument& document) {
    if (items_.empty())
        return;
    // Taken off the stack first, so a record whose restore fails is not tried again.
    std::unique_ptr<TUndoItem> item = std::move(items_.back());
    items_.pop_back();
    item->Restore(document);
}

void TUndoManager::Clear() {
    items_.clear();
}
