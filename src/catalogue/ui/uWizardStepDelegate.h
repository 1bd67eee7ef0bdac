#pragma once

#include <QStyledItemDelegate>

// Draws one choice of the wizard's list: a band 30 pixels high in the button face colour (the
// highlight colour when selected), shaded from a little lighter at the top to a little darker at
// the bottom, a line in the button shadow colour along its bottom edge, and the caption on the
// right, 10 pixels in from the edge.
class TWizardStepDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kItemHeight = 30;
    static constexpr int kTextIndent = 10;
    // How far the shading lifts the top and lowers the bottom in HSL lightness.
    static constexpr float kLightnessShift = 0.07f;

    // The top and bottom colours of the shading of an item in the given colour.
    static QColor TopColor(const QColor& face);
    static QColor BottomColor(const QColor& face);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
