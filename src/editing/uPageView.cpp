#include "editing/uPageView.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "i18n/ulocalize.h"
#include "platform/uDebug.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr TColor kOutlineGrey = 0xD0D0D0;
constexpr TColor kSelectionBlue = 0xFF0000;
// The back buffer is this much larger than the client on each side, and shrinks again once it is
// more than the slack larger.
constexpr int kBufferMargin = 50;
constexpr int kBufferSlack = 150;
// Geometry beyond this many pixels is not on any screen.
constexpr float kFarAway = 1e6f;

bool finite(float v) {
    return std::isfinite(v);
}

// An element with non-finite or absurd geometry is on no screen and is not drawn: its device
// coordinates would overflow every integer on the way.
bool drawable(const TFBElement& e) {
    const float limit = 1e5f;
    for (float v : {e.CenterX, e.CenterY, e.Width, e.Height, e.Angle})
        if (!std::isfinite(v) || std::fabs(v) > limit)
            return false;
    return true;
}

int roundPx(double v) {
    return static_cast<int>(std::lrint(v));
}

TRect clientRect(int w, int h) {
    return TRect{0, 0, w, h};
}

// The cover window of the print settings whose cover has a window, in page 0 millimetres.
bool coverWindow(int printSetting, TRectF& r) {
    switch (printSetting) {
    case 1:
        r = RectF(20.5f, 31, 60, 70.5f);
        return true;
    case 2:
        r = RectF(48.5f, 70, 117, 134.5f);
        return true;
    case 5:
    case 6:
        r = RectF(47, 70, 117, 125);
        return true;
    case 12:
        r = RectF(19, 45, 73, 107);
        return true;
    case 15:
        r = RectF(49, 25, 117, 90);
        return true;
    default:
        return false;
    }
}

// A one-pixel dotted outline through the device points, cut to the repaint area.
void dottedPolygon(TDrawContext& dc, const std::vector<TPointF>& points, float pixelRatio) {
    std::vector<QPointF> device;
    device.reserve(points.size());
    for (const TPointF& p : points) {
        float x, y;
        dc.Transformation.Transform(p.X, p.Y, x, y);
        if (!finite(x) || !finite(y) || std::fabs(x) > kFarAway || std::fabs(y) > kFarAway)
            return;
        device.emplace_back(std::round(x) + 0.5, std::round(y) + 0.5);
    }
    QPainter& painter = dc.Canvas().Painter();
    painter.save();
    const TRect& c = dc.ClipRect;
    painter.setClipRect(QRect(c.Left, c.Top, c.Width(), c.Height()), Qt::IntersectClip);
    QPen pen(ToQColor(kOutlineGrey));
    pen.setWidthF(std::max(1.0f, std::round(pixelRatio)));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(device.data(), static_cast<int>(device.size()));
    painter.restore();
}

// The hanging slots of a wall calendar along the top edge of the page outline.
void slotPath(TDrawContext& dc, float pageWidth, float pageHeight) {
    const float slotX[3] = {13, pageWidth / 2, pageWidth - 13};
    dc.BeginPath();
    dc.MoveTo(0, 0);
    for (float x : slotX) {
        dc.LineTo(x - 0.7f, 0);
        dc.LineTo(x - 0.7f, 4.25f);
        dc.LineTo(x - 3.1f, 4.55f);
        dc.BezierTo(x - 3.3f, 4.6f, x - 3.5f, 4.8f, x - 3.5f, 5.25f);
        dc.BezierTo(x - 3.5f, 5.8f, x - 1.8f, 7, x, 7);
        dc.BezierTo(x + 1.8f, 7, x + 3.5f, 5.8f, x + 3.5f, 5.25f);
        dc.BezierTo(x + 3.5f, 4.8f, x + 3.3f, 4.6f, x + 3.1f, 4.55f);
        dc.LineTo(x + 0.7f, 4.25f);
        dc.LineTo(x + 0.7f, 0);
    }
    dc.LineTo(pageWidth, 0);
    dc.LineTo(pageWidth, pageHeight);
    dc.LineTo(0, pageHeight);
    dc.CloseFigure();
    dc.EndPath();
}

bool isSizeable(const TFBElement* e) {
    return dynamic_cast<const TFBTextElement*>(e) || dynamic_cast<const TFBClipartElement*>(e);
}

} // namespace

