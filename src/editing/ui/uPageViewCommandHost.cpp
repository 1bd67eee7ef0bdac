#include "editing/ui/uPageViewCommandHost.h"

#include "editing/uPageView.h"
#include "editing/uTransferData.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uGuarded.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>

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

// --- system clipboard ---------------------------------------------------------------------------

TSystemClipboard::TSystemClipboard(QObject* parent) : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        refresh();
        emit Changed();
    });
    refresh();
}

const QMimeData* TSystemClipboard::Data() const {
    return QGuiApplication::clipboard()->mimeData();
}

void TSystemClipboard::SetData(std::unique_ptr<QMimeData> data) {
    QGuiApplication::clipboard()->setMimeData(data.release());
    // Our own content is known at once, whenever the change notice arrives.
    refresh();
}

void TSystemClipboard::refresh() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    formats_ = data ? data->formats() : QStringList();
}

// --- host ---------------------------------------------------------------------------------------

TPageViewCommandHost::TPageViewCommandHost(QAbstractScrollArea* widget, TPageView& core)
    : QObject(widget), widget_(widget), core_(core), commands_(core, *this),
      status_(new QLabel(widget->viewport())) {
    status_->setObjectName(QStringLiteral("StatusPanel"));
    status_->setAlignment(Qt::AlignCenter);
    status_->setFrameShape(QFrame::Box);
    status_->setAutoFillBackground(true);
    status_->hide();
    AskYesNo = [this](const QString& question) {
        return QMessageBox::question(widget_, QApplication::applicationDisplayName(), question,
                                     QMessageBox::Yes | QMessageBox::No) != QMessageBox::No;
    };
}

TPageViewCommandHost::~TPageViewCommandHost() {
    while (waits_ > 0)
        EndWait();
}

bool TPageViewCommandHost::viewPoint(const QPoint& pos, TFBPointF& at) const {
    return core_.ViewPointAt(pos.x(), pos.y(), at);
}

void TPageViewCommandHost::DragEnter(QDragMoveEvent* event) {
    entered_ = std::make_unique<QMimeData>();
    if (const QMimeData* data = event->mimeData()) {
        static const QStringList kept = {TransferFormat::FileList,     TransferFormat::UriList,
                                         TransferFormat::PageTemplate, TransferFormat::Color,
                                         TransferFormat::Pic,          TransferFormat::Clipart};
        for (const QString& format : kept)
            if (data->hasFormat(format))
                entered_->setData(format, data->data(format));
    }
    DragMove(event);
}

void TPageViewCommandHost::DragMove(QDragMoveEvent* event) {
    TFBPointF at;
    const QMimeData* data = entered_ ? entered_.get() : event->mimeData();
    TDropEffect effect = TDropEffect::None;
    if (data && viewPoint(event->position().toPoint(), at))
        effect = commands_.CheckDrop(*data, at, event->source() != nullptr, proposedOf(*event));
    if (effect == TDropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(actionOf(effect));
    event->accept();
}

void TPageViewCommandHost::DragLeave() {
    entered_.reset();
}

void TPageViewCommandHost::Drop(QDropEvent* event) {
    const std::unique_ptr<QMimeData> entered = std::move(entered_);
    const QMimeData* data = entered ? entered.get() : event->mimeData();
    TFBPointF at;
    if (!data || !viewPoint(event->position().toPoint(), at)) {
        event->ignore();
        return;
    }
    TDropEffect done = TDropEffect::None;
    try {
        done = commands_.Drop(*data, at, event->source() != nullptr, proposedOf(*event));
    } catch (const Exception& e) {
        // A refused drop changed nothing; the cursor already said no.
        Debug().Trace(QStringLiteral("Drop abgelehnt: ") + e.message());
        done = TDropEffect::None;
    }
    if (done == TDropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(actionOf(done));
    event->accept();
}

void TPageViewCommandHost::BuildMenu(QMenu& menu) {
    menu.clear();
    menu.setSeparatorsCollapsible(true);
    for (const TMenuEntry& entry : commands_.ContextMenu()) {
        if (entry.Command == TMenuCommand::Separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(entry.Caption);
        action->setVisible(entry.Visible);
        action->setEnabled(entry.Enabled);
        const TMenuCommand command = entry.Command;
        connect(action, &QAction::triggered, this,
                [this, command] { RunGuarded([this, command] { commands_.Run(command); }); });
    }
}

void TPageViewCommandHost::ShowContextMenu(const QPoint& globalPos) {
    QMenu menu(widget_);
    menu.setObjectName(QStringLiteral("PopupMenu"));
    BuildMenu(menu);
    menu.exec(globalPos);
}

void TPageViewCommandHost::RunGuarded(const std::function<void()>& command) {
    // Guarded takes the hourglass down and reports the failure once.
    if (!Guarded("TFBMainView.Command", command))
        waits_ = 0;
}

void TPageViewCommandHost::Focus() {
    widget_->setFocus(Qt::OtherFocusReason);
}

void TPageViewCommandHost::BeginWait() {
    ++waits_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TPageViewCommandHost::EndWait() {
    if (waits_ == 0)
        return;
    --waits_;
    QApplication::restoreOverrideCursor();
}

void TPageViewCommandHost::ShowStatus(const QString& text) {
    if (text.isEmpty()) {
        status_->hide();
        return;
    }
    // Half the client width, 50 pixels high, in the middle.
    const QWidget* client = widget_->viewport();
    const int w = client->width() / 2;
    status_->setGeometry((client->width() - w) / 2, (client->height() - 50) / 2, w, 50);
    status_->setText(text);
    status_->show();
    status_->raise();
    status_->repaint();
    if (OnStatusShown)
        OnStatusShown();
}

void TPageViewCommandHost::StatusLine(const QString& text) {
    if (OnStatusLine)
        OnStatusLine(text);
}

void TPageViewCommandHost::UpdateNow() {
    widget_->viewport()->repaint();
}

bool TPageViewCommandHost::Confirm(const QString& question) {
    return AskYesNo && AskYesNo(question);
}
