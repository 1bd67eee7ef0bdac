#include "editing/uPagesStrip.h"

#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFBColor.h"
#include "editing/uDocumentEdits.h"
#include "editing/uMulticaster.h"
#include "editing/uPageView.h"
#include "editing/uTransferData.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void refuse(const QString& message) {
    throw Exception(message);
}

// Greying: a light grey brush and a red pen (0x00BBGGRR 0xF5F5F5 and 0x0000FF).
const QColor kGrey(0xF5, 0xF5, 0xF5);
const QColor kRed(0xFF, 0x00, 0x00);
// The drop marker's navy (0x800000).
const QColor kNavy(0x00, 0x00, 0x80);
// The drag image's background, taken out as transparent.
const QRgb kDragBackground = qRgb(0x80, 0x00, 0x80);
// Finished thumbnails kept beyond the visible ones; a strip of thousands of views would hold a
// picture for each of them otherwise.
constexpr int kCacheLimit = 160;

bool existingFile(const QString& path) {
    return QDir::isAbsolutePath(path) && QFileInfo(path).isFile();
}

// The formats a drop onto the strip may carry, in the order they are looked at.
enum class TStripDrop { None, View, Pic, Files, Colour, Template };

TStripDrop kindOf(const QMimeData& data) {
    if (data.hasFormat(TransferFormat::View))
        return TStripDrop::View;
    if (data.hasFormat(TransferFormat::Pic))
        return TStripDrop::Pic;
    if (Transfer::OffersFiles(data))
        return TStripDrop::Files;
    if (data.hasFormat(TransferFormat::Color))
        return TStripDrop::Colour;
    if (data.hasFormat(TransferFormat::PageTemplate))
        return TStripDrop::Template;
    return TStripDrop::None;
}

} // namespace

// --- rules ---------------------------------------------------------------------------------------

namespace PagesRules {

int CellWidthFor(int clientHeight) {
    return std::clamp(clientHeight - 18, 100, 200);
}

bool ShownAsSpreads(const TFBDocument& document) {
    return document.ScreenMode == 1 || document.ScreenMode == 2;
}

bool CanMoveView(const TFBDocument& document, int view) {
    const int views = document.ViewCount();
    if (document.IsCalendar() || view < 0 || view >= views)
        return false;
    if (document.ScreenMode == 1)
        return view > 0 && view < views - 1;
    return true;
}

int MoveDestination(const TFBDocument& document, int source, int gap) {
    const int views = document.ViewCount();
    if (!CanMoveView(document, source) || gap < 0 || gap > views || gap == source || gap == source + 1)
        return -1;
    if (document.ScreenMode == 1 && (gap == 0 || gap == views))
        return -1;
    return source < gap ? gap - 1 : gap;
}

TPagesMenuState MenuState(const TFBDocument& document, int view) {
    TPagesMenuState menu;
    const bool spreads = ShownAsSpreads(document);
    menu.InsertBeforeKey =
        spreads ? QStringLiteral("Doppelseite davor einfügen") : QStringLiteral("Seite davor einfügen");
    menu.InsertAfterKey =
        spreads ? QStringLiteral("Doppelseite dahinter einfügen") : QStringLiteral("Seite dahinter einfügen");
    menu.DeleteKey = spreads ? QStringLiteral("Doppelseite löschen") : QStringLiteral("Seite löschen");
    menu.InsertBeforeCaption = Translate(menu.InsertBeforeKey);
    menu.InsertAfterCaption = Translate(menu.InsertAfterKey);
    menu.DeleteCaption = Translate(menu.DeleteKey);
    if (view < 0 || view >= document.ViewCount())
        return menu;
    // Inserting after a view is offered exactly where inserting before it is.
    menu.InsertBefore = document.CanInsertView(view);
    menu.InsertAfter = menu.InsertBefore;
    menu.Delete = document.CanDeleteView(view);
    return menu;
}

TCellGreying Greying(const TFBDocument& document, int lastContentPage, int view) {
    if (document.ScreenMode != 1 || lastContentPage < 0 || lastContentPage >= document.Pages.Count())
        return TCellGreying::None;
    // The first page and the right pages are no left pages: the grey starts one view later.
    const TFBPage* last = document.Pages.Items(lastContentPage);
    const int a = document.ViewOfPage(lastContentPage) + (document.IsLeftPage(last) ? 0 : 1);
    if (view > a)
        return TCellGreying::Whole;
    if (view < a)
        return TCellGreying::None;
    return document.ViewOrientation(view) != 0 ? TCellGreying::LowerHalf : TCellGreying::RightHalf;
}

QString DeleteQuestion(const TFBDocument& document) {
    return Translate(ShownAsSpreads(document)
                         ? QStringLiteral("Soll die Doppelseite wirklich gelöscht werden?")
                         : QStringLiteral("Soll die Seite wirklich gelöscht werden?"));
}

void InsertViewBefore(TFBDocument& document, int view) {
    if (!MenuState(document, view).InsertBefore)
        refuse(QStringLiteral("Vor der Ansicht %1 kann keine Seite eingefügt werden").arg(view));
    DocumentEdits::InsertView(document, view, view);
}

void InsertViewAfter(TFBDocument& document, int view) {
    if (!MenuState(document, view).InsertAfter)
        refuse(QStringLiteral("Hinter der Ansicht %1 kann keine Seite eingefügt werden").arg(view));
    DocumentEdits::InsertView(document, view + 1, view);
}

void DeleteView(TFBDocument& document, int view) {
    if (!MenuState(document, view).Delete)
        refuse(QStringLiteral("Die Ansicht %1 kann nicht gelöscht werden").arg(view));
    DocumentEdits::DeleteView(document, view);
}

int MoveViewToGap(TFBDocument& document, int source, int gap) {
    const int destination = MoveDestination(document, source, gap);
    if (destination < 0)
        refuse(QStringLiteral("Die Ansicht %1 kann nicht an die Lücke %2 verschoben werden")
                   .arg(source)
                   .arg(gap));
    DocumentEdits::MoveView(document, source, destination);
    return destination;
}

} // namespace PagesRules

