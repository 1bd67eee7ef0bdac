// The undo record classes: what each records from the document, how it restores it, and the
// record of the present state that repeats the change afterwards.
#include "editing/uUndo.h"

#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"

#include <climits>

namespace {

const QString kRoot;
const QString kPageIndex = QStringLiteral("PageIndex");

TBildmanager& pictures() {
    return TBildmanager::Instance();
}

[[noreturn]] void refuse(const QString& what) {
    throw Exception(QStringLiteral("Rückgängig: %1 gehört zu keinem Dokument").arg(what));
}

// The element's page index and its index in its kind's list; raises when it is in none.
std::pair<int, int> addressOf(const TFBElement* element, const QString& what) {
    if (!element || !element->Page || !element->Page->Document)
        refuse(what);
    const int page = element->Page->PageIndex();
    const int index = element->IndexInList();
    if (page < 0 || index < 0)
        refuse(what);
    return {page, index};
}

TFBPage* pageAt(const TFBDocument& document, int index) {
    return index >= 0 && index < document.Pages.Count() ? document.Pages.Items(index) : nullptr;
}

qint64 pictureBytes(int ref) {
    const TBildManagerListItem* entry = pictures().Find(ref);
    return entry ? entry->FileData.size() : 0;
}

// Room for the keys around the pictures.
constexpr qint64 kKeysReserve = 16 * 1024;

QString picSection(const QString& side, const char* kind, int index) {
    return side + QString::fromLatin1(kind) + u'/' + QString::number(index);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Addresses

QString UndoAddress::FocusTypeOf(const TFBElement* element) {
    if (dynamic_cast<const TFBPictureElement*>(element))
        return QStringLiteral("Pic");
    if (dynamic_cast<const TFBKalenderElement*>(element))
        return QStringLiteral("Kalender");
    if (dynamic_cast<const TFBSizeableElement*>(element))
        return QStringLiteral("Sizeable");
    return QString();
}

TFBElement* UndoAddress::Find(const TFBDocument& document, const QString& focusType, int page, int index) {
    if (focusType == QLatin1String("Pic"))
        return Frame(document, page, index);
    if (focusType == QLatin1String("Kalender"))
        return Calendar(document, page, index);
    if (focusType == QLatin1String("Sizeable"))
        return Sizeable(document, page, index);
    return nullptr;
}

TFBPictureElement* UndoAddress::Frame(const TFBDocument& document, int page, int index) {
    const TFBPage* p = pageAt(document, page);
    if (!p || index < 0 || index >= p->Pictures.Count())
        return nullptr;
    return dynamic_cast<TFBPictureElement*>(p->Pictures.Items(index));
}

TFBKalenderElement* UndoAddress::Calendar(const TFBDocument& document, int page, int index) {
    const TFBPage* p = pageAt(document, page);
    if (!p || index < 0 || index >= p->Calendars.Count())
        return nullptr;
    return dynamic_cast<TFBKalenderElement*>(p->Calendars.Items(index));
}

TFBElement* UndoAddress::Sizeable(const TFBDocument& document, int page, int index) {
    const TFBPage* p = pageAt(document, page);
    if (!p || index < 0 || index >= p->Sizeables.Count())
        return nullptr;
    return p->Sizeables.Items(index);
}

// ---------------------------------------------------------------------------------------------
// Picture frames

TUndoBildEinfuegen::TUndoBildEinfuegen(const TFBPictureElement* frame) {
    std::tie(pageIndex_, picIndex_) = addressOf(frame, QStringLiteral("Bildrahmen"));
    Reserve(kKeysReserve + (frame->HasPicture() ? pictureBytes(frame->RefIndex) : 0));
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, QStringLiteral("PicIndex"), picIndex_);
    frame->Save(file, QStringLiteral("PicElement"));
    if (frame->HasPicture())
        pictures().SaveEntry(file, QStringLiteral("Bild"), frame->RefIndex);
}

bool TUndoBildEinfuegen::Restore(TFBDocument& document) {
    TFBPictureElement* frame = UndoAddress::Frame(document, pageIndex_, picIndex_);
    if (!frame)
        return false;
    TCustomDataFile& file = Reader();
    // Loading brings back the reference the frame had then; it is stale (its entry may be gone
    // or be another picture by now) and is replaced by the record's copy of the picture. Until
    // then the frame keeps its present picture, so that a failing read leaves it consistent.
    const int present = frame->RefIndex;
    frame->Load(file, QStringLiteral("PicElement"));
    const int stale = frame->RefIndex;
    frame->RefIndex = present;
    const int restored = stale != -1 ? pictures().AddForRestore(file, QStringLiteral("Bild")) : -1;
    frame->SetRefIndex(restored);
    if (frame->Link)
        frame->Link->SyncFrom(frame);
    if (pageOrientation_ >= 0 && frame->Page)
        frame->Page->Seitenausrichtung = static_cast<uint8_t>(pageOrientation_);
    return true;
}

std::unique_ptr<TUndoItem> TUndoBildEinfuegen::MakeOpposite(TFBDocument& document) const {
    const TFBPictureElement* frame = UndoAddress::Frame(document, pageIndex_, picIndex_);
    if (!frame)
        return nullptr;
    std::unique_ptr<TUndoItem> opposite = makeSame(frame);
    if (pageOrientation_ >= 0)
        static_cast<TUndoBildEinfuegen*>(opposite.get())->KeepPageOrientation(document);
    return opposite;
}

void TUndoBildEinfuegen::KeepPageOrientation(const TFBDocument& document) {
    if (const TFBPictureElement* frame = UndoAddress::Frame(document, pageIndex_, picIndex_))
        pageOrientation_ = frame->Page->Seitenausrichtung;
}

std::unique_ptr<TUndoItem> TUndoBildEinfuegen::makeSame(const TFBPictureElement* frame) const {
    return std::make_unique<TUndoBildEinfuegen>(frame);
}

std::unique_ptr<TUndoItem> TUndoFarbeEinfuegen::makeSame(const TFBPictureElement* frame) const {
    return std::make_unique<TUndoFarbeEinfuegen>(frame);
}

std::unique_ptr<TUndoItem> TUndoBildLoeschen::makeSame(const TFBPictureElement* frame) const {
    return std::make_unique<TUndoBildLoeschen>(frame);
}

std::unique_ptr<TUndoItem> TUndoBildDrehen::makeSame(const TFBPictureElement* frame) const {
    return std::make_unique<TUndoBildDrehen>(frame);
}

std::unique_ptr<TUndoItem> TUndoBildFilter::makeSame(const TFBPictureElement* frame) const {
    return std::make_unique<TUndoBildFilter>(frame);
}

// ---------------------------------------------------------------------------------------------
// Zoom and pan

TUndoBildZoomPan::TUndoBildZoomPan(const TFBPictureElement* frame) {
    std::tie(pageIndex_, picIndex_) = addressOf(frame, QStringLiteral("Bildrahmen"));
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, QStringLiteral("PicIndex"), picIndex_);
    file.WriteFloat(kRoot, QStringLiteral("Zoom"), frame->Zoom);
    file.WriteFloat(kRoot, QStringLiteral("OffsetX"), frame->OffsetX);
    file.WriteFloat(kRoot, QStringLiteral("OffsetY"), frame->OffsetY);
}

