#include "app/ui/uMasterUndoPlace.h"

#include "editing/ui/uFotobuchMainview.h"

TMasterUndoPlace::TMasterUndoPlace(TFBMainView& view, ShowViewFn showView)
    : view_(view), showView_(std::move(showView)) {
    UndoManager().SetUIState(this);
}

TMasterUndoPlace::~TMasterUndoPlace() {
    if (UndoManager().UIState() == this)
        UndoManager().SetUIState(nullptr);
}

int TMasterUndoPlace::CurrentView() const {
    return view_.ViewIndex();
}

TFBElement* TMasterUndoPlace::SelectedElement() const {
    return view_.Selected();
}

void TMasterUndoPlace::ShowPlace(int view, TFBElement* element) {
    if (view >= 0 && showView_)
        showView_(view);
    // The history hands over only an element of that view.
    view_.Select(element);
}
