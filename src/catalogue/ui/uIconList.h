#pragma once

#include <QListWidget>
#include <QPixmap>

class QDrag;
class QMimeData;

// The side lists users drag from (layouts, colours): icons of iconSize in a grid that flows with
// the width, one item selected at a time, dragged but never dropped onto.
//
// A drag always copies. It carries what DragData makes of the pressed item, shows the item as the
// list draws it, held where the mouse was pressed, and the program's copy cursor. A press on empty
// space starts none.
class TIconDragList : public QListWidget {
    Q_OBJECT
public:
    TIconDragList(int iconSize, QWidget* parent = nullptr);

    // What a drag of the item carries (the caller owns it); nullptr: the item is not dragged.
    virtual QMimeData* DragData(const QListWidgetItem& item) const = 0;
    // The item as the list draws it, and where `pressedAt` (viewport coordinates) lies inside it.
    QPixmap DragImage(const QListWidgetItem& item, QPoint pressedAt, QPoint* hotSpot) const;
    // The drag of the item pressed at `pressedAt`, ready to run; nullptr for none.
    QDrag* MakeDrag(QPoint pressedAt);

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    // A larger font makes room for its caption line.
    void changeEvent(QEvent* event) override;

private:
    void updateGrid();

    int iconSize_;
    QPoint pressedAt_;
};
