#pragma once

#include "document/uFotobuchDocument.h"
#include "editing/uTracker.h"
#include "render/uTransformation.h"

#include <QImage>
#include <QObject>

#include <functional>
#include <memory>

class TBitmapDrawContext;
class TFBDocument;
class TFBElement;
class TFBPage;
class TFBPictureElement;

// Mouse cursors of the page view besides the tracker's numbers; the pages panel shows crDrag over
// the labels of the views it can move.
enum TPageViewCursor : int { crDefault = 0, crSizeAll = 1, crDrag = 2 };

// What the page view needs from the window it lives in. Areas are logical pixels of the client
// area with exclusive bounds. The widget and the headless window of tests and the command line
// both implement it.
class TPageViewWindow : public TInvalidateTarget {
public:
    virtual void InvalidateAll() = 0;
    // Paints what is invalid now instead of at the next turn of the event loop.
    virtual void UpdateNow() = 0;
    virtual void SetCursorShape(int cursor) = 0;
    // The virtual size, the scroll positions or their ranges changed.
    virtual void ScrollStateChanged() = 0;
};

// Keyboard and mouse, independent of the window system.
enum class TPageViewKey { Left, Right, Up, Down, Delete, Tab, BackTab, Escape };
enum TPageViewButtons : int { pbLeft = 1, pbRight = 2, pbMiddle = 4 };
enum TPageViewModifiers : int { pmShift = 1, pmCtrl = 2 };

// The central editing area without its widget: one view of the document (a page or a spread)
// fitted into the client area and zoomed 1 ... 8 times, a back buffer it paints into, the
// selection with its tracker, and the mouse drags (tracker handles, moving a text or clipart,
// panning a photo in its frame, scrolling), wheel and keys. Interaction works in logical pixels;
// the back buffer has PixelRatio times as many pixels and is painted with the transformation
// scaled by it.
class TPageView : public QObject {
public:
    TPageView(TFBDocument* document, TPageViewWindow* window);
    ~TPageView() override;
    TPageView(const TPageView&) = delete;
    TPageView& operator=(const TPageView&) = delete;

    TFBDocument* Document() const { return document_; }
    // The source of the events this view fires (the widget, when there is one).
    void SetEventSource(const QObject* source) { source_ = source; }
    const QObject* EventSource() const { return source_; }

    // --- client area, scrolling and zoom
    // The client size in logical pixels and the pixel ratio of the screen; keeps each scroll
    // position at its relative place and reallocates the back buffer when it must.
    void Resize(int clientWidth, int clientHeight, float pixelRatio = 1);
    int ClientWidth() const { return clientW_; }
    int ClientHeight() const { return clientH_; }
    float PixelRatio() const { return dpr_; }
    int VirtualWidth() const { return virtualW_; }
    int VirtualHeight() const { return virtualH_; }
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    int ScrollRangeX() const;
    int ScrollRangeY() const;
    void SetScrollX(int x);
    void SetScrollY(int y);
    bool Scrollable() const { return ScrollRangeX() > 0 || ScrollRangeY() > 0; }
    // The fit factor of the last transformation set-up (millimetres to pixels at zoom 1).
    float Fit() const { return fit_; }

    int ViewIndex() const { return viewIndex_; }
    void SetScreen(int view);
    float Zoom() const { return zoom_; }
    void SetZoom(float z);
    void ZoomAt(int x, int y, float z);
    // Maps document millimetres of the view to logical client pixels.
    void SetupTransformation();
    TTransformation& Transformation() { return view_; }

    // --- selection and hit tests
    TFBElement* Selected() const { return selected_; }
    void Select(TFBElement* element);
    TFBElement* ElementAt(int x, int y, int kinds);
    TFBPage* PageAt(int x, int y);
    // The same tests on a point of the view in millimetres (drops and the command line aim there).
    TFBElement* ElementAtViewPoint(const TFBPointF& p, int kinds) const;
    TFBPage* PageAtViewPoint(const TFBPointF& p) const;
    // The view point under the client pixel; false outside the view.
    bool ViewPointAt(int x, int y, TFBPointF& p);
    // The pages of the current view (none, one or two).
    TFBPage* LeftPage() const;
    TFBPage* RightPage() const;
    bool InCurrentView(const TFBPage* page) const;
    // The element is one of the document's (found by its address alone).
    bool InDocument(const TFBElement* element) const;
    void RefreshElement(TFBPage* page, TFBElement* element);
    // Repaints the whole view (after the document changed under it).
    void RepaintAll() { window_->InvalidateAll(); }
    // The screen area that repaints the element (logical pixels, cut to the client).
    TRect ElementArea(TFBElement& element);
    void RepaintElement(TFBElement& element);
    TTracker& Tracker() { return tracker_; }
    TFBElement* ContextElement() const { return contextElement_; }
    TFBPage* ContextPage() const { return contextPage_; }
    // The context menu opened from the keyboard is about the selection (or the view's page).
    void ContextOnSelection();

