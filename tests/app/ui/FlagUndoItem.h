#pragma once

#include "editing/uUndo.h"

// An undo record that only notes that it was restored.
class FlagUndoItem : public TUndoItem {
public:
    explicit FlagUndoItem(bool& restored) : restored_(restored) {}
    bool Restore(TFBDocument&) override {
        restored_ = true;
        return true;
    }

private:
    bool& restored_;
};
