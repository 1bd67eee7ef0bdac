#pragma once

class TFBElement;
class TFBPictureElement;
class TPageView;

// The undo records the page view's gestures leave, each taken with the view's state (the view
// shown and the selected element) so that undo returns the user to the place of the change.
namespace PageViewUndo {
// The page view whose state the records take and restore (none: records without a view).
void Attach(TPageView* view);
// Undoes the newest record and brings the view back to the place of the change.
void Undo(TPageView& view);
void AddElementSizePos(TPageView& view, TFBElement& element);
// After a move: where the element ended up (another page, another list position).
void SetElementDestination(TFBElement& element);
// merge: a run of wheel steps on one picture is one record.
void AddBildZoomPan(TPageView& view, TFBPictureElement& frame, bool merge);
void AddBildLoeschen(TPageView& view, TFBPictureElement& frame);
// Takes back the newest record of a gesture that changed nothing.
void DropLast();
} // namespace PageViewUndo
