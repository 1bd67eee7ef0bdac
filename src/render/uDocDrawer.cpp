#include "render/uDocDrawer.h"

#include "calendar/uKalenderPainter.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDrawContext.h"
#include "render/uRTFDrawer.h"
#include "render/uShadowBitmap.h"

#include <algorithm>
#include <cmath>

namespace {

// Text shadows are made at 150 dots per inch.
constexpr float kShadowPixelsPerMm = 5.905512f;
constexpr float kShadowMargin = 1.0f;
constexpr float kShadowOffset = 0.5f;
constexpr float kShadowBlur = 1.5f;
constexpr float kPictureShadowOffset = 1.5f;
constexpr float kPictureShadowBlur = 1.5f;

// The shadow image a text element keeps between repaints.
class TTextShadowCache : public TElementDrawCache {
public:
    TShadowBitmap Bitmap;
};

// The painter a calendar element keeps until it is drawn again.
class TKalenderPainterCache : public TElementDrawCache {
public:
    explicit TKalenderPainterCache(std::unique_ptr<TKalenderPainter> painter) : Painter(std::move(painter)) {}
    std::unique_ptr<TKalenderPainter> Painter;
};

bool coversPage(const TFBPictureElement& element, const TFBDocument& document) {
    return element.CenterX == document.PageWidth / 2 && element.CenterY == document.PageHeight / 2 &&
           element.Width == document.PageWidth && element.Height == document.PageHeight;
}

// Frames of a panorama leave their border open towards the spine, so the picture runs across it.
enum class TBorderOpening { None, Right, Left };

TBorderOpening borderOpening(const TFBPictureElement& element) {
    const TFBDocument* document = element.Document();
    if (!element.Link || !element.Page || !document ||
        (document->ScreenMode != 1 && document->ScreenMode != 2))
        return TBorderOpening::None;
    const float a = element.Angle;
    if (!((a < 45 && a > -45) || a > 315))
        return TBorderOpening::None;
    const TFBRectF box = element.BoundingBox();
    if (element.Page->IsLeftPage())
        return box.Right >= document->PageWidth - 1 ? TBorderOpening::Right : TBorderOpening::None;
    return box.Left <= 1 ? TBorderOpening::Left : TBorderOpening::None;
}

void drawBorder(TFBPictureElement& element, TDrawContext& dc) {
    if (!(element.BorderWidth > 0))
        return;
    dc.SetPenWidth(element.BorderWidth);
    dc.SetPenColor(static_cast<TColor>(element.BorderColor));
    dc.Brush().SetStyle(bsClear);
    {
        TTransformationSaver saver(dc.Transformation);
        dc.Transformation.Translate(element.CenterX, element.CenterY);
        dc.Transformation.Rotate(element.Angle);
        const float w = element.Width / 2;
        const float h = element.Height / 2;
        // The corners clockwise from the upper left; an open side is the one from the last corner
        // drawn back to the first, so an opening on the right starts at the lower right.
        const TPointF corners[4] = {{-w, -h}, {w, -h}, {w, h}, {-w, h}};
        const TBorderOpening opening = borderOpening(element);
        const int first = opening == TBorderOpening::Right ? 2 : 0;
        dc.BeginPath();
        dc.MoveTo(corners[first].X, corners[first].Y);
        for (int i = 1; i < 4; ++i)
            dc.LineTo(corners[(first + i) % 4].X, corners[(first + i) % 4].Y);
        if (opening == TBorderOpening::None)
            dc.CloseFigure();
        dc.EndPath();
        dc.StrokePath();
    }
    dc.Brush().SetStyle(bsSolid);
    dc.SetPenWidth(0);
}

void drawPage(const TDocumentDrawer& drawer, TFBPage* page, TDrawContext& dc, bool bare, int quality, float x,
              float y) {
    if (!page)
        return;
    TTransformationSaver saver(dc.Transformation);
    dc.Transformation.Translate(x, y);
    drawer.DrawPage(*page, dc, bare, quality);
}

} // namespace

const TDocumentDrawer& DocumentDrawer() {
    static const TDocumentDrawer drawer;
    return drawer;
}

// --- views and pages -------------------------------------------------------------------------