TPageView::TPageView(TFBDocument* document, TPageViewWindow* window) : document_(document), window_(window) {}

TPageView::~TPageView() {
    if (context_)
        context_->ReleaseCanvas();
}

// --- client area, scrolling and zoom ------------------------------------------------------------

int TPageView::ScrollRangeX() const {
    return std::max(0, virtualW_ - clientW_);
}

int TPageView::ScrollRangeY() const {
    return std::max(0, virtualH_ - clientH_);
}

void TPageView::SetScrollX(int x) {
    const int v = std::clamp(x, 0, ScrollRangeX());
    if (v == scrollX_)
        return;
    scrollX_ = v;
    SetupTransformation();
    window_->InvalidateAll();
    window_->ScrollStateChanged();
}

void TPageView::SetScrollY(int y) {
    const int v = std::clamp(y, 0, ScrollRangeY());
    if (v == scrollY_)
        return;
    scrollY_ = v;
    SetupTransformation();
    window_->InvalidateAll();
    window_->ScrollStateChanged();
}

void TPageView::setVirtualSize(int w, int h) {
    virtualW_ = std::max(0, w);
    virtualH_ = std::max(0, h);
    // The first position is the middle.
    scrollX_ = ScrollRangeX() / 2;
    scrollY_ = ScrollRangeY() / 2;
}

void TPageView::Resize(int clientWidth, int clientHeight, float pixelRatio) {
    clientWidth = std::max(0, clientWidth);
    clientHeight = std::max(0, clientHeight);
    if (!(pixelRatio > 0) || !finite(pixelRatio))
        pixelRatio = 1;
    const bool ratioChanged = pixelRatio != dpr_;
    const int oldRangeX = ScrollRangeX(), oldRangeY = ScrollRangeY();
    const int oldX = scrollX_, oldY = scrollY_;
    clientW_ = clientWidth;
    clientH_ = clientHeight;
    dpr_ = pixelRatio;
    virtualW_ = std::max(0, roundPx(clientW_ * static_cast<double>(zoom_) - 1));
    virtualH_ = std::max(0, roundPx(clientH_ * static_cast<double>(zoom_) - 1));
    // Each position keeps its relative place; from a view that did not scroll, the middle.
    scrollX_ = oldRangeX > 0 ? MulDiv(ScrollRangeX(), oldX, oldRangeX) : ScrollRangeX() / 2;
    scrollY_ = oldRangeY > 0 ? MulDiv(ScrollRangeY(), oldY, oldRangeY) : ScrollRangeY() / 2;
    scrollX_ = std::clamp(scrollX_, 0, ScrollRangeX());
    scrollY_ = std::clamp(scrollY_, 0, ScrollRangeY());
    reallocateBuffer(ratioChanged);
    SetupTransformation();
    window_->ScrollStateChanged();
    window_->InvalidateAll();
}

void TPageView::reallocateBuffer(bool force) {
    const int needW = clientW_ + kBufferMargin, needH = clientH_ + kBufferMargin;
    const int haveW = buffer_.isNull() ? 0 : roundPx(buffer_.width() / dpr_);
    const int haveH = buffer_.isNull() ? 0 : roundPx(buffer_.height() / dpr_);
    const bool outgrown = haveW < clientW_ || haveH < clientH_;
    const bool tooLarge = haveW > clientW_ + kBufferSlack || haveH > clientH_ + kBufferSlack;
    if (!force && !buffer_.isNull() && !outgrown && !tooLarge)
        return;
    if (context_)
        context_->ReleaseCanvas();
    context_.reset();
    buffer_ = QImage();
    const double w = std::ceil(needW * static_cast<double>(dpr_));
    const double h = std::ceil(needH * static_cast<double>(dpr_));
    // A buffer beyond any screen is refused rather than tried (it would fail or take all memory).
    if (w * h > 512.0 * 1024 * 1024 / 4 || w > 32767 || h > 32767)
        return;
    buffer_ = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32);
    if (buffer_.isNull())
        return;
    buffer_.fill(0xFFFFFFFFu);
    context_ = std::make_unique<TBitmapDrawContext>(buffer_);
}

