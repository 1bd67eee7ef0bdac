#include "filters/ui/uFilterPic.h"

#include "filters/uPictureFilter.h"

#include <QPainter>

TFilterPic::TFilterPic(QWidget* parent) : QWidget(parent), background_(palette().color(QPalette::Base)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFilterPic::LoadFitted(const QImage& bitmap, int angle) {
    const qreal ratio = devicePixelRatioF();
    const QSize client(std::max(1, qRound(width() * ratio)), std::max(1, qRound(height() * ratio)));
    SetBitmap(FilterDialogMath::FittedCopy(bitmap, angle, client));
}

void TFilterPic::SetBitmap(const QImage& bitmap) {
    bitmap_ = bitmap;
    bitmap_.setDevicePixelRatio(devicePixelRatioF());
    update();
}

QImage TFilterPic::GetFittedCopy() const {
    if (bitmap_.isNull())
        return {};
    QImage copy = bitmap_.copy();
    copy.setDevicePixelRatio(1.0);
    return copy;
}

void TFilterPic::SetBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void TFilterPic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (bitmap_.isNull())
        return;
    const QSizeF shown = bitmap_.deviceIndependentSize();
    const int x = (width() - qRound(shown.width())) / 2;
    const int y = (height() - qRound(shown.height())) / 2;
    painter.drawImage(QPoint(x, y), bitmap_);
}
