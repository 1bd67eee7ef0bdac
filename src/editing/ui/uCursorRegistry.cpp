#include "editing/ui/uCursorRegistry.h"

#include "editing/uPageView.h"
#include "editing/uTracker.h"
#include "platform/uDebug.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <map>

namespace {

constexpr int kSide = 32;

// The point of the image that is the mouse position: the arrow's tip of the drag cursor, the centre
// of the others.
QPoint hotspot(int number) {
    return number == crDragCopy ? QPoint(1, 1) : QPoint(16, 16);
}

qreal screenRatio() {
    return qApp ? qApp->devicePixelRatio() : 1;
}

constexpr const char* kFolder = ":/cursors";

// Our image of the number at the ratio; null when there is none.
QPixmap resourceImage(int number, const QString& folder, qreal ratio) {
    const QString svg = QStringLiteral("%1/%2.svg").arg(folder).arg(number);
    if (QFile::exists(svg)) {
        QSvgRenderer renderer(svg);
        const int side = int(std::ceil(kSide * ratio));
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    }
    QPixmap pixmap;
    if (ratio > 1 && pixmap.load(QStringLiteral("%1/%2@2x.png").arg(folder).arg(number))) {
        pixmap.setDevicePixelRatio(2);
        return pixmap;
    }
    pixmap.load(QStringLiteral("%1/%2.png").arg(folder).arg(number));
    return pixmap;
}

bool isResourceCursor(int cursor) {
    for (int number : ResourceCursorNumbers())
        if (number == cursor)
            return true;
    return false;
}

// Made once: each number keeps its cursor for the program's life, and a missing image is told once.
const QCursor& resourceCursor(int number) {
    static std::map<int, QCursor> made;
    auto it = made.find(number);
    if (it == made.end())
        it = made.emplace(number, MakeResourceCursor(number, QString::fromLatin1(kFolder), screenRatio()))
                 .first;
    return it->second;
}

} // namespace

std::span<const int> ResourceCursorNumbers() {
    static constexpr int kNumbers[] = {crDragCopy, crMarker123, crMarker124, crPicturePan, crScrollPan,
                                       crRotate,   crRotate15,  crRotate10,  crRotate5,    crRotate1};
    return kNumbers;
}

QCursor MakeResourceCursor(int number, const QString& folder, qreal ratio) {
    const QPixmap image = resourceImage(number, folder, ratio);
    if (image.isNull()) {
        Debug().Trace(QStringLiteral("Cursor %1 fehlt in %2, Pfeil statt dessen").arg(number).arg(folder));
        return QCursor(Qt::ArrowCursor);
    }
    return QCursor(image, hotspot(number).x(), hotspot(number).y());
}

QCursor PageViewCursor(int cursor) {
    switch (cursor) {
    case crSizeAll:
        return QCursor(Qt::SizeAllCursor);
    case crDrag:
        return QCursor(Qt::DragMoveCursor);
    case crSizeVertical:
        return QCursor(Qt::SizeVerCursor);
    case crSizeDiagonalDown:
        return QCursor(Qt::SizeFDiagCursor);
    case crSizeHorizontal:
        return QCursor(Qt::SizeHorCursor);
    case crSizeDiagonalUp:
        return QCursor(Qt::SizeBDiagCursor);
    default:
        return isResourceCursor(cursor) ? resourceCursor(cursor) : QCursor(Qt::ArrowCursor);
    }
}

QPixmap CursorPixmap(int cursor) {
    return PageViewCursor(cursor).pixmap();
}
