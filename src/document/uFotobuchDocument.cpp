#include "document/uFotobuchDocument.h"

#include "document/uFotobuchBildManager.h"
#include "i18n/ulocalize.h"
#include "platform/SoftAssert.h"

#include <QColor>
#include <QDate>

#include <cmath>
#include <numbers>

namespace {

// Round to nearest, ties to even (the processor's default rounding).
int roundEven(float value) {
    return static_cast<int>(std::nearbyint(value));
}

TBildmanager& pictures() {
    return TBildmanager::Instance();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TFBElement

TFBElement::TFBElement(TFBPage* page) : Page(page) {}

TFBElement::~TFBElement() = default;

TFBDocument* TFBElement::Document() const {
    return Page ? Page->Document : nullptr;
}

TFBElementList* TFBElement::KindList() const {
    return nullptr;
}

int TFBElement::IndexInList() const {
    if (!Page)
        return -1;
    if (const TFBElementList* list = KindList())
        return list->IndexOf(this);
    // A plain element may sit in any list; report where it is.
    for (const TFBElementList* list : {&Page->Pictures, &Page->Calendars, &Page->Sizeables}) {
        const int index = list->IndexOf(this);
        if (index >= 0)
            return index;
    }
    return -1;
}

bool TFBElement::HitTest(float x, float y) const {
    return -Width / 2 <= x && x <= Width / 2 && -Height / 2 <= y && y <= Height / 2;
}

TFBPointF TFBElement::ToElementCoordinates(float x, float y) const {
    const float dx = x - CenterX;
    const float dy = y - CenterY;
    if (Angle == 0)
        return {dx, dy};
    const float a = Angle * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(a);
    const float s = std::sin(a);
    // The inverse of the element's turn: a positive angle turns the x axis towards +y.
    return {dx * c + dy * s, -dx * s + dy * c};
}

TFBRectF TFBElement::BoundingBox() const {
    if (Angle == 0 || Angle == 180)
        return Rect();
    const float a = Angle * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(a);
    const float s = std::sin(a);
    const float hw = Width / 2;
    const float hh = Height / 2;
    TFBRectF box{CenterX, CenterY, CenterX, CenterY};
    bool first = true;
    for (const auto& [px, py] :
         {std::pair{-hw, -hh}, std::pair{hw, -hh}, std::pair{hw, hh}, std::pair{-hw, hh}}) {
        const float x = CenterX + px * c - py * s;
        const float y = CenterY + px * s + py * c;
        if (first) {
            box = {x, y, x, y};
            first = false;
            continue;
        }
        box.Left = std::min(box.Left, x);
        box.Right = std::max(box.Right, x);
        box.Top = std::min(box.Top, y);
        box.Bottom = std::max(box.Bottom, y);
    }
    return box;
}

TFBSizeF TFBElement::RotatedSize() const {
    if (Angle == 0 || Angle == 180)
        return {Width, Height};
    const TFBRectF box = BoundingBox();
    return {box.Width(), box.Height()};
}

// ---------------------------------------------------------------------------------------------
// TFBPictureElement

TFBPictureElement::TFBPictureElement(TFBPage* page) : TFBElement(page) {}

TFBPictureElement::~TFBPictureElement() {
    // A panorama cannot lose one window: the whole link goes.
    if (Link) {
        TFBPictureLink* link = Link;
        if (TFBDocument* document = link->Document)
            document->DissolvePictureLink(link);
        else
            link->Clear();
        Link = nullptr;
    }
    pictures().Release(RefIndex);
    RefIndex = -1;
}

TFBElementList* TFBPictureElement::KindList() const {
    return Page ? &Page->Pictures : nullptr;
}

void TFBPictureElement::syncLink() {
    if (Link)
        Link->SyncFrom(this);
}

void TFBPictureElement::SetRefIndex(int ref) {
    const int old = RefIndex;
    RefIndex = ref;
    pictures().AddRef(ref);
    pictures().Release(old);
    syncLink();
}

void TFBPictureElement::SetZoom(float zoom) {
    Zoom = std::clamp(zoom, 1.0f, 4.0f);
    syncLink();
}

void TFBPictureElement::SetOffsetX(float offset) {
    OffsetX = std::clamp(offset, 0.0f, 1.0f);
    syncLink();
}

void TFBPictureElement::SetOffsetY(float offset) {
    OffsetY = std::clamp(offset, 0.0f, 1.0f);
    syncLink();
}

void TFBPictureElement::SetBorderWidth(float width) {
    BorderWidth = width;
    syncLink();
}

void TFBPictureElement::SetBorderColor(int32_t color) {
    BorderColor = color;
    syncLink();
}

void TFBPictureElement::SetPictureFile(const QString& path) {
    OffsetX = 0.5f;
    OffsetY = 0.5f;
    Zoom = 1;
    SetRefIndex(-1);
    RefIndex = pictures().AddFromFile(path);
    CanZoomAndTrack = true;
    syncLink();
}

void TFBPictureElement::SetColorFill(int32_t color) {
    RemovePicture();
    QImage bitmap(48, 48, QImage::Format_RGB32);
    bitmap.fill(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    SetRefIndex(-1);
    RefIndex = pictures().AddBitmap(bitmap);
    CanZoomAndTrack = false;
    syncLink();
}

void TFBPictureElement::RemovePicture() {
    if (RefIndex != -1) {
        pictures().Release(RefIndex);
        RefIndex = -1;
        CanZoomAndTrack = true;
    }
    syncLink();
}

void TFBPictureElement::CopyPictureFrom(const TFBPictureElement& other) {
    SetRefIndex(other.RefIndex);
    CanZoomAndTrack = other.CanZoomAndTrack;
    SetOffsetX(other.OffsetX);
    SetOffsetY(other.OffsetY);
    SetZoom(other.Zoom);
}

void TFBPictureElement::SwapPictures(TFBPictureElement& a, TFBPictureElement& b) {
    std::swap(a.RefIndex, b.RefIndex);
    std::swap(a.CanZoomAndTrack, b.CanZoomAndTrack);
    std::swap(a.OffsetX, b.OffsetX);
    std::swap(a.OffsetY, b.OffsetY);
    std::swap(a.Zoom, b.Zoom);
    a.syncLink();
    b.syncLink();
}

void TFBPictureElement::makeUnique() {
    // The manager moves this frame's use to the private copy, so no use is added here.
    RefIndex = pictures().MakeUnique(RefIndex);
}

int TFBPictureElement::displayAngle() const {
    if (Page && Page->Seitenausrichtung != 0 && Page->Document)
        return roundEven(Page->Document->ScreenQuerformatWinkel);
    return 0;
}

void TFBPictureElement::RotatePicture(int direction) {
    if (!HasPicture())
        return;
    makeUnique();
    pictures().Rotate(RefIndex, direction);
    syncLink();
}

bool TFBPictureElement::runFilter(TPictureFilterKind kind) {
    if (!HasPicture())
        return false;
    makeUnique();
    const bool confirmed = pictures().RunFilter(kind, RefIndex, displayAngle());
    syncLink();
    return confirmed;
}

bool TFBPictureElement::FilterHKIG() {
    return runFilter(TPictureFilterKind::HKIG);
}

bool TFBPictureElement::FilterHSL() {
    return runFilter(TPictureFilterKind::HSL);
}

bool TFBPictureElement::FilterRedEye() {
    return runFilter(TPictureFilterKind::RedEye);
}

bool TFBPictureElement::FilterSWCol() {
    return runFilter(TPictureFilterKind::SWCol);
}

QImage TFBPictureElement::GetBitmap() const {
    if (!HasPicture())
        return QImage();
    return pictures().GetBitmap(RefIndex);
}

TPixelRect TFBPictureElement::GetSourceRect(int quality) const {
    if (!HasPicture())
        return {};
    const QImage bitmap = quality == 0 ? pictures().GetBitmap(RefIndex) : pictures().GetPreview(RefIndex);
    if (bitmap.isNull())
        return {};
    const float w = static_cast<float>(bitmap.width());
    const float h = static_cast<float>(bitmap.height());
    // A frame or panorama without extent shows nothing (and must not divide by zero).
    if (!(Width > 0) || !(Height > 0))
        return {};

    TPixelRect r;
    const TFBRectF u = Link ? Link->UnionRect(this) : Rect();
    const float uw = u.Width();
    const float uh = u.Height();
    if (!(uw > 0) || !(uh > 0))
        return {};
    if (!Link) {
        float a = w;
        float b = Height * w / Width;
        if (h < b) {
            b = h;
            a = Width * h / Height;
        }
        const float as = a / Zoom;
        const float bs = b / Zoom;
        r.Left = roundEven((w - as) * OffsetX);
        r.Top = roundEven((h - bs) * OffsetY);
        r.Right = r.Left + roundEven(as);
        r.Bottom = r.Top + roundEven(bs);
    } else {
        // Each member is a window onto one large frame spanning the whole link.
        const TFBRectF e = Rect();
        float a = w;
        float b = uh * w / uw;
        if (h < b) {
            b = h;
            a = uw * h / uh;
        }
        const float as = a / Zoom;
        const float bs = b / Zoom;
        const float tx = (w - as) * OffsetX;
        const float ty = (h - bs) * OffsetY;
        r.Left = roundEven(tx + (e.Left - u.Left) / uw * as);
        r.Top = roundEven(ty + (e.Top - u.Top) / uh * bs);
        r.Right = roundEven(tx + as * (e.Right - u.Left) / uw);
        r.Bottom = roundEven(ty + bs * (e.Bottom - u.Top) / uh);
    }
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, bitmap.width());
    r.Bottom = std::min(r.Bottom, bitmap.height());
    return r;
}

int TFBPictureElement::EffectiveDpi() const {
    if (!HasPicture())
        return 0;
    const TPixelRect s = GetSourceRect(0);
    if (Width > Height)
        return Width > 0 ? roundEven(static_cast<float>(s.Right - s.Left) / (Width / 25.4f)) : 0;
    return Height > 0 ? roundEven(static_cast<float>(s.Bottom - s.Top) / (Height / 25.4f)) : 0;
}

TFBPictureElement* TFBPictureElement::NextPictureElement() const {
    if (!Page)
        return nullptr;
    const int index = Page->Pictures.IndexOf(this);
    if (index >= 0 && index + 1 < Page->Pictures.Count())
        return Page->Picture(index + 1);
    const TFBDocument* document = Page->Document;
    if (!document)
        return nullptr;
    for (int p = Page->PageIndex() + 1; p > 0 && p < document->Pages.Count(); ++p) {
        const TFBPage* page = document->Pages.Items(p);
        if (page->Pictures.Count() > 0)
            return page->Picture(0);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Sizeable, text, clipart and calendar elements

TFBElementList* TFBSizeableElement::KindList() const {
    return Page ? &Page->Sizeables : nullptr;
}

TFBElementList* TFBKalenderElement::KindList() const {
    return Page ? &Page->Calendars : nullptr;
}

void TFBTextElement::SetRTF(const QByteArray& rtf) {
    rtf_ = rtf;
    Drawer.reset();
    Dirty = true;
}

void TFBTextElement::SetHasShadow(bool value) {
    HasShadow = value;
    if (!value)
        ShadowBitmap.reset();
    else
        Dirty = true;
}

void TFBTextElement::SetHorzAlign(uint8_t value) {
    HorzAlign = value;
    Dirty = true;
}

void TFBTextElement::SetVertAlign(uint8_t value) {
    VertAlign = value;
    Dirty = true;
}

TFBClipartElement::~TFBClipartElement() {
    pictures().Release(RefIndex);
    RefIndex = -1;
}

void TFBClipartElement::SetRefIndex(int ref) {
    const int old = RefIndex;
    RefIndex = ref;
    pictures().AddRef(ref);
    pictures().Release(old);
}

QImage TFBClipartElement::GetBitmap() const {
    if (RefIndex == -1)
        return QImage();
    return pictures().GetBitmap(RefIndex);
}

void TFBClipartElement::SetClipartFile(const QString& path) {
    SetRefIndex(-1);
    RefIndex = pictures().AddFromFile(path);
    const TBildManagerListItem* item = pictures().Find(RefIndex);
    const TFBDocument* document = Document();
    // A picture that did not decode keeps the element's size.
    if (!item || item->PicWidth <= 0 || item->PicHeight <= 0 || !document)
        return;
    // The picture's size at 300 pixels per inch, then fitted into half the page.
    const float w = static_cast<float>(item->PicWidth) / 300.0f * 25.4f;
    const float h = static_cast<float>(item->PicHeight) / 300.0f * 25.4f;
    float newWidth = document->PageWidth / 2;
    float newHeight = h * newWidth / w;
    if (newHeight > document->PageHeight / 2) {
        newHeight = document->PageHeight / 2;
        newWidth = w * newHeight / h;
    }
    Width = newWidth;
    Height = newHeight;
}

bool TFBClipartElement::HitTest(float x, float y) const {
    if (!TFBElement::HitTest(x, y))
        return false;
    if (RefIndex == -1)
        return true;
    const QImage bitmap = pictures().GetBitmap(RefIndex);
    if (bitmap.isNull() || !bitmap.hasAlphaChannel() || !(Width > 0) || !(Height > 0))
        return true;
    const float pw = static_cast<float>(bitmap.width());
    const float ph = static_cast<float>(bitmap.height());
    // The right and bottom edges belong to the element but map one past the last pixel.
    const int px = std::clamp(roundEven(pw * (x + Width / 2) / Width), 0, bitmap.width() - 1);
    const int py = std::clamp(roundEven(ph * (y + Height / 2) / Height), 0, bitmap.height() - 1);
    return qAlpha(bitmap.pixel(px, py)) > 128;
}

// ---------------------------------------------------------------------------------------------
// TFBPictureLink

void TFBPictureLink::Add(TFBPictureElement* frame) {
    TT_ASSERT(frame, return );
    if (std::find(Members.begin(), Members.end(), frame) != Members.end())
        return;
    Members.push_back(frame);
    frame->Link = this;
}

void TFBPictureLink::Clear() {
    for (TFBPictureElement* member : Members)
        member->Link = nullptr;
    Members.clear();
}

void TFBPictureLink::SyncFrom(const TFBPictureElement* frame) {
    TT_ASSERT(frame, return );
    for (TFBPictureElement* member : Members) {
        if (member == frame)
            continue;
        const int old = member->RefIndex;
        member->RefIndex = frame->RefIndex;
        pictures().AddRef(frame->RefIndex);
        pictures().Release(old);
        member->OffsetX = frame->OffsetX;
        member->OffsetY = frame->OffsetY;
        member->Zoom = frame->Zoom;
        member->CanZoomAndTrack = frame->CanZoomAndTrack;
        member->BorderWidth = frame->BorderWidth;
        member->BorderColor = frame->BorderColor;
    }
}

TFBRectF TFBPictureLink::UnionRect(const TFBPictureElement* frame) const {
    TFBRectF u = frame->Rect();
    const TFBDocument* document = Document ? Document : frame->Document();
    const bool leftPage = document && frame->Page && document->IsLeftPage(frame->Page);
    const float d = document ? document->PageWidth + document->Stegbreite : 0;
    for (const TFBPictureElement* member : Members) {
        TFBRectF r = member->Rect();
        if (member->Page != frame->Page) {
            const float shift = leftPage ? d : -d;
            r.Left += shift;
            r.Right += shift;
        }
        u.Left = std::min(u.Left, r.Left);
        u.Top = std::min(u.Top, r.Top);
        u.Right = std::max(u.Right, r.Right);
        u.Bottom = std::max(u.Bottom, r.Bottom);
    }
    return u;
}

// ---------------------------------------------------------------------------------------------
// TFBPage

TFBPage::~TFBPage() {
    Sizeables.Clear();
    Calendars.Clear();
    Pictures.Clear();
}

int TFBPage::PageIndex() const {
    return Document ? Document->Pages.IndexOf(this) : -1;
}

int TFBPage::ViewIndex() const {
    return Document ? Document->ViewOfPage(PageIndex()) : 0;
}

bool TFBPage::IsLeftPage() const {
    return Document && Document->IsLeftPage(this);
}

bool TFBPage::HasContent() const {
    if (Sizeables.Count() > 0 || Calendars.Count() > 0)
        return true;
    for (TFBElement* element : Pictures)
        if (auto* frame = dynamic_cast<TFBPictureElement*>(element); frame && frame->HasPicture())
            return true;
    return false;
}

TFBPictureElement* TFBPage::Picture(int index) const {
    return dynamic_cast<TFBPictureElement*>(Pictures.Items(index));
}

TFBKalenderElement* TFBPage::Calendar(int index) const {
    return dynamic_cast<TFBKalenderElement*>(Calendars.Items(index));
}

void TFBPage::CopyFrameLayout(const TFBPage* source) {
    // Read the places first: the source may be this page.
    std::vector<TFBRectF> frames;
    std::vector<TFBRectF> calendars;
    if (source) {
        for (const TFBElement* element : source->Pictures)
            frames.push_back({element->CenterX, element->CenterY, element->Width, element->Height});
        for (const TFBElement* element : source->Calendars)
            calendars.push_back({element->CenterX, element->CenterY, element->Width, element->Height});
    }
    Sizeables.Clear();
    Calendars.Clear();
    Pictures.Clear();
    auto place = [](TFBElement& element, const TFBRectF& g) {
        element.CenterX = g.Left;
        element.CenterY = g.Top;
        element.Width = g.Right;
        element.Height = g.Bottom;
    };
    for (const TFBRectF& g : frames)
        place(*Pictures.Add(std::make_unique<TFBPictureElement>(this)), g);
    for (const TFBRectF& g : calendars)
        place(*Calendars.Add(std::make_unique<TFBKalenderElement>(this)), g);
}

namespace {

// Geometry that is not a number or reaches beyond a kilometre is broken, not clickable.
bool hittable(const TFBElement& e) {
    constexpr float kLimit = 1e6f;
    for (float v : {e.CenterX, e.CenterY, e.Width, e.Height, e.Angle})
        if (!(std::fabs(v) < kLimit))
            return false;
    return true;
}

} // namespace

TFBElement* TFBPage::HitTest(float x, float y, int kinds) const {
    // Topmost first: drawing goes pictures, calendars, sizeables, each from first to last.
    const std::pair<int, const TFBElementList*> order[] = {
        {hkSizeables, &Sizeables}, {hkCalendars, &Calendars}, {hkPictures, &Pictures}};
    for (const auto& [kind, list] : order) {
        if (!(kinds & kind))
            continue;
        for (int i = list->Count() - 1; i >= 0; --i) {
            TFBElement* element = list->Items(i);
            if (!hittable(*element))
                continue;
            const TFBPointF p = element->ToElementCoordinates(x, y);
            if (element->HitTest(p.X, p.Y))
                return element;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// TFBDocument

TFBDocument::TFBDocument() {
    Reset();
}

TFBDocument::~TFBDocument() {
    PictureLinks.clear();
    Pages.Clear();
}

void TFBDocument::Reset() {
    PictureLinks.clear();
    Pages.Clear();
    ScreenMode = 0;
    DocType = 0;
    SetShadows(true);
    Modified = false;
    PrintPaperName = QStringLiteral("ID_DINA4");
    PrintPaperType = QStringLiteral("ID_Photopapier_glänzend");
    PageWidth = 210;
    PageHeight = 297;
    Stegbreite = 2;
    Umschlagbreite = 4;
    PrintPaperSize = 9;
    PrintPaperWidth = 210;
    PrintPaperHeight = 297;
    PrintSetting = 0;
    PrintBorderless = false;
    DocVersion = 5;
    FilePath.clear();
    Layouttypen = TFBLayoutTypen::All();
    LayoutSubTyp.clear();
    LayoutStil = 0;
    ScreenQuerformatWinkel = 90;
    NurEinLayoutStil = false;
    TBildmanager::Instance().Clear();
    Feiertage.Clear();
    Geburtstage.Clear();
}

TFBPictureLink* TFBDocument::AddPictureLink() {
    PictureLinks.push_back(std::make_unique<TFBPictureLink>(this));
    return PictureLinks.back().get();
}

void TFBDocument::DissolvePictureLink(TFBPictureLink* link) {
    auto it = std::find_if(PictureLinks.begin(), PictureLinks.end(),
                           [link](const std::unique_ptr<TFBPictureLink>& l) { return l.get() == link; });
    if (it == PictureLinks.end()) {
        if (link)
            link->Clear();
        return;
    }
    std::unique_ptr<TFBPictureLink> doomed = std::move(*it);
    PictureLinks.erase(it);
    doomed.reset(); // clears every member's Link
}

int TFBDocument::ViewCount() const {
    const int n = Pages.Count();
    switch (ScreenMode) {
    case 0:
        return n;
    case 1:
        return n / 2 + 1;
    case 2:
        return n / 2;
    default:
        return 0;
    }
}

int TFBDocument::LeftPageIndex(int view) const {
    switch (ScreenMode) {
    case 0:
        return view;
    case 1:
        return 2 * view - 1;
    case 2:
        return 2 * view;
    default:
        return 0;
    }
}

int TFBDocument::RightPageIndex(int view) const {
    switch (ScreenMode) {
    case 0:
        return view;
    case 1:
        return 2 * view;
    case 2:
        return 2 * view + 1;
    default:
        return 0;
    }
}

int TFBDocument::ViewOfPage(int page) const {
    switch (ScreenMode) {
    case 0:
        return page;
    case 1:
        return (page + 1) / 2;
    case 2:
        return page / 2;
    default:
        return 0;
    }
}

TFBPage* TFBDocument::LeftPage(int view) const {
    const int index = LeftPageIndex(view);
    return index >= 0 && index < Pages.Count() ? Pages.Items(index) : nullptr;
}

TFBPage* TFBDocument::RightPage(int view) const {
    const int index = RightPageIndex(view);
    return index >= 0 && index < Pages.Count() ? Pages.Items(index) : nullptr;
}

bool TFBDocument::IsLeftPage(const TFBPage* page) const {
    const int p = Pages.IndexOf(page);
    if (p < 0)
        return false;
    switch (ScreenMode) {
    case 1:
        return p % 2 == 1;
    case 2:
        return p % 2 == 0;
    default:
        return false;
    }
}

bool TFBDocument::IsCalendar() const {
    return PrintSetting == 7 || PrintSetting == 8 || PrintSetting == 16 || PrintSetting == 17;
}

TFBSizeF TFBDocument::ViewSize() const {
    switch (ScreenMode) {
    case 0:
        return {PageWidth, PageHeight};
    case 1:
        return {2 * PageWidth + Stegbreite + 2 * Umschlagbreite, PageHeight + 2 * Umschlagbreite};
    case 2:
        return {2 * PageWidth, PageHeight};
    default:
        return {10, 10};
    }
}

TFBPointF TFBDocument::PageOffset(const TFBPage* page) const {
    switch (ScreenMode) {
    case 1:
        if (IsLeftPage(page))
            return {Umschlagbreite, Umschlagbreite};
        return {Umschlagbreite + PageWidth + Stegbreite, Umschlagbreite};
    case 2:
        if (IsLeftPage(page))
            return {0, 0};
        return {PageWidth, 0};
    default:
        return {0, 0};
    }
}

QString TFBDocument::ViewCaption(int view) const {
    const QString seite = Translate(QStringLiteral("Seite"));
    if (ScreenMode == 1 || ScreenMode == 2) {
        const int l = LeftPageIndex(view);
        const int r = RightPageIndex(view);
        QString text;
        if (l >= 0)
            text = QString::number(l + 1);
        if (r < Pages.Count()) {
            if (text.isEmpty())
                text = QString::number(r + 1);
            else
                text += QStringLiteral(" - ") + QString::number(r + 1);
        }
        return seite + QLatin1Char(' ') + text;
    }
    if (ScreenMode == 0 && IsCalendar()) {
        if (view >= 0 && view < Pages.Count() && Pages.Items(view)->Calendars.Count() > 0)
            return TKalenderData::MonthName(Pages.Items(view)->Calendar(0)->Data->Monat);
        if (view == 12)
            return Translate(QStringLiteral("Titelseite"));
        return TKalenderData::MonthName(view + 1);
    }
    return seite + QLatin1Char(' ') + QString::number(view + 1);
}

bool TFBDocument::CanDeleteView(int view) const {
    if (IsCalendar())
        return false;
    if (ScreenMode == 1 || ScreenMode == 2)
        return 0 < view && view < ViewCount() - 1;
    return Pages.Count() > 1;
}

bool TFBDocument::CanInsertView(int view) const {
    if (IsCalendar())
        return false;
    if (ScreenMode == 1 || ScreenMode == 2)
        return 0 < view && view < ViewCount() - 1;
    return true;
}

void TFBDocument::DeleteView(int view) {
    if (ScreenMode == 0) {
        TT_ASSERT(view >= 0 && view < Pages.Count(), return );
        Pages.Delete(view);
    } else if (ScreenMode == 1 || ScreenMode == 2) {
        // The right page first, so that the left page's index still holds.
        if (TFBPage* right = RightPage(view))
            Pages.Remove(right);
        if (TFBPage* left = LeftPage(view))
            Pages.Remove(left);
    } else {
        return;
    }
    Modified = true;
}

void TFBDocument::InsertView(int view, int source) {
    if (ScreenMode == 0) {
        TT_ASSERT(view >= 0 && view <= Pages.Count(), return );
        auto page = std::make_unique<TFBPage>(this);
        const TFBPage* from = source >= 0 && source < Pages.Count() ? Pages.Items(source) : nullptr;
        if (from)
            page->Seitenausrichtung = from->Seitenausrichtung;
        page->CopyFrameLayout(from);
        Pages.Insert(view, std::move(page));
    } else if (ScreenMode == 1 || ScreenMode == 2) {
        const int at = LeftPageIndex(view);
        TT_ASSERT(at >= 0 && at <= Pages.Count(), return );
        auto makePage = [this](const TFBPage* from) {
            auto page = std::make_unique<TFBPage>(this);
            if (from) {
                page->CopyFrameLayout(from);
                page->Seitenausrichtung = from->Seitenausrichtung;
            }
            return page;
        };
        auto a = makePage(LeftPage(source));
        auto b = makePage(RightPage(source));
        Pages.Insert(at, std::move(a));
        Pages.Insert(at + 1, std::move(b));
    }
}

void TFBDocument::MoveView(int from, int to) {
    if (ScreenMode == 0) {
        TT_ASSERT(from >= 0 && from < Pages.Count() && to >= 0 && to < Pages.Count(), return );
        Pages.Move(from, to);
    } else if (ScreenMode == 1 || ScreenMode == 2) {
        TFBPage* left = LeftPage(from);
        TFBPage* right = RightPage(from);
        // A view without both pages (the first and last in book mode) is never moved.
        TT_ASSERT(left && right, return );
        const int leftAt = LeftPageIndex(to);
        const int rightAt = RightPageIndex(to);
        TT_ASSERT(leftAt >= 0 && rightAt <= Pages.Count() - 1 && rightAt == leftAt + 1, return );
        std::unique_ptr<TFBPage> r = Pages.Extract(right);
        std::unique_ptr<TFBPage> l = Pages.Extract(left);
        Pages.Insert(leftAt, std::move(l));
        Pages.Insert(rightAt, std::move(r));
    }
}

uint8_t TFBDocument::ViewOrientation(int view) const {
    if (const TFBPage* left = LeftPage(view))
        return left->Seitenausrichtung;
    if (const TFBPage* right = RightPage(view))
        return right->Seitenausrichtung;
    return 0;
}

void TFBDocument::SetViewOrientation(int view, uint8_t value) {
    if (TFBPage* left = LeftPage(view))
        left->Seitenausrichtung = value;
    if (TFBPage* right = RightPage(view))
        right->Seitenausrichtung = value;
}

int TFBDocument::LastUsedPage() const {
    for (int p = Pages.Count() - 1; p >= 0; --p)
        if (Pages.Items(p)->HasContent())
            return p;
    return -1;
}

void TFBDocument::MoveElementToPage(TFBElement* element, TFBPage* page) {
    TT_ASSERT(element && page && element->Page, return );
    TFBElementList TFBPage::*list = nullptr;
    if (dynamic_cast<TFBPictureElement*>(element))
        list = &TFBPage::Pictures;
    else if (dynamic_cast<TFBKalenderElement*>(element))
        list = &TFBPage::Calendars;
    else if (dynamic_cast<TFBSizeableElement*>(element))
        list = &TFBPage::Sizeables;
    else
        throw Exception(QStringLiteral("MoveElementToPage: el ist nicht zuordbar"));
    std::unique_ptr<TFBElement> taken = (element->Page->*list).Extract(element);
    TT_ASSERT(taken, return );
    (page->*list).Add(std::move(taken));
    element->Page = page;
    Modified = true;
}

void TFBDocument::SetShadows(bool value) {
    PictureShadowsAllowed = value;
    PicturesHaveShadows = value;
}

QString TFBDocument::DisplayNameOfPaperKey(const QString& key) {
    if (key.startsWith(QStringLiteral("ID_")))
        return Translate(key);
    return key;
}

QString TFBDocument::PaperDisplayName() const {
    return DisplayNameOfPaperKey(PrintPaperType);
}

QString TFBDocument::PaperNameDisplayName() const {
    return DisplayNameOfPaperKey(PrintPaperName);
}

void TFBDocument::GetCalendarStart(int& month, int& year) const {
    month = 1;
    year = QDate::currentDate().year();
    if (Pages.Count() > 0 && Pages.Items(0)->Calendars.Count() > 0) {
        const TKalenderData& data = *Pages.Items(0)->Calendar(0)->Data;
        month = data.Monat;
        year = data.Jahr;
    }
}

void TFBDocument::SetCalendarStart(int year, int month) {
    for (const TFBPage* page : Pages) {
        for (TFBElement* element : page->Calendars) {
            if (auto* calendar = dynamic_cast<TFBKalenderElement*>(element)) {
                calendar->Data->SetMonat(month);
                calendar->Data->SetJahr(year);
            }
        }
        // Every page uses up a month, also one without a calendar.
        if (++month == 13) {
            month = 1;
            ++year;
        }
    }
}

void TFBDocument::ApplyCalendarToAll(const TKalenderData& source) {
    // Through the stored form, so that everything is copied that a project keeps, fonts and
    // paddings included; the source itself is rewritten with its own values.
    const TKalenderDataSnapshot snapshot(source);
    for (const TFBPage* page : Pages) {
        for (TFBElement* element : page->Calendars) {
            if (auto* calendar = dynamic_cast<TFBKalenderElement*>(element)) {
                TKalenderData& data = *calendar->Data;
                const int month = data.Monat;
                const int year = data.Jahr;
                snapshot.RestoreTo(data);
                data.SetMonat(month);
                data.SetJahr(year);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TFBElement> CreateElementByClassName(const QString& name, TFBPage* page) {
    if (name == QLatin1String("TFBElement"))
        return std::make_unique<TFBElement>(page);
    if (name == QLatin1String("TFBPictureElement"))
        return std::make_unique<TFBPictureElement>(page);
    if (name == QLatin1String("TFBSizeableElement"))
        return std::make_unique<TFBSizeableElement>(page);
    if (name == QLatin1String("TFBKalenderElement"))
        return std::make_unique<TFBKalenderElement>(page);
    if (name == QLatin1String("TFBTextElement"))
        return std::make_unique<TFBTextElement>(page);
    if (name == QLatin1String("TFBClipartElement"))
        return std::make_unique<TFBClipartElement>(page);
    return nullptr;
}
