#include "editing/uUndo.h"

#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "platform/Exception.h"
#include "platform/uMemoryStatus.h"

#include <algorithm>

namespace {

const QString kUIState = QStringLiteral("UIState");
constexpr qint64 kMiB = 1024 * 1024;

// Removes and frees the records one by one, newest first.
void freeAll(std::vector<std::unique_ptr<TUndoItem>>& list) {
    while (!list.empty())
        list.pop_back();
}

qint64 bytesOf(const std::vector<std::unique_ptr<TUndoItem>>& list) {
    qint64 sum = 0;
    for (const auto& item : list)
        sum += item->Bytes();
    return sum;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TUndoItem

TUndoItem::TUndoItem() : stream_(&bytes_) {
    stream_.open(QIODevice::ReadWrite);
    file_ = std::make_unique<TMemoryDataFile>(stream_);
}

TUndoItem::~TUndoItem() = default;

bool TUndoItem::Restore(TFBDocument&) {
    return true;
}

std::unique_ptr<TUndoItem> TUndoItem::MakeOpposite(TFBDocument&) const {
    return nullptr;
}

void TUndoItem::Reserve(qint64 bytes) {
    if (bytes > bytes_.capacity())
        bytes_.reserve(bytes);
}

TCustomDataFile& TUndoItem::Writer() {
    stream_.seek(stream_.size());
    indexed_ = false;
    return *file_;
}

TCustomDataFile& TUndoItem::Reader() {
    if (!indexed_) {
        file_->BuildCache();
        indexed_ = true;
    }
    return *file_;
}

void TUndoItem::WritePlace(const TUndoPlace& place) {
    if (place.ViewIndex < 0 && !place.HasFocusedElement)
        return;
    TCustomDataFile& file = Writer();
    file.WriteInteger(kUIState, QStringLiteral("ViewIndex"), place.ViewIndex);
    if (place.HasFocusedElement) {
        file.WriteBool(kUIState, QStringLiteral("HasFocusedElement"), true);
        file.WriteString(kUIState, QStringLiteral("Focustyp"), place.Focustyp);
        file.WriteInteger(kUIState, QStringLiteral("PageIndex"), place.PageIndex);
        file.WriteInteger(kUIState, QStringLiteral("ElementIndex"), place.ElementIndex);
    }
}

TUndoPlace TUndoItem::ReadPlace() {
    TCustomDataFile& file = Reader();
    TUndoPlace place;
    place.ViewIndex = file.ReadInteger(kUIState, QStringLiteral("ViewIndex"), -1);
    place.HasFocusedElement = file.ReadBool(kUIState, QStringLiteral("HasFocusedElement"), false);
    if (place.HasFocusedElement) {
        place.Focustyp = file.ReadString(kUIState, QStringLiteral("Focustyp"), QString());
        place.PageIndex = file.ReadInteger(kUIState, QStringLiteral("PageIndex"), -1);
        place.ElementIndex = file.ReadInteger(kUIState, QStringLiteral("ElementIndex"), -1);
    }
    return place;
}

// ---------------------------------------------------------------------------------------------
// TUndoManager

TUndoManager& TUndoManager::instance() {
    static TUndoManager manager;
    return manager;
}

TUndoManager::TUndoManager() : budget_(DefaultByteBudget()) {}

qint64 TUndoManager::DefaultByteBudget() {
    return std::clamp(MemoryStatus::TotalPhysicalMemory() / 8, 256 * kMiB, 2048 * kMiB);
}

void TUndoManager::SetByteBudget(qint64 bytes) {
    budget_ = std::max<qint64>(bytes, 0);
    enforceBudget();
}

qint64 TUndoManager::Bytes() const {
    return bytesOf(items_) + bytesOf(redo_) + bytesOf(setAside_);
}

TUndoPlace TUndoManager::currentPlace() const {
    TUndoPlace place;
    if (!uiState_)
        return place;
    place.ViewIndex = uiState_->CurrentView();
    const TFBElement* element = uiState_->SelectedElement();
    const QString type = UndoAddress::FocusTypeOf(element);
    if (element && element->Page && !type.isEmpty()) {
        place.HasFocusedElement = true;
        place.Focustyp = type;
        place.PageIndex = element->Page->PageIndex();
        place.ElementIndex = element->IndexInList();
    }
    return place;
}

void TUndoManager::Add(std::unique_ptr<TUndoItem> item) {
    if (!item)
        return;
    item->WritePlace(currentPlace());
    append(std::move(item));
}

void TUndoManager::append(std::unique_ptr<TUndoItem> item) {
    // The undone changes no longer follow from the document; the newest add keeps them aside
    // in case it is dropped again (a cancelled dialog).
    freeAll(setAside_);
    setAside_ = std::move(redo_);
    redo_.clear();
    setAsideBy_ = item.get();
    items_.push_back(std::move(item));
    enforceBudget();
    announce(TUndoChange::Added);
}

void TUndoManager::forgetRedo() {
    freeAll(redo_);
    freeAll(setAside_);
    setAsideBy_ = nullptr;
}

void TUndoManager::DropLast() {
    if (items_.empty())
        return;
    std::unique_ptr<TUndoItem> dropped = std::move(items_.back());
    items_.pop_back();
    if (dropped.get() == setAsideBy_ && redo_.empty()) {
        redo_ = std::move(setAside_);
        setAside_.clear();
    }
    freeAll(setAside_);
    setAsideBy_ = nullptr;
    dropped.reset();
    announce(TUndoChange::Dropped);
}

void TUndoManager::Clear() {
    freeAll(items_);
    forgetRedo();
    announce(TUndoChange::Cleared);
}

TUndoOutcome TUndoManager::Undo(TFBDocument& document) {
    return step(document, items_, redo_, TUndoChange::Undone);
}

TUndoOutcome TUndoManager::Redo(TFBDocument& document) {
    return step(document, redo_, items_, TUndoChange::Redone);
}

TUndoOutcome TUndoManager::step(TFBDocument& document, std::vector<std::unique_ptr<TUndoItem>>& from,
                                std::vector<std::unique_ptr<TUndoItem>>& to, TUndoChange change) {
    TUndoOutcome outcome;
    if (from.empty())
        return outcome;
    // Taken off the list first, so that a record whose restore fails is not tried again.
    std::unique_ptr<TUndoItem> item = std::move(from.back());
    from.pop_back();
    // Undo and redo leave nothing for DropLast to put back.
    freeAll(setAside_);
    setAsideBy_ = nullptr;
    outcome.Done = true;
    outcome.ClassName = item->ClassName();
    const TUndoPlace recorded = item->ReadPlace();
    try {
        std::unique_ptr<TUndoItem> opposite = item->MakeOpposite(document);
        outcome.Restored = item->Restore(document);
        if (outcome.Restored)
            document.Modified = true; // the document differs from what was saved last
        if (outcome.Restored && opposite) {
            // The opposite returns the user to the same place when it is applied.
            opposite->WritePlace(recorded);
            to.push_back(std::move(opposite));
        }
    } catch (...) {
        // Part of the document may have changed: the undone changes no longer fit it.
        item.reset();
        freeAll(redo_);
        announce(change);
        throw;
    }
    item.reset();
    if (outcome.Restored)
        announce(TUndoChange::Restored);
    outcome.Place = showPlace(document, recorded);
    enforceBudget();
    announce(change);
    return outcome;
}

TUndoPlace TUndoManager::showPlace(TFBDocument& document, const TUndoPlace& recorded) {
    TUndoPlace shown;
    if (recorded.ViewIndex < 0 && !recorded.HasFocusedElement)
        return shown;
    const int views = document.ViewCount();
    if (views <= 0)
        return shown;
    // A view that no longer exists gives the nearest one, without selection.
    shown.ViewIndex = std::clamp(recorded.ViewIndex, 0, views - 1);
    TFBElement* element = nullptr;
    if (shown.ViewIndex == recorded.ViewIndex && recorded.HasFocusedElement && recorded.PageIndex >= 0 &&
        recorded.ElementIndex >= 0) {
        element = UndoAddress::Find(document, recorded.Focustyp, recorded.PageIndex, recorded.ElementIndex);
        // Selected only when it lies on the view shown.
        if (element && element->Page && element->Page->ViewIndex() != shown.ViewIndex)
            element = nullptr;
    }
    if (element) {
        shown.HasFocusedElement = true;
        shown.Focustyp = recorded.Focustyp;
        shown.PageIndex = recorded.PageIndex;
        shown.ElementIndex = recorded.ElementIndex;
    }
    if (uiState_)
        uiState_->ShowPlace(shown.ViewIndex, element);
    return shown;
}

void TUndoManager::enforceBudget() {
    bool trimmed = false;
    qint64 total = Bytes();
    if (total > budget_ && !setAside_.empty()) {
        total -= bytesOf(setAside_);
        freeAll(setAside_);
        trimmed = true;
    }
    // The oldest records go first; the newest record stays whatever it weighs.
    size_t oldest = 0;
    while (total > budget_ && items_.size() - oldest > 1) {
        total -= items_[oldest]->Bytes();
        items_[oldest].reset();
        ++oldest;
    }
    if (oldest > 0) {
        items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(oldest));
        trimmed = true;
    }
    // Then the undone changes that would be repeated last, never the next one.
    while (total > budget_ && redo_.size() > 1) {
        total -= redo_.front()->Bytes();
        redo_.erase(redo_.begin());
        trimmed = true;
    }
    if (trimmed)
        announce(TUndoChange::Trimmed);
}

void TUndoManager::announce(TUndoChange change) {
    if (OnChanged)
        OnChanged(change);
}

// ---------------------------------------------------------------------------------------------
// The add operations

namespace {

[[noreturn]] void refuse(const char* what) {
    throw Exception(
        QStringLiteral("Rückgängig: %1 gehört zu keinem Dokument").arg(QString::fromLatin1(what)));
}

void requireFrame(const TFBPictureElement* frame) {
    if (!frame || !frame->Page || frame->IndexInList() < 0 || frame->Page->PageIndex() < 0)
        refuse("Bildrahmen");
}

} // namespace

void TUndoManager::AddBildEinfuegen(TFBPictureElement* frame) {
    requireFrame(frame);
    Add(std::make_unique<TUndoBildEinfuegen>(frame));
}

void TUndoManager::AddFarbeEinfuegen(TFBPictureElement* frame) {
    requireFrame(frame);
    Add(std::make_unique<TUndoFarbeEinfuegen>(frame));
}

void TUndoManager::AddBildLoeschen(TFBPictureElement* frame) {
    requireFrame(frame);
    Add(std::make_unique<TUndoBildLoeschen>(frame));
}

void TUndoManager::AddBildDrehen(TFBPictureElement* frame) {
    requireFrame(frame);
    Add(std::make_unique<TUndoBildDrehen>(frame));
}

void TUndoManager::AddBildFilter(TFBPictureElement* frame) {
    requireFrame(frame);
    Add(std::make_unique<TUndoBildFilter>(frame));
}

void TUndoManager::AddBildZoomPan(TFBPictureElement* frame, bool merge) {
    requireFrame(frame);
    if (merge && !items_.empty()) {
        if (const auto* last = dynamic_cast<TUndoBildZoomPan*>(items_.back().get());
            last && last->IsFor(frame)) {
            // One more wheel step on the same picture: the record made by the first step holds.
            if (!redo_.empty() || !setAside_.empty()) {
                forgetRedo();
                announce(TUndoChange::Added);
            }
            return;
        }
    }
    Add(std::make_unique<TUndoBildZoomPan>(frame));
}

void TUndoManager::AddBildAustauschen(TFBPictureElement* frame1, TFBPictureElement* frame2) {
    requireFrame(frame1);
    requireFrame(frame2);
    Add(std::make_unique<TUndoBildAustauschen>(frame1, frame2));
}

void TUndoManager::AddSeiteEinfuegen(int viewIndex) {
    Add(std::make_unique<TUndoSeiteEinfuegen>(viewIndex));
}

void TUndoManager::AddSeiteVerschieben(int src, int dest) {
    Add(std::make_unique<TUndoSeiteVerschieben>(src, dest));
}

void TUndoManager::AddSeiteLoeschen(TFBDocument& document, int viewIndex) {
    Add(std::make_unique<TUndoSeiteLoeschen>(document, viewIndex));
}

void TUndoManager::AddLayoutEinfuegen(TFBDocument& document, int viewIndex) {
    Add(std::make_unique<TUndoLayoutEinfuegen>(document, viewIndex));
}

void TUndoManager::AddElementSizePos(TFBElement* element) {
    Add(std::make_unique<TUndoElementSizePos>(element));
}

void TUndoManager::SetElementDestination(TFBElement* element) {
    if (auto* last = items_.empty() ? nullptr : dynamic_cast<TUndoElementSizePos*>(items_.back().get()))
        last->SetDestination(element);
}

void TUndoManager::AddElementEinfuegen(TFBElement* element) {
    Add(std::make_unique<TUndoElementEinfuegen>(element));
}

void TUndoManager::AddElementLoeschen(TFBElement* element) {
    Add(std::make_unique<TUndoElementLoeschen>(element));
}

void TUndoManager::AddKalenderEigenschaften(TFBKalenderElement* calendar) {
    Add(std::make_unique<TUndoKalenderEigenschaften>(calendar));
}

void TUndoManager::AddKalenderEigenschaftenFuerAlle(TFBDocument& document) {
    Add(std::make_unique<TUndoKalenderEigenschaftenFuerAlle>(document));
}

void TUndoManager::AddKalenderJahrSetzen(TFBKalenderElement* calendar) {
    const TFBDocument* document = calendar ? calendar->Document() : nullptr;
    if (!document)
        refuse("Kalender");
    Add(std::make_unique<TUndoKalenderJahrSetzen>(*document));
}

void TUndoManager::AddFeiertageGeburtstage(const TFBDocument& document) {
    Add(std::make_unique<TUndoFeiertageGeburtstage>(document));
}
