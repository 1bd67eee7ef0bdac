#pragma once

class QListWidget;

// The look of the side lists users drag from (layouts, colours): icons of iconSize in a grid
// that flows with the width, one item selected at a time, dragged but never dropped onto.
void SetUpIconDragList(QListWidget& list, int iconSize);
