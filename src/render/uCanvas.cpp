#include "render/uCanvas.h"

#include <QPaintDevice>

QColor ToQColor(TColor color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TCanvas::TCanvas(QPaintDevice* device) : device_(device) {}

TCanvas::~TCanvas() {
    EndPaint();
}

QPainter& TCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        if (device_)
            painter_->begin(device_);
        // Shapes land on whole device pixels like the rest of the drawing; text is smoothed.
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        ApplyClip();
    }
    return *painter_;
}

void TCanvas::EndPaint() {
    if (painter_) {
        if (painter_->isActive())
            painter_->end();
        painter_.reset();
    }
}

void TCanvas::SetClipRegion(std::optional<QRegion> region) {
    clip_ = std::move(region);
    ApplyClip();
}

void TCanvas::ApplyClip() {
    if (!painter_ || !painter_->isActive())
        return;
    if (clip_)
        painter_->setClipRegion(*clip_);
    else
        painter_->setClipping(false);
}

QPen TCanvas::QtPen() const {
    if (Pen.Style() == psClear)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(Pen.Color()));
    pen.setWidth(std::max(0, Pen.Width()));
    if (Pen.Width() > 1) {
        // Wide lines end and join round, thin lines stay one exact pixel.
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

QBrush TCanvas::QtBrush() const {
    if (Brush.Style() == bsClear)
        return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(Brush.Color()));
}
