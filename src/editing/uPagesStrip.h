#pragma once

#include "document/uFotobuchDocument.h"
#include "editing/uPageViewCommands.h"
#include "render/uTransformation.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QMimeData;
class QObject;
class QPainter;

// The colours and the font the cells are painted with. The panel passes its palette's button
// shadow, base and text colours and its own font; the command line keeps these.
struct TPagesStripLook {
    QColor ButtonShadow = QColor(0x80, 0x80, 0x80);
    QColor Window = QColor(0xFF, 0xFF, 0xFF);
    QColor Text = QColor(0x00, 0x00, 0x00);
    QFont Font;
};

// The part of a cell that lies on grey because its pages come after the last page with content.
enum class TCellGreying { None, Whole, RightHalf, LowerHalf };

// The three entries of the pages panel's context menu for one view.
struct TPagesMenuState {
    bool InsertBefore = false;
    bool InsertAfter = false;
    bool Delete = false;
    // The German texts the captions are looked up by, and the captions in the current language.
    QString InsertBeforeKey, InsertAfterKey, DeleteKey;
    QString InsertBeforeCaption, InsertAfterCaption, DeleteCaption;
};

// The rules of the pages panel on the document alone: the panel, its tests and the command line
// all go through these.
namespace PagesRules {

// The cell width for a client height: clamp(height - 18, 100, 200).
int CellWidthFor(int clientHeight);
// Documents shown as spreads (a lone first page followed by spreads, or spreads throughout).
bool ShownAsSpreads(const TFBDocument& document);
// The view's label may be dragged elsewhere: never in calendars, and in a book neither its first
// nor its last view (the cover pages stay where they are).
bool CanMoveView(const TFBDocument& document, int view);
// Where view `source` lands when it is dropped on gap `gap` (the boundary before view `gap`,
// 0 ... views); -1 when that drop is refused.
int MoveDestination(const TFBDocument& document, int source, int gap);
// Enabling and captions of the menu for view `view` (all off for a view that does not exist).
TPagesMenuState MenuState(const TFBDocument& document, int view);
// What of the cell lies on grey, given the last page with content (-1: none).
TCellGreying Greying(const TFBDocument& document, int lastContentPage, int view);
// The Yes/No question before a view is deleted.
QString DeleteQuestion(const TFBDocument& document);

// The edits of the menu and of a label dropped on a gap; each records its undo item, changes the
// document and marks it modified. A refused edit raises Exception before anything changes.
void InsertViewBefore(TFBDocument& document, int view);
void InsertViewAfter(TFBDocument& document, int view);
void DeleteView(TFBDocument& document, int view);
// Returns the view's new index.
int MoveViewToGap(TFBDocument& document, int source, int gap);

} // namespace PagesRules

// What the pages panel needs from the window it lives in. Besides the commands' window (the
// hourglass, the Yes/No question and the status, which the panel shows in the progress window),
// a repaint that the window coalesces and a note that the strip's width or scroll position moved.
class TPagesStripWindow : public TCommandWindow {
public:
    virtual void InvalidateAll() = 0;
    virtual void ScrollStateChanged() = 0;
};

// What a left button press on the strip may start.
enum class TStripDrag { None, View, Pic };
enum class TStripKey { Left, Right, Home, End };
enum class TStripCommand { InsertBefore, InsertAfter, Delete };

// The pages panel without its widget: one cell per view in a horizontal strip (the paint box),
// the current view, the scroll position, the cells' geometry and painting with a cache of
// finished thumbnails, the context menu, and the drops with their undo records. Coordinates are
// logical pixels of the paint box (client x plus the scroll position) unless said otherwise.
// Every change records its undo item, changes the document, marks it modified, repaints and is
// announced through the multicaster with the event source as its source.
class TPagesStrip {
public:
    TPagesStrip(TFBDocument* document, TPagesStripWindow& window);
    TPagesStrip(const TPagesStrip&) = delete;
    TPagesStrip& operator=(const TPagesStrip&) = delete;

    void SetEventSource(const QObject* source) { source_ = source; }
    const QObject* EventSource() const { return source_; }
    void SetLook(const TPagesStripLook& look);
    const TPagesStripLook& Look() const { return look_; }

    // --- document
    // Shows the document and refreshes.
    void SetDocument(TFBDocument* document);
    TFBDocument* Document() const { return document_; }
    // After the page list changed: sizes the paint box anew, keeps the current view and the scroll
    // position when the view still exists, and paints every thumbnail afresh.
    void Refresh();
    // The document's views now, and the views the paint box was last sized for (by Refresh or a
    // resize).
    int ViewCount() const;
    int ShownViews() const { return boxViews_; }

    // --- size and scrolling
    // The client area in logical pixels and the screen's pixel ratio. The cell width follows the
    // height; a changed width or ratio throws the finished thumbnails away.
    void Resize(int clientWidth, int clientHeight, qreal pixelRatio = 1);
    int CellWidth() const { return cellW_; }
    int ClientWidth() const { return clientW_; }
    int ClientHeight() const { return clientH_; }
    qreal PixelRatio() const { return dpr_; }
    // The paint box: shown views x cell width wide, as high as the client.
    int ContentWidth() const;
    int ScrollX() const { return scrollX_; }
    int ScrollRange() const;
    // Clamped to 0 ... ScrollRange.
    void SetScrollX(int x);
    int ScrollStep() const { return cellW_ / 6; }
    void ScrollIntoView(int view);
    // The vertical wheel moves the strip sideways (delta in eighths of a degree, 120 a notch).
    void Wheel(int delta);

