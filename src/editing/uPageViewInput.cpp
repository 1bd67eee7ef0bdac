// The page view's mouse drags, wheel and keys.
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uPageView.h"
#include "editing/uPageViewUndo.h"
#include "platform/uDebug.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool isSizeable(const TFBElement* e) {
    return dynamic_cast<const TFBTextElement*>(e) || dynamic_cast<const TFBClipartElement*>(e);
}

// Wheels that report more than this per event are taken as this (a broken device or a synthetic
// event must not zoom or scroll without bound).
constexpr int kMaxWheelDelta = 120 * 100;

} // namespace

void TPageView::MousePress(int x, int y, int button, int modifiers) {
    if (drag_ != TDrag::None || !document_)
        return;
    curX_ = x;
    curY_ = y;
    if (button == pbRight) {
        contextElement_ = ElementAt(x, y, hkAll);
        contextPage_ = PageAt(x, y);
        Select(contextElement_);
        return;
    }
    if (Scrollable() && ((modifiers & pmShift) || button == pbMiddle)) {
        drag_ = TDrag::ScrollPan;
        pressX_ = x;
        pressY_ = y;
        scrollStartX_ = scrollX_;
        scrollStartY_ = scrollY_;
        cursor_ = crScrollPan;
        window_->SetCursorShape(cursor_);
        return;
    }
    if (button != pbLeft)
        return;
    gestureRecorded_ = false;
    if (tracker_.Visible && selected_ && isSizeable(selected_) && InCurrentView(selected_->Page)) {
        const TFBPointF o = pageOffset(selected_->Page);
        bool hit;
        {
            TTransformationSaver saver(view_);
            view_.Translate(o.X, o.Y);
            hit = tracker_.BeginDrag(view_, x, y);
        }
        if (hit) {
            if (!PageViewUndo::AddElementSizePos(*selected_)) {
                tracker_.EndDrag();
                return;
            }
            gestureRecorded_ = true;
            gestureStart_ = {selected_->CenterX,
                             selected_->CenterY,
                             selected_->Width,
                             selected_->Height,
                             selected_->Angle,
                             0,
                             0,
                             0,
                             selected_->Page};
            drag_ = TDrag::Tracker;
            return;
        }
    }
    TFBElement* element = ElementAt(x, y, hkAll);
    Select(element);
    pressX_ = curX_ = x;
    pressY_ = curY_ = y;
    if (auto* frame = dynamic_cast<TFBPictureElement*>(element)) {
        if (frame->HasPicture())
            beginPan(*frame);
    } else if (element && isSizeable(element)) {
        if (!PageViewUndo::AddElementSizePos(*element))
            return;
        gestureRecorded_ = true;
        gestureStart_ = {
            element->CenterX, element->CenterY, element->Width, element->Height, element->Angle, 0, 0, 0,
            element->Page};
        drag_ = TDrag::Move;
        moveStartX_ = element->CenterX;
        moveStartY_ = element->CenterY;
        showTracker(false);
    }
}

void TPageView::beginPan(TFBPictureElement& frame) {
    // A photo that does not decode stays selected but does not pan.
    const QImage picture = frame.GetBitmap();
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return;
    if (!PageViewUndo::AddBildZoomPan(frame, false))
        return;
    gestureRecorded_ = true;
    gestureStart_ = {frame.CenterX, frame.CenterY, frame.Width,   frame.Height, frame.Angle,
                     frame.Zoom,    frame.OffsetX, frame.OffsetY, frame.Page};
    TFBRectF r = frame.Rect();
    if (frame.Link)
        r = frame.Link->UnionRect(&frame);
    panFX_ = r.Left;
    panFY_ = r.Top;
    panFW_ = r.Width();
    panFH_ = r.Height();
    float cw = panFW_;
    float ch = picture.height() * cw / picture.width();
    if (ch < panFH_) {
        ch = panFH_;
        cw = picture.width() * ch / picture.height();
    }
    panPW_ = cw * frame.Zoom;
    panPH_ = ch * frame.Zoom;
    panPX_ = panFX_ - (panPW_ - panFW_) * frame.OffsetX;
    panPY_ = panFY_ - (panPH_ - panFH_) * frame.OffsetY;
    drag_ = TDrag::Pan;
}

