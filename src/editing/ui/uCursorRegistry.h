#pragma once

#include <QCursor>
#include <QPixmap>
#include <QString>

#include <span>

// The cursors of the page view and the side lists by number: the theme's resize, size-all and drag
// shapes, and our own images from the program's resources (":/cursors/N.svg", drawn sharp at the
// screen's pixel ratio, or ":/cursors/N.png" with "N@2x.png" for ratios above 1). Each number is
// made once and kept for the program's life. A number whose image is missing gets Qt's arrow and
// one trace line.
//
// The main window's numbers beside the tracker's (125 panning a photo, 126 scrolling, 200-204
// rotating): 123 and 124, images of ours that nothing uses yet, and 102, the cursor of copy drags
// from the side lists.
enum TResourceCursor : int { crMarker123 = 123, crMarker124 = 124, crDragCopy = 102 };

QCursor PageViewCursor(int cursor);
// The image of one of our cursors at the screen's pixel ratio; null for a shape of the theme (and
// for a missing image, which falls back to the theme's arrow).
QPixmap CursorPixmap(int cursor);
// The numbers made from our own images.
std::span<const int> ResourceCursorNumbers();
// A cursor of ours made anew from the images of a folder (":/cursors" for the program's) at the
// pixel ratio: "N.svg", else "N.png" with "N@2x.png" above ratio 1. Without an image it is Qt's
// arrow, and the trace gets one line naming the number and the folder.
QCursor MakeResourceCursor(int number, const QString& folder, qreal ratio);
