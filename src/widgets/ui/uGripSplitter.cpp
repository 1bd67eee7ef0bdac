#include "widgets/ui/uGripSplitter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

namespace SplitterGrip {

QRect Rect(QSize handle, bool across) {
    // The length runs along the handle, the 5 pixels across it.
    const int extent = across ? handle.width() : handle.height();
    const int length = extent < kShortBelow ? extent - kShortMargin : kLength;
    if (length < kMinimumLength)
        return {};
    const int from = (extent - length) / 2;
    const int to = (extent + length) / 2;
    return across ? QRect(QPoint(from, 0), QPoint(to - 1, kHandleWidth - 1))
                  : QRect(QPoint(0, from), QPoint(kHandleWidth - 1, to - 1));
}

void Paint(QPainter& painter, const QRect& grip, const QPalette& palette) {
    if (grip.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Dark);
    // Top and left first; bottom and right take the two corners they share with them.
    painter.fillRect(QRect(grip.left(), grip.top(), grip.width(), 1), light);
    painter.fillRect(QRect(grip.left(), grip.top(), 1, grip.height()), light);
    painter.fillRect(QRect(grip.left(), grip.bottom(), grip.width(), 1), dark);
    painter.fillRect(QRect(grip.right(), grip.top(), 1, grip.height()), dark);
    painter.restore();
}

} // namespace SplitterGrip

TGripSplitterHandle::TGripSplitterHandle(Qt::Orientation orientation, QSplitter* parent)
    : QSplitterHandle(orientation, parent) {}

void TGripSplitterHandle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    // A vertical splitter stacks its widgets, so its handles lie across.
    SplitterGrip::Paint(painter, SplitterGrip::Rect(size(), orientation() == Qt::Vertical), palette());
}

TGripSplitter::TGripSplitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {
    setHandleWidth(SplitterGrip::kHandleWidth);
    setChildrenCollapsible(false);
}

QSplitterHandle* TGripSplitter::createHandle() {
    return new TGripSplitterHandle(orientation(), this);
}
