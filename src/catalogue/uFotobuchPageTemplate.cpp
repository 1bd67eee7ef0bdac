#include "catalogue/uFotobuchPageTemplate.h"

#include "document/uSetText.h"
#include "document/uStreamEncoding.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/SoftAssert.h"
#include "render/uBitmapDrawContext.h"

#include <QIODevice>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// A frame as the stream carries it.
struct TFrameValues {
    float CenterX = 0;
    float CenterY = 0;
    float Width = 0;
    float Height = 0;
    float Angle = 0;
};

constexpr qint64 kFrameBytes = 5 * 4;

// What a payload may hold: pages from 1 mm to 10 m and frames within 100 m of the page origin.
// Anything beyond comes from a damaged payload and would overflow device coordinates in previews.
constexpr float kMinPageSize = 1;
constexpr float kMaxPageSize = 10000;
constexpr float kMaxFrameValue = 100000;

bool plausibleFrameValue(float v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxFrameValue;
}

// Frames of a payload are read into plain values first, so that a damaged payload leaves the
// layout untouched. The count must fit into what is left of the stream.
std::vector<TFrameValues> readFrames(QIODevice& stream) {
    const int32_t count = StreamReadInt32(stream);
    if (count < 0 || count > stream.bytesAvailable() / kFrameBytes)
        throw Exception(QStringLiteral("Ungültiges Seitenlayout: %1 Rahmen").arg(count));
    std::vector<TFrameValues> frames(static_cast<size_t>(count));
    for (TFrameValues& f : frames) {
        f.CenterX = StreamReadSingle(stream);
        f.CenterY = StreamReadSingle(stream);
        f.Width = StreamReadSingle(stream);
        f.Height = StreamReadSingle(stream);
        f.Angle = StreamReadSingle(stream);
        for (const float v : {f.CenterX, f.CenterY, f.Width, f.Height})
            if (!plausibleFrameValue(v))
                throw Exception(QStringLiteral("Ungültiges Seitenlayout: Rahmen ohne gültige Maße"));
        if (!std::isfinite(f.Angle))
            throw Exception(QStringLiteral("Ungültiges Seitenlayout: Rahmen ohne gültigen Winkel"));
    }
    return frames;
}

void writeFrames(QIODevice& stream, const TFBFrameList& frames) {
    StreamWriteInt32(stream, frames.Count());
    for (const TFBPictureElement* f : frames) {
        StreamWriteSingle(stream, f->CenterX);
        StreamWriteSingle(stream, f->CenterY);
        StreamWriteSingle(stream, f->Width);
        StreamWriteSingle(stream, f->Height);
        StreamWriteSingle(stream, f->Angle);
    }
}

// Frames of a layout belong to no page.
void appendFrame(TFBFrameList& to, const TFrameValues& v) {
    auto frame = std::make_unique<TFBPictureElement>(nullptr);
    frame->CenterX = v.CenterX;
    frame->CenterY = v.CenterY;
    frame->Width = v.Width;
    frame->Height = v.Height;
    frame->Angle = v.Angle;
    to.Add(std::move(frame));
}

void copyFrames(const TFBFrameList& from, TFBFrameList& to) {
    to.Clear();
    for (const TFBPictureElement* f : from)
        appendFrame(to, {f->CenterX, f->CenterY, f->Width, f->Height, f->Angle});
}

void setFrames(const std::vector<TFrameValues>& values, TFBFrameList& to) {
    to.Clear();
    for (const TFrameValues& v : values)
        appendFrame(to, v);
}

// Size in thousandths of a millimetre, for the integer fitting of previews.
int micrometres(float mm) {
    return static_cast<int>(std::lround(static_cast<double>(mm) * 1000.0));
}

