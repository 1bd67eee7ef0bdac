#include "catalogue/ui/uIconList.h"

#include "editing/ui/uCursorRegistry.h"

#include <QDrag>
#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>

TIconDragList::TIconDragList(int iconSize, QWidget* parent) : QListWidget(parent), iconSize_(iconSize) {
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setIconSize(QSize(iconSize, iconSize));
    updateGrid();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void TIconDragList::updateGrid() {
    // Room for the caption line below each icon.
    setGridSize(QSize(iconSize_ + 12, iconSize_ + fontMetrics().height() + 12));
}

void TIconDragList::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateGrid();
}

QMimeData* TIconDragList::mimeData(const QList<QListWidgetItem*>& items) const {
    return items.isEmpty() || !items.first() ? nullptr : DragData(*items.first());
}

QPixmap TIconDragList::DragImage(const QListWidgetItem& item, QPoint pressedAt, QPoint* hotSpot) const {
    const QRect rect = visualItemRect(&item);
    if (hotSpot)
        *hotSpot = pressedAt - rect.topLeft();
    return viewport()->grab(rect);
}

QDrag* TIconDragList::MakeDrag(QPoint pressedAt) {
    QListWidgetItem* item = itemAt(pressedAt);
    if (!item)
        return nullptr;
    QMimeData* data = DragData(*item);
    if (!data)
        return nullptr;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    QPoint hotSpot;
    drag->setPixmap(DragImage(*item, pressedAt, &hotSpot));
    drag->setHotSpot(hotSpot);
    const QPixmap cursor = CursorPixmap(crDragCopy);
    if (!cursor.isNull())
        drag->setDragCursor(cursor, Qt::CopyAction);
    return drag;
}

void TIconDragList::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->position().toPoint();
    QListWidget::mousePressEvent(event);
}

void TIconDragList::startDrag(Qt::DropActions) {
    // Only a copy: a list item never moves away to where it is dropped.
    if (QDrag* drag = MakeDrag(pressedAt_))
        drag->exec(Qt::CopyAction, Qt::CopyAction);
}