// --- the strip -----------------------------------------------------------------------------------

TPagesStrip::TPagesStrip(TFBDocument* document, TPagesStripWindow& window)
    : document_(document), window_(window) {}

TFBDocument& TPagesStrip::document() const {
    return *document_;
}

void TPagesStrip::SetLook(const TPagesStripLook& look) {
    look_ = look;
    dropThumbnails();
    window_.InvalidateAll();
}

void TPagesStrip::SetDocument(TFBDocument* document) {
    document_ = document;
    current_ = -1;
    scrollX_ = 0;
    Refresh();
}

int TPagesStrip::ViewCount() const {
    return document_ ? document_->ViewCount() : 0;
}

void TPagesStrip::Refresh() {
    const int view = current_;
    const int scroll = scrollX_;
    current_ = -1;
    scrollX_ = 0;
    boxViews_ = ViewCount();
    dropThumbnails();
    updateLastContentPage();
    if (view >= 0 && view < ViewCount()) {
        current_ = view;
        scrollX_ = std::clamp(scroll, 0, ScrollRange());
        ScrollIntoView(view);
    }
    window_.ScrollStateChanged();
    window_.InvalidateAll();
}

// --- size and scrolling --------------------------------------------------------------------------

void TPagesStrip::Resize(int clientWidth, int clientHeight, qreal pixelRatio) {
    const int width = PagesRules::CellWidthFor(clientHeight);
    const bool cellsChanged = width != cellW_ || clientHeight != clientH_ || pixelRatio != dpr_;
    clientW_ = std::max(0, clientWidth);
    clientH_ = std::max(0, clientHeight);
    dpr_ = pixelRatio > 0 ? pixelRatio : 1;
    cellW_ = width;
    boxViews_ = ViewCount();
    if (cellsChanged)
        dropThumbnails();
    scrollX_ = std::clamp(scrollX_, 0, ScrollRange());
    window_.ScrollStateChanged();
    window_.InvalidateAll();
}

int TPagesStrip::ContentWidth() const {
    return boxViews_ * cellW_;
}

int TPagesStrip::ScrollRange() const {
    return std::max(0, ContentWidth() - clientW_);
}

void TPagesStrip::SetScrollX(int x) {
    const int clamped = std::clamp(x, 0, ScrollRange());
    if (clamped == scrollX_)
        return;
    scrollX_ = clamped;
    window_.ScrollStateChanged();
    window_.InvalidateAll();
}

