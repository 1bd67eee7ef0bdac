#include "editing/uPageViewUndo.h"

#include "editing/uPageView.h"
#include "editing/uUndo.h"

// The records come with the undo manager's records for the page view; until then the gestures
// leave none.
namespace PageViewUndo {

void AddElementSizePos(TPageView&, TFBElement&) {}

void SetElementDestination(TFBElement&) {}

void AddBildZoomPan(TPageView&, TFBPictureElement&, bool) {}

void AddBildLoeschen(TPageView&, TFBPictureElement&) {}

void DropLast() {}

void Attach(TPageView*) {}

void Undo(TPageView&) {}

} // namespace PageViewUndo
