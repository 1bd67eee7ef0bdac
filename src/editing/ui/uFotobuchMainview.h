#pragma once

#include "editing/uPageView.h"
#include "editing/ui/uCursorRegistry.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QRegion>

#include <memory>

class TFBDocument;
class TFBElement;
class TFBPage;
class TPageViewCommandHost;
class TSystemClipboard;

// A scrollable drawing area: the viewport paints itself in full (no background erasing), the
// scroll bars show a virtual size with the client size as page. Lines move 10 pixels, a click
// into the trough 50; the wheel and the arrow keys are the subclass's.
class TPaintWindow : public QAbstractScrollArea {
public:
    explicit TPaintWindow(QWidget* parent);

    // Ranges 0 ... size - client with the client size as page; positions as given.
    void SetScrollState(int virtualWidth, int virtualHeight, int x, int y);

protected:
    // The user moved a scroll bar to (x, y).
    virtual void ScrollRequested(int x, int y) = 0;
    void scrollContentsBy(int dx, int dy) override;

private:
    void trough(QScrollBar* bar, int action);
    bool syncing_ = false;
};

// The page view in the middle of the main window: one view of the document, fitted and zoomed,
// with selection, drags, wheel and keys. The widget turns input into calls of the page view's
// core and copies its back buffer onto the screen.
class TFBMainView : public TPaintWindow, private TPageViewWindow {
    Q_OBJECT
public:
    TFBMainView(QWidget* parent, TFBDocument* document);
    ~TFBMainView() override;

    TFBDocument* Document() const { return core_->Document(); }
    TPageView& Core() { return *core_; }

    int ViewIndex() const { return core_->ViewIndex(); }
    void SetScreen(int i);
    float Zoom() const { return core_->Zoom(); }
    void SetZoom(float z);
    TFBElement* Selected() const { return core_->Selected(); }
    void Select(TFBElement* element);
    void RefreshElement(TFBPage* page, TFBElement* element);
    // Repaints the whole view (after the document changed under it).
    void Repaint();
    // The pages at the current view index changed (inserted, deleted or moved elsewhere): the
    // selection goes and the view is fitted and painted anew.
    void ShowPagesAgain();

    bool CanDelete() const;
    bool CanCopy() const;
    bool CanPaste() const;
    void DeleteSelection();
    void Cut();
    void Copy();
    void Paste();
    void InsertTextElement();
    // Turns the current view between portrait and landscape.
    void ToggleOrientation();
    // Drops, the context menu, the status panel and the clipboard commands.
    TPageViewCommandHost& CommandHost() { return *commands_; }

signals:
    void SelectionChanged(TFBElement* selected);
    void ZoomChanged();

protected:
    void ScrollRequested(int x, int y) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // The window interface of the core.
    void InvalidateRect(const TRect& rect) override;
    void InvalidateAll() override;
    void UpdateNow() override;
    void SetCursorShape(int cursor) override;
    void ScrollStateChanged() override;

    void resizeCore();

    std::unique_ptr<TPageView> core_;
    TSystemClipboard* clipboard_ = nullptr;
    TPageViewCommandHost* commands_ = nullptr;
    QRegion pending_;
    float ratio_ = 1;
};