void TPageView::SetupTransformation() {
    float w = 1, h = 1;
    if (document_) {
        const TFBSizeF size = document_->ViewSize();
        w = size.Width;
        h = size.Height;
    }
    if (!(w > 0 && finite(w)) || !(h > 0 && finite(h))) {
        Debug().Trace(QStringLiteral("TFBMainView.SetupTransformation: FDoc.GetDisplaySize ist (0,0)"));
        if (!(w > 0 && finite(w)))
            w = 1;
        if (!(h > 0 && finite(h)))
            h = 1;
    }
    const bool turned = document_ && document_->ViewOrientation(viewIndex_) != 0;
    view_.Reset();
    view_.Translate(static_cast<float>(-scrollX_), static_cast<float>(-scrollY_));
    view_.Translate(virtualW_ / 2.0f, virtualH_ / 2.0f);
    const float fw = turned ? h : w;
    const float fh = turned ? w : h;
    fit_ = std::min(std::max(0.1f, (clientW_ - 60) / fw), std::max(0.1f, (clientH_ - 60) / fh));
    if (turned)
        view_.Rotate(document_->ScreenQuerformatWinkel);
    view_.Scale(fit_ * zoom_);
    view_.Translate(-w / 2, -h / 2);
    view_.Update();
}

void TPageView::SetScreen(int view) {
    if (view == viewIndex_)
        return;
    Select(nullptr);
    viewIndex_ = view;
    SetupTransformation();
    window_->InvalidateAll();
}

void TPageView::SetZoom(float z) {
    ZoomAt(clientW_ / 2, clientH_ / 2, z);
}

void TPageView::ZoomAt(int x, int y, float z) {
    if (!finite(z))
        return;
    z = std::clamp(z, 1.0f, 8.0f);
    SetupTransformation();
    float px, py;
    view_.InverseTransform(static_cast<float>(x), static_cast<float>(y), px, py);
    const float old = zoom_;
    zoom_ = z;
    virtualW_ = std::max(0, roundPx(clientW_ * static_cast<double>(zoom_) - 1));
    virtualH_ = std::max(0, roundPx(clientH_ * static_cast<double>(zoom_) - 1));
    scrollX_ = scrollY_ = 0;
    SetupTransformation();
    float nx, ny;
    view_.Transform(px, py, nx, ny);
    if (finite(nx) && finite(ny)) {
        scrollX_ = std::clamp(roundPx(nx - x), 0, ScrollRangeX());
        scrollY_ = std::clamp(roundPx(ny - y), 0, ScrollRangeY());
    }
    SetupTransformation();
    window_->ScrollStateChanged();
    window_->InvalidateAll();
    if (zoom_ != old && OnZoomChange)
        OnZoomChange();
}

// --- pages and hit tests ------------------------------------------------------------------------

TFBPage* TPageView::LeftPage() const {
    if (!document_)
        return nullptr;
    if (document_->ScreenMode == 0)
        return viewIndex_ >= 0 && viewIndex_ < document_->Pages.Count() ? document_->Pages.Items(viewIndex_)
                                                                        : nullptr;
    return document_->LeftPage(viewIndex_);
}

TFBPage* TPageView::RightPage() const {
    if (!document_ || document_->ScreenMode == 0)
        return nullptr;
    return document_->RightPage(viewIndex_);
}

bool TPageView::InCurrentView(const TFBPage* page) const {
    return page && (page == LeftPage() || page == RightPage());
}

TFBPointF TPageView::pageOffset(const TFBPage* page) const {
    return document_ && page ? document_->PageOffset(page) : TFBPointF{};
}

bool TPageView::hitViewBox(int x, int y, TFBPointF& p) {
    if (!document_)
        return false;
    const TFBSizeF size = document_->ViewSize();
    const TRect box = view_.BoundingRect(0, 0, size.Width, size.Height);
    if (x < box.Left || x > box.Right || y < box.Top || y > box.Bottom)
        return false;
    view_.InverseTransform(static_cast<float>(x), static_cast<float>(y), p.X, p.Y);
    return finite(p.X) && finite(p.Y);
}

void TPageView::ContextOnSelection() {
    contextElement_ = selected_;
    contextPage_ = selected_ ? selected_->Page : (LeftPage() ? LeftPage() : RightPage());
}

bool TPageView::ViewPointAt(int x, int y, TFBPointF& p) {
    return hitViewBox(x, y, p);
}

