#include "editing/ui/uSubformSeiten.h"

#include "document/uFotobuchDocument.h"
#include "editing/uDocumentBusy.h"
#include "editing/uTransferData.h"
#include "editing/ui/uFotobuchMainview.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uGuarded.h"
#include "platform/uInfoausgabe.h"
#include "platform/uPaintGuard.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

Qt::DropAction actionOf(TDropEffect effect) {
    switch (effect) {
    case TDropEffect::Copy:
        return Qt::CopyAction;
    case TDropEffect::Move:
        return Qt::MoveAction;
    case TDropEffect::None:
        break;
    }
    return Qt::IgnoreAction;
}

TDropEffect proposedOf(const QDropEvent& event) {
    return event.proposedAction() == Qt::MoveAction && (event.possibleActions() & Qt::MoveAction)
               ? TDropEffect::Move
               : TDropEffect::Copy;
}

} // namespace

TSFormSeiten::TSFormSeiten(QWidget* parent, TFBDocument* document)
    : QAbstractScrollArea(parent),
      core_(std::make_unique<TPagesStrip>(document, static_cast<TPagesStripWindow&>(*this))) {
    setObjectName(QStringLiteral("SFormSeiten"));
    viewport()->setObjectName(QStringLiteral("pb"));
    core_->SetEventSource(this);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("pmSeiten"));
    const auto item = [this](const char* name, const char* caption, TStripCommand command) {
        QAction* action = menu_->addAction(Translate(QString::fromUtf8(caption)));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, command] { Guarded("TSFormSeiten.Menu", [this, command] { core_->Run(command); }); });
        return action;
    };
    insertBefore_ =
        item("mnuSeiteVorAktuellerEinfuegen", "Neue Seite davor einfügen", TStripCommand::InsertBefore);
    insertAfter_ =
        item("mnuSeiteNachAktuellerEinfuegen", "Neue Seite dahinter einfügen", TStripCommand::InsertAfter);
    menu_->addSeparator();
    delete_ = item("mnuSeiteloeschen", "Seite löschen", TStripCommand::Delete);

    AskYesNo = [this](const QString& question) {
        return QMessageBox::question(this, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    core_->OnReplacingPage = [this](TFBPage* page) {
        if (OnReplacingPage)
            OnReplacingPage(page);
    };
    applyLook();
    core_->Refresh();
}

TSFormSeiten::~TSFormSeiten() {
    while (waits_ > 0)
        EndWait();
}

void TSFormSeiten::SetDocument(TFBDocument* document) {
    core_->SetDocument(document);
}

void TSFormSeiten::Refresh() {
    // One repaint at the end rather than one per step.
    setUpdatesEnabled(false);
    core_->Refresh();
    setUpdatesEnabled(true);
    viewport()->update();
}

void TSFormSeiten::applyLook() {
    TPagesStripLook look;
    look.ButtonShadow = palette().color(QPalette::Dark);
    look.Window = palette().color(QPalette::Base);
    look.Text = palette().color(QPalette::Text);
    look.Font = font();
    core_->SetLook(look);
}

void TSFormSeiten::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        applyLook();
    QAbstractScrollArea::changeEvent(event);
}

// --- the strip's window --------------------------------------------------------------------------

void TSFormSeiten::InvalidateAll() {
    viewport()->update();
}

void TSFormSeiten::ScrollStateChanged() {
    QScrollBar* bar = horizontalScrollBar();
    syncing_ = true;
    bar->setRange(0, core_->ScrollRange());
    bar->setPageStep(std::max(1, core_->ClientWidth()));
    bar->setSingleStep(std::max(1, core_->ScrollStep()));
    bar->setValue(core_->ScrollX());
    syncing_ = false;
}

void TSFormSeiten::Focus() {
    setFocus(Qt::OtherFocusReason);
}

