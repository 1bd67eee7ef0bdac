#include "catalogue/ui/uColorListView.h"

#include "document/uFBColor.h"
#include "editing/uTransferData.h"
#include "i18n/ui/uLocalizerForm.h"

#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

const QColor kOutline(0x80, 0x80, 0x80);
constexpr int kTopMargin = 4;
constexpr int kCaptionGap = 4;

// Draws the swatch as it is (the style would tint a selected icon), the selection as a frame
// around it and the caption below.
class TSwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const QRect swatch = TColorListView::SwatchRect(option.rect);
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        icon.paint(painter, swatch, Qt::AlignCenter, QIcon::Normal);
        const QPalette& palette = option.palette;
        if (option.state & QStyle::State_Selected) {
            constexpr int width = TColorListView::kFrameWidth;
            constexpr int outside = TColorListView::kFrameGap + width;
            const QRect outer = swatch.adjusted(-outside, -outside, outside, outside);
            const QColor frame = palette.color(QPalette::Highlight);
            painter->fillRect(QRect(outer.left(), outer.top(), outer.width(), width), frame);
            painter->fillRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), frame);
            painter->fillRect(QRect(outer.left(), outer.top(), width, outer.height()), frame);
            painter->fillRect(QRect(outer.right() - width + 1, outer.top(), width, outer.height()), frame);
        }
        const QRect caption(option.rect.left(), swatch.bottom() + 1 + kCaptionGap, option.rect.width(),
                            option.rect.bottom() - swatch.bottom() - kCaptionGap);
        painter->setFont(option.font);
        painter->setPen(palette.color(QPalette::Text));
        painter->drawText(caption, Qt::AlignHCenter | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus && option.state & QStyle::State_Selected) {
            QPen focus(palette.color(QPalette::Highlight), 1, Qt::DotLine);
            painter->setPen(focus);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    // Every item fills its grid cell, so the swatch stands where SwatchRect says.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        const auto* view = qobject_cast<const QListView*>(option.widget);
        return view ? view->gridSize()
                    : QSize(TColorListView::ThumbnailSize + 12, TColorListView::ThumbnailSize + 32);
    }
};

} // namespace

TColorListView::TColorListView(QWidget* parent) : TIconDragList(ThumbnailSize, parent) {
    setObjectName(QStringLiteral("lvFarben"));
    setItemDelegate(new TSwatchDelegate(this));
    // Its items are named colours of the catalogue, built anew after a language switch.
    LocalizerForms::KeepUntranslated(this);
    Build();
}

QRect TColorListView::SwatchRect(const QRect& cell) {
    return QRect(cell.left() + (cell.width() - ThumbnailSize) / 2, cell.top() + kTopMargin, ThumbnailSize,
                 ThumbnailSize);
}

void TColorListView::Build() {
    const int selected = currentRow();
    clear();
    FillColorList(colors_);
    const QFontMetrics metrics = fontMetrics();
    for (int row = 0; row < colors_.Count(); ++row) {
        const TFBColor& color = *colors_.Items(row);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(Swatch(color.Color))),
                                         metrics.elidedText(color.Name, Qt::ElideRight, ThumbnailSize), this);
        item->setToolTip(color.Name);
        item->setData(Qt::AccessibleTextRole, color.Name);
        item->setData(Qt::UserRole, row);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
    if (selected >= 0 && selected < count())
        setCurrentRow(selected);
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
    return {TransferFormat::Color};
}

QMimeData* TColorListView::DragData(const QListWidgetItem& item) const {
    const TFBColor* color = Color(item.data(Qt::UserRole).toInt());
    if (!color)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(TransferFormat::Color, Transfer::ColorBytes(*color));
    return data;
}

void TColorListView::changeEvent(QEvent* event) {
    TIconDragList::changeEvent(event);
    // The names are translated where the list is filled.
    if (event->type() == QEvent::LanguageChange || event->type() == QEvent::FontChange)
        Build();
}
