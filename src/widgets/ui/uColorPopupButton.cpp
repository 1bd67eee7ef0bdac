#include "widgets/ui/uColorPopupButton.h"

#include "document/uFBColor.h"
#include "widgets/uColorChoices.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

constexpr int kColumns = 8;
constexpr int kSwatch = 18;

QIcon SwatchIcon(std::int32_t colour, bool none) {
    QPixmap pixmap(kSwatch, kSwatch);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    if (none) {
        painter.setBrush(Qt::white);
        painter.drawRect(0, 0, kSwatch - 1, kSwatch - 1);
        painter.setPen(QPen(Qt::red, 2));
        painter.drawLine(2, kSwatch - 3, kSwatch - 3, 2);
    } else {
        painter.setBrush(ColorToQColor(colour));
        painter.drawRect(0, 0, kSwatch - 1, kSwatch - 1);
    }
    return QIcon(pixmap);
}

QString ColorText(std::int32_t colour) {
    const QColor c = ColorToQColor(colour);
    return QStringLiteral("R %1, G %2, B %3").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

TColorPopupButton::TColorPopupButton(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setIconSize(QSize(kSwatch, kSwatch));
    menu_ = new QMenu(this);
    panel_ = new QWidget(menu_);
    panel_->setObjectName(QStringLiteral("ColorPanel"));
    auto* layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    noColor_ = new QPushButton(panel_);
    noColor_->setObjectName(QStringLiteral("ColorNone"));
    noColor_->setIcon(SwatchIcon(0, true));
    noColor_->setVisible(false);
    connect(noColor_, &QPushButton::clicked, this, &TColorPopupButton::ChooseNoColor);
    layout->addWidget(noColor_);

    auto* standard = new QGridLayout;
    standard->setSpacing(2);
    const auto& colours = StandardColors();
    for (int i = 0; i < int(colours.size()); ++i)
        standard->addWidget(MakeSwatch(QStringLiteral("ColorStandard%1").arg(i), colours[size_t(i)]),
                            i / kColumns, i % kColumns);
    layout->addLayout(standard);

    customGrid_ = new QGridLayout;
    customGrid_->setSpacing(2);
    layout->addLayout(customGrid_);

    more_ = new QPushButton(panel_);
    more_->setObjectName(QStringLiteral("ColorMore"));
    connect(more_, &QPushButton::clicked, this, &TColorPopupButton::ChooseMoreColors);
    layout->addWidget(more_);

    auto* action = new QWidgetAction(menu_);
    action->setDefaultWidget(panel_);
    menu_->addAction(action);
    setMenu(menu_);
    connect(menu_, &QMenu::aboutToShow, this, &TColorPopupButton::RefreshPanel);

    RefreshPanel();
    Retranslate();
    UpdateSwatch();
}

void TColorPopupButton::SetColor(std::int32_t colour) {
    color_ = colour;
    UpdateSwatch();
}

void TColorPopupButton::SetOffersNoColor(bool offers, std::int32_t noColorValue) {
    offersNoColor_ = offers;
    noColorValue_ = noColorValue;
    noColor_->setVisible(offers);
    UpdateSwatch();
}

void TColorPopupButton::Retranslate() {
    noColor_->setText(NoColorCaption());
    more_->setText(MoreColorCaption());
}

void TColorPopupButton::RefreshPanel() {
    while (QLayoutItem* item = customGrid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const std::vector<std::int32_t> custom = CustomColorChoices();
    for (int i = 0; i < int(custom.size()); ++i) {
        const std::int32_t colour = custom[size_t(i)];
        QToolButton* swatch =
            MakeSwatch(QStringLiteral("ColorCustom%1").arg(i), colour < 0 ? 0xFFFFFF : colour);
        if (colour < 0) {
            // An empty slot: a blank cell that chooses nothing.
            swatch->setIcon(QIcon());
            swatch->setEnabled(false);
            swatch->setToolTip(QString());
        }
        customGrid_->addWidget(swatch, i / kColumns, i % kColumns);
    }
}

void TColorPopupButton::ChooseColor(std::int32_t colour) {
    menu_->close();
    Report(colour);
}

void TColorPopupButton::ChooseNoColor() {
    if (!offersNoColor_)
        return;
    menu_->close();
    Report(noColorValue_);
}

void TColorPopupButton::ChooseMoreColors() {
    menu_->close();
    std::int32_t colour = IsNoColor() ? 0xFFFFFF : color_;
    if (PickColor(colour))
        Report(colour);
}

void TColorPopupButton::changeEvent(QEvent* event) {
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
}

void TColorPopupButton::Report(std::int32_t colour) {
    if (colour == color_)
        return;
    color_ = colour;
    UpdateSwatch();
    emit ColorChosen(colour);
}

void TColorPopupButton::UpdateSwatch() {
    setIcon(SwatchIcon(color_, IsNoColor()));
}

QToolButton* TColorPopupButton::MakeSwatch(const QString& name, std::int32_t colour) {
    auto* swatch = new QToolButton(panel_);
    swatch->setObjectName(name);
    swatch->setAutoRaise(true);
    swatch->setIconSize(QSize(kSwatch - 4, kSwatch - 4));
    swatch->setIcon(SwatchIcon(colour, false));
    swatch->setToolTip(ColorText(colour));
    swatch->setAccessibleName(ColorText(colour));
    connect(swatch, &QToolButton::clicked, this, [this, colour] { ChooseColor(colour); });
    return swatch;
}

void RetranslateColorPopups() {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* button = qobject_cast<TColorPopupButton*>(widget))
            button->Retranslate();
}
