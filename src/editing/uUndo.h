#pragma once

#include <memory>
#include <vector>

class TFBDocument;

// One recorded change. Restore brings the document back to the state before the change.
class TUndoItem {
public:
    TUndoItem() = default;
    virtual ~TUndoItem();
    TUndoItem(const TUndoItem&) = delete;
    TUndoItem& operator=(const TUndoItem&) = delete;

    virtual void Restore(TFBDocument& document);
};

// The one undo stack of the program, newest last, without a size limit. There is no redo.
class TUndoManager {
public:
    static TUndoManager& instance();

    bool CanUndo() const { return !items_.empty(); }
    int Count() const { return static_cast<int>(items_.size()); }
    // Takes the record; it becomes the newest.
    void Add(std::unique_ptr<TUndoItem> item);
    // Restores the newest record on the document and frees it; nothing when the stack is empty.
    void Undo(TFBDocument& document);
    void Clear();

private:
    TUndoManager() = default;
    std::vector<std::unique_ptr<TUndoItem>> items_;
};

inline TUndoManager& UndoManager() {
    return TUndoManager::instance();
}
