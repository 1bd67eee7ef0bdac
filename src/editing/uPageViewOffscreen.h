#pragma once

#include "editing/uPageView.h"

#include <QImage>
#include <QRegion>

#include <vector>

// A page view window without a window system: it collects what is invalid, paints it through the
// view on UpdateNow and copies it onto its screen picture, the way a widget copies the back
// buffer onto the screen. Tests and the command line drive the page view through it.
class TFBPage;
class TFBTextElement;

// A text element with a short sample text and a shadow, for driving the view from tests and the
// command line.
TFBTextElement* AddFixtureText(TFBPage* page, float cx, float cy, float w, float h, float angle);

class TOffscreenPageWindow : public TPageViewWindow {
public:
    void Attach(TPageView* view) { view_ = view; }

    void InvalidateRect(const TRect& rect) override;
    void InvalidateAll() override;
    void UpdateNow() override;
    void SetCursorShape(int cursor) override { Cursor = cursor; }
    void ScrollStateChanged() override { ++ScrollChanges; }

    // What the window shows (device pixels of the client area, white before the first paint).
    const QImage& Screen() const { return screen_; }
    bool HasPending() const { return !pending_.isEmpty(); }
    // The logical areas painted since the last ClearPainted.
    const std::vector<TRect>& Painted() const { return painted_; }
    void ClearPainted() { painted_.clear(); }

    int Cursor = crDefault;
    int ScrollChanges = 0;

private:
    TPageView* view_ = nullptr;
    QRegion pending_;
    QImage screen_;
    std::vector<TRect> painted_;
};
