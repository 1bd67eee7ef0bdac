#pragma once

#include <QRect>
#include <QSize>
#include <QSplitter>
#include <QSplitterHandle>

class QPainter;
class QPalette;

// The splitters of the main window and its browsers: 5 pixels wide, each with a grip in its middle.
//
// A handle lying across the window (between regions stacked top to bottom) gets a grip 100 pixels
// long, or its width - 20 when it is narrower than 120; below 5 pixels there is none. The grip
// spans x = (width - length) div 2 to (width + length) div 2 and y = 0 to 5, drawn as a raised
// inner edge: light top and left, dark bottom and right. An upright handle gets the same grip
// turned by a quarter.
namespace SplitterGrip {

constexpr int kHandleWidth = 5;
constexpr int kLength = 100;
constexpr int kShortBelow = 120;
constexpr int kShortMargin = 20;
constexpr int kMinimumLength = 5;

// The grip's rectangle in a handle of that size; empty when the handle gets no grip.
// `across`: the handle lies across the window (its long side runs left to right).
QRect Rect(QSize handle, bool across);
// The raised inner edge around the rectangle.
void Paint(QPainter& painter, const QRect& grip, const QPalette& palette);

} // namespace SplitterGrip

class TGripSplitterHandle : public QSplitterHandle {
    Q_OBJECT
public:
    TGripSplitterHandle(Qt::Orientation orientation, QSplitter* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A QSplitter whose handles are grip handles of the window's handle width.
class TGripSplitter : public QSplitter {
    Q_OBJECT
public:
    TGripSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

protected:
    QSplitterHandle* createHandle() override;
};