    // --- input (logical pixels; buttons and modifiers as above)
    void MousePress(int x, int y, int button, int modifiers);
    void MouseMove(int x, int y, int buttons, int modifiers);
    void MouseRelease(int x, int y, int button);
    // delta in eighths of a degree as wheels send them (120 a notch).
    void Wheel(int x, int y, int delta, int modifiers);
    // true when the key was used; false lets the widget pass it on (Tab past the last element).
    bool KeyPress(TPageViewKey key);
    bool Dragging() const { return drag_ != TDrag::None; }
    int Cursor() const { return cursor_; }
    // The cursor for the mouse at (x, y) when no drag runs.
    int HoverCursor(int x, int y);

    // --- painting
    // Paints the logical area into the back buffer (steps are guarded: a failing step ends the
    // repaint, the buffer keeps what was painted). The window then copies that area.
    void Paint(const TRect& area);
    // The back buffer; null when it could not be allocated.
    const QImage& BackBuffer() const { return buffer_; }
    // The back buffer pixels of a logical area (rounded outwards, cut to the buffer).
    QRect DeviceRect(const TRect& area) const;
    TBitmapDrawContext* Context() const { return context_.get(); }

    std::function<void(TFBElement* selected)> OnSelectionChange;
    std::function<void()> OnZoomChange;
    // Delete on a text or clipart element (the command lives with the page view's commands).
    std::function<void()> OnDeleteSelection;
    // Called at the start of each guarded paint step (2 ... 9); tests raise from it.
    std::function<void(int step)> OnPaintStep;

private:
    enum class TDrag { None, Tracker, Move, Pan, ScrollPan };

    void setVirtualSize(int w, int h);
    void reallocateBuffer(bool force);
    TFBPointF pageOffset(const TFBPage* page) const;
    bool hitViewBox(int x, int y, TFBPointF& p);
    void invalidateTracker();
    void showTracker(bool visible);
    void notifyChanged(TFBElement* element);

    // Drags.
    void beginPan(TFBPictureElement& frame);
    void panTo(int x, int y);
    void moveTo(int x, int y);
    void trackTo(int x, int y);
    void endDrag();
    void moveSelectedBy(float dx, float dy);
    bool selectNeighbour(int direction);

    // Paint steps.
    // Runs draw for each page of the view with the page's offset on the context's transformation.
    void forShownPages(const std::function<void(TFBPage*)>& draw);
    void paintSteps();
    void paintBackground(const QRect& device);
    void paintViewShadow();
    void paintCoverBackdrop();
    void paintPageBackgrounds();
    void paintPictures();
    void paintCalendars();
    void paintSizeables();
    void paintCoverWindow();
    void paintTracker();
    void outlineSelected(TFBElement& element);

    TFBDocument* document_;
    TPageViewWindow* window_;
    const QObject* source_ = this;

    QImage buffer_;
    QImage backdrop_; // the client's gradient, copied under every repaint
    std::unique_ptr<TBitmapDrawContext> context_;
    TTransformation view_;
    TTracker tracker_;

    int clientW_ = 0, clientH_ = 0;
    float dpr_ = 1;
    int virtualW_ = 0, virtualH_ = 0;
    int scrollX_ = 0, scrollY_ = 0;
    float fit_ = 1;
    int viewIndex_ = 0;
    float zoom_ = 1;
    int ctrlWheelRest_ = 0;

    TFBElement* selected_ = nullptr;
    TFBElement* contextElement_ = nullptr;
    TFBPage* contextPage_ = nullptr;
    int cursor_ = crDefault;

    // The drag in progress, fixed at the press.
    TDrag drag_ = TDrag::None;
    int pressX_ = 0, pressY_ = 0, curX_ = 0, curY_ = 0;
    // Pan geometry: the frame (or panorama) rectangle and the zoomed picture with its origin.
    float panFX_ = 0, panFY_ = 0, panFW_ = 0, panFH_ = 0, panPW_ = 0, panPH_ = 0, panPX_ = 0, panPY_ = 0;
    float moveStartX_ = 0, moveStartY_ = 0;
    int scrollStartX_ = 0, scrollStartY_ = 0;
    // What the gesture started from, to tell a gesture that changed nothing.
    struct TGestureStart {
        float CX, CY, W, H, Angle, Zoom, OffsetX, OffsetY;
        TFBPage* Page;
    } gestureStart_{};
    bool gestureRecorded_ = false;
};

// The hit tests of a view of the document on a point of that view in millimetres, whichever view
// is shown: the page view aims at its current view, the pages panel at the thumbnail under the
// mouse. In documents of single pages the page is taken wherever the point lies.
TFBPage* PageAtViewPoint(const TFBDocument& document, int view, const TFBPointF& p);
TFBElement* ElementAtViewPoint(const TFBDocument& document, int view, const TFBPointF& p, int kinds);
