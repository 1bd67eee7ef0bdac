#include "catalogue/ui/uWizardStepDelegate.h"

#include "filters/uHSLUtil.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
QColor shifted(const QColor& colour, float lightness) {
    // The colour helpers work on 0x00BBGGRR values.
    const std::int32_t bgr = colour.red() | (colour.green() << 8) | (colour.blue() << 16);
    const std::int32_t result = ShiftColor(bgr, 0, 0, lightness);
    return QColor(result & 0xFF, (result >> 8) & 0xFF, (result >> 16) & 0xFF);
}
} // namespace

QColor TWizardStepDelegate::TopColor(const QColor& face) {
    return shifted(face, kLightnessShift);
}

QColor TWizardStepDelegate::BottomColor(const QColor& face) {
    return shifted(face, -kLightnessShift);
}

void TWizardStepDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    const QColor face = palette.color(selected ? QPalette::Highlight : QPalette::Button);
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, face);
    // The shading runs from the first pixel row's top to the last row's bottom.
    QLinearGradient shading(0, r.top(), 0, r.bottom() + 1);
    shading.setColorAt(0, TopColor(face));
    shading.setColorAt(1, BottomColor(face));
    painter->fillRect(r, shading);
    painter->setPen(palette.color(QPalette::Dark));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    painter->setFont(option.font);
    painter->drawText(r.adjusted(0, 0, -kTextIndent, 0),
                      Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize TWizardStepDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
}