void TPagesStrip::ScrollIntoView(int view) {
    if (view < 0 || view >= ViewCount())
        return;
    int x = scrollX_;
    if ((view + 1) * cellW_ >= clientW_ + x)
        x = (view + 1) * cellW_ - clientW_;
    if (view * cellW_ < x)
        x = view * cellW_;
    SetScrollX(x);
}

void TPagesStrip::Wheel(int delta) {
    // Three steps a notch, as scroll bars move for the wheel.
    SetScrollX(scrollX_ - delta * 3 * ScrollStep() / 120);
}

// --- geometry ------------------------------------------------------------------------------------

QRect TPagesStrip::CellRect(int view) const {
    return QRect(view * cellW_, 0, cellW_, clientH_);
}

QRect TPagesStrip::ThumbnailRect(int view) const {
    return CellRect(view).adjusted(10, 10, -10, -30);
}

QRect TPagesStrip::LabelRect(int view) const {
    const QRect cell = CellRect(view);
    return QRect(QPoint(cell.left() + 10, cell.bottom() + 1 - 28),
                 QPoint(cell.right() - 10, cell.bottom() - 10));
}

int TPagesStrip::ViewAtX(int x) const {
    if (x < 0 || cellW_ <= 0)
        return -1;
    const int view = x / cellW_;
    return view < ViewCount() ? view : -1;
}

int TPagesStrip::GapAt(int x) const {
    const int views = ViewCount();
    if (views == 0 || cellW_ <= 0)
        return -1;
    const int tolerance = cellW_ / 10 + 10;
    if (x <= tolerance)
        return 0;
    if (x >= views * cellW_ - tolerance)
        return views;
    const int gap = (x + cellW_ / 2) / cellW_;
    return std::abs(x - gap * cellW_) <= tolerance ? gap : -1;
}

void TPagesStrip::cellTransformation(int view, TTransformation& t, qreal scale) const {
    // In the cell's own pixels times scale: the view centred in the thumbnail area and fitted
    // into a square 3 pixels smaller than the area's shorter side.
    const TFBSizeF size = document().ViewSize();
    const float tw = static_cast<float>(cellW_ - 20);
    const float th = static_cast<float>(clientH_ - 40);
    const float s = std::min(tw, th) - 3;
    const float k = std::max(0.0001f, std::min(s / size.Width, s / size.Height));
    t.Reset();
    t.Scale(static_cast<float>(scale));
    t.Translate(10, 10);
    t.Translate(tw / 2, th / 2);
    if (document().ViewOrientation(view) != 0)
        t.Rotate(document().ScreenQuerformatWinkel);
    t.Scale(k);
    t.Translate(-size.Width / 2, -size.Height / 2);
    t.Update();
}

void TPagesStrip::ThumbnailTransformation(int view, TTransformation& t) const {
    TTransformation cell;
    cellTransformation(view, cell, 1);
    t.Reset();
    t.Translate(static_cast<float>(view * cellW_), 0);
    t.MultiplyBy(cell);
    t.Update();
}

bool TPagesStrip::ViewPointAt(int view, int x, int y, TFBPointF& p) const {
    if (!document_ || view < 0 || view >= ViewCount() || !ThumbnailRect(view).contains(x, y))
        return false;
    TTransformation t;
    ThumbnailTransformation(view, t);
    float vx = 0, vy = 0;
    // The pixel's centre, as it was painted.
    t.InverseTransform(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, vx, vy);
    const TFBSizeF size = document_->ViewSize();
    if (!std::isfinite(vx) || !std::isfinite(vy) || vx < 0 || vy < 0 || vx >= size.Width || vy >= size.Height)
        return false;
    p = {vx, vy};
    return true;
}

TFBPictureElement* TPagesStrip::FrameAt(int x, int y) const {
    const int view = ViewAtX(x);
    TFBPointF p;
    if (!ViewPointAt(view, x, y, p))
        return nullptr;
    return static_cast<TFBPictureElement*>(ElementAtViewPoint(*document_, view, p, hkPictures));
}

