#include "editing/ui/uFotobuchMainview.h"

#include "document/uFotobuchDocument.h"
#include "editing/uDocumentBusy.h"
#include "editing/ui/uCursorRegistry.h"
#include "editing/ui/uPageViewCommandHost.h"
#include "platform/uPaintGuard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// A click into the trough moves this far; the page step stays the client size so that the thumb
// shows how much of the view is visible.
constexpr int kTroughStep = 50;
constexpr int kLineStep = 10;

int buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return pbLeft;
    case Qt::RightButton:
        return pbRight;
    case Qt::MiddleButton:
        return pbMiddle;
    default:
        return 0;
    }
}

int buttonsOf(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? pbLeft : 0) | (b & Qt::RightButton ? pbRight : 0) |
           (b & Qt::MiddleButton ? pbMiddle : 0);
}

int modifiersOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? pmShift : 0) | (m & Qt::ControlModifier ? pmCtrl : 0);
}

} // namespace

// --- TPaintWindow -------------------------------------------------------------------------------

TPaintWindow::TPaintWindow(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setAutoFillBackground(false);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(kLineStep);
        bar->setRange(0, 0);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { trough(bar, action); });
    }
}

void TPaintWindow::trough(QScrollBar* bar, int action) {
    if (action == QAbstractSlider::SliderPageStepAdd)
        bar->setSliderPosition(std::min(bar->maximum(), bar->value() + kTroughStep));
    else if (action == QAbstractSlider::SliderPageStepSub)
        bar->setSliderPosition(std::max(bar->minimum(), bar->value() - kTroughStep));
}

void TPaintWindow::SetScrollState(int virtualWidth, int virtualHeight, int x, int y) {
    syncing_ = true;
    const QSize client = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setPageStep(std::max(1, client.width()));
    v->setPageStep(std::max(1, client.height()));
    h->setRange(0, std::max(0, virtualWidth - client.width()));
    v->setRange(0, std::max(0, virtualHeight - client.height()));
    h->setValue(x);
    v->setValue(y);
    syncing_ = false;
}