// The largest rectangle of the aspect w : h (thousandths of a millimetre) inside rect, centred.
QRect fitAspect(const QRect& rect, int w, int h) {
    int fw = rect.width();
    int fh = MulDiv(fw, h, w);
    if (fh > rect.height()) {
        fh = rect.height();
        fw = MulDiv(fh, w, h);
    }
    return {rect.left() + (rect.width() - fw) / 2, rect.top() + (rect.height() - fh) / 2, fw, fh};
}

constexpr TColor kPreviewOutline = 0x808080;
constexpr TColor kPreviewFill = 0xFFFFFF;

} // namespace

// ---------------------------------------------------------------------------------------------
// Building

void TFBPageTemplate::AddFrame(float left, float top, float width, float height) {
    AddFrameCentered(left + width / 2, top + height / 2, width, height, 0);
}

void TFBPageTemplate::AddFrameCentered(float centerX, float centerY, float width, float height, float angle) {
    appendFrame(Frames, {centerX, centerY, width, height, angle});
}

std::unique_ptr<TFBPageTemplate> TFBPageTemplate::Clone() const {
    auto copy = std::make_unique<TFBPageTemplate>();
    copyFrames(Frames, copy->Frames);
    copyFrames(LeftFrames, copy->LeftFrames);
    copy->LayoutTypen = LayoutTypen;
    copy->Width = Width;
    copy->Height = Height;
    copy->Name = Name;
    copy->Stil = Stil;
    copy->Panorama = Panorama;
    copy->ID = ID;
    return copy;
}

int32_t TFBPageTemplate::StyleColor(int style) {
    static constexpr std::array<int32_t, StyleCount> colors{0xFFFFFF, 0xE0FFFF, 0xFFE0FF, 0xFFFFE0, 0xE0E0FF,
                                                            0xE0FFE0, 0xFFE0E0, 0xC0E0E0, 0xE0E0C0, 0x80FF80,
                                                            0xE0FFFF, 0xFFE0FF, 0xFFFFE0, 0xE0E0FF, 0xE0FFE0};
    if (style < 0 || style >= StyleCount)
        return 0xFFFFFF;
    return colors[static_cast<size_t>(style)];
}

QString LayoutStyleName(int style) {
    static const char* const names[TFBPageTemplate::StyleCount] = {
        "None",        "Tradition", "Horizon",    "Verticon", "Fullicon",
        "Tradition R", "Horizon R", "Verticon R", "Spezial",  "VarenkoExtra",
        "Layout 1",    "Layout 2",  "Layout 3",   "Layout 4", "Deckblatt"};
    if (style < 0 || style >= TFBPageTemplate::StyleCount)
        return QString();
    return QString::fromLatin1(names[style]);
}

// ---------------------------------------------------------------------------------------------
// Applying

void TFBPageTemplate::ApplyToPage(TFBPage& page) const {
    TFBDocument* document = page.Document;
    TT_ASSERT(document, return );
    TT_ASSERT(Width > 0 && Height > 0, return );

    if (Panorama) {
        const int view = document->ViewOfPage(page.PageIndex());
        TFBPage* left = page.PageIndex() >= 0 ? document->LeftPage(view) : nullptr;
        TFBPage* right = page.PageIndex() >= 0 ? document->RightPage(view) : nullptr;
        if (left && right && left != right) {
            fitPage(*left, LeftFrames.Count() > 0 ? LeftFrames : Frames);
            fitPage(*right, Frames);
            TFBPictureElement* first = left->Pictures.Count() > 0 ? left->Picture(0) : nullptr;
            TFBPictureElement* second = right->Pictures.Count() > 0 ? right->Picture(0) : nullptr;
            if (first && second) {
                TFBPictureLink* link = document->AddPictureLink();
                link->Add(first);
                link->Add(second);
                link->SyncFrom(first);
            }
            return;
        }
        // The first page of a book and single pages have no partner: the layout covers the page.
    }
    fitPage(page, Frames);
}