void TDocumentDrawer::DrawView(TFBDocument& document, TDrawContext& dc, int quality, int view,
                               bool bare) const {
    const int count = document.Pages.Count();
    switch (document.ScreenMode) {
    case 0:
        if (view >= 0 && view < count)
            DrawPage(*document.Pages.Items(view), dc, bare, quality);
        break;
    case 1: {
        const TFBSizeF size = document.ViewSize();
        if (!bare) {
            // The book's cover with a shadow 3 mm down and right; the shadow takes the caller's brush.
            dc.SetPenColor(0xC0C0C0);
            dc.SetPenStyle(psClear);
            dc.Rectangle(3, 3, size.Width + 3, size.Height + 3);
            dc.Brush().SetColor(0xF0F0F0);
            dc.Rectangle(0, 0, size.Width, size.Height);
            dc.SetPenStyle(psSolid);
        }
        const float u = document.Umschlagbreite;
        const int left = document.LeftPageIndex(view);
        const int right = document.RightPageIndex(view);
        if (left >= 0 && left < count)
            drawPage(*this, document.Pages.Items(left), dc, bare, quality, u, u);
        if (right >= 0 && right < count)
            drawPage(*this, document.Pages.Items(right), dc, bare, quality,
                     u + document.PageWidth + document.Stegbreite, u);
        break;
    }
    case 2: {
        const int left = document.LeftPageIndex(view);
        const int right = document.RightPageIndex(view);
        if (left >= 0 && left < count)
            DrawPage(*document.Pages.Items(left), dc, bare, quality);
        if (right >= 0 && right < count)
            drawPage(*this, document.Pages.Items(right), dc, bare, quality, document.PageWidth, 0);
        break;
    }
    default:
        break;
    }
}

void TDocumentDrawer::DrawPage(TFBPage& page, TDrawContext& dc, bool bare, int quality) const {
    const TFBDocument* document = page.Document;
    if (!document)
        return;
    const float w = document->PageWidth;
    const float h = document->PageHeight;
    if (!bare) {
        dc.SetPenColor(0xD0D0D0);
        dc.Brush().SetStyle(bsSolid);
        dc.Brush().SetColor(static_cast<TColor>(page.Seitenfarbe));
        dc.Rectangle(0, 0, w, h);
    }
    // Nothing of an element reaches outside its page.
    dc.ClipToRect(TDrawContext::cmReplace, 0, 0, w, h);
    TClipRestorer restorer(dc);
    for (int i = 0; i < page.Pictures.Count(); ++i)
        if (auto* picture = dynamic_cast<TFBPictureElement*>(page.Pictures.Items(i)))
            DrawPictureFrame(*picture, dc, bare, quality);
    for (int i = 0; i < page.Calendars.Count(); ++i)
        DrawElement(*page.Calendars.Items(i), dc, quality);
    for (int i = 0; i < page.Sizeables.Count(); ++i)
        DrawElement(*page.Sizeables.Items(i), dc, quality);
}

void TDocumentDrawer::DrawPictureFrame(TFBPictureElement& element, TDrawContext& dc, bool bare,
                                       int quality) const {
    if (element.HasPicture()) {
        DrawPictureElement(element, dc, quality);
        return;
    }
    if (bare)
        return;
    dc.SetPenColor(0xC0C0C0);
    dc.Brush().SetStyle(bsClear);
    dc.RotatedRectangle(element.CenterX, element.CenterY, element.Width, element.Height, element.Angle);
    dc.Brush().SetStyle(bsSolid);
}

// --- elements --------------------------------------------------------------------------------

void DrawElement(TFBElement& element, TDrawContext& dc, int quality) {
    if (auto* picture = dynamic_cast<TFBPictureElement*>(&element))
        DrawPictureElement(*picture, dc, quality);
    else if (auto* text = dynamic_cast<TFBTextElement*>(&element))
        DrawTextElement(*text, dc);
    else if (auto* clipart = dynamic_cast<TFBClipartElement*>(&element))
        DrawClipartElement(*clipart, dc);
    else if (auto* calendar = dynamic_cast<TFBKalenderElement*>(&element))
        DrawKalenderElement(*calendar, dc);
}