TFBPage* TPagesStrip::PageAt(int x, int y) const {
    const int view = ViewAtX(x);
    TFBPointF p;
    if (!ViewPointAt(view, x, y, p))
        return nullptr;
    TFBPage* page = PageAtViewPoint(*document_, view, p);
    if (!page)
        return nullptr;
    // Only on the page's own rectangle (a single page's view reaches no further anyway).
    const TFBPointF o = document_->PageOffset(page);
    const float lx = p.X - o.X, ly = p.Y - o.Y;
    return lx >= 0 && ly >= 0 && lx < document_->PageWidth && ly < document_->PageHeight ? page : nullptr;
}

// --- current view --------------------------------------------------------------------------------

void TPagesStrip::select(int view, bool announce) {
    const int index = std::clamp(view, -1, ViewCount() - 1);
    if (index == current_)
        return;
    current_ = index;
    if (announce)
        Multicaster().ViewSelected(source_, index);
    ScrollIntoView(index);
    window_.InvalidateAll();
}

void TPagesStrip::SelectView(int view) {
    select(view, true);
}

void TPagesStrip::ShowView(int view) {
    select(view, false);
}

void TPagesStrip::RefreshCurrentView() {
    if (current_ >= 0 && current_ < static_cast<int>(thumbnails_.size()))
        thumbnails_[current_] = {};
    window_.InvalidateAll();
}

// --- mouse and keys ------------------------------------------------------------------------------

void TPagesStrip::MouseDown(int x) {
    mouseDownView_ = ViewAtX(x);
}

void TPagesStrip::Click(int x) {
    const int view = ViewAtX(x);
    if (view >= 0 && view == mouseDownView_)
        SelectView(view);
}

TStripDrag TPagesStrip::DragAt(int x, int y) const {
    if (!document_)
        return TStripDrag::None;
    const int view = ViewAtX(x);
    if (view < 0)
        return TStripDrag::None;
    if (LabelRect(view).contains(x, y))
        return PagesRules::CanMoveView(*document_, view) ? TStripDrag::View : TStripDrag::None;
    const TFBPictureElement* frame = FrameAt(x, y);
    return frame && frame->HasPicture() ? TStripDrag::Pic : TStripDrag::None;
}

int TPagesStrip::HoverCursor(int x, int y) const {
    switch (DragAt(x, y)) {
    case TStripDrag::View:
        return crDrag;
    case TStripDrag::Pic:
        return crPicturePan;
    case TStripDrag::None:
        break;
    }
    return crDefault;
}

bool TPagesStrip::Key(TStripKey key) {
    const int views = ViewCount();
    if (views == 0)
        return false;
    switch (key) {
    case TStripKey::Left:
        SelectView(current_ > 0 ? current_ - 1 : 0);
        return true;
    case TStripKey::Right:
        SelectView(current_ + 1);
        return true;
    case TStripKey::Home:
        SelectView(0);
        return true;
    case TStripKey::End:
        SelectView(views - 1);
        return true;
    }
    return false;
}

// --- menu ----------------------------------------------------------------------------------------

TPagesMenuState TPagesStrip::Menu() const {
    if (!document_)
        return {};
    return PagesRules::MenuState(*document_, mouseDownView_);
}

void TPagesStrip::pagesChanged(int view) {
    Refresh();
    Multicaster().PagesChanged(source_);
    const int index = std::clamp(view, -1, ViewCount() - 1);
    // The view is announced even when its index stays: it shows other pages now.
    if (index != current_)
        ShowView(index);
    Multicaster().ViewSelected(source_, index);
}

void TPagesStrip::Run(TStripCommand command) {
    if (!document_)
        return;
    const int view = mouseDownView_;
    switch (command) {
    case TStripCommand::InsertBefore:
        PagesRules::InsertViewBefore(*document_, view);
        pagesChanged(view);
        return;
    case TStripCommand::InsertAfter:
        PagesRules::InsertViewAfter(*document_, view);
        pagesChanged(view + 1);
        return;
    case TStripCommand::Delete: {
        if (!Menu().Delete)
            return;
        if (!window_.Confirm(PagesRules::DeleteQuestion(*document_)))
            return;
        const int current = current_;
        PagesRules::DeleteView(*document_, view);
        // A current view that is gone gives way to the one now at its index, else the last.
        pagesChanged(std::min(current < 0 ? view : current, ViewCount() - 1));
        return;
    }
    }
}

// --- drops ---------------------------------------------------------------------------------------