bool TUndoBildZoomPan::IsFor(const TFBPictureElement* frame) const {
    return frame && frame->Page && frame->Page->PageIndex() == pageIndex_ &&
           frame->IndexInList() == picIndex_;
}

bool TUndoBildZoomPan::Restore(TFBDocument& document) {
    TFBPictureElement* frame = UndoAddress::Frame(document, pageIndex_, picIndex_);
    if (!frame)
        return false;
    TCustomDataFile& file = Reader();
    frame->SetZoom(float(file.ReadFloat(kRoot, QStringLiteral("Zoom"), 1)));
    frame->SetOffsetX(float(file.ReadFloat(kRoot, QStringLiteral("OffsetX"), 0.5)));
    frame->SetOffsetY(float(file.ReadFloat(kRoot, QStringLiteral("OffsetY"), 0.5)));
    return true;
}

std::unique_ptr<TUndoItem> TUndoBildZoomPan::MakeOpposite(TFBDocument& document) const {
    const TFBPictureElement* frame = UndoAddress::Frame(document, pageIndex_, picIndex_);
    return frame ? std::make_unique<TUndoBildZoomPan>(frame) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Swapped pictures

TUndoBildAustauschen::TUndoBildAustauschen(const TFBPictureElement* src, const TFBPictureElement* dest) {
    std::tie(src_[0], src_[1]) = addressOf(src, QStringLiteral("Bildrahmen"));
    std::tie(dest_[0], dest_[1]) = addressOf(dest, QStringLiteral("Bildrahmen"));
    record();
}

TUndoBildAustauschen::TUndoBildAustauschen(int srcPage, int srcPic, int destPage, int destPic)
    : src_{srcPage, srcPic}, dest_{destPage, destPic} {
    record();
}

void TUndoBildAustauschen::record() {
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, QStringLiteral("SrcPageIndex"), src_[0]);
    file.WriteInteger(kRoot, QStringLiteral("SrcPicIndex"), src_[1]);
    file.WriteInteger(kRoot, QStringLiteral("DestPageIndex"), dest_[0]);
    file.WriteInteger(kRoot, QStringLiteral("DestPicIndex"), dest_[1]);
}

