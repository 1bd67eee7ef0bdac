#include "app/ui/uMasterToolbar.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QResizeEvent>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

TMasterToolbar::TMasterToolbar(const std::vector<std::pair<QString, QAction*>>& buttons,
                               const std::pair<QString, QAction*>& closeButton, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("panToolbar"));
    setFixedHeight(kHeight);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    bar_ = new QToolBar(this);
    bar_->setObjectName(QStringLiteral("tbMaster"));
    bar_->setMovable(false);
    bar_->setFloatable(false);
    bar_->setContextMenuPolicy(Qt::PreventContextMenu);
    bar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar_->setIconSize(QSize(kIconSize, kIconSize));
    bar_->setAutoFillBackground(true);
    bar_->setBackgroundRole(QPalette::Button);
    for (const auto& [name, action] : buttons) {
        QToolButton* button = makeButton(name, action, bar_);
        // addWidget keeps our button (and its name), where addAction would make one of its own.
        bar_->addWidget(button);
        buttons_.push_back(button);
    }
    close_ = makeButton(closeButton.first, closeButton.second, this);
}

QToolButton* TMasterToolbar::makeButton(const QString& name, QAction* action, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setAutoRaise(true);
    button->setFixedHeight(kButtonHeight);
    button->setMinimumWidth(kButtonHeight);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

int TMasterToolbar::CloseButtonLeft(int clientWidth, int closeWidth, int lastButtonRight) {
    return std::max(lastButtonRight, clientWidth - closeWidth - kRightMargin);
}

int TMasterToolbar::lastButtonRight() const {
    // The buttons the toolbar shows; those in its overflow menu are hidden here.
    int right = 0;
    for (const QToolButton* button : buttons_)
        if (button->isVisibleTo(bar_) && button->parentWidget() == bar_)
            right = std::max(right, bar_->x() + button->geometry().right() + 1);
    return right;
}

void TMasterToolbar::Arrange() {
    const int closeWidth = std::max(close_->sizeHint().width(), close_->minimumWidth());
    const int top = (height() - kButtonHeight) / 2;
    const int room = std::max(0, width() - closeWidth - kRightMargin);
    bar_->setGeometry(0, 0, std::min(room, bar_->sizeHint().width()), height());
    // The toolbar lays its buttons out when it gets its size; the close button goes after them.
    if (auto* layout = bar_->layout())
        layout->activate();
    close_->setGeometry(CloseButtonLeft(width(), closeWidth, lastButtonRight()), top, closeWidth,
                        kButtonHeight);
}

void TMasterToolbar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

bool TMasterToolbar::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // New captions (another language) or a new font change the buttons' widths.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::FontChange ||
        event->type() == QEvent::StyleChange)
        Arrange();
    return handled;
}
