#pragma once

#include <cstdint>

class TDrawContext;
class TTransformation;
class TFBElement;
struct TRect;

// Receives the screen areas the tracker wants repainted (logical pixels, exclusive bounds).
class TInvalidateTarget {
public:
    virtual ~TInvalidateTarget() = default;
    virtual void InvalidateRect(const TRect& rect) = 0;
};

// Cursor numbers of the tracker and the page view (the cursor registry maps them to shapes).
enum TTrackerCursor : int {
    crTrackerNone = 0,
    crPicturePan = 125,
    crScrollPan = 126,
    crRotate = 200,
    crRotate15 = 201,
    crRotate10 = 202,
    crRotate5 = 203,
    crRotate1 = 204,
    crSizeVertical = 211,
    crSizeDiagonalDown = 212,
    crSizeHorizontal = 213,
    crSizeDiagonalUp = 214,
};

// The selection frame around a text or clipart element: eight resize handles and one rotate
// handle. It keeps its own copy of the geometry while the user drags and never touches the
// element. The transformation it is given holds the view's mapping with the page's offset; the
// tracker adds the element's centre and angle itself and leaves the transformation as it found it.
// Handles keep their size in screen pixels at every zoom.
class TTracker {
public:
    // Handle numbers: 1-8 resize clockwise from the top-left corner, 9 rotate.
    static constexpr int kRotateHandle = 9;
    // A handle is hit within this many pixels of its centre (in x and in y).
    static constexpr int kHitTolerance = 4;
    static constexpr int kHandleSize = 6;

    void Assign(const TFBElement& element);

    // The handle under the device point, 0 for none; corners win over edges.
    int HitTest(TTransformation& t, int x, int y) const;
    bool BeginDrag(TTransformation& t, int x, int y);
    void Drag(TTransformation& t, int x, int y);
    void EndDrag() { DragHandle = 0; }
    // The cursor for a handle under the point; false when there is none.
    bool GetCursor(TTransformation& t, int x, int y, int& cursor) const;
    // The cursor that the last rotate step chose (snap step by distance from the centre).
    int DragCursor() const { return dragCursor_; }

    // Draws the handles through the context. scale maps the transformation's pixels to the
    // context's (the back buffer's pixel ratio): the context's transformation is the interaction
    // transformation scaled by it.
    void Paint(TDrawContext& dc, float scale = 1) const;
    // The screen areas of the nine handles, in the pixels of the transformation.
    void Invalidate(TInvalidateTarget& window, TTransformation& t) const;

    float CenterX = 0;
    float CenterY = 0;
    float Height = 0;
    float Width = 0;
    float Angle = 0;
    uint8_t DragHandle = 0;
    int LastX = 0;
    int LastY = 0;
    bool Visible = false;

private:
    struct THandlePos {
        float X;
        float Y;
    };
    // Local position of handle n (1-9); d is the document length of 6 device pixels.
    THandlePos handlePosition(int n, float d) const;
    // Document length of 6 device pixels in the local frame.
    static float sixPixels(TTransformation& t);

    int dragCursor_ = crRotate;
};