void TFBPageTemplate::fitPage(TFBPage& page, const TFBFrameList& frames) const {
    TFBDocument* document = page.Document;
    TFBElementList& pictures = page.Pictures;

    // A panorama cannot keep one of its windows: links of the page's frames go as a whole.
    for (int i = 0; i < pictures.Count(); ++i)
        if (auto* frame = dynamic_cast<TFBPictureElement*>(pictures.Items(i)); frame && frame->Link)
            document->DissolvePictureLink(frame->Link);

    for (int i = pictures.Count() - 1; i >= 0; --i)
        if (auto* frame = dynamic_cast<TFBPictureElement*>(pictures.Items(i)); frame && !frame->HasPicture())
            pictures.Delete(i);
    while (pictures.Count() > frames.Count())
        pictures.Delete(pictures.Count() - 1);
    while (pictures.Count() < frames.Count())
        pictures.Add(std::make_unique<TFBPictureElement>(&page));

    const float sx = document->PageWidth / Width;
    const float sy = document->PageHeight / Height;
    for (int i = 0; i < frames.Count(); ++i) {
        const TFBPictureElement* f = frames.Items(i);
        TFBElement* element = pictures.Items(i);
        element->CenterX = f->CenterX * sx;
        element->CenterY = f->CenterY * sy;
        element->Width = f->Width * sx;
        element->Height = f->Height * sy;
        element->Angle = f->Angle;
    }

    // On a left page the group's outer margins swap sides, so that a wide inner margin of a right
    // page stays on the inner side.
    if (&frames == &Frames && document->IsLeftPage(&page)) {
        float a = document->PageWidth;
        float b = document->PageWidth;
        for (const TFBElement* element : pictures) {
            a = std::min(a, element->CenterX - element->Width / 2);
            b = std::min(b, document->PageWidth - (element->CenterX + element->Width / 2));
        }
        for (TFBElement* element : pictures)
            element->CenterX -= a - b;
    }
}

// ---------------------------------------------------------------------------------------------
// Stream form

void TFBPageTemplate::SaveToStream(QIODevice& stream) const {
    StreamWriteSingle(stream, Width);
    StreamWriteSingle(stream, Height);
    StreamWriteString(stream, Name);
    StreamWriteByte(stream, Panorama ? 1 : 0);
    StreamWriteString(stream, SetToString(LayoutTypenSetType(), LayoutTypen.Bits()));
    StreamWriteInt32(stream, Stil);
    writeFrames(stream, Frames);
    writeFrames(stream, LeftFrames);
}

void TFBPageTemplate::LoadFromStream(QIODevice& stream) {
    const float width = StreamReadSingle(stream);
    const float height = StreamReadSingle(stream);
    const auto plausiblePage = [](float v) { return v >= kMinPageSize && v <= kMaxPageSize; };
    if (!plausiblePage(width) || !plausiblePage(height))
        throw Exception(
            QStringLiteral("Ungültiges Seitenlayout: Seitengröße %1 x %2").arg(width).arg(height));
    const QString name = StreamReadString(stream);
    const uint8_t panorama = StreamReadByte(stream);
    // An empty text is the empty set: such a layout fits no product.
    const quint64 types = StringToSet(StreamReadString(stream), LayoutTypenSetType());
    const int32_t style = StreamReadInt32(stream);
    if (style < 0 || style > 255)
        throw Exception(QStringLiteral("Ungültiges Seitenlayout: Stil %1").arg(style));
    const std::vector<TFrameValues> frames = readFrames(stream);
    const std::vector<TFrameValues> leftFrames = readFrames(stream);

    Width = width;
    Height = height;
    Name = name;
    Panorama = panorama != 0;
    LayoutTypen = TFBLayoutTypen::FromBits(static_cast<uint32_t>(types));
    Stil = static_cast<uint8_t>(style);
    setFrames(frames, Frames);
    setFrames(leftFrames, LeftFrames);
}

// ---------------------------------------------------------------------------------------------
// Preview