void TSFormSeiten::BeginWait() {
    ++waits_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TSFormSeiten::EndWait() {
    if (waits_ == 0)
        return;
    --waits_;
    QApplication::restoreOverrideCursor();
}

void TSFormSeiten::ShowStatus(const QString& text) {
    // The progress window; an empty text closes it and enables the main window again.
    InfoAusgabe().Info(text);
}

void TSFormSeiten::StatusLine(const QString& text) {
    InfoAusgabe().Status(text);
}

void TSFormSeiten::UpdateNow() {
    viewport()->repaint();
}

bool TSFormSeiten::Confirm(const QString& question) {
    return AskYesNo && AskYesNo(question);
}

// --- painting and size ---------------------------------------------------------------------------

void TSFormSeiten::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    // While the document is half built the panel shows its backdrop; the end of the operation
    // repaints it.
    if (TDocumentBusy::Active()) {
        painter.fillRect(event->rect(), palette().color(QPalette::Window));
        return;
    }
    if (!GuardedPaint("TSFormSeiten", [&] { core_->Paint(painter, event->rect()); }))
        DrawPaintPlaceholder(painter, event->rect());
}

void TSFormSeiten::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    core_->Resize(viewport()->width(), viewport()->height(), viewport()->devicePixelRatioF());
    // After the resize has settled, the current view comes back into sight.
    QMetaObject::invokeMethod(
        this, [this] { core_->ScrollIntoView(core_->CurrentView()); }, Qt::QueuedConnection);
}

void TSFormSeiten::scrollContentsBy(int, int) {
    if (!syncing_)
        core_->SetScrollX(horizontalScrollBar()->value());
}

bool TSFormSeiten::event(QEvent* event) {
    // The panel takes the arrow keys (and Tab stays with the focus chain).
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

// --- mouse and keys ------------------------------------------------------------------------------

void TSFormSeiten::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    core_->MouseDown(stripX(at.x()));
    pressed_ = event->button() == Qt::LeftButton;
    pressAt_ = at;
    pressDrag_ = pressed_ ? core_->DragAt(stripX(at.x()), at.y()) : TStripDrag::None;
    if (event->button() == Qt::RightButton)
        ShowContextMenu(viewport()->mapToGlobal(at));
}

void TSFormSeiten::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (pressed_ && (event->buttons() & Qt::LeftButton) && pressDrag_ != TStripDrag::None &&
        (at - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
        const TStripDrag kind = pressDrag_;
        pressed_ = false;
        pressDrag_ = TStripDrag::None;
        startDrag(kind, pressAt_);
        return;
    }
    viewport()->setCursor(PageViewCursor(core_->HoverCursor(stripX(at.x()), at.y())));
}

void TSFormSeiten::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressed_)
        Guarded("TSFormSeiten.Click", [&] { core_->Click(stripX(event->position().toPoint().x())); });
    pressed_ = false;
    pressDrag_ = TStripDrag::None;
}

void TSFormSeiten::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    core_->Wheel(delta);
    event->accept();
}