void TPaintWindow::scrollContentsBy(int, int) {
    if (!syncing_)
        ScrollRequested(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

// --- TFBMainView --------------------------------------------------------------------------------

TFBMainView::TFBMainView(QWidget* parent, TFBDocument* document) : TPaintWindow(parent) {
    setObjectName(QStringLiteral("MainView"));
    setAccessibleName(tr("Seitenansicht"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    viewport()->setMouseTracking(true);
    TPageViewWindow* window = this;
    core_ = std::make_unique<TPageView>(document, window);
    core_->SetEventSource(this);
    core_->OnSelectionChange = [this](TFBElement* e) { emit SelectionChanged(e); };
    core_->OnZoomChange = [this] { emit ZoomChanged(); };
    core_->OnDeleteSelection = [this] { DeleteSelection(); };
    clipboard_ = new TSystemClipboard(this);
    SetClipboardService(clipboard_);
    commands_ = new TPageViewCommandHost(this, *core_);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    resizeCore();
}

TFBMainView::~TFBMainView() {
    if (&Clipboard() == clipboard_)
        SetClipboardService(nullptr);
}

void TFBMainView::resizeCore() {
    ratio_ = static_cast<float>(devicePixelRatioF());
    core_->Resize(viewport()->width(), viewport()->height(), ratio_);
}

void TFBMainView::SetScreen(int i) {
    core_->SetScreen(i);
}

void TFBMainView::SetZoom(float z) {
    core_->SetZoom(z);
}

void TFBMainView::Select(TFBElement* element) {
    core_->Select(element);
}

void TFBMainView::RefreshElement(TFBPage* page, TFBElement* element) {
    core_->RefreshElement(page, element);
}

void TFBMainView::Repaint() {
    InvalidateAll();
}

void TFBMainView::ShowPagesAgain() {
    Select(nullptr);
    core_->SetupTransformation();
    InvalidateAll();
}

bool TFBMainView::CanDelete() const {
    return commands_->Commands().CanDelete();
}

bool TFBMainView::CanCopy() const {
    return commands_->Commands().CanCopy();
}

bool TFBMainView::CanPaste() const {
    return commands_->Commands().CanPaste();
}

void TFBMainView::DeleteSelection() {
    commands_->RunGuarded([this] { commands_->Commands().DeleteSelection(); });
}

void TFBMainView::Cut() {
    commands_->RunGuarded([this] { commands_->Commands().Cut(); });
}

void TFBMainView::Copy() {
    commands_->RunGuarded([this] { commands_->Commands().Copy(); });
}

void TFBMainView::Paste() {
    commands_->RunGuarded([this] { commands_->Commands().Paste(); });
}

void TFBMainView::InsertTextElement() {
    commands_->RunGuarded([this] { commands_->Commands().InsertTextElement(); });
}

void TFBMainView::ToggleOrientation() {
    commands_->RunGuarded([this] { commands_->Commands().ToggleOrientation(false); });
}

// --- window interface ---------------------------------------------------------------------------

void TFBMainView::InvalidateRect(const TRect& rect) {
    if (rect.IsEmpty())
        return;
    const QRect r(rect.Left, rect.Top, rect.Width(), rect.Height());
    pending_ += r;
    viewport()->update(r);
}

void TFBMainView::InvalidateAll() {
    pending_ = QRegion(viewport()->rect());
    viewport()->update();
}

void TFBMainView::UpdateNow() {
    if (pending_.isEmpty())
        return;
    const QRegion region = pending_;
    pending_ = QRegion();
    viewport()->repaint(region);
}

void TFBMainView::SetCursorShape(int cursor) {
    viewport()->setCursor(PageViewCursor(cursor));
}

void TFBMainView::ScrollStateChanged() {
    SetScrollState(core_->VirtualWidth(), core_->VirtualHeight(), core_->ScrollX(), core_->ScrollY());
}

void TFBMainView::ScrollRequested(int x, int y) {
    core_->SetScrollX(x);
    core_->SetScrollY(y);
}

// --- events -------------------------------------------------------------------------------------

bool TFBMainView::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab =
            key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
        const bool backTab = key->key() == Qt::Key_Backtab ||
                             (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        // Tab walks the elements; past the last one the focus moves on as usual.
        if ((tab || backTab) && core_->KeyPress(tab ? TPageViewKey::Tab : TPageViewKey::BackTab)) {
            event->accept();
            return true;
        }
    }
    return TPaintWindow::event(event);
}

void TFBMainView::contextMenuEvent(QContextMenuEvent* event) {
    QPoint at = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // Shift+F10 and the menu key: the menu is about the selection, shown at its middle.
        core_->ContextOnSelection();
        QPoint local = viewport()->rect().center();
        if (TFBElement* selected = core_->Selected()) {
            const TRect area = core_->ElementArea(*selected);
            if (!area.IsEmpty())
                local = QPoint((area.Left + area.Right) / 2, (area.Top + area.Bottom) / 2);
        }
        at = viewport()->mapToGlobal(local);
    }
    commands_->ShowContextMenu(at);
    event->accept();
}

void TFBMainView::dragEnterEvent(QDragEnterEvent* event) {
    commands_->DragEnter(event);
}

void TFBMainView::dragLeaveEvent(QDragLeaveEvent* event) {
    commands_->DragLeave();
    event->accept();
}

void TFBMainView::dragMoveEvent(QDragMoveEvent* event) {
    commands_->DragMove(event);
}

void TFBMainView::dropEvent(QDropEvent* event) {
    commands_->Drop(event);
}

bool TFBMainView::viewportEvent(QEvent* event) {
    // The area's own wheel handling would scroll; the view decides itself.
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return TPaintWindow::viewportEvent(event);
}

void TFBMainView::paintEvent(QPaintEvent* event) {
    if (devicePixelRatioF() != ratio_)
        resizeCore();
    const QRect area = event->rect();
    const TRect updated{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    QPainter painter(viewport());
    // A half-built document is not drawn: the last frame stays and the area waits for the end of
    // the operation, when the whole view is drawn again.
    const bool busy = TDocumentBusy::Active();
    if (!busy) {
        pending_ -= event->region();
        if (!GuardedPaint("TFBMainView", [&] { core_->Paint(updated); })) {
            DrawPaintPlaceholder(painter, area);
            return;
        }
    }
    const QImage& buffer = core_->BackBuffer();
    const QRect source = core_->DeviceRect(updated);
    if (buffer.isNull() || source.isEmpty()) {
        painter.fillRect(area, Qt::white);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRectF(area), buffer, QRectF(source));
}

void TFBMainView::resizeEvent(QResizeEvent* event) {
    TPaintWindow::resizeEvent(event);
    resizeCore();
}

void TFBMainView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    core_->MousePress(p.x(), p.y(), buttonOf(event->button()), modifiersOf(event->modifiers()));
    event->accept();
}

void TFBMainView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    core_->MouseMove(p.x(), p.y(), buttonsOf(event->buttons()), modifiersOf(event->modifiers()));
    event->accept();
}

void TFBMainView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    core_->MouseRelease(p.x(), p.y(), buttonOf(event->button()));
    event->accept();
}

void TFBMainView::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click does nothing (not a second press).
    event->accept();
}

void TFBMainView::wheelEvent(QWheelEvent* event) {
    const QPoint d = event->angleDelta();
    const int delta = d.y() != 0 ? d.y() : d.x();
    const QPoint p = event->position().toPoint();
    core_->Wheel(p.x(), p.y(), delta, modifiersOf(event->modifiers()));
    event->accept();
}

void TFBMainView::keyPressEvent(QKeyEvent* event) {
    TPageViewKey key;
    switch (event->key()) {
    case Qt::Key_Left:
        key = TPageViewKey::Left;
        break;
    case Qt::Key_Right:
        key = TPageViewKey::Right;
        break;
    case Qt::Key_Up:
        key = TPageViewKey::Up;
        break;
    case Qt::Key_Down:
        key = TPageViewKey::Down;
        break;
    case Qt::Key_Delete:
        key = TPageViewKey::Delete;
        break;
    case Qt::Key_Escape:
        key = TPageViewKey::Escape;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // Arrow keys never scroll the area; unused keys go on to the parent.
    if (core_->KeyPress(key) || key != TPageViewKey::Escape)
        event->accept();
    else
        event->ignore();
}
