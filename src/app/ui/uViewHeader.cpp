#include "app/ui/uViewHeader.h"

#include "app/ui/uMasterGlyphs.h"

#include <QAction>
#include <QLabel>
#include <QResizeEvent>
#include <QSlider>
#include <QToolButton>

#include <algorithm>

TViewHeaderGeometry TViewHeaderGeometry::For(QSize client, int zoomHeight, QSize image) {
    TViewHeaderGeometry g;
    const int w = client.width();
    const int h = client.height();
    g.Zoom = QRect(w - kZoomRightMargin - kZoomWidth, (h - zoomHeight) / 2 - 1, kZoomWidth, zoomHeight);
    g.Image = QRect(QPoint(g.Zoom.left() - kImageGap - image.width(), (h - image.height()) / 2), image);
    const int span = 2 * kButtonSize + kLabelWidth;
    int left = w / 2 - kCentreOffset;
    const int limit = g.Image.left() - kGapBeforeImage;
    if (left + span > limit)
        left = std::max(0, limit - span);
    const int top = (h - kButtonSize) / 2;
    g.Back = QRect(left, top, kButtonSize, kButtonSize);
    g.Label = QRect(g.Back.right() + 1, 0, kLabelWidth, h);
    g.Forward = QRect(g.Label.right() + 1, top, kButtonSize, kButtonSize);
    return g;
}

TViewHeader::TViewHeader(QAction* back, QAction* forward, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("panMainviewTop"));
    setFixedHeight(TViewHeaderGeometry::kHeight);
    setMinimumWidth(1);
    const auto arrowButton = [this](const char* name, QAction* action, Qt::ArrowType arrow) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setDefaultAction(action);
        button->setArrowType(arrow);
        button->setAutoRaise(true);
        button->setFixedSize(TViewHeaderGeometry::kButtonSize, TViewHeaderGeometry::kButtonSize);
        return button;
    };
    back_ = arrowButton("BtnSeiteZurueck", back, Qt::LeftArrow);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("lblSeitenzahl"));
    label_->setAlignment(Qt::AlignCenter);
    forward_ = arrowButton("BtnSeiteVor", forward, Qt::RightArrow);
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("imgZoom"));
    image_->setPixmap(MasterGlyphs::Icon(QStringLiteral("zoom")).pixmap(QSize(16, 16)));
    image_->setFixedSize(16, 16);
    zoom_ = new QSlider(Qt::Horizontal, this);
    zoom_->setObjectName(QStringLiteral("tbMainViewZoom"));
    zoom_->setRange(100, 800);
    zoom_->setValue(100);
    zoom_->setPageStep(50);
    zoom_->setFixedWidth(TViewHeaderGeometry::kZoomWidth);
}

void TViewHeader::Arrange() {
    const int zoomHeight = std::min(height(), zoom_->sizeHint().height());
    const TViewHeaderGeometry g = TViewHeaderGeometry::For(size(), zoomHeight, image_->size());
    back_->setGeometry(g.Back);
    label_->setGeometry(g.Label);
    forward_->setGeometry(g.Forward);
    image_->setGeometry(g.Image);
    zoom_->setGeometry(g.Zoom);
}

void TViewHeader::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}
