#pragma once

#include "document/uFotobuchDocument.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QMimeData;
class TPageView;

// What a drop does to its data: nothing (refused), a copy, or a move (a picture dragged from one
// frame to another swaps the two).
enum class TDropEffect { None, Copy, Move };

// What the window does around the page view's commands. The widget shows the hourglass, the
// status panel and the question; tests answer the question and record the rest; the command
// line prints the reports.
class TCommandWindow {
public:
    virtual ~TCommandWindow() = default;
    virtual void Focus() {}
    // The hourglass cursor while pictures load.
    virtual void BeginWait() {}
    virtual void EndWait() {}
    // The status panel over the page view; an empty text hides it.
    virtual void ShowStatus(const QString& text) { (void)text; }
    // The main window's status line.
    virtual void StatusLine(const QString& text) { (void)text; }
    // Paints what changed now rather than at the next turn of the event loop.
    virtual void UpdateNow() {}
    // A Yes/No question; true for Yes.
    virtual bool Confirm(const QString& question) = 0;
    // One line for each change a command made (the command line prints them).
    virtual void Report(const QString& line) { (void)line; }
};

// Loads dropped picture files into frames: the first into the given frame, each further one into
// the next picture frame in document order (the next on the same page, else the first of the next
// page that has any), past the other frames of a panorama it filled. Each file gets its undo
// record; a lone frame of a photo page turns its page to the picture. Entries that are no picture
// file (relative, missing, folders, other files) are skipped without using a frame and counted on
// the status line; only as many entries are read as frames remain. With several entries the
// window's status shows "Bild %d von %d wird geladen" and is hidden again at the end, also when
// loading fails. filled is told each frame once it shows its picture (repaint and announce
// there). Raises, before anything is recorded or changed, when no entry is a picture file or
// there is no frame. The page view and the pages panel both drop files through this.
void LoadDroppedFiles(TFBDocument& document, const QStringList& paths, TFBPictureElement* frame,
                      TCommandWindow& window, const std::function<void(TFBPictureElement& filled)>& filled);

// The entries of the page view's context menu, in menu order.
enum class TMenuCommand {
    RotateLeft,
    RotateRight,
    FilterHKIG,
    FilterHSL,
    FilterSWCol,
    FilterRedEye,
    ChangeColour,
    ToggleOrientation,
    InsertPageBefore,
    InsertPageAfter,
    DeletePage,
    PreviousPage,
    NextPage,
    Cut,
    Copy,
    Paste,
    Delete,
    Separator,
};

// One entry of the context menu as it is to be shown now.
struct TMenuEntry {
    TMenuCommand Command = TMenuCommand::Separator;
    // The German text the caption is looked up by.
    QString Key;
    // The caption in the current language.
    QString Caption;
    bool Visible = true;
    bool Enabled = true;
};

// The commands of the page view: drops, the context menu, the clipboard, deleting, inserting a
// text and turning the view. Each works on the page view's document, current view and selection,
// and on a target the window found: a point of the view in millimetres (drops) or the element and
// page of the last right click (the menu). Every change records its undo item first, changes the
// document, marks it modified, repaints and tells the multicaster. A command that cannot be done
// raises Exception before anything is recorded or changed.
class TPageViewCommands {
public:
    TPageViewCommands(TPageView& view, TCommandWindow& window);

    // --- drops
    // The effect a drop of the data at the view point would have; None when any format it offers
    // cannot be dropped there. fromThisProcess: the drag started in this program ("VXPic" is only
    // taken from it). File drops always copy, so that a file manager never deletes a photo.
    TDropEffect CheckDrop(const QMimeData& data, const TFBPointF& at, bool fromThisProcess,
                          TDropEffect proposed) const;
    // Drops the data; returns the effect done. Raises Exception (and changes nothing) when the
    // drop is refused.
    TDropEffect Drop(const QMimeData& data, const TFBPointF& at, bool fromThisProcess, TDropEffect proposed);

    // --- clipboard and deleting
    bool CanCopy() const;
    bool CanDelete() const;
    bool CanPaste() const;
    void Copy();
    void Cut();
    // Raises with one message when the clipboard holds nothing that can be pasted here.
    void Paste();
    void DeleteSelection();

    // --- others
    TFBTextElement* InsertTextElement();
    // The current view between portrait and landscape; fromMenu also tells the pages panel.
    void ToggleOrientation(bool fromMenu);

    // --- the context menu for the element and page of the last right click
    std::vector<TMenuEntry> ContextMenu() const;
    void Run(TMenuCommand command);

    // The German message of a refused paste.
    static QString PasteRefused();

private:
    // Why a drop at the point is refused; empty when it can be done.
    QString refusal(const QMimeData& data, const TFBPointF& at, bool fromThisProcess) const;
    TFBPictureElement* frameAt(const TFBPointF& at) const;
    TFBPage* pageAt(const TFBPointF& at) const;
    void dropFiles(const QStringList& paths, TFBPictureElement* frame);
    void dropTemplate(const QByteArray& bytes, TFBPage* page);
    void dropColour(const QByteArray& bytes, TFBPictureElement* frame);
    void dropPicture(TFBPictureElement& target, TFBPictureElement& source, bool move);
    void dropClipart(const QString& path, TFBPage* page, const TFBPointF& at);
    void pasteFrame(TFBPictureElement& frame, const QByteArray& bytes);
    void pasteElement(const QString& className, bool isLeftPage, const QByteArray& bytes);
    void changed(TFBElement* element);
    void pageChanged(TFBPage* page);
    void viewSelected();
    TFBPictureElement* contextFrame() const;
    QString describe(const TFBElement* element) const;

    TPageView& view_;
    TCommandWindow& window_;
};