void TPagesStrip::setDropGap(int gap) {
    if (gap == dropGap_)
        return;
    dropGap_ = gap;
    window_.InvalidateAll();
}

void TPagesStrip::HideDropMarker() {
    setDropGap(-3);
}

QString TPagesStrip::refusal(const QMimeData& data, int x, int y, bool fromThisProcess) const {
    if (!document_)
        return QStringLiteral("Kein Dokument");
    const QString noFrame = QStringLiteral("Hier ist kein Bildrahmen");
    switch (kindOf(data)) {
    case TStripDrop::View: {
        if (!fromThisProcess)
            return QStringLiteral("Die Seite stammt aus einem anderen Programm");
        const int source = Transfer::ReadView(*document_, data.data(TransferFormat::View));
        if (source < 0)
            return QStringLiteral("Die gezogene Seite gehört nicht zum Dokument");
        if (PagesRules::MoveDestination(*document_, source, GapAt(x)) < 0)
            return QStringLiteral("Die Seite kann nicht hierher verschoben werden");
        return QString();
    }
    case TStripDrop::Pic: {
        if (!fromThisProcess)
            return QStringLiteral("Das Bild stammt aus einem anderen Programm");
        const TFBPictureElement* source = Transfer::ReadPic(*document_, data.data(TransferFormat::Pic));
        if (!source || !source->HasPicture())
            return QStringLiteral("Der gezogene Bildrahmen gehört nicht zum Dokument");
        const TFBPictureElement* target = FrameAt(x, y);
        if (!target)
            return noFrame;
        if (target == source)
            return QStringLiteral("Das Bild liegt schon in diesem Bildrahmen");
        return QString();
    }
    case TStripDrop::Files: {
        if (!FrameAt(x, y))
            return noFrame;
        // Only whether the files are there: their headers are read on the drop.
        const QStringList paths = Transfer::DroppedFiles(data);
        if (std::none_of(paths.begin(), paths.end(), existingFile))
            return QStringLiteral("Die Dateiliste nennt keine vorhandene Datei");
        return QString();
    }
    case TStripDrop::Colour:
        if (!FrameAt(x, y))
            return noFrame;
        if (!Transfer::ReadColor(data.data(TransferFormat::Color)))
            return QStringLiteral("Die Farbe ist beschädigt");
        return QString();
    case TStripDrop::Template:
        if (!PageAt(x, y))
            return QStringLiteral("Hier ist keine Seite");
        if (!Transfer::ReadTemplate(data.data(TransferFormat::PageTemplate)))
            return QStringLiteral("Das Layout ist beschädigt");
        return QString();
    case TStripDrop::None:
        break;
    }
    return QStringLiteral("Diese Daten lassen sich hier nicht ablegen");
}

TDropEffect TPagesStrip::CheckDrop(const QMimeData& data, int x, int y, bool fromThisProcess,
                                   TDropEffect proposed) {
    const bool allowed = refusal(data, x, y, fromThisProcess).isEmpty();
    const TStripDrop kind = kindOf(data);
    setDropGap(allowed && kind == TStripDrop::View ? GapAt(x) : -3);
    if (!allowed)
        return TDropEffect::None;
    if (kind == TStripDrop::View)
        return TDropEffect::Move;
    if (kind == TStripDrop::Pic && proposed == TDropEffect::Move)
        return TDropEffect::Move;
    return TDropEffect::Copy;
}

void TPagesStrip::elementChanged(TFBElement* element) {
    if (element)
        dropThumbnailsOf(element->Page);
    window_.InvalidateAll();
    Multicaster().NotifyElementChanged(source_, element);
}

