#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TCustomDataFile;
class TFBDocument;
class TFBElement;
class TFBKalenderElement;
class TFBPage;
class TFBPictureElement;
class TMemoryDataFile;

// Undo and redo of every edit of the document. Before a command changes the document it records
// what it is about to change in an undo record: a small memory container holding the element,
// page or settings in their stored form, plus copies of the pictures it may have to bring back.
// Records address elements by (page index, index in that page's list of the element's kind) and
// views by index, never by object. Each record also keeps where the user was (the view shown and
// the element selected), so that undo returns there.
//
// Records copy picture entries and hold no use of them: a picture that leaves the store while a
// record still needs it is read back from the record's copy.

// Where the user is: the editing window installs this, so that recording asks it for the view
// and the selection, and undo shows them again. The command line and tests install their own.
class TUndoUIState {
public:
    virtual ~TUndoUIState() = default;
    // The view shown in the page view.
    virtual int CurrentView() const = 0;
    // The selected element, or nullptr.
    virtual TFBElement* SelectedElement() const = 0;
    // Shows the view and selects the element (nullptr: nothing). The element lies on the view.
    virtual void ShowPlace(int view, TFBElement* element) = 0;
};

// The user-interface state of a record as stored in its section "UIState".
struct TUndoPlace {
    int ViewIndex = -1; // -1: not recorded
    bool HasFocusedElement = false;
    QString Focustyp; // "Pic", "Kalender" or "Sizeable"
    int PageIndex = -1;
    int ElementIndex = -1;
};

// One recorded change. The base keeps the memory container; each record class writes its keys in
// its constructor and brings them back in Restore. The base itself restores nothing.
class TUndoItem {
public:
    TUndoItem();
    virtual ~TUndoItem();
    TUndoItem(const TUndoItem&) = delete;
    TUndoItem& operator=(const TUndoItem&) = delete;

    // The record's class name ("TUndoBildDrehen").
    virtual QString ClassName() const { return QStringLiteral("TUndoItem"); }
    // Brings the document back to the recorded state. False when the record's indexes no longer
    // fit the document: then nothing was changed.
    virtual bool Restore(TFBDocument& document);
    // A record of the document's present state of what Restore will change: restoring it
    // afterwards repeats the change (redo). Built before Restore; nullptr when the recorded
    // place no longer exists (or, for the base, when there is nothing to repeat).
    virtual std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const;

    // The user-interface state ("UIState").
    void WritePlace(const TUndoPlace& place);
    TUndoPlace ReadPlace();

    // Bytes the record's container holds.
    qint64 Bytes() const { return bytes_.size(); }
    // Reserves room for what the record is about to write (pictures are large).
    void Reserve(qint64 bytes);

protected:
    // The container positioned for appending; lookups afterwards index it again.
    TCustomDataFile& Writer();
    // The container, indexed once for lookups.
    TCustomDataFile& Reader();

private:
    QByteArray bytes_;
    QBuffer stream_;
    std::unique_ptr<TMemoryDataFile> file_;
    bool indexed_ = false;
};

// What Undo or Redo did, for the caller's report.
struct TUndoOutcome {
    bool Done = false;     // a record was taken off the list
    QString ClassName;     // of the restored record
    TUndoPlace Place;      // the place shown afterwards (ViewIndex -1: none)
    bool Restored = false; // the record fitted the document and was restored
};

// The kinds of change the manager announces. Restored comes while undo or redo runs: after the
// record restored the document and before its place is shown, so that views and panels let go of
// elements the restore freed without losing the selection the record brings back.
enum class TUndoChange { Added, Undone, Redone, Dropped, Cleared, Trimmed, Restored };

// The one undo history of the program, newest last, with the list of undone records that redo
// repeats. Every add operation records from the current document and the installed UI state,
// then appends; a record that cannot be made raises before the caller changes anything.
class TUndoManager {
public:
    static TUndoManager& instance();