bool TUndoBildAustauschen::Restore(TFBDocument& document) {
    TFBPictureElement* a = UndoAddress::Frame(document, src_[0], src_[1]);
    TFBPictureElement* b = UndoAddress::Frame(document, dest_[0], dest_[1]);
    if (!a || !b)
        return false;
    if (a != b)
        TFBPictureElement::SwapPictures(*a, *b);
    return true;
}

std::unique_ptr<TUndoItem> TUndoBildAustauschen::MakeOpposite(TFBDocument& document) const {
    if (!UndoAddress::Frame(document, src_[0], src_[1]) || !UndoAddress::Frame(document, dest_[0], dest_[1]))
        return nullptr;
    // A swap is its own opposite.
    return std::unique_ptr<TUndoItem>(new TUndoBildAustauschen(src_[0], src_[1], dest_[0], dest_[1]));
}

// ---------------------------------------------------------------------------------------------
// Inserted and moved views

TUndoSeiteEinfuegen::TUndoSeiteEinfuegen(int viewIndex) : viewIndex_(viewIndex) {
    Writer().WriteInteger(kRoot, QStringLiteral("NewPageIndex"), viewIndex);
}

bool TUndoSeiteEinfuegen::Restore(TFBDocument& document) {
    if (viewIndex_ < 0 || viewIndex_ >= document.ViewCount())
        return false;
    document.DeleteView(viewIndex_);
    return true;
}

std::unique_ptr<TUndoItem> TUndoSeiteEinfuegen::MakeOpposite(TFBDocument& document) const {
    if (viewIndex_ < 0 || viewIndex_ >= document.ViewCount())
        return nullptr;
    return std::make_unique<TUndoSeiteLoeschen>(document, viewIndex_);
}

TUndoSeiteVerschieben::TUndoSeiteVerschieben(int src, int dest) : src_(src), dest_(dest) {
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, QStringLiteral("SrcIndex"), src);
    file.WriteInteger(kRoot, QStringLiteral("DestIndex"), dest);
}

namespace {

// A view that can be moved: it exists, and in spreads both of its pages exist.
bool movableView(const TFBDocument& document, int view) {
    if (view < 0 || view >= document.ViewCount())
        return false;
    if (document.ScreenMode == 0)
        return true;
    return document.LeftPage(view) && document.RightPage(view);
}

} // namespace