void TSFormSeiten::keyPressEvent(QKeyEvent* event) {
    const auto run = [this](TStripKey key) { Guarded("TSFormSeiten.Key", [&] { core_->Key(key); }); };
    switch (event->key()) {
    case Qt::Key_Left:
        run(TStripKey::Left);
        return;
    case Qt::Key_Right:
        run(TStripKey::Right);
        return;
    case Qt::Key_Home:
        run(TStripKey::Home);
        return;
    case Qt::Key_End:
        run(TStripKey::End);
        return;
    case Qt::Key_Menu:
        showKeyboardMenu();
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            showKeyboardMenu();
            return;
        }
        break;
    default:
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TSFormSeiten::contextMenuEvent(QContextMenuEvent* event) {
    // The right button opened it at the press already; the Menu key comes here from the window
    // system, and keyPressEvent takes it when it is sent to the panel itself.
    if (event->reason() != QContextMenuEvent::Mouse)
        showKeyboardMenu();
}

void TSFormSeiten::showKeyboardMenu() {
    const int view = core_->CurrentView();
    core_->SetMenuView(view);
    QPoint at = core_->CellRect(view < 0 ? 0 : view).center();
    at.rx() -= core_->ScrollX();
    ShowContextMenu(viewport()->mapToGlobal(at));
}

void TSFormSeiten::UpdateMenu() {
    const TPagesMenuState state = core_->Menu();
    insertBefore_->setText(state.InsertBeforeCaption);
    insertBefore_->setEnabled(state.InsertBefore);
    insertAfter_->setText(state.InsertAfterCaption);
    insertAfter_->setEnabled(state.InsertAfter);
    delete_->setText(state.DeleteCaption);
    delete_->setEnabled(state.Delete);
}

void TSFormSeiten::ShowContextMenu(const QPoint& globalPos) {
    UpdateMenu();
    menu_->exec(globalPos);
}

// --- drags ---------------------------------------------------------------------------------------

void TSFormSeiten::startDrag(TStripDrag kind, const QPoint& at) {
    TFBDocument* document = core_->Document();
    if (!document)
        return;
    auto data = std::make_unique<QMimeData>();
    auto* drag = new QDrag(this);
    if (kind == TStripDrag::View) {
        data->setData(TransferFormat::View, Transfer::ViewBytes(core_->ViewAtX(stripX(at.x()))));
    } else {
        TFBPictureElement* frame = core_->FrameAt(stripX(at.x()), at.y());
        if (!frame)
            return;
        data->setData(TransferFormat::Pic, Transfer::PicBytes(*document, *frame));
        const QImage image = core_->DragImage(*frame);
        if (!image.isNull()) {
            const QPixmap pixmap = QPixmap::fromImage(image);
            drag->setPixmap(pixmap);
            drag->setHotSpot(QPoint(pixmap.width(), pixmap.height()) / 2 / pixmap.devicePixelRatio());
        }
    }
    drag->setMimeData(data.release());
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    core_->HideDropMarker();
}

// --- drops ---------------------------------------------------------------------------------------

void TSFormSeiten::dragEnterEvent(QDragEnterEvent* event) {
    // The data is taken now: another program's data may be gone by the drop.
    entered_ = std::make_unique<QMimeData>();
    if (const QMimeData* data = event->mimeData()) {
        static const QStringList kept = {TransferFormat::View,     TransferFormat::Pic,
                                         TransferFormat::FileList, TransferFormat::UriList,
                                         TransferFormat::Color,    TransferFormat::PageTemplate};
        for (const QString& format : kept)
            if (data->hasFormat(format))
                entered_->setData(format, data->data(format));
    }
    dragOver(event);
    // A drag the strip knows is followed across the cells even where it starts on a place that
    // takes nothing (the label it was picked up from): an ignored enter would bring no moves.
    if (!event->isAccepted() && !entered_->formats().isEmpty())
        event->accept();
}

void TSFormSeiten::dragMoveEvent(QDragMoveEvent* event) {
    dragOver(event);
}

void TSFormSeiten::dragOver(QDragMoveEvent* event) {
    const QMimeData* data = entered_ ? entered_.get() : event->mimeData();
    const QPoint at = event->position().toPoint();
    TDropEffect effect = TDropEffect::None;
    if (data)
        effect =
            core_->CheckDrop(*data, stripX(at.x()), at.y(), event->source() != nullptr, proposedOf(*event));
    if (effect == TDropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(actionOf(effect));
    event->accept();
}

void TSFormSeiten::dragLeaveEvent(QDragLeaveEvent*) {
    entered_.reset();
    core_->HideDropMarker();
}

void TSFormSeiten::dropEvent(QDropEvent* event) {
    const std::unique_ptr<QMimeData> entered = std::move(entered_);
    const QMimeData* data = entered ? entered.get() : event->mimeData();
    const QPoint at = event->position().toPoint();
    TDropEffect done = TDropEffect::None;
    if (data) {
        try {
            done = core_->Drop(*data, stripX(at.x()), at.y(), event->source() != nullptr, proposedOf(*event));
        } catch (const Exception& e) {
            // A refused drop changed nothing; the cursor already said no.
            Debug().Trace(QStringLiteral("TSFormSeiten: Drop abgelehnt: ") + e.message());
            done = TDropEffect::None;
        }
    }
    core_->HideDropMarker();
    if (done == TDropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(actionOf(done));
    event->accept();
}