void TPageView::MouseMove(int x, int y, int buttons, int modifiers) {
    (void)buttons;
    curX_ = x;
    curY_ = y;
    switch (drag_) {
    case TDrag::None: {
        const int cursor =
            (modifiers & pmShift) && Scrollable() ? static_cast<int>(crScrollPan) : HoverCursor(x, y);
        if (cursor != cursor_) {
            cursor_ = cursor;
            window_->SetCursorShape(cursor_);
        }
        return;
    }
    case TDrag::ScrollPan:
        SetScrollX(scrollStartX_ + pressX_ - x);
        SetScrollY(scrollStartY_ + pressY_ - y);
        return;
    case TDrag::Pan:
        panTo(x, y);
        return;
    case TDrag::Move:
        moveTo(x, y);
        return;
    case TDrag::Tracker:
        trackTo(x, y);
        return;
    }
}

void TPageView::panTo(int x, int y) {
    auto* frame = dynamic_cast<TFBPictureElement*>(selected_);
    if (!frame)
        return;
    float dx, dy;
    view_.InverseTransformVector(static_cast<float>(x - pressX_), static_cast<float>(y - pressY_), dx, dy);
    auto offset = [](float f, float p, float d, float pw, float fw) {
        if (std::fabs(pw - fw) <= 0.0001f)
            return 0.5f;
        const float v = (f - (p + d)) / (pw - fw);
        return std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.5f;
    };
    frame->SetOffsetX(offset(panFX_, panPX_, dx, panPW_, panFW_));
    frame->SetOffsetY(offset(panFY_, panPY_, dy, panPH_, panFH_));
    RepaintElement(*frame);
    notifyChanged(frame);
    window_->UpdateNow();
}

void TPageView::moveTo(int x, int y) {
    TFBElement* element = selected_;
    if (!element || !document_)
        return;
    RepaintElement(*element);
    TFBPage* page = PageAt(x, y);
    if (page && page != element->Page) {
        // The press point moves with the page origin so the element keeps following the mouse.
        const TFBPointF from = pageOffset(element->Page), to = pageOffset(page);
        float fx, fy, tx, ty;
        view_.Transform(from.X, from.Y, fx, fy);
        view_.Transform(to.X, to.Y, tx, ty);
        document_->MoveElementToPage(element, page);
        pressX_ += static_cast<int>(std::lrint(tx - fx));
        pressY_ += static_cast<int>(std::lrint(ty - fy));
    }
    float dx, dy;
    view_.InverseTransformVector(static_cast<float>(x - pressX_), static_cast<float>(y - pressY_), dx, dy);
    element->CenterX = moveStartX_ + dx;
    element->CenterY = moveStartY_ + dy;
    tracker_.CenterX = element->CenterX;
    tracker_.CenterY = element->CenterY;
    RepaintElement(*element);
    window_->UpdateNow();
    notifyChanged(element);
}

void TPageView::trackTo(int x, int y) {
    TFBElement* element = selected_;
    if (!element)
        return;
    showTracker(false);
    RepaintElement(*element);
    const TFBPointF o = pageOffset(element->Page);
    {
        TTransformationSaver saver(view_);
        view_.Translate(o.X, o.Y);
        tracker_.Drag(view_, x, y);
    }
    if (tracker_.DragHandle == TTracker::kRotateHandle && tracker_.DragCursor() != cursor_) {
        cursor_ = tracker_.DragCursor();
        window_->SetCursorShape(cursor_);
    }
    element->CenterX = tracker_.CenterX;
    element->CenterY = tracker_.CenterY;
    element->Width = std::fabs(tracker_.Width);
    element->Height = std::fabs(tracker_.Height);
    element->Angle = tracker_.Angle;
    RepaintElement(*element);
    window_->UpdateNow();
    notifyChanged(element);
}