bool TUndoSeiteVerschieben::Restore(TFBDocument& document) {
    if (!movableView(document, src_) || !movableView(document, dest_))
        return false;
    document.MoveView(dest_, src_);
    return true;
}

std::unique_ptr<TUndoItem> TUndoSeiteVerschieben::MakeOpposite(TFBDocument& document) const {
    if (!movableView(document, src_) || !movableView(document, dest_))
        return nullptr;
    return std::make_unique<TUndoSeiteVerschieben>(dest_, src_);
}

// ---------------------------------------------------------------------------------------------
// View snapshots

namespace {

const QString kLeft = QStringLiteral("Left");
const QString kRight = QStringLiteral("Right");

qint64 pagePictureBytes(const TFBPage* page) {
    qint64 sum = 0;
    if (!page)
        return sum;
    for (const TFBElement* e : page->Pictures)
        sum += pictureBytes(static_cast<const TFBPictureElement*>(e)->RefIndex);
    for (const TFBElement* e : page->Sizeables)
        if (const auto* clipart = dynamic_cast<const TFBClipartElement*>(e))
            sum += pictureBytes(clipart->RefIndex);
    return sum;
}

// The page and a copy of every picture its frames and cliparts show.
void saveSide(TCustomDataFile& file, const TFBPage& page, const QString& side) {
    file.WriteBool(kRoot, QStringLiteral("Has%1Page").arg(side), true);
    SavePage(page, file, side);
    for (int i = 0; i < page.Pictures.Count(); ++i) {
        const auto* frame = static_cast<const TFBPictureElement*>(page.Pictures.Items(i));
        if (frame->HasPicture())
            pictures().SaveEntry(file, picSection(side, "Pics", i), frame->RefIndex);
    }
    // Clipart too: its picture may leave the store with the page.
    for (int i = 0; i < page.Sizeables.Count(); ++i) {
        const auto* clipart = dynamic_cast<const TFBClipartElement*>(page.Sizeables.Items(i));
        if (clipart && clipart->RefIndex != -1)
            pictures().SaveEntry(file, picSection(side, "Cliparts", i), clipart->RefIndex);
    }
}

} // namespace

TUndoViewSnapshot::TUndoViewSnapshot(const TFBDocument& document, int viewIndex) : viewIndex_(viewIndex) {
    if (viewIndex < 0 || viewIndex >= document.ViewCount())
        throw Exception(QStringLiteral("Rückgängig: Seite %1 gibt es nicht").arg(viewIndex + 1));
    const TFBPage* left = document.LeftPage(viewIndex);
    const TFBPage* right = document.RightPage(viewIndex);
    if (right == left)
        right = nullptr;
    Reserve(kKeysReserve + pagePictureBytes(left) + pagePictureBytes(right));
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, QStringLiteral("ViewIndex"), viewIndex);
    if (left)
        saveSide(file, *left, kLeft);
    if (right)
        saveSide(file, *right, kRight);
    int n = 0;
    for (const auto& link : document.PictureLinks) {
        bool touches = false;
        for (const TFBPictureElement* member : link->Members)
            touches = touches || (member->Page && (member->Page == left || member->Page == right));
        if (touches)
            link->Save(file, QStringLiteral("PicLink%1").arg(n++));
    }
    file.WriteInteger(kRoot, QStringLiteral("PictureLinkCount"), n);
}

bool TUndoViewSnapshot::hasSide(const QString& side) {
    return Reader().ReadBool(kRoot, QStringLiteral("Has%1Page").arg(side), false);
}