TDropEffect TPagesStrip::Drop(const QMimeData& data, int x, int y, bool fromThisProcess,
                              TDropEffect proposed) {
    HideDropMarker();
    const QString why = refusal(data, x, y, fromThisProcess);
    if (!why.isEmpty())
        refuse(why);
    TFBDocument& doc = *document_;
    switch (kindOf(data)) {
    case TStripDrop::View: {
        const int source = Transfer::ReadView(doc, data.data(TransferFormat::View));
        const int destination = PagesRules::MoveViewToGap(doc, source, GapAt(x));
        Refresh();
        Multicaster().PagesChanged(source_);
        SelectView(destination);
        Multicaster().NotifyPageChanged(source_, doc.LeftPage(destination) ? doc.LeftPage(destination)
                                                                           : doc.RightPage(destination));
        return TDropEffect::Move;
    }
    case TStripDrop::Pic: {
        TFBPictureElement* source = Transfer::ReadPic(doc, data.data(TransferFormat::Pic));
        TFBPictureElement* target = FrameAt(x, y);
        if (proposed == TDropEffect::Move) {
            DocumentEdits::SwapPictures(*target, *source);
            elementChanged(source);
            elementChanged(target);
            return TDropEffect::Move;
        }
        DocumentEdits::CopyPicture(*target, *source);
        elementChanged(target);
        return TDropEffect::Copy;
    }
    case TStripDrop::Files:
        window_.Focus();
        LoadDroppedFiles(doc, Transfer::DroppedFiles(data), FrameAt(x, y), window_,
                         [this](TFBPictureElement& filled) { elementChanged(&filled); });
        return TDropEffect::Copy;
    case TStripDrop::Colour: {
        TFBPictureElement* frame = FrameAt(x, y);
        int32_t colour = Transfer::ReadColor(data.data(TransferFormat::Color))->Color;
        // "Eigene Farbe": the user picks the colour now; a cancelled pick changes nothing.
        if (colour < 0) {
            colour = 0xFFFFFF;
            if (!PickColor(colour))
                return TDropEffect::None;
        }
        DocumentEdits::FillColour(*frame, colour);
        elementChanged(frame);
        return TDropEffect::Copy;
    }
    case TStripDrop::Template: {
        TFBPage* page = PageAt(x, y);
        const std::unique_ptr<TFBPageTemplate> layout =
            Transfer::ReadTemplate(data.data(TransferFormat::PageTemplate));
        if (OnReplacingPage)
            OnReplacingPage(page);
        DocumentEdits::ApplyLayout(doc, *page, *layout);
        dropThumbnailsOf(page);
        window_.InvalidateAll();
        Multicaster().NotifyPageChanged(source_, page);
        return TDropEffect::Copy;
    }
    case TStripDrop::None:
        break;
    }
    return TDropEffect::None;
}

// --- drag image ----------------------------------------------------------------------------------

QImage TPagesStrip::DragImage(TFBPictureElement& frame) const {
    if (!document_ || !frame.Page)
        return {};
    const int view = frame.Page->ViewIndex();
    TTransformation cell;
    cellTransformation(view, cell, dpr_);
    // The thumbnail's scale: the length of a millimetre along x on the cell.
    float ux = 0, uy = 0;
    cell.TransformVector(1, 0, ux, uy);
    const float k = std::hypot(ux, uy);
    const TFBRectF box = frame.BoundingBox();
    const int w = std::max(1, static_cast<int>(std::ceil((box.Right - box.Left) * k)));
    const int h = std::max(1, static_cast<int>(std::ceil((box.Bottom - box.Top) * k)));
    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(kDragBackground);
    {
        TBitmapDrawContext dc(image);
        dc.Transformation.Scale(k);
        dc.Transformation.Translate(-box.Left, -box.Top);
        try {
            DocumentDrawer().DrawPictureFrame(frame, dc, true, 1);
        } catch (const Exception& e) {
            Debug().Trace(QStringLiteral("TSFormSeiten.DragImage: ") + e.message());
        }
        dc.ReleaseCanvas();
    }
    // The background colour stands for transparency.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = (row[x] & 0xFFFFFF) == (kDragBackground & 0xFFFFFF) ? 0 : (row[x] | 0xFF000000u);
    }
    image.setDevicePixelRatio(dpr_);
    return image;
}

// --- painting ------------------------------------------------------------------------------------

void TPagesStrip::updateLastContentPage() {
    const int last = document_ ? document_->LastUsedPage() : -1;
    if (last == lastContentPage_)
        return;
    lastContentPage_ = last;
    // The grey under the thumbnails moved.
    dropThumbnails();
}

void TPagesStrip::dropThumbnails() {
    thumbnails_.clear();
}

