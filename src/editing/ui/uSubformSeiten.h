#pragma once

#include "editing/uPagesStrip.h"
#include "editing/ui/uEditorPanel.h"

#include <QAbstractScrollArea>
#include <QPoint>

#include <functional>
#include <memory>

class QMenu;
class QMimeData;
class TFBDocument;
class TFBElement;
class TFBPage;

// The pages panel under the page view: a horizontal strip of thumbnails, one cell per view. The
// widget turns mouse, keys, drags and drops into calls of its core (TPagesStrip) and lets the
// viewport paint the visible cells; the strip itself is virtual and only as wide as the scroll
// bar says.
class TSFormSeiten : public QAbstractScrollArea, public TEditorPanel, private TPagesStripWindow {
    Q_OBJECT
public:
    TSFormSeiten(QWidget* parent, TFBDocument* document);
    ~TSFormSeiten() override;

    TPagesStrip& Core() { return *core_; }

    // Shows the document and refreshes.
    void SetDocument(TFBDocument* document);
    // After the page list changed (also named Rebuild, as the main window has always called it).
    void Refresh();
    void Rebuild() { Refresh(); }
    // Makes the view current and announces it.
    void SelectView(int index) { core_->SelectView(index); }
    int CurrentView() const { return core_->CurrentView(); }
    // The views the strip was last laid out for.
    int ShownViews() const { return core_->ShownViews(); }
    // The current view's thumbnail is painted anew (its pages were turned).
    void RefreshCurrentView() { core_->RefreshCurrentView(); }

    // The context menu for the view (built afresh each time it opens); tests look at it.
    QMenu* ContextMenu() const { return menu_; }
    // Fills the menu's entries for the view under the last mouse-down.
    void UpdateMenu();
    // Opens the menu at the global position for the view under the last mouse-down.
    void ShowContextMenu(const QPoint& globalPos);

    // The Yes/No question; the main window answers it through its prompts (a message box unless
    // replaced).
    std::function<bool(const QString& question)> AskYesNo;
    // Told before a dropped layout replaces a page's elements.
    std::function<void(TFBPage* page)> OnReplacingPage;

    // As a panel.
    const QObject* EventSource() const override { return this; }
    void ElementChanged(TFBElement* element, TFBPage* page) override { core_->ElementChanged(element, page); }
    void ViewSelected(int viewIndex) override { core_->ShowView(viewIndex); }
    void PagesChanged() override { Refresh(); }
    void DocumentRestored() override { core_->DocumentRestored(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The strip's window.
    void InvalidateAll() override;
    void ScrollStateChanged() override;
    void Focus() override;
    void BeginWait() override;
    void EndWait() override;
    void ShowStatus(const QString& text) override;
    void StatusLine(const QString& text) override;
    void UpdateNow() override;
    bool Confirm(const QString& question) override;

    void applyLook();
    // The context menu for the current view, opened from the keyboard.
    void showKeyboardMenu();
    void startDrag(TStripDrag kind, const QPoint& at);
    void dragOver(QDragMoveEvent* event);
    int stripX(int clientX) const { return clientX + core_->ScrollX(); }

    std::unique_ptr<TPagesStrip> core_;
    QMenu* menu_ = nullptr;
    QAction* insertBefore_ = nullptr;
    QAction* insertAfter_ = nullptr;
    QAction* delete_ = nullptr;
    bool syncing_ = false;
    int waits_ = 0;
    // The left press that may become a drag.
    QPoint pressAt_;
    TStripDrag pressDrag_ = TStripDrag::None;
    bool pressed_ = false;
    // The data of the drag in progress, as it was when it entered.
    std::unique_ptr<QMimeData> entered_;
};