void TUndoViewSnapshot::loadSide(TFBPage& page, const QString& side) {
    TCustomDataFile& file = Reader();
    LoadPage(page, file, side);
    // The loaded references are stale: they are taken out at once, so that nothing counts them,
    // and replaced by the record's copies of the pictures.
    std::vector<std::pair<int, bool>> withPicture; // index, clipart
    for (int i = 0; i < page.Pictures.Count(); ++i) {
        auto* frame = static_cast<TFBPictureElement*>(page.Pictures.Items(i));
        if (frame->RefIndex != -1)
            withPicture.push_back({i, false});
        frame->RefIndex = -1;
    }
    for (int i = 0; i < page.Sizeables.Count(); ++i) {
        if (auto* clipart = dynamic_cast<TFBClipartElement*>(page.Sizeables.Items(i))) {
            if (clipart->RefIndex != -1)
                withPicture.push_back({i, true});
            clipart->RefIndex = -1;
        }
    }
    for (const auto& [i, isClipart] : withPicture) {
        const int ref = pictures().AddForRestore(file, picSection(side, isClipart ? "Cliparts" : "Pics", i));
        if (isClipart)
            static_cast<TFBClipartElement*>(page.Sizeables.Items(i))->SetRefIndex(ref);
        else
            static_cast<TFBPictureElement*>(page.Pictures.Items(i))->SetRefIndex(ref);
    }
}

void TUndoViewSnapshot::restoreLinks(TFBDocument& document) {
    TCustomDataFile& file = Reader();
    const int count = file.ReadInteger(kRoot, QStringLiteral("PictureLinkCount"), 0);
    for (int n = 0; n < count; ++n) {
        TFBPictureLink* link = document.AddPictureLink();
        link->Load(file, QStringLiteral("PicLink%1").arg(n));
        if (link->Members.empty())
            document.DissolvePictureLink(link);
        else
            link->SyncFrom(link->Members.front());
    }
}

bool TUndoSeiteLoeschen::Restore(TFBDocument& document) {
    if (viewIndex_ < 0 || document.ScreenMode > 2)
        return false;
    const bool hasLeft = hasSide(kLeft);
    const bool hasRight = hasSide(kRight);
    const int count = document.Pages.Count();
    const int leftAt = document.LeftPageIndex(viewIndex_);
    const int rightAt = document.RightPageIndex(viewIndex_);
    if ((hasLeft && (leftAt < 0 || leftAt > count)) ||
        (hasRight && (rightAt < 0 || rightAt > count + (hasLeft ? 1 : 0))) || (!hasLeft && !hasRight))
        return false;
    // Both pages are read completely before either goes into the document.
    std::unique_ptr<TFBPage> left, right;
    if (hasLeft) {
        left = std::make_unique<TFBPage>(&document);
        loadSide(*left, kLeft);
    }
    if (hasRight) {
        right = std::make_unique<TFBPage>(&document);
        loadSide(*right, kRight);
    }
    if (left)
        document.Pages.Insert(leftAt, std::move(left));
    if (right)
        document.Pages.Insert(rightAt, std::move(right));
    restoreLinks(document);
    document.Modified = true;
    return true;
}

std::unique_ptr<TUndoItem> TUndoSeiteLoeschen::MakeOpposite(TFBDocument&) const {
    return viewIndex_ >= 0 ? std::make_unique<TUndoSeiteEinfuegen>(viewIndex_) : nullptr;
}

bool TUndoLayoutEinfuegen::Restore(TFBDocument& document) {
    if (viewIndex_ < 0 || viewIndex_ >= document.ViewCount())
        return false;
    TFBPage* left = document.LeftPage(viewIndex_);
    TFBPage* right = document.RightPage(viewIndex_);
    if (right == left)
        right = nullptr;
    const bool hasLeft = hasSide(kLeft);
    const bool hasRight = hasSide(kRight);
    if (hasLeft != (left != nullptr) || hasRight != (right != nullptr))
        return false;
    // Reloading the pages frees their frames, which dissolves the links they are part of.
    if (left)
        loadSide(*left, kLeft);
    if (right)
        loadSide(*right, kRight);
    restoreLinks(document);
    return true;
}