void DrawPictureElement(TFBPictureElement& element, TDrawContext& dc, int quality) {
    if (!element.HasPicture())
        return;
    const TFBDocument* document = element.Document();
    if (document && document->PicturesHaveShadows && !coversPage(element, *document)) {
        // The shadow falls down and right on the page whatever the frame's angle, never under it.
        dc.ClipRotatedRect(TDrawContext::cmExclude, element.CenterX, element.CenterY, element.Width,
                           element.Height, element.Angle);
        TClipRestorer restorer(dc);
        dc.DrawShadowRect(element.CenterX + kPictureShadowOffset, element.CenterY + kPictureShadowOffset,
                          element.Width, element.Height, element.Angle, kPictureShadowBlur);
    }

    QImage picture;
    if (quality == 0)
        picture = TBildmanager::Instance().GetBitmap(element.RefIndex);
    else if (quality == 1)
        picture = TBildmanager::Instance().GetPreview(element.RefIndex);
    if (!picture.isNull()) {
        const TPixelRect source = element.GetSourceRect(quality);
        if (picture.hasAlphaChannel()) {
            // Transparent parts of a picture show white, not the page colour.
            dc.Brush().SetStyle(bsSolid);
            dc.Brush().SetColor(0xFFFFFF);
            dc.SetPenStyle(psClear);
            dc.RotatedRectangle(element.CenterX, element.CenterY, element.Width, element.Height,
                                element.Angle);
            dc.SetPenStyle(psSolid);
        }
        if (!source.IsEmpty())
            dc.DrawImage(picture, source.Left, source.Top, source.Width(), source.Height(), element.CenterX,
                         element.CenterY, element.Width, element.Height, element.Angle);
    }
    drawBorder(element, dc);
}

const TShadowBitmap* TextShadow(TFBTextElement& element) {
    if (!element.HasShadow)
        return nullptr;
    auto* cache = dynamic_cast<TTextShadowCache*>(element.ShadowBitmap.get());
    if (cache && !element.Dirty && element.ShadowWidth == element.Width &&
        element.ShadowHeight == element.Height)
        return &cache->Bitmap;

    // Laying the text out first may report a change of the text; that belongs to this build.
    TextElementDrawer(element);
    if (!cache) {
        auto made = std::make_unique<TTextShadowCache>();
        cache = made.get();
        element.ShadowBitmap = std::move(made);
    }
    element.ShadowWidth = element.Width;
    element.ShadowHeight = element.Height;
    const float wMm = element.Width + 2 * kShadowMargin;
    const float hMm = element.Height + 2 * kShadowMargin;
    const int w = std::max(10, static_cast<int>(std::nearbyint(wMm * kShadowPixelsPerMm)));
    const int h = std::max(10, static_cast<int>(std::nearbyint(hMm * kShadowPixelsPerMm)));
    TShadowBitmap& shadow = cache->Bitmap;
    shadow.SetSize(w, h);
    shadow.Clear();
    shadow.SetTransparency(50);
    {
        TBitmapDrawContext dc(shadow);
        dc.Transformation.Scale(kShadowPixelsPerMm);
        dc.Transformation.Translate(wMm / 2, hMm / 2);
        DrawTextInBox(dc, element);
        dc.ReleaseCanvas();
    }
    shadow.Blur(0, kShadowBlur);
    element.Dirty = false;
    return &shadow;
}

void DrawTextElement(TFBTextElement& element, TDrawContext& dc) {
    if (const TShadowBitmap* shadow = TextShadow(element)) {
        TTransformationSaver saver(dc.Transformation);
        dc.Transformation.Translate(element.CenterX + kShadowOffset, element.CenterY + kShadowOffset);
        dc.Transformation.Rotate(element.Angle);
        const float w = element.Width + 2 * kShadowMargin;
        const float h = element.Height + 2 * kShadowMargin;
        dc.DrawImageAlpha(shadow->BitmapData(), 0, 0, shadow->Width(), shadow->Height(), -w / 2, -h / 2, w,
                          h);
    }
    DrawTextElementText(dc, element);
}

void DrawClipartElement(TFBClipartElement& element, TDrawContext& dc) {
    const QImage picture = element.GetBitmap();
    if (picture.isNull())
        return;
    // The picture's alpha channel makes the clipart free-form.
    dc.DrawImage(picture, 0, 0, picture.width(), picture.height(), element.CenterX, element.CenterY,
                 element.Width, element.Height, element.Angle);
}

void DrawKalenderElement(TFBKalenderElement& element, TDrawContext& dc) {
    static const TKalenderTageListe noDays;
    const TFBDocument* document = element.Document();
    element.Painter.reset();
    auto cache = std::make_unique<TKalenderPainterCache>(CreateKalenderPainter(
        *element.Data, document ? document->Feiertage : noDays, document ? document->Geburtstage : noDays));
    TKalenderPainter& painter = *cache->Painter;
    element.Painter = std::move(cache);
    // Calendars are always drawn upright, whatever the element's angle.
    painter.Paint(dc, element.CenterX - element.Width / 2, element.CenterY - element.Height / 2,
                  element.Width, element.Height);
}
