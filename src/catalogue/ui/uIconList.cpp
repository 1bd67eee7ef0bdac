#include "catalogue/ui/uIconList.h"

#include <QListWidget>

void SetUpIconDragList(QListWidget& list, int iconSize) {
    list.setViewMode(QListView::IconMode);
    list.setResizeMode(QListView::Adjust);
    list.setMovement(QListView::Static);
    list.setIconSize(QSize(iconSize, iconSize));
    // Room for the caption line below each icon.
    list.setGridSize(QSize(iconSize + 12, iconSize + list.fontMetrics().height() + 12));
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setDragEnabled(true);
    list.setDragDropMode(QAbstractItemView::DragOnly);
}