std::unique_ptr<TUndoItem> TUndoLayoutEinfuegen::MakeOpposite(TFBDocument& document) const {
    if (viewIndex_ < 0 || viewIndex_ >= document.ViewCount())
        return nullptr;
    return std::make_unique<TUndoLayoutEinfuegen>(document, viewIndex_);
}

// ---------------------------------------------------------------------------------------------
// Text and clipart

namespace {

const QString kElement = QStringLiteral("Element");
const QString kElemIndex = QStringLiteral("ElemIndex");

std::pair<int, int> sizeableAddress(const TFBElement* element) {
    if (!dynamic_cast<const TFBSizeableElement*>(element))
        refuse(QStringLiteral("Element"));
    return addressOf(element, QStringLiteral("Element"));
}

} // namespace

TUndoElementSizePos::TUndoElementSizePos(const TFBElement* element) {
    std::tie(pageIndex_, elemIndex_) = sizeableAddress(element);
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, kElemIndex, elemIndex_);
    // The project form: no picture bytes, which the restore does not need.
    element->Save(file, kElement);
}

void TUndoElementSizePos::SetDestination(const TFBElement* element) {
    if (!element || !element->Page)
        return;
    destPage_ = element->Page->PageIndex();
    destElem_ = element->IndexInList();
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, QStringLiteral("DestPageIndex"), destPage_);
    file.WriteInteger(kRoot, QStringLiteral("DestElemIndex"), destElem_);
}

bool TUndoElementSizePos::Restore(TFBDocument& document) {
    TFBPage* home = pageAt(document, pageIndex_);
    if (!home)
        return false;
    TFBElement* element = nullptr;
    if (destPage_ < 0 || destPage_ == pageIndex_) {
        element = UndoAddress::Sizeable(document, pageIndex_, elemIndex_);
        if (!element)
            return false;
    } else {
        element = UndoAddress::Sizeable(document, destPage_, destElem_);
        if (!element || elemIndex_ < 0 || elemIndex_ > home->Sizeables.Count())
            return false;
        document.MoveElementToPage(element, home);
        home->Sizeables.Move(home->Sizeables.Count() - 1, elemIndex_);
    }
    // Only place and size come back: what else changed since (typed text) stays.
    TCustomDataFile& file = Reader();
    const auto read = [&](const char* key, float current) {
        return float(file.ReadFloat(kElement, QString::fromLatin1(key), current));
    };
    element->CenterX = read("CenterX", element->CenterX);
    element->CenterY = read("CenterY", element->CenterY);
    element->Width = read("Width", element->Width);
    element->Height = read("Height", element->Height);
    element->Angle = read("Angle", element->Angle);
    return true;
}

std::unique_ptr<TUndoItem> TUndoElementSizePos::MakeOpposite(TFBDocument& document) const {
    const bool moved = destPage_ >= 0 && destPage_ != pageIndex_;
    const TFBElement* element = moved ? UndoAddress::Sizeable(document, destPage_, destElem_)
                                      : UndoAddress::Sizeable(document, pageIndex_, elemIndex_);
    if (!element)
        return nullptr;
    auto opposite = std::make_unique<TUndoElementSizePos>(element);
    if (moved) {
        // After the restore the element is back at its source, where the repeat takes it from.
        opposite->destPage_ = pageIndex_;
        opposite->destElem_ = elemIndex_;
        TCustomDataFile& file = opposite->Writer();
        file.WriteInteger(kRoot, QStringLiteral("DestPageIndex"), pageIndex_);
        file.WriteInteger(kRoot, QStringLiteral("DestElemIndex"), elemIndex_);
    }
    return opposite;
}

TUndoElementEinfuegen::TUndoElementEinfuegen(const TFBElement* element) {
    std::tie(pageIndex_, elemIndex_) = sizeableAddress(element);
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, kElemIndex, elemIndex_);
}