TFBPage* TPageView::PageAt(int x, int y) {
    TFBPointF p;
    return hitViewBox(x, y, p) ? PageAtViewPoint(p) : nullptr;
}

TFBElement* TPageView::ElementAt(int x, int y, int kinds) {
    TFBPointF p;
    return hitViewBox(x, y, p) ? ElementAtViewPoint(p, kinds) : nullptr;
}

TFBPage* TPageView::PageAtViewPoint(const TFBPointF& p) const {
    return document_ ? ::PageAtViewPoint(*document_, viewIndex_, p) : nullptr;
}

TFBElement* TPageView::ElementAtViewPoint(const TFBPointF& p, int kinds) const {
    return document_ ? ::ElementAtViewPoint(*document_, viewIndex_, p, kinds) : nullptr;
}

namespace {

// The page of a view as the page view shows it: a single page is its left page.
TFBPage* shownLeftPage(const TFBDocument& document, int view) {
    if (document.ScreenMode == 0)
        return view >= 0 && view < document.Pages.Count() ? document.Pages.Items(view) : nullptr;
    return document.LeftPage(view);
}

TFBPage* shownRightPage(const TFBDocument& document, int view) {
    return document.ScreenMode == 0 ? nullptr : document.RightPage(view);
}

TFBElement* hitOnShownPage(const TFBDocument& document, TFBPage* page, const TFBPointF& p, int kinds) {
    if (!page)
        return nullptr;
    const TFBPointF o = document.PageOffset(page);
    return page->HitTest(p.X - o.X, p.Y - o.Y, kinds);
}

} // namespace

TFBPage* PageAtViewPoint(const TFBDocument& document, int view, const TFBPointF& p) {
    const float pw = document.PageWidth, ph = document.PageHeight;
    auto inside = [pw, ph](float lx, float ly) { return lx >= 0 && lx < pw && ly >= 0 && ly < ph; };
    switch (document.ScreenMode) {
    case 0:
        return shownLeftPage(document, view);
    case 1:
    case 2: {
        for (TFBPage* page : {shownLeftPage(document, view), shownRightPage(document, view)}) {
            if (!page)
                continue;
            const TFBPointF o = document.PageOffset(page);
            if (inside(p.X - o.X, p.Y - o.Y))
                return page;
        }
        return nullptr;
    }
    default:
        return nullptr;
    }
}

TFBElement* ElementAtViewPoint(const TFBDocument& document, int view, const TFBPointF& p, int kinds) {
    switch (document.ScreenMode) {
    case 0:
        return hitOnShownPage(document, shownLeftPage(document, view), p, kinds);
    case 1:
    case 2: {
        TFBPage* left = shownLeftPage(document, view);
        // In the book the left page reaches to the middle of the spine, so elements that touch
        // the spine stay clickable.
        const bool tryLeft = document.ScreenMode == 2 ||
                             p.X - document.Umschlagbreite < document.PageWidth + document.Stegbreite / 2;
        if (left && tryLeft)
            if (TFBElement* e = hitOnShownPage(document, left, p, kinds))
                return e;
        return hitOnShownPage(document, shownRightPage(document, view), p, kinds);
    }
    default:
        return nullptr;
    }
}

// --- selection and repaint areas ----------------------------------------------------------------