void TPageView::MouseRelease(int x, int y, int button) {
    (void)button;
    curX_ = x;
    curY_ = y;
    const TDrag drag = drag_;
    drag_ = TDrag::None;
    TFBElement* element = selected_;
    bool unchanged = false;
    switch (drag) {
    case TDrag::None:
    case TDrag::ScrollPan:
        break;
    case TDrag::Tracker:
        tracker_.Width = std::fabs(tracker_.Width);
        tracker_.Height = std::fabs(tracker_.Height);
        tracker_.EndDrag();
        if (element) {
            unchanged = element->CenterX == gestureStart_.CX && element->CenterY == gestureStart_.CY &&
                        element->Width == gestureStart_.W && element->Height == gestureStart_.H &&
                        element->Angle == gestureStart_.Angle;
            showTracker(true);
            invalidateTracker();
        }
        break;
    case TDrag::Move:
        if (element) {
            unchanged = element->CenterX == gestureStart_.CX && element->CenterY == gestureStart_.CY &&
                        element->Page == gestureStart_.Page;
            if (!unchanged)
                PageViewUndo::SetElementDestination(*element);
            tracker_.Assign(*element);
            showTracker(true);
            invalidateTracker();
        }
        break;
    case TDrag::Pan:
        if (auto* frame = dynamic_cast<TFBPictureElement*>(element)) {
            unchanged = frame->OffsetX == gestureStart_.OffsetX && frame->OffsetY == gestureStart_.OffsetY &&
                        frame->Zoom == gestureStart_.Zoom;
            if (!unchanged)
                Multicaster().NotifyElementChanged(source_, frame);
        }
        break;
    }
    // A gesture that changed nothing leaves no undo step behind (and no modification).
    if (gestureRecorded_ && unchanged)
        PageViewUndo::DropLast();
    gestureRecorded_ = false;
    const int cursor = HoverCursor(x, y);
    if (cursor != cursor_) {
        cursor_ = cursor;
        window_->SetCursorShape(cursor_);
    }
}

int TPageView::HoverCursor(int x, int y) {
    if (tracker_.Visible && selected_ && isSizeable(selected_) && InCurrentView(selected_->Page)) {
        const TFBPointF o = pageOffset(selected_->Page);
        TTransformationSaver saver(view_);
        view_.Translate(o.X, o.Y);
        int cursor;
        if (tracker_.GetCursor(view_, x, y, cursor))
            return cursor;
    }
    TFBElement* element = ElementAt(x, y, hkAll);
    if (isSizeable(element))
        return crSizeAll;
    if (auto* frame = dynamic_cast<TFBPictureElement*>(element);
        frame && frame->HasPicture() && frame->CanZoomAndTrack)
        return crPicturePan;
    return crDefault;
}

void TPageView::Wheel(int x, int y, int delta, int modifiers) {
    if (!document_)
        return;
    delta = std::clamp(delta, -kMaxWheelDelta, kMaxWheelDelta);
    if (modifiers & pmCtrl) {
        Debug().TraceFmt("Wheeldelta: %d", delta);
        // One zoom step per notch, however finely the wheel reports it.
        ctrlWheelRest_ += delta;
        const int notches = ctrlWheelRest_ / 120;
        ctrlWheelRest_ -= notches * 120;
        if (notches != 0)
            ZoomAt(x, y, zoom_ * static_cast<float>(std::pow(1.05, -std::clamp(notches, -100, 100))));
        return;
    }
    auto* frame = dynamic_cast<TFBPictureElement*>(ElementAt(x, y, hkPictures));
    if (frame && frame->HasPicture()) {
        Select(frame);
        if (!PageViewUndo::AddBildZoomPan(*frame, true))
            return;
        const float step = std::abs(delta) / 4000.0f;
        frame->SetZoom(delta <= 0 ? frame->Zoom + step : frame->Zoom - step);
        RepaintElement(*frame);
        window_->UpdateNow();
        notifyChanged(frame);
        return;
    }
    if (Scrollable())
        SetScrollY(scrollY_ - delta / 4);
}