    // --- cell geometry (paint box)
    QRect CellRect(int view) const;
    // The cell less 10 on every side and 20 more off the bottom.
    QRect ThumbnailRect(int view) const;
    // The cell less 10 on every side, its top 18 above its bottom.
    QRect LabelRect(int view) const;
    // The view whose cell holds x; -1 outside every cell.
    int ViewAtX(int x) const;
    // The gap (0 ... views) a dragged view would be dropped on at x; -1 for none.
    int GapAt(int x) const;
    // The mapping of view millimetres onto the paint box that the view's thumbnail is painted
    // with, and the hit tests through it.
    void ThumbnailTransformation(int view, TTransformation& t) const;
    bool ViewPointAt(int view, int x, int y, TFBPointF& p) const;
    TFBPictureElement* FrameAt(int x, int y) const;
    TFBPage* PageAt(int x, int y) const;

    // --- the current view
    int CurrentView() const { return current_; }
    // Clamps to -1 ... views - 1; a different view becomes current, is announced, scrolled into
    // view and repainted.
    void SelectView(int view);
    // The same without the announcement (the main window tells the panel about another view).
    void ShowView(int view);
    // The current view is repainted with a new thumbnail (its pages turned, say).
    void RefreshCurrentView();

    // --- mouse and keys
    // Remembers the view under the mouse (the context menu works on it).
    void MouseDown(int x);
    int MouseDownView() const { return mouseDownView_; }
    // The menu opened from the keyboard is about the given view (the current one).
    void SetMenuView(int view) { mouseDownView_ = view; }
    // The mouse came up in the cell it went down in: that view becomes current.
    void Click(int x);
    // What a left press at the point may drag: the label of a view that may be moved, or a
    // picture frame showing a picture.
    TStripDrag DragAt(int x, int y) const;
    // The page view's cursor number for the mouse at the point.
    int HoverCursor(int x, int y) const;
    // The arrow keys, Home and End; true when the key was used.
    bool Key(TStripKey key);

    // --- the context menu (for the view under the last mouse-down)
    TPagesMenuState Menu() const;
    // Runs a menu entry on the view under the last mouse-down; deleting asks first.
    void Run(TStripCommand command);

    // --- drops
    // The effect a drop at the point would have (None: refused). A dragged view also moves the
    // drop marker to its gap. fromThisProcess: the drag started in this program ("VXView" and
    // "VXPic" are only taken from it).
    TDropEffect CheckDrop(const QMimeData& data, int x, int y, bool fromThisProcess, TDropEffect proposed);
    // Drops the data; returns the effect done. Raises Exception (and changes nothing) when refused.
    TDropEffect Drop(const QMimeData& data, int x, int y, bool fromThisProcess, TDropEffect proposed);
    // The gap the drop marker stands at, -3 for none.
    int DropGap() const { return dropGap_; }
    void HideDropMarker();
    // Told before a dropped layout replaces the page's elements (the page view lets go of its
    // selection on that page).
    std::function<void(TFBPage* page)> OnReplacingPage;

    // --- drag image
    // The frame drawn at its thumbnail's scale, its surroundings transparent, in device pixels.
    QImage DragImage(TFBPictureElement& frame) const;

    // --- painting
    // Paints the visible cells meeting the client area (logical client pixels), then the drop
    // marker. The last page with content is looked at anew each time. The painter works in
    // logical pixels (a widget's painter, or one on a bitmap with its pixel ratio set).
    void Paint(QPainter& painter, const QRect& area);
    // Paints one cell into the bitmap (device pixels, resized when it must): white, the grey after
    // the last page with content, the current view's frame, the thumbnail and the label.
    void PaintCell(QImage& cell, int view);
    // All cells side by side, for the command line.
    QImage PaintStrip();
    // --- events from the other panels
    // An element (or, without element, the page) changed: the thumbnails showing it are painted
    // anew; if the last page with content moved, all of them.
    void ElementChanged(TFBElement* element, TFBPage* page);
    // Undo brought back a recorded state: everything anew.
    void DocumentRestored();
    // The finished thumbnails kept (tests look at the cache through this).
    int CachedThumbnails() const;
    // Told before a thumbnail is drawn; tests raise from it.
    std::function<void(int view)> OnDrawThumbnail;

private:
    struct TThumbnail {
        QImage Image;
        QPoint At; // device pixels in the cell
    };

    TFBDocument& document() const;
    void cellTransformation(int view, TTransformation& t, qreal scale) const;
    QSize cellDeviceSize() const;
    void paintBackground(QPainter& p, int view, TCellGreying greying) const;
    // The kept thumbnail of the view, drawn first when there is none; nullptr when it cannot be.
    const QImage* thumbnail(int view, TCellGreying greying);
    void paintFrameAndLabel(QPainter& p, int view) const;
    void paintCell(QPainter& p, int view);
    void updateLastContentPage();
    void dropThumbnails();
    void dropThumbnailsOf(const TFBPage* page);
    void keepCacheSmall();
    void select(int view, bool announce);
    void pagesChanged(int select);
    void elementChanged(TFBElement* element);
    void setDropGap(int gap);
    QString refusal(const QMimeData& data, int x, int y, bool fromThisProcess) const;

    TFBDocument* document_;
    TPagesStripWindow& window_;
    const QObject* source_ = nullptr;
    TPagesStripLook look_;

    int cellW_ = 250;
    int boxViews_ = 0;
    int clientW_ = 0, clientH_ = 0;
    qreal dpr_ = 1;
    int scrollX_ = 0;
    int current_ = -1;
    int mouseDownView_ = -1;
    int lastContentPage_ = -1;
    int dropGap_ = -3;
    std::vector<TThumbnail> thumbnails_;
};