TUndoElementEinfuegen::TUndoElementEinfuegen(int pageIndex, int elemIndex)
    : pageIndex_(pageIndex), elemIndex_(elemIndex) {
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, kElemIndex, elemIndex_);
}

bool TUndoElementEinfuegen::Restore(TFBDocument& document) {
    if (!UndoAddress::Sizeable(document, pageIndex_, elemIndex_))
        return false;
    document.Pages.Items(pageIndex_)->Sizeables.Delete(elemIndex_);
    document.Modified = true;
    return true;
}

std::unique_ptr<TUndoItem> TUndoElementEinfuegen::MakeOpposite(TFBDocument& document) const {
    const TFBElement* element = UndoAddress::Sizeable(document, pageIndex_, elemIndex_);
    return element ? std::make_unique<TUndoElementLoeschen>(element) : nullptr;
}

TUndoElementLoeschen::TUndoElementLoeschen(const TFBElement* element) {
    std::tie(pageIndex_, elemIndex_) = sizeableAddress(element);
    const auto* clipart = dynamic_cast<const TFBClipartElement*>(element);
    Reserve(kKeysReserve + (clipart ? pictureBytes(clipart->RefIndex) : 0));
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, kElemIndex, elemIndex_);
    element->SaveWithPicture(file, kElement);
}

bool TUndoElementLoeschen::Restore(TFBDocument& document) {
    TFBPage* page = pageAt(document, pageIndex_);
    if (!page || elemIndex_ < 0 || elemIndex_ > page->Sizeables.Count())
        return false;
    TCustomDataFile& file = Reader();
    std::unique_ptr<TFBElement> element =
        CreateElementByClassName(file.ReadString(kElement, QStringLiteral("Classname"), QString()), page);
    if (!dynamic_cast<TFBSizeableElement*>(element.get()))
        return false;
    element->LoadWithPicture(file, kElement);
    page->Sizeables.Insert(elemIndex_, std::move(element));
    document.Modified = true;
    return true;
}

std::unique_ptr<TUndoItem> TUndoElementLoeschen::MakeOpposite(TFBDocument& document) const {
    const TFBPage* page = pageAt(document, pageIndex_);
    if (!page || elemIndex_ < 0 || elemIndex_ > page->Sizeables.Count())
        return nullptr;
    return std::make_unique<TUndoElementEinfuegen>(pageIndex_, elemIndex_);
}

// ---------------------------------------------------------------------------------------------
// Calendars

namespace {

const QString kKalender = QStringLiteral("Kalender");
const QString kKalIndex = QStringLiteral("KalIndex");

QString dataSection(int n) {
    return QStringLiteral("data") + QString::number(n);
}

} // namespace

TUndoKalenderEigenschaften::TUndoKalenderEigenschaften(const TFBKalenderElement* calendar) {
    std::tie(pageIndex_, kalIndex_) = addressOf(calendar, QStringLiteral("Kalender"));
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, kPageIndex, pageIndex_);
    file.WriteInteger(kRoot, kKalIndex, kalIndex_);
    calendar->SaveWithPicture(file, kKalender);
}

bool TUndoKalenderEigenschaften::Restore(TFBDocument& document) {
    TFBKalenderElement* calendar = UndoAddress::Calendar(document, pageIndex_, kalIndex_);
    if (!calendar)
        return false;
    calendar->LoadWithPicture(Reader(), kKalender);
    calendar->Painter.reset();
    return true;
}

std::unique_ptr<TUndoItem> TUndoKalenderEigenschaften::MakeOpposite(TFBDocument& document) const {
    const TFBKalenderElement* calendar = UndoAddress::Calendar(document, pageIndex_, kalIndex_);
    return calendar ? std::make_unique<TUndoKalenderEigenschaften>(calendar) : nullptr;
}