void TPagesStrip::dropThumbnailsOf(const TFBPage* page) {
    if (!document_ || !page) {
        dropThumbnails();
        return;
    }
    const int index = document_->Pages.IndexOf(page);
    if (index < 0) {
        dropThumbnails();
        return;
    }
    const int view = document_->ViewOfPage(index);
    if (view >= 0 && view < static_cast<int>(thumbnails_.size()))
        thumbnails_[view] = {};
}

int TPagesStrip::CachedThumbnails() const {
    return static_cast<int>(std::count_if(thumbnails_.begin(), thumbnails_.end(),
                                          [](const TThumbnail& t) { return !t.Image.isNull(); }));
}

void TPagesStrip::keepCacheSmall() {
    if (CachedThumbnails() <= kCacheLimit)
        return;
    // Only what is on the screen stays.
    const int first = ViewAtX(scrollX_);
    const int last = (scrollX_ + clientW_) / std::max(1, cellW_);
    for (int v = 0; v < static_cast<int>(thumbnails_.size()); ++v)
        if (v < first || v > last)
            thumbnails_[v] = {};
}

void TPagesStrip::ElementChanged(TFBElement* element, TFBPage* page) {
    updateLastContentPage();
    dropThumbnailsOf(element && element->Page ? element->Page : page);
    window_.InvalidateAll();
}

void TPagesStrip::DocumentRestored() {
    dropThumbnails();
    Refresh();
}

void TPagesStrip::paintBackground(QPainter& p, int view, TCellGreying greying) const {
    const int w = cellW_, h = clientH_;
    p.fillRect(QRect(0, 0, w, h), Qt::white);
    const QRect thumb = ThumbnailRect(view).translated(-view * cellW_, 0);
    const int midX = (thumb.left() + thumb.right() + 1) / 2;
    const int midY = (thumb.top() + thumb.bottom() + 1) / 2;
    switch (greying) {
    case TCellGreying::None:
        break;
    case TCellGreying::Whole:
        p.fillRect(QRect(0, 0, w, h), kGrey);
        break;
    case TCellGreying::RightHalf:
        p.fillRect(QRect(midX, 0, w - midX, h), kGrey);
        p.fillRect(QRect(midX, 0, 1, h), kRed);
        break;
    case TCellGreying::LowerHalf:
        p.fillRect(QRect(0, midY, w, h - midY), kGrey);
        p.fillRect(QRect(0, midY, w, 1), kRed);
        p.fillRect(QRect(0, midY, 1, h - midY), kRed);
        p.fillRect(QRect(w - 1, 0, 1, midY + 1), kRed);
        break;
    }
}

const QImage* TPagesStrip::thumbnail(int view, TCellGreying greying) {
    if (static_cast<int>(thumbnails_.size()) < ViewCount())
        thumbnails_.resize(ViewCount());
    TThumbnail& kept = thumbnails_[view];
    if (!kept.Image.isNull())
        return &kept.Image;
    TTransformation t;
    cellTransformation(view, t, dpr_);
    const TFBSizeF size = document().ViewSize();
    // The book's cover casts its shadow 3 mm down and right.
    const float reach = document().ScreenMode == 1 ? 3 : 0;
    TRect box = t.BoundingRect(0, 0, size.Width + reach, size.Height + reach);
    const QSize device = cellDeviceSize();
    box = IntersectRect({box.Left - 1, box.Top - 1, box.Right + 2, box.Bottom + 2},
                        {0, 0, device.width(), device.height()});
    if (box.IsEmpty())
        return nullptr;
    QImage image(box.Width(), box.Height(), QImage::Format_ARGB32);
    if (image.isNull())
        return nullptr;
    {
        // Drawn over the cell's own background, so a kept thumbnail looks as a fresh one.
        QPainter p(&image);
        p.translate(-box.Left, -box.Top);
        p.scale(dpr_, dpr_);
        paintBackground(p, view, greying);
    }
    {
        TBitmapDrawContext dc(image);
        dc.Transformation.Translate(static_cast<float>(-box.Left), static_cast<float>(-box.Top));
        dc.Transformation.MultiplyBy(t);
        if (OnDrawThumbnail)
            OnDrawThumbnail(view);
        DocumentDrawer().DrawView(document(), dc, 1, view);
        dc.ReleaseCanvas();
    }
    // Opaque throughout; the premultiplied form is copied onto the screen without conversion.
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr_);
    kept = {std::move(image), QPoint(box.Left, box.Top)};
    keepCacheSmall();
    return kept.Image.isNull() ? nullptr : &kept.Image;
}

