#pragma once

// A page view on a headless window over documents built in code, for the page view's tests.

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPageView.h"
#include "editing/uPageViewOffscreen.h"
#include "editing/uPageViewUndo.h"
#include "support/PageElements.h"

#include <QImage>
#include <QPoint>

#include <cmath>
#include <memory>

namespace PageViewSupport {

// A photo of w x h pixels with a pattern, put into the frame.
inline void givePhoto(TFBPictureElement* frame, int w = 400, int h = 200) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 5) & 255, (y * 3) & 255, (x + y) & 255));
    const int ref = TBildmanager::Instance().AddBitmap(image);
    frame->SetRefIndex(ref);
    TBildmanager::Instance().Release(ref);
    frame->CanZoomAndTrack = true;
}

// A photo book spread by spread: 216 x 135 mm pages, 2 mm spine, 4 mm cover margin; page 0 alone
// in view 0, then pages (1, 2), (3, 4).
inline void makeBook(TFBDocument& doc, int pages = 5) {
    doc.Reset();
    doc.ScreenMode = 1;
    doc.PageWidth = 216;
    doc.PageHeight = 135;
    doc.Stegbreite = 2;
    doc.Umschlagbreite = 4;
    doc.PicturesHaveShadows = true;
    TestSupport::addPages(doc, pages);
}

inline TFBTextElement* addText(TFBPage* page, float cx, float cy, float w, float h, float angle = 0) {
    auto* text = TestSupport::placeElement<TFBTextElement>(page, cx, cy, w, h, angle);
    text->SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs32 Am Meer}");
    return text;
}

struct TRig {
    TFBDocument Doc;
    TOffscreenPageWindow Window;
    std::unique_ptr<TPageView> View;

    ~TRig() {
        if (View)
            PageViewUndo::Detach(View.get());
    }
    void Open(int w, int h, float dpr = 1) {
        if (View)
            PageViewUndo::Detach(View.get());
        View = std::make_unique<TPageView>(&Doc, &Window);
        Window.Attach(View.get());
        PageViewUndo::Attach(View.get());
        View->Resize(w, h, dpr);
        Window.UpdateNow();
    }
    // The logical client point of a page point (millimetres).
    QPoint At(const TFBPage* page, float x, float y) {
        const TFBPointF o = Doc.PageOffset(page);
        float dx, dy;
        View->Transformation().Transform(o.X + x, o.Y + y, dx, dy);
        return QPoint(static_cast<int>(std::lrint(dx)), static_cast<int>(std::lrint(dy)));
    }
    // Pixels per millimetre at the current fit and zoom.
    float Scale() const { return View->Fit() * View->Zoom(); }
    // Paints what is pending; then the whole view afresh. Returns whether both pictures match.
    bool MatchesFullRepaint(QImage* partial = nullptr) {
        Window.UpdateNow();
        const QImage before = Window.Screen().copy();
        Window.InvalidateAll();
        Window.UpdateNow();
        if (partial)
            *partial = before;
        return before == Window.Screen();
    }
};

} // namespace PageViewSupport
