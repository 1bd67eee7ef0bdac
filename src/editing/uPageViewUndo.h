#pragma once

class TFBElement;
class TFBPictureElement;
class TPageView;

// The undo records the page view's gestures leave. Each takes the place of the change (the view
// shown and the selected element) from the attached page view, so that undo returns the user
// there. A record that cannot be made returns false and the gesture does not start.
namespace PageViewUndo {
// The page view whose state the records take and restore (nullptr: none). The main window
// installs its own place instead; tests and the command line attach the headless view.
void Attach(TPageView* view);
// Attaches none when the view is the attached one (a view that goes away).
void Detach(TPageView* view);
bool AddElementSizePos(TFBElement& element);
// After a move: where the element ended up (another page, another list position).
void SetElementDestination(TFBElement& element);
// merge: a run of wheel steps on one picture is one record.
bool AddBildZoomPan(TFBPictureElement& frame, bool merge);
bool AddBildLoeschen(TFBPictureElement& frame);
// Takes back the newest record of a gesture that changed nothing.
void DropLast();
// Undoes the newest record and brings the view back to the place of the change.
void Undo(TPageView& view);
} // namespace PageViewUndo