void TPagesStrip::paintFrameAndLabel(QPainter& p, int view) const {
    const int w = cellW_, h = clientH_;
    if (view == current_) {
        QPen pen(look_.ButtonShadow, 4);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4, 4, w - 8, h - 8));
    }
    const QRect label = LabelRect(view).translated(-view * cellW_, 0);
    p.fillRect(label, look_.Window);
    p.setPen(QPen(look_.ButtonShadow, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(label).adjusted(0.5, 0.5, -0.5, -0.5));
    p.setFont(look_.Font);
    p.setPen(look_.Text);
    p.drawText(label, Qt::AlignCenter | Qt::TextSingleLine, document().ViewCaption(view));
}

QSize TPagesStrip::cellDeviceSize() const {
    return QSize(static_cast<int>(std::ceil(cellW_ * dpr_)), static_cast<int>(std::ceil(clientH_ * dpr_)));
}

void TPagesStrip::paintCell(QPainter& p, int view) {
    const TCellGreying greying = PagesRules::Greying(*document_, lastContentPage_, view);
    paintBackground(p, view, greying);
    try {
        if (const QImage* kept = thumbnail(view, greying)) {
            const TThumbnail& t = thumbnails_[view];
            p.drawImage(QPointF(t.At.x() / dpr_, t.At.y() / dpr_), *kept);
        }
    } catch (const std::exception& e) {
        // The cell keeps its background, frame and label.
        Debug().Trace(
            QStringLiteral("TSFormSeiten.PaintCell %1: %2").arg(view).arg(QString::fromUtf8(e.what())));
    }
    paintFrameAndLabel(p, view);
}

void TPagesStrip::PaintCell(QImage& cell, int view) {
    const QSize device = cellDeviceSize();
    if (cell.size() != device || cell.format() != QImage::Format_ARGB32) {
        cell = QImage(device, QImage::Format_ARGB32);
        if (cell.isNull())
            return;
    }
    cell.setDevicePixelRatio(dpr_);
    if (!document_ || view < 0 || view >= ViewCount()) {
        cell.fill(Qt::white);
        return;
    }
    updateLastContentPage();
    QPainter p(&cell);
    paintCell(p, view);
}

void TPagesStrip::Paint(QPainter& painter, const QRect& area) {
    if (!document_ || cellW_ <= 0 || clientH_ <= 0)
        return;
    updateLastContentPage();
    const QRect box = area.translated(scrollX_, 0);
    const int first = std::max(0, box.left() / cellW_);
    const int last = std::min(std::min(boxViews_, ViewCount()) - 1, box.right() / cellW_);
    // Each cell is painted straight onto the screen: the same steps as into a cell bitmap,
    // without copying it once more.
    for (int v = first; v <= last; ++v) {
        painter.save();
        painter.translate(v * cellW_ - scrollX_, 0);
        painter.setClipRect(QRect(0, 0, cellW_, clientH_));
        paintCell(painter, v);
        painter.restore();
    }
    // Right of the last cell the strip shows the window.
    const int end = ContentWidth() - scrollX_;
    if (end <= area.right()) {
        const int from = std::max(end, area.left());
        painter.fillRect(QRect(from, area.top(), area.right() + 1 - from, area.height()), look_.Window);
    }
    if (dropGap_ >= 0 && clientH_ > 20)
        painter.fillRect(QRect(dropGap_ * cellW_ - scrollX_ - 1, 10, 2, clientH_ - 20), kNavy);
}

QImage TPagesStrip::PaintStrip() {
    const int views = boxViews_;
    const QSize logical(std::max(1, views * cellW_), std::max(1, clientH_));
    QImage strip(logical * dpr_, QImage::Format_ARGB32);
    if (strip.isNull())
        return strip;
    strip.setDevicePixelRatio(dpr_);
    strip.fill(look_.Window);
    const int keptScroll = scrollX_, keptWidth = clientW_;
    scrollX_ = 0;
    clientW_ = logical.width();
    {
        QPainter painter(&strip);
        Paint(painter, QRect(QPoint(0, 0), logical));
    }
    scrollX_ = keptScroll;
    clientW_ = keptWidth;
    return strip;
}
