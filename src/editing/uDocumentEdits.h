#pragma once

#include <QString>

#include <cstdint>

class TFBDocument;
class TFBElement;
class TFBKalenderElement;
class TFBPage;
class TFBPageTemplate;
class TFBPictureElement;
class TFBClipartElement;
class TFBTextElement;
class TKalenderData;
enum class TPictureFilterKind;

// The undoable edits of the document, each as one step: check that it can be done, record the
// undo item (the installed UI state gives the place), change the document and mark it modified.
// The editing windows call these and then repaint and announce; the command line calls them for
// its edit steps. A refused edit raises Exception before anything is recorded or changed.
namespace DocumentEdits {

// --- Picture frames
// Loads the picture file into the frame (zoom and pan start afresh).
void InsertPicture(TFBPictureElement& frame, const QString& path);
// Fills the frame with a colour area (0x00BBGGRR).
void FillColour(TFBPictureElement& frame, int32_t colour);
// Takes the picture out of the frame; false (nothing recorded) when it shows none.
bool RemovePicture(TFBPictureElement& frame);
// direction 0: a quarter turn clockwise, 1: a half turn, 2: a quarter turn counter-clockwise.
void RotatePicture(TFBPictureElement& frame, int direction);
// Runs the filter dialog; a cancelled dialog leaves no undo step. True when confirmed.
bool FilterPicture(TFBPictureElement& frame, TPictureFilterKind kind);
// Zoom (clamped to 1..4). With merge, a run of steps on one picture is one undo step (the wheel).
void ZoomPicture(TFBPictureElement& frame, float zoom, bool merge);
// Pan position (each clamped to 0..1).
void PanPicture(TFBPictureElement& frame, float offsetX, float offsetY);
// The two frames exchange their pictures (a picture dragged onto another).
void SwapPictures(TFBPictureElement& target, TFBPictureElement& source);
// The target shows the source's picture too (a picture dragged with the copy effect).
void CopyPicture(TFBPictureElement& target, const TFBPictureElement& source);

// --- Views
// New page(s) at `view` with the frame layout of view `source`.
void InsertView(TFBDocument& document, int view, int source);
void DeleteView(TFBDocument& document, int view);
void MoveView(TFBDocument& document, int from, int to);
// Turns the view between portrait and landscape (0 becomes 1, anything else 0); its pages are
// recorded. Returns the new orientation.
uint8_t ToggleOrientation(TFBDocument& document, int view);
// Applies the layout to the page; the whole view it lies on is recorded.
void ApplyLayout(TFBDocument& document, TFBPage& page, const TFBPageTemplate& layout);

// --- Text and clipart
// A text element with shadow, 60 % of the page wide and 20 mm high, centred on the page (turned
// with a page shown turned).
TFBTextElement* InsertTextElement(TFBPage& page);
// A clipart element from the file, centred on the page point.
TFBClipartElement* InsertClipart(TFBPage& page, const QString& path, float x, float y);
void DeleteElement(TFBElement& element);
void SizeElement(TFBElement& element, float width, float height, float angle);
// Moves the element's centre to (x, y) of the target page (nullptr: its own page).
void MoveElement(TFBElement& element, float x, float y, TFBPage* target);

// --- Calendars
// The calendar takes the settings of look (its month and year included).
void SetCalendarLook(TFBKalenderElement& calendar, const TKalenderData& look);
// Every calendar takes the settings of look, each keeping its month and year.
void SetCalendarLookForAll(TFBDocument& document, TFBKalenderElement& calendar, const TKalenderData& look);
// Consecutive months from (year, month) on the first page.
void SetCalendarStart(TFBDocument& document, int year, int month);

} // namespace DocumentEdits
