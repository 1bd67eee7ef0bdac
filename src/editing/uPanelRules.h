#pragma once

// The rules of the picture and colour panels, apart from their widgets: what the picture panel
// shows of a frame (slider, resolution, traffic light), how its zoom slider records undo steps and
// which colour a colour area has.

#include <QImage>
#include <QString>

#include <cstdint>

class TFBPictureElement;
class TUndoItem;

namespace PanelRules {

// --- Zoom slider: position = zoom x 100 within the frame's zoom range 1 … 4.
constexpr int kZoomSliderMin = 100;
constexpr int kZoomSliderMax = 400;
constexpr int kZoomSliderPageStep = 10;
int ZoomSliderPosition(float zoom);
float ZoomOfSliderPosition(int position);

// --- Traffic light: one 16 x 32 cut-out of a 64 x 32 strip (red, yellow, green, unknown), magenta
// 0xFF00FF transparent.
constexpr int kAmpelWidth = 16;
constexpr int kAmpelHeight = 32;
// Left edge of the cut-out for a resolution: red below 100 dpi, yellow up to 199, green from 200
// on, the unknown light for 0 (no picture).
int AmpelCutOutLeft(int dpi);
// The strip of the program's resources.
QImage AmpelStrip();
// The cut-out for a resolution with magenta made transparent (Format_ARGB32); a strip too small
// for the cut-out gives a transparent picture.
QImage AmpelCutOut(const QImage& strip, int dpi);

// What the picture panel shows of a frame (nullptr: no frame).
struct TPicturePanelState {
    bool HasPicture = false; // slider, turn and filter buttons are usable
    int SliderPosition = kZoomSliderMin;
    int Dpi = 0;
    QString DpiText; // translated "%d dpi"; empty without picture
};
TPicturePanelState PicturePanelStateFor(const TFBPictureElement* frame);

// One press of the zoom slider, from mouse-down to mouse-up. The press records the frame's zoom
// and pan for undo; every position the slider takes sets the zoom; a release that left the zoom as
// it was takes the record back, so a click without movement leaves no undo step.
class TZoomSliderGesture {
public:
    // Records the undo step (raises when the frame belongs to no document or shows no picture).
    // A press while another is under way ends that one first.
    void Press(TFBPictureElement& frame);
    // The slider stands at position: sets the frame's zoom and marks the document modified. True
    // when the zoom changed. A change outside a press (none is under way) is recorded on its own.
    bool Move(TFBPictureElement& frame, int position);
    // Ends the press; the undo step goes again when the zoom is what it was at the press and the
    // step is still the newest one.
    void Release();
    // Forgets the press without touching the undo history (the frame went away).
    void Cancel();
    bool Pressed() const { return frame_ != nullptr; }

private:
    TFBPictureElement* frame_ = nullptr;
    const TUndoItem* record_ = nullptr;
    float zoomAtPress_ = 1;
};

// --- Colour areas
// The colour of a colour area (0x00BBGGRR): the pixel (0, 0) of its picture; white without one.
int32_t ColorAreaColor(const TFBPictureElement& frame);
struct TColorParts {
    int R = 0, G = 0, B = 0;
};
TColorParts ColorParts(int32_t colour);

} // namespace PanelRules