    // --- Picture frames
    void AddBildEinfuegen(TFBPictureElement* frame);
    void AddFarbeEinfuegen(TFBPictureElement* frame);
    void AddBildLoeschen(TFBPictureElement* frame);
    void AddBildDrehen(TFBPictureElement* frame);
    void AddBildFilter(TFBPictureElement* frame);
    // With merge, a run of steps on one frame is one record (mouse wheel).
    void AddBildZoomPan(TFBPictureElement* frame, bool merge);
    void AddBildAustauschen(TFBPictureElement* frame1, TFBPictureElement* frame2);
    // --- Pages (views)
    void AddSeiteEinfuegen(int viewIndex);
    void AddSeiteVerschieben(int src, int dest);
    void AddSeiteLoeschen(TFBDocument& document, int viewIndex);
    void AddLayoutEinfuegen(TFBDocument& document, int viewIndex);
    // --- Text and clipart
    // Before moving or sizing; SetElementDestination after the element went to another page.
    void AddElementSizePos(TFBElement* element);
    void SetElementDestination(TFBElement* element);
    // After the element was appended to its page.
    void AddElementEinfuegen(TFBElement* element);
    void AddElementLoeschen(TFBElement* element);
    // --- Calendars
    void AddKalenderEigenschaften(TFBKalenderElement* calendar);
    void AddKalenderEigenschaftenFuerAlle(TFBDocument& document);
    void AddKalenderJahrSetzen(TFBKalenderElement* calendar);
    // Both special-day lists of the document (holidays and birthdays).
    void AddFeiertageGeburtstage(const TFBDocument& document);