TRect TPageView::ElementArea(TFBElement& element) {
    if (!finite(element.CenterX) || !finite(element.CenterY) || !finite(element.Width) ||
        !finite(element.Height) || !finite(element.Angle))
        return {};
    float grow = 1;
    if (auto* frame = dynamic_cast<TFBPictureElement*>(&element)) {
        // The picture's shadow falls 1.5 mm right and down with 1.5 mm blur; a border's outer half
        // lies outside the frame.
        if (document_ && document_->PicturesHaveShadows && frame->HasPicture())
            grow += 2;
        if (frame->BorderWidth > 0 && finite(frame->BorderWidth))
            grow += frame->BorderWidth;
    } else if (auto* text = dynamic_cast<TFBTextElement*>(&element)) {
        if (text->HasShadow)
            grow += 2;
    }
    const TFBPointF o = pageOffset(element.Page);
    TRect r;
    {
        TTransformationSaver saver(view_);
        view_.Translate(o.X, o.Y);
        view_.Translate(element.CenterX, element.CenterY);
        view_.Rotate(element.Angle);
        const float w = std::fabs(element.Width) / 2 + grow, h = std::fabs(element.Height) / 2 + grow;
        // Corners far off the screen are cut to it before they are rounded to integers.
        float xs[4], ys[4];
        view_.Transform(-w, -h, xs[0], ys[0]);
        view_.Transform(w, -h, xs[1], ys[1]);
        view_.Transform(w, h, xs[2], ys[2]);
        view_.Transform(-w, h, xs[3], ys[3]);
        float l = xs[0], t = ys[0], rr = xs[0], b = ys[0];
        for (int i = 1; i < 4; ++i) {
            l = std::min(l, xs[i]);
            rr = std::max(rr, xs[i]);
            t = std::min(t, ys[i]);
            b = std::max(b, ys[i]);
        }
        if (!finite(l) || !finite(t) || !finite(rr) || !finite(b))
            return {};
        const float lim = kFarAway;
        r = TRect{roundPx(std::clamp(l, -lim, lim)) - 10, roundPx(std::clamp(t, -lim, lim)) - 10,
                  roundPx(std::clamp(rr, -lim, lim)) + 11, roundPx(std::clamp(b, -lim, lim)) + 11};
    }
    return IntersectRect(r, clientRect(clientW_, clientH_));
}

bool TPageView::InDocument(const TFBElement* element) const {
    if (!document_ || !element)
        return false;
    // Compares addresses only: an element deleted under the view must not be touched.
    for (const TFBPage* page : document_->Pages)
        for (const TFBElementList* list : {&page->Pictures, &page->Calendars, &page->Sizeables})
            for (const TFBElement* e : *list)
                if (e == element)
                    return true;
    return false;
}

void TPageView::invalidateTracker() {
    if (!selected_ || !InDocument(selected_) || !isSizeable(selected_) || !InCurrentView(selected_->Page))
        return;
    const TFBPointF o = pageOffset(selected_->Page);
    TTransformationSaver saver(view_);
    view_.Translate(o.X, o.Y);
    tracker_.Invalidate(*window_, view_);
}

void TPageView::RepaintElement(TFBElement& element) {
    if (dynamic_cast<TFBKalenderElement*>(&element)) {
        window_->InvalidateAll();
        return;
    }
    auto invalidate = [this](TFBElement& e) {
        if (!InCurrentView(e.Page))
            return;
        const TRect r = ElementArea(e);
        if (!r.IsEmpty())
            window_->InvalidateRect(r);
    };
    invalidate(element);
    if (auto* frame = dynamic_cast<TFBPictureElement*>(&element); frame && frame->Link)
        for (TFBPictureElement* member : frame->Link->Members)
            if (member != frame)
                invalidate(*member);
    if (&element == selected_)
        invalidateTracker();
}

void TPageView::RefreshElement(TFBPage* page, TFBElement* element) {
    if (!InCurrentView(page))
        return;
    if (element)
        RepaintElement(*element);
    else
        window_->InvalidateAll();
}

void TPageView::showTracker(bool visible) {
    if (tracker_.Visible == visible)
        return;
    invalidateTracker();
    tracker_.Visible = visible;
}

void TPageView::Select(TFBElement* element) {
    if (element == selected_) {
        invalidateTracker();
        tracker_.Visible = false;
        if (element && isSizeable(element)) {
            tracker_.Assign(*element);
            tracker_.Visible = true;
            invalidateTracker();
        }
        return;
    }
    invalidateTracker();
    tracker_.Visible = false;
    if (selected_ && InDocument(selected_))
        RepaintElement(*selected_);
    else if (selected_)
        window_->InvalidateAll(); // it was deleted under the view: its area is unknown
    selected_ = element;
    if (element) {
        tracker_.Assign(*element);
        tracker_.Visible = isSizeable(element);
        RepaintElement(*element);
    }
    if (OnSelectionChange)
        OnSelectionChange(selected_);
}

void TPageView::notifyChanged(TFBElement* element) {
    Multicaster().NotifyElementChanged(source_, element);
    if (document_)
        document_->Modified = true;
}

// --- painting -----------------------------------------------------------------------------------