TUndoKalenderJahrSetzen::TUndoKalenderJahrSetzen(const TFBDocument& document) {
    int month = 1, year = 2000;
    document.GetCalendarStart(month, year);
    TCustomDataFile& file = Writer();
    file.WriteInteger(kRoot, QStringLiteral("Jahr"), year);
    file.WriteInteger(kRoot, QStringLiteral("Monat"), month);
}

bool TUndoKalenderJahrSetzen::Restore(TFBDocument& document) {
    TCustomDataFile& file = Reader();
    const int year = file.ReadInteger(kRoot, QStringLiteral("Jahr"), INT_MIN);
    const int month = file.ReadInteger(kRoot, QStringLiteral("Monat"), INT_MIN);
    if (year == INT_MIN || month == INT_MIN)
        return false;
    document.SetCalendarStart(year, month);
    return true;
}

std::unique_ptr<TUndoItem> TUndoKalenderJahrSetzen::MakeOpposite(TFBDocument& document) const {
    return std::make_unique<TUndoKalenderJahrSetzen>(document);
}

TUndoKalenderEigenschaftenFuerAlle::TUndoKalenderEigenschaftenFuerAlle(const TFBDocument& document) {
    TCustomDataFile& file = Writer();
    int n = 0;
    for (int p = 0; p < document.Pages.Count(); ++p) {
        const TFBPage* page = document.Pages.Items(p);
        for (int k = 0; k < page->Calendars.Count(); ++k) {
            const QString section = dataSection(n++);
            file.WriteInteger(section, kPageIndex, p);
            file.WriteInteger(section, kKalIndex, k);
            page->Calendars.Items(k)->SaveWithPicture(file, section);
        }
    }
    file.WriteInteger(kRoot, QString::fromLatin1(kAnzahlKey), n);
}

bool TUndoKalenderEigenschaftenFuerAlle::Restore(TFBDocument& document) {
    TCustomDataFile& file = Reader();
    const int count = file.ReadInteger(kRoot, QString::fromLatin1(kAnzahlKey), 0);
    bool any = count == 0;
    for (int n = 0; n < count; ++n) {
        const QString section = dataSection(n);
        const int p = file.ReadInteger(section, kPageIndex, -1);
        const int k = file.ReadInteger(section, kKalIndex, -1);
        // Each listed calendar on its own: one that is gone is skipped.
        TFBKalenderElement* calendar = p != -1 && k != -1 ? UndoAddress::Calendar(document, p, k) : nullptr;
        if (!calendar)
            continue;
        calendar->LoadWithPicture(file, section);
        calendar->Painter.reset();
        any = true;
    }
    return any;
}

std::unique_ptr<TUndoItem> TUndoKalenderEigenschaftenFuerAlle::MakeOpposite(TFBDocument& document) const {
    return std::make_unique<TUndoKalenderEigenschaftenFuerAlle>(document);
}

// ---------------------------------------------------------------------------------------------

namespace {
const QString kFeiertage = QStringLiteral("Feiertage");
const QString kGeburtstage = QStringLiteral("Geburtstage");
} // namespace

TUndoFeiertageGeburtstage::TUndoFeiertageGeburtstage(const TFBDocument& document) {
    TCustomDataFile& file = Writer();
    document.Feiertage.Save(file, kFeiertage);
    document.Geburtstage.Save(file, kGeburtstage);
}

bool TUndoFeiertageGeburtstage::Restore(TFBDocument& document) {
    TCustomDataFile& file = Reader();
    document.Feiertage.Clear();
    document.Geburtstage.Clear();
    document.Feiertage.Load(file, kFeiertage);
    document.Geburtstage.Load(file, kGeburtstage);
    for (const TFBPage* page : document.Pages)
        for (TFBElement* element : page->Calendars)
            static_cast<TFBKalenderElement*>(element)->Painter.reset();
    return true;
}

std::unique_ptr<TUndoItem> TUndoFeiertageGeburtstage::MakeOpposite(TFBDocument& document) const {
    return std::make_unique<TUndoFeiertageGeburtstage>(document);
}
