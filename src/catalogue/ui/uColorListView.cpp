#include "catalogue/ui/uColorListView.h"

#include "catalogue/ui/uIconList.h"

#include "document/uFBColor.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QMimeData>
#include <QPainter>

namespace {
const QColor kOutline(0x80, 0x80, 0x80);
} // namespace

TColorListView::TColorListView(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("lvFarben"));
    SetUpIconDragList(*this, ThumbnailSize);
    Build();
}

void TColorListView::Build() {
    clear();
    FillColorList(colors_);
    const QFontMetrics metrics = fontMetrics();
    for (int row = 0; row < colors_.Count(); ++row) {
        const TFBColor& color = *colors_.Items(row);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(Swatch(color.Color))),
                                         metrics.elidedText(color.Name, Qt::ElideRight, ThumbnailSize), this);
        item->setToolTip(color.Name);
        item->setData(Qt::UserRole, row);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
}

const TFBColor* TColorListView::Color(int row) const {
    return row >= 0 && row < colors_.Count() ? colors_.Items(row) : nullptr;
}

QImage TColorListView::Swatch(std::int32_t color) {
    QImage swatch(ThumbnailSize, ThumbnailSize, QImage::Format_ARGB32);
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    const QRect box(0, 0, ThumbnailSize - 1, ThumbnailSize - 1);
    painter.setPen(kOutline);
    painter.setBrush(color < 0 ? QColor(Qt::white) : ColorToQColor(color));
    painter.drawRect(box);
    if (color < 0) {
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    }
    return swatch;
}

QStringList TColorListView::mimeTypes() const {
    return {QString::fromLatin1(TFBColor::DragFormat)};
}

QMimeData* TColorListView::mimeData(const QList<QListWidgetItem*>& items) const {
    const TFBColor* color = items.isEmpty() ? nullptr : Color(items.first()->data(Qt::UserRole).toInt());
    if (!color)
        return nullptr;
    QByteArray payload;
    QBuffer buffer(&payload);
    buffer.open(QIODevice::WriteOnly);
    color->SaveToStream(buffer);
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(TFBColor::DragFormat), payload);
    return data;
}