    bool CanUndo() const { return !items_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int Count() const { return static_cast<int>(items_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }
    // The newest record, or nullptr.
    TUndoItem* Last() const { return items_.empty() ? nullptr : items_.back().get(); }
    // Bytes held by all records, undone ones included.
    qint64 Bytes() const;

    // Restores the newest record and shows its place; the record moves to the redo list as its
    // opposite. Nothing when the history is empty. A restore that raises loses the record (and
    // the redo list, which no longer fits) and passes the error on.
    TUndoOutcome Undo(TFBDocument& document);
    // Repeats the newest undone change in the same way.
    TUndoOutcome Redo(TFBDocument& document);
    // Frees the newest record without restoring it; the undone records its add set aside come
    // back. Nothing when the history is empty.
    void DropLast();
    // Frees all records.
    void Clear();

    // The UI state recording and undo use; not owned; nullptr: none (no place is recorded).
    void SetUIState(TUndoUIState* state) { uiState_ = state; }
    TUndoUIState* UIState() const { return uiState_; }
    // The bytes records may hold together; the oldest go first, never the newest. The default
    // is an eighth of the physical memory, within 256 MiB and 2 GiB.
    void SetByteBudget(qint64 bytes);
    qint64 ByteBudget() const { return budget_; }
    static qint64 DefaultByteBudget();

    // Told after every add, undo, redo, drop, clear and trim, and of every restore.
    std::function<void(TUndoChange)> OnChanged;

    // Appends a record made by the caller (its place is written here).
    void Add(std::unique_ptr<TUndoItem> item);

private:
    TUndoManager();
    void append(std::unique_ptr<TUndoItem> item);
    void forgetRedo();
    TUndoOutcome step(TFBDocument& document, std::vector<std::unique_ptr<TUndoItem>>& from,
                      std::vector<std::unique_ptr<TUndoItem>>& to, TUndoChange change);
    TUndoPlace currentPlace() const;
    TUndoPlace showPlace(TFBDocument& document, const TUndoPlace& recorded);
    void enforceBudget();
    void announce(TUndoChange change);

    std::vector<std::unique_ptr<TUndoItem>> items_;
    std::vector<std::unique_ptr<TUndoItem>> redo_;
    // The redo list the newest add cleared, for DropLast.
    std::vector<std::unique_ptr<TUndoItem>> setAside_;
    const TUndoItem* setAsideBy_ = nullptr;
    TUndoUIState* uiState_ = nullptr;
    qint64 budget_ = 0;
};

inline TUndoManager& UndoManager() {
    return TUndoManager::instance();
}

// ---------------------------------------------------------------------------------------------
// The record classes. Each constructor records from the document and raises when the element
// or view it is given is not part of it.

// A picture frame's whole state ("PicElement") and a copy of its picture ("Bild").
class TUndoBildEinfuegen : public TUndoItem {
public:
    explicit TUndoBildEinfuegen(const TFBPictureElement* frame);
    QString ClassName() const override { return QStringLiteral("TUndoBildEinfuegen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
    // The record also brings back the page's orientation as it is now (a file dropped onto a
    // lone frame may turn its page). Call before the page changes.
    void KeepPageOrientation(const TFBDocument& document);

protected:
    // A record of the same class for the frame.
    virtual std::unique_ptr<TUndoItem> makeSame(const TFBPictureElement* frame) const;
    int pageIndex_ = -1;
    int picIndex_ = -1;
    // The page's "Seitenausrichtung" to restore; -1: the record leaves it alone.
    int pageOrientation_ = -1;
};

class TUndoFarbeEinfuegen : public TUndoBildEinfuegen {
public:
    using TUndoBildEinfuegen::TUndoBildEinfuegen;
    QString ClassName() const override { return QStringLiteral("TUndoFarbeEinfuegen"); }

protected:
    std::unique_ptr<TUndoItem> makeSame(const TFBPictureElement* frame) const override;
};

class TUndoBildLoeschen : public TUndoBildEinfuegen {
public:
    using TUndoBildEinfuegen::TUndoBildEinfuegen;
    QString ClassName() const override { return QStringLiteral("TUndoBildLoeschen"); }

protected:
    std::unique_ptr<TUndoItem> makeSame(const TFBPictureElement* frame) const override;
};

class TUndoBildDrehen : public TUndoBildEinfuegen {
public:
    using TUndoBildEinfuegen::TUndoBildEinfuegen;
    QString ClassName() const override { return QStringLiteral("TUndoBildDrehen"); }

protected:
    std::unique_ptr<TUndoItem> makeSame(const TFBPictureElement* frame) const override;
};

class TUndoBildFilter : public TUndoBildEinfuegen {
public:
    using TUndoBildEinfuegen::TUndoBildEinfuegen;
    QString ClassName() const override { return QStringLiteral("TUndoBildFilter"); }

protected:
    std::unique_ptr<TUndoItem> makeSame(const TFBPictureElement* frame) const override;
};

// Zoom and pan of a frame's picture.
class TUndoBildZoomPan : public TUndoItem {
public:
    explicit TUndoBildZoomPan(const TFBPictureElement* frame);
    QString ClassName() const override { return QStringLiteral("TUndoBildZoomPan"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
    // The record addresses this frame of the document.
    bool IsFor(const TFBPictureElement* frame) const;

private:
    int pageIndex_ = -1;
    int picIndex_ = -1;
};

// Two frames whose pictures were swapped.
class TUndoBildAustauschen : public TUndoItem {
public:
    TUndoBildAustauschen(const TFBPictureElement* src, const TFBPictureElement* dest);
    QString ClassName() const override { return QStringLiteral("TUndoBildAustauschen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;

private:
    TUndoBildAustauschen(int srcPage, int srcPic, int destPage, int destPic);
    void record();
    int src_[2] = {-1, -1};
    int dest_[2] = {-1, -1};
};

// A view inserted at "NewPageIndex".
class TUndoSeiteEinfuegen : public TUndoItem {
public:
    explicit TUndoSeiteEinfuegen(int viewIndex);
    QString ClassName() const override { return QStringLiteral("TUndoSeiteEinfuegen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;

private:
    int viewIndex_ = -1;
};

// A view moved from "SrcIndex" to "DestIndex".
class TUndoSeiteVerschieben : public TUndoItem {
public:
    TUndoSeiteVerschieben(int src, int dest);
    QString ClassName() const override { return QStringLiteral("TUndoSeiteVerschieben"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;

private:
    int src_ = -1;
    int dest_ = -1;
};

// The page(s) of a view with their pictures and the panorama links touching them.
class TUndoViewSnapshot : public TUndoItem {
public:
    TUndoViewSnapshot(const TFBDocument& document, int viewIndex);
    int ViewIndex() const { return viewIndex_; }

protected:
    // Reads the snapshot's page side ("Left" or "Right") into the page, with its pictures.
    void loadSide(TFBPage& page, const QString& side);
    void restoreLinks(TFBDocument& document);
    bool hasSide(const QString& side);
    int viewIndex_ = -1;
};

// A deleted view: Restore inserts its pages again.
class TUndoSeiteLoeschen : public TUndoViewSnapshot {
public:
    using TUndoViewSnapshot::TUndoViewSnapshot;
    QString ClassName() const override { return QStringLiteral("TUndoSeiteLoeschen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
};

// A view before a layout was applied: Restore reloads its pages in place.
class TUndoLayoutEinfuegen : public TUndoViewSnapshot {
public:
    using TUndoViewSnapshot::TUndoViewSnapshot;
    QString ClassName() const override { return QStringLiteral("TUndoLayoutEinfuegen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
};

// Place and size of a text or clipart element, and its page and list position.
class TUndoElementSizePos : public TUndoItem {
public:
    explicit TUndoElementSizePos(const TFBElement* element);
    QString ClassName() const override { return QStringLiteral("TUndoElementSizePos"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
    // Where the element is now, after it went to another page.
    void SetDestination(const TFBElement* element);

private:
    int pageIndex_ = -1;
    int elemIndex_ = -1;
    int destPage_ = -1;
    int destElem_ = -1;
};

// A text or clipart element that was inserted: Restore removes it.
class TUndoElementEinfuegen : public TUndoItem {
public:
    explicit TUndoElementEinfuegen(const TFBElement* element);
    TUndoElementEinfuegen(int pageIndex, int elemIndex);
    QString ClassName() const override { return QStringLiteral("TUndoElementEinfuegen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;

private:
    int pageIndex_ = -1;
    int elemIndex_ = -1;
};

// A text or clipart element that was deleted, in its transfer form: Restore inserts it again.
class TUndoElementLoeschen : public TUndoItem {
public:
    explicit TUndoElementLoeschen(const TFBElement* element);
    QString ClassName() const override { return QStringLiteral("TUndoElementLoeschen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;

private:
    int pageIndex_ = -1;
    int elemIndex_ = -1;
};

// The settings of one calendar ("Kalender").
class TUndoKalenderEigenschaften : public TUndoItem {
public:
    explicit TUndoKalenderEigenschaften(const TFBKalenderElement* calendar);
    QString ClassName() const override { return QStringLiteral("TUndoKalenderEigenschaften"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;

private:
    int pageIndex_ = -1;
    int kalIndex_ = -1;
};

// The document's calendar start ("Jahr", "Monat").
class TUndoKalenderJahrSetzen : public TUndoItem {
public:
    explicit TUndoKalenderJahrSetzen(const TFBDocument& document);
    QString ClassName() const override { return QStringLiteral("TUndoKalenderJahrSetzen"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
};

// The settings of every calendar of the document ("data0", "data1", ...).
class TUndoKalenderEigenschaftenFuerAlle : public TUndoItem {
public:
    explicit TUndoKalenderEigenschaftenFuerAlle(const TFBDocument& document);
    QString ClassName() const override { return QStringLiteral("TUndoKalenderEigenschaftenFuerAlle"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
};

// The document's holidays and birthdays, in the sections "Feiertage" and "Geburtstage" as a
// project stores them.
class TUndoFeiertageGeburtstage : public TUndoItem {
public:
    explicit TUndoFeiertageGeburtstage(const TFBDocument& document);
    QString ClassName() const override { return QStringLiteral("TUndoFeiertageGeburtstage"); }
    bool Restore(TFBDocument& document) override;
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument& document) const override;
};

// Element addressing shared by the records and their callers.
namespace UndoAddress {
// The element's "Focustyp": "Pic", "Kalender" or "Sizeable"; empty for anything else.
QString FocusTypeOf(const TFBElement* element);
// The element of that kind at (page, index), or nullptr.
TFBElement* Find(const TFBDocument& document, const QString& focusType, int page, int index);
TFBPictureElement* Frame(const TFBDocument& document, int page, int index);
TFBKalenderElement* Calendar(const TFBDocument& document, int page, int index);
TFBElement* Sizeable(const TFBDocument& document, int page, int index);
} // namespace UndoAddress