QRect TPageView::DeviceRect(const TRect& area) const {
    if (buffer_.isNull() || area.IsEmpty())
        return {};
    const int l = static_cast<int>(std::floor(area.Left * static_cast<double>(dpr_)));
    const int t = static_cast<int>(std::floor(area.Top * static_cast<double>(dpr_)));
    const int r = static_cast<int>(std::ceil(area.Right * static_cast<double>(dpr_)));
    const int b = static_cast<int>(std::ceil(area.Bottom * static_cast<double>(dpr_)));
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1)).intersected(buffer_.rect());
}

namespace {

// Sets the alpha byte of n pixels, four at a time where the processor allows.
void makeOpaque(uint32_t* row, int n) {
    int x = 0;
#if defined(__SSE2__)
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; x + 4 <= n; x += 4) {
        auto* p = reinterpret_cast<__m128i*>(row + x);
        _mm_storeu_si128(p, _mm_or_si128(_mm_loadu_si128(p), alpha));
    }
#endif
    for (; x < n; ++x)
        row[x] |= 0xFF000000u;
}

} // namespace

void TPageView::Paint(const TRect& area) {
    if (!context_ || buffer_.isNull())
        return;
    const QRect device = DeviceRect(IntersectRect(area, clientRect(clientW_, clientH_)));
    if (device.isEmpty())
        return;
    SetupTransformation();
    TBitmapDrawContext& dc = *context_;
    dc.ClipRect = TRect{device.left(), device.top(), device.right() + 1, device.bottom() + 1};
    dc.Transformation.Reset();
    dc.Transformation.Scale(dpr_);
    dc.Transformation.MultiplyBy(view_);
    dc.Transformation.Update();
    paintBackground(device);
    if (document_)
        paintSteps();
    // Blending leaves the alpha bytes below 255 under shadows; the screen shows the colours as
    // they are, so the copy is made opaque.
    for (int y = device.top(); y <= device.bottom(); ++y)
        makeOpaque(reinterpret_cast<uint32_t*>(buffer_.scanLine(y)) + device.left(), device.width());
}

