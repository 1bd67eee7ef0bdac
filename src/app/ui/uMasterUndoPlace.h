#pragma once

#include "editing/uUndo.h"

#include <functional>

class TFBMainView;

// The main window's part in the undo history: recording asks it for the page view's view and
// selection; undo and redo show the recorded view in the page view and the pages panel (through
// the window's own view change) and select the element again.
class TMasterUndoPlace : public TUndoUIState {
public:
    using ShowViewFn = std::function<void(int view)>;

    // Installs itself in the undo history for its lifetime.
    TMasterUndoPlace(TFBMainView& view, ShowViewFn showView);
    ~TMasterUndoPlace() override;
    TMasterUndoPlace(const TMasterUndoPlace&) = delete;
    TMasterUndoPlace& operator=(const TMasterUndoPlace&) = delete;

    int CurrentView() const override;
    TFBElement* SelectedElement() const override;
    void ShowPlace(int view, TFBElement* element) override;

private:
    TFBMainView& view_;
    ShowViewFn showView_;
};
