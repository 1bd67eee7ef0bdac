#include "editing/uPageViewUndo.h"

#include "editing/uPageView.h"
#include "editing/uUndo.h"
#include "platform/uDebug.h"

#include <exception>

namespace {

// The page view as the place undo records and shows again.
class TViewPlace : public TUndoUIState {
public:
    int CurrentView() const override { return view ? view->ViewIndex() : -1; }
    TFBElement* SelectedElement() const override { return view ? view->Selected() : nullptr; }
    void ShowPlace(int viewIndex, TFBElement* element) override {
        if (!view)
            return;
        view->SetScreen(viewIndex);
        view->Select(element);
    }
    TPageView* view = nullptr;
};

TViewPlace& place() {
    static TViewPlace p;
    return p;
}

// A record that cannot be made leaves the gesture undone rather than unrecorded.
template <typename Fn>
bool record(const char* what, const Fn& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        Debug().Trace(QStringLiteral("TFBMainView: %1: %2")
                          .arg(QString::fromLatin1(what), QString::fromUtf8(e.what())));
        return false;
    }
}

} // namespace

namespace PageViewUndo {

void Attach(TPageView* view) {
    place().view = view;
    UndoManager().SetUIState(view ? &place() : nullptr);
}

void Detach(TPageView* view) {
    if (place().view != view)
        return;
    place().view = nullptr;
    if (UndoManager().UIState() == &place())
        UndoManager().SetUIState(nullptr);
}

bool AddElementSizePos(TFBElement& element) {
    return record("AddElementSizePos", [&] { UndoManager().AddElementSizePos(&element); });
}

void SetElementDestination(TFBElement& element) {
    record("SetElementDestination", [&] { UndoManager().SetElementDestination(&element); });
}

bool AddBildZoomPan(TFBPictureElement& frame, bool merge) {
    return record("AddBildZoomPan", [&] { UndoManager().AddBildZoomPan(&frame, merge); });
}

bool AddBildLoeschen(TFBPictureElement& frame) {
    return record("AddBildLoeschen", [&] { UndoManager().AddBildLoeschen(&frame); });
}

void DropLast() {
    UndoManager().DropLast();
}

void Undo(TPageView& view) {
    if (!view.Document())
        return;
    view.Select(nullptr);
    UndoManager().Undo(*view.Document());
    view.RepaintAll();
}

} // namespace PageViewUndo