void TPageView::moveSelectedBy(float dx, float dy) {
    TFBElement* element = selected_;
    TFBPage* page = element->Page;
    if (page && page->Seitenausrichtung != 0) {
        const float sx = dx, sy = dy;
        if (document_->ScreenQuerformatWinkel != 90) {
            dx = -sy;
            dy = sx;
        } else {
            dx = sy;
            dy = -sx;
        }
    }
    if (!PageViewUndo::AddElementSizePos(*element))
        return;
    RepaintElement(*element);
    element->CenterX += dx;
    element->CenterY += dy;
    // Across the spine of an inner spread of the book.
    const int last = document_->ViewCount() - 1;
    if (document_->ScreenMode == 1 && viewIndex_ > 0 && viewIndex_ < last && page) {
        const float across = document_->PageWidth + document_->Stegbreite;
        if (page == RightPage() && LeftPage() && element->CenterX < -document_->Stegbreite) {
            document_->MoveElementToPage(element, LeftPage());
            element->CenterX += across;
        } else if (page == LeftPage() && RightPage() && element->CenterX > across) {
            document_->MoveElementToPage(element, RightPage());
            element->CenterX -= across;
        }
    }
    PageViewUndo::SetElementDestination(*element);
    tracker_.CenterX = element->CenterX;
    tracker_.CenterY = element->CenterY;
    RepaintElement(*element);
    notifyChanged(element);
}

bool TPageView::selectNeighbour(int direction) {
    std::vector<TFBElement*> order;
    for (TFBPage* page : {LeftPage(), RightPage()}) {
        if (!page)
            continue;
        for (const TFBElementList* list : {&page->Pictures, &page->Calendars, &page->Sizeables})
            for (TFBElement* e : *list)
                order.push_back(e);
    }
    const auto at = std::find(order.begin(), order.end(), selected_);
    int index;
    if (at == order.end())
        index = direction > 0 ? 0 : static_cast<int>(order.size()) - 1;
    else
        index = static_cast<int>(at - order.begin()) + direction;
    if (index < 0 || index >= static_cast<int>(order.size())) {
        // Past the end the focus moves on to the next control.
        Select(nullptr);
        return false;
    }
    Select(order[static_cast<size_t>(index)]);
    return true;
}

bool TPageView::KeyPress(TPageViewKey key) {
    if (!document_)
        return false;
    switch (key) {
    case TPageViewKey::Tab:
        return selectNeighbour(1);
    case TPageViewKey::BackTab:
        return selectNeighbour(-1);
    case TPageViewKey::Escape:
        if (!selected_)
            return false;
        Select(nullptr);
        return true;
    case TPageViewKey::Delete:
        if (auto* frame = dynamic_cast<TFBPictureElement*>(selected_)) {
            if (frame->HasPicture()) {
                if (!PageViewUndo::AddBildLoeschen(*frame))
                    return true;
                RepaintElement(*frame);
                frame->RemovePicture();
            }
            RepaintElement(*frame);
            notifyChanged(frame);
            if (OnSelectionChange)
                OnSelectionChange(selected_);
            return true;
        }
        if (isSizeable(selected_)) {
            if (OnDeleteSelection)
                OnDeleteSelection();
            return true;
        }
        return false;
    case TPageViewKey::Left:
    case TPageViewKey::Right:
    case TPageViewKey::Up:
    case TPageViewKey::Down: {
        if (!isSizeable(selected_))
            return false;
        const float dx = key == TPageViewKey::Left ? -1.0f : key == TPageViewKey::Right ? 1.0f : 0.0f;
        const float dy = key == TPageViewKey::Up ? -1.0f : key == TPageViewKey::Down ? 1.0f : 0.0f;
        moveSelectedBy(dx, dy);
        return true;
    }
    }
    return false;
}