void TPageView::paintSteps() {
    try {
        const std::function<void()> steps[] = {
            [this] { paintViewShadow(); },      [this] { paintCoverBackdrop(); },
            [this] { paintPageBackgrounds(); }, [this] { paintPictures(); },
            [this] { paintCalendars(); },       [this] { paintSizeables(); },
            [this] { paintCoverWindow(); },     [this] { paintTracker(); },
        };
        int step = 2;
        for (const auto& run : steps) {
            if (OnPaintStep)
                OnPaintStep(step);
            run();
            ++step;
        }
    } catch (const std::exception& e) {
        Debug().Trace(QStringLiteral("TFBMainView.Paint: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        Debug().Trace(QStringLiteral("TFBMainView.Paint: unknown error"));
    }
}

void TPageView::paintBackground(const QRect& device) {
    const QRectF client(0, 0, clientW_ * dpr_, clientH_ * dpr_);
    const QSize size(static_cast<int>(std::ceil(client.width())),
                     static_cast<int>(std::ceil(client.height())));
    // The gradient spans the whole client and does not change while its size stays, so it is
    // drawn once and each repaint copies its part (a gradient fill costs as much as the photos).
    if (backdrop_.size() != size) {
        backdrop_ = QImage(size, QImage::Format_ARGB32);
        if (backdrop_.isNull())
            return;
        QLinearGradient gradient(client.topLeft(), client.bottomRight());
        gradient.setColorAt(0, QColor(244, 243, 238));
        gradient.setColorAt(1, QColor(252, 252, 254));
        backdrop_.fill(Qt::white);
        QPainter painter(&backdrop_);
        painter.fillRect(QRect(QPoint(0, 0), size), gradient);
    }
    const QRect copied = device.intersected(backdrop_.rect()).intersected(buffer_.rect());
    const auto bytes = static_cast<size_t>(copied.width()) * sizeof(uint32_t);
    for (int y = copied.top(); y <= copied.bottom(); ++y)
        std::memcpy(buffer_.scanLine(y) + copied.left() * sizeof(uint32_t),
                    backdrop_.constScanLine(y) + copied.left() * sizeof(uint32_t), bytes);
}

void TPageView::paintViewShadow() {
    TBitmapDrawContext& dc = *context_;
    const TFBSizeF size = document_->ViewSize();
    const float w = size.Width, h = size.Height;
    if (!(w > 0 && h > 0 && finite(w) && finite(h)))
        return;
    const float b = (w >= 175 || h >= 175) ? 2.0f : 1.0f;
    // On a turned view the offset is turned back, so the shadow falls right and down on screen.
    float dx = b, dy = b;
    if (document_->ViewOrientation(viewIndex_) != 0) {
        const double a = -document_->ScreenQuerformatWinkel * M_PI / 180;
        dx = static_cast<float>(b * std::cos(a) - b * std::sin(a));
        dy = static_cast<float>(b * std::sin(a) + b * std::cos(a));
    }
    dc.ClipToRect(TDrawContext::cmExclude, 0, 0, w, h);
    TClipRestorer restorer(dc);
    dc.DrawShadowRect(w / 2 + dx, h / 2 + dy, w, h, 0, b);
}

void TPageView::paintCoverBackdrop() {
    if (document_->ScreenMode != 1)
        return;
    TBitmapDrawContext& dc = *context_;
    const TFBSizeF size = document_->ViewSize();
    dc.SetPenColor(0x808080);
    dc.SetPenStyle(psSolid);
    dc.SetPenWidthPx(1);
    dc.Brush().SetStyle(bsSolid);
    dc.Brush().SetColor(0xF0F0F0);
    dc.Rectangle(0, 0, size.Width, size.Height);
    const int points = static_cast<int>(size.Height / 5);
    if (points <= 0)
        return;
    dc.SetFont(TFont(QStringLiteral("Arial"), points, fsBold, 0xD0D0D0));
    const QString cover = Translate(QStringLiteral("Cover"));
    dc.Brush().SetStyle(bsClear);
    dc.TextRect(cover, tfCenter | tfVCenter, 0, 0, size.Width / 2, size.Height);
    dc.TextRect(cover, tfCenter | tfVCenter, size.Width / 2, 0, size.Width, size.Height);
    dc.Brush().SetStyle(bsSolid);
}

void TPageView::forShownPages(const std::function<void(TFBPage*)>& draw) {
    TBitmapDrawContext& dc = *context_;
    for (TFBPage* page : {LeftPage(), RightPage()}) {
        if (!page)
            continue;
        // Each page of a spread is drawn at its place in the view.
        const TFBPointF o = pageOffset(page);
        TTransformationSaver saver(dc.Transformation);
        dc.Transformation.Translate(o.X, o.Y);
        draw(page);
    }
}

void TPageView::paintPageBackgrounds() {
    TBitmapDrawContext& dc = *context_;
    forShownPages([&](TFBPage* page) {
        dc.Brush().SetStyle(bsSolid);
        dc.Brush().SetColor(static_cast<TColor>(page->Seitenfarbe));
        dc.SetPenColor(kOutlineGrey);
        dc.SetPenWidthPx(1);
        dc.SetPenStyle(document_->ScreenMode == 1 ? psClear : psSolid);
        if (document_->PrintSetting == 4) {
            slotPath(dc, document_->PageWidth, document_->PageHeight);
            dc.StrokeAndFillPath();
        } else {
            dc.Rectangle(0, 0, document_->PageWidth, document_->PageHeight);
        }
        dc.SetPenStyle(psSolid);
    });
}

void TPageView::outlineSelected(TFBElement& element) {
    TBitmapDrawContext& dc = *context_;
    dc.SetPenColor(kSelectionBlue);
    dc.SetPenStyle(psSolid);
    dc.SetPenWidthPx(std::max(1, roundPx(2 * dpr_)));
    dc.Brush().SetStyle(bsClear);
    dc.RotatedRectangle(element.CenterX, element.CenterY, element.Width, element.Height, element.Angle);
    dc.Brush().SetStyle(bsSolid);
    dc.SetPenWidthPx(1);
}

void TPageView::paintPictures() {
    TBitmapDrawContext& dc = *context_;
    auto* selectedFrame = dynamic_cast<TFBPictureElement*>(selected_);
    forShownPages([&](TFBPage* page) {
        {
            dc.BeginPath();
            dc.MoveTo(0, 0);
            dc.LineTo(document_->PageWidth, 0);
            dc.LineTo(document_->PageWidth, document_->PageHeight);
            dc.LineTo(0, document_->PageHeight);
            dc.CloseFigure();
            dc.EndPath();
            dc.ClipToPath(TDrawContext::cmReplace);
            TClipRestorer restorer(dc);
            for (int i = 0; i < page->Pictures.Count(); ++i)
                if (auto* frame = dynamic_cast<TFBPictureElement*>(page->Pictures.Items(i));
                    frame && drawable(*frame))
                    DocumentDrawer().DrawPictureFrame(*frame, dc, false, 0);
        }
        if (!selectedFrame)
            return;
        // The selected frame and every frame of its panorama, each on its own page.
        for (int i = 0; i < page->Pictures.Count(); ++i) {
            auto* frame = dynamic_cast<TFBPictureElement*>(page->Pictures.Items(i));
            if (frame &&
                (frame == selectedFrame || (selectedFrame->Link && frame->Link == selectedFrame->Link)))
                outlineSelected(*frame);
        }
    });
}

void TPageView::paintCalendars() {
    TBitmapDrawContext& dc = *context_;
    forShownPages([&](TFBPage* page) {
        for (int i = 0; i < page->Calendars.Count(); ++i) {
            TFBElement* calendar = page->Calendars.Items(i);
            if (drawable(*calendar))
                DrawElement(*calendar, dc, 0);
            if (calendar == selected_)
                outlineSelected(*calendar);
        }
    });
}

void TPageView::paintSizeables() {
    TBitmapDrawContext& dc = *context_;
    forShownPages([&](TFBPage* page) {
        dc.ClipToRect(TDrawContext::cmReplace, 0, 0, document_->PageWidth, document_->PageHeight);
        TClipRestorer restorer(dc);
        for (int i = 0; i < page->Sizeables.Count(); ++i) {
            TFBElement* element = page->Sizeables.Items(i);
            if (drawable(*element))
                DrawElement(*element, dc, 0);
            if (!dynamic_cast<TFBTextElement*>(element))
                continue;
            TTransformationSaver local(dc.Transformation);
            dc.Transformation.Translate(element->CenterX, element->CenterY);
            dc.Transformation.Rotate(element->Angle);
            const float w = element->Width / 2, h = element->Height / 2;
            if (element == selected_) {
                dottedPolygon(dc, {{-w, -h}, {w, -h}, {w, h}, {-w, h}}, dpr_);
                continue;
            }
            dc.SetPenColor(kOutlineGrey);
            dc.SetPenStyle(psSolid);
            dc.SetPenWidthPx(std::max(1, roundPx(dpr_)));
            // Two 2 mm strokes from each corner along its edges (towards the inside).
            const float sx = w >= 0 ? 2.0f : -2.0f, sy = h >= 0 ? 2.0f : -2.0f;
            const TPointF corners[4] = {{-w, -h}, {w, -h}, {w, h}, {-w, h}};
            const float dirX[4] = {sx, -sx, -sx, sx}, dirY[4] = {sy, sy, -sy, -sy};
            for (int c = 0; c < 4; ++c) {
                dc.Line(corners[c].X, corners[c].Y, corners[c].X + dirX[c], corners[c].Y);
                dc.Line(corners[c].X, corners[c].Y, corners[c].X, corners[c].Y + dirY[c]);
            }
            dc.SetPenWidthPx(1);
        }
    });
}

void TPageView::paintCoverWindow() {
    if (viewIndex_ != 0 || document_->Pages.Count() == 0)
        return;
    TRectF r;
    if (!coverWindow(document_->PrintSetting, r))
        return;
    TBitmapDrawContext& dc = *context_;
    const TFBPointF o = pageOffset(document_->Pages.Items(0));
    TTransformationSaver saver(dc.Transformation);
    dc.Transformation.Translate(o.X, o.Y);
    dottedPolygon(dc, {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}}, dpr_);
}

void TPageView::paintTracker() {
    if (!tracker_.Visible || !selected_ || !isSizeable(selected_) || !InCurrentView(selected_->Page))
        return;
    TBitmapDrawContext& dc = *context_;
    const TFBPointF o = pageOffset(selected_->Page);
    TTransformationSaver saver(dc.Transformation);
    dc.Transformation.Translate(o.X, o.Y);
    tracker_.Paint(dc, dpr_);
}