void TFBPageTemplate::DrawPreview(QImage& bitmap, const QRect& rect) const {
    const int w = micrometres(Width);
    const int h = micrometres(Height);
    if (w <= 0 || h <= 0 || rect.width() <= 0 || rect.height() <= 0)
        return;

    TBitmapDrawContext dc(bitmap);
    dc.Transformation.Reset();
    dc.SetPenColor(kPreviewOutline);
    dc.SetPenStyle(psSolid);
    dc.Brush().SetStyle(bsSolid);
    dc.Brush().SetColor(kPreviewFill);

    const auto drawPage = [&dc, this] { dc.Rectangle(0, 0, Width, Height); };
    const auto drawFrame = [&dc](float cx, float cy, const TFBPictureElement& f) {
        dc.RotatedRectangle(cx, cy, f.Width, f.Height, f.Angle);
    };

    if (!Panorama) {
        const QRect fitted = fitAspect(rect, w, h);
        dc.Transformation.Translate(static_cast<float>(fitted.left()), static_cast<float>(fitted.top()));
        dc.Transformation.Scale(static_cast<float>(fitted.height()) / Height);
        dc.SetPenWidthPx(1);
        drawPage();
        for (const TFBPictureElement* f : Frames)
            drawFrame(f->CenterX, f->CenterY, *f);
        return;
    }

    const QRect fitted = fitAspect(rect, 2 * w, h);
    const float scale = std::min(static_cast<float>(fitted.width()) / (2 * Width),
                                 static_cast<float>(fitted.height()) / Height);
    dc.Transformation.Translate(static_cast<float>(fitted.left()), static_cast<float>(fitted.top()));
    dc.Transformation.Scale(scale);
    dc.SetPenWidthPx(1);
    drawPage();
    if (LeftFrames.Count() > 0) {
        for (const TFBPictureElement* f : LeftFrames)
            drawFrame(f->CenterX, f->CenterY, *f);
    } else {
        for (const TFBPictureElement* f : Frames)
            drawFrame(Width - f->CenterX, f->CenterY, *f);
    }
    dc.Transformation.Translate(Width, 0);
    drawPage();
    for (const TFBPictureElement* f : Frames)
        drawFrame(f->CenterX, f->CenterY, *f);
}

// ---------------------------------------------------------------------------------------------
// The catalogue

const TFBPageTemplateList& LayoutCatalogue() {
    // Kept until the process ends: its frames must not outlive the picture manager's own static
    // instance, which may go first at exit.
    static const TFBPageTemplateList* catalogue = [] {
        auto* list = new TFBPageTemplateList;
        AddBuiltInPageTemplates(*list);
        return list;
    }();
    return *catalogue;
}

const TFBPageTemplate* FindPageTemplate(const QString& id) {
    for (const TFBPageTemplate* t : LayoutCatalogue())
        if (t->ID.compare(id, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

void BuildPageTemplates(TFBPageTemplateList& list, const TFBLayoutTypen& types, int style,
                        bool onlyThisStyle) {
    list.Clear();
    std::vector<std::unique_ptr<TFBPageTemplate>> first;
    std::vector<std::unique_ptr<TFBPageTemplate>> rest;
    for (const TFBPageTemplate* t : LayoutCatalogue()) {
        if ((t->LayoutTypen.Bits() & types.Bits()) == 0)
            continue;
        if (onlyThisStyle && t->Stil != style)
            continue;
        auto copy = t->Clone();
        if (style != 0 && t->Stil == style)
            first.push_back(std::move(copy));
        else
            rest.push_back(std::move(copy));
    }
    const bool french = CurrentLanguage() == kLanguageFrench;
    for (auto* part : {&first, &rest}) {
        for (auto& t : *part) {
            if (french)
                t->Name.replace(QStringLiteral("Fullsize"), QStringLiteral("Pleine page"));
            list.Add(std::move(t));
        }
    }
}
