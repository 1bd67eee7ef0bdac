#pragma once

#include <QWidget>

#include <utility>
#include <vector>

class QAction;
class QToolBar;
class QToolButton;

// The band under the title ("panToolbar", 64 pixels high, in button face): a toolbar of buttons
// with their captions under 32-pixel glyphs and, right of it, the close-project button.
//
// The close button stands at the larger of the last other button's right edge and the client
// width - its width - 5: at the right end, never over another button. The toolbar gets the width
// left of that place; what does not fit goes to its overflow menu.
class TMasterToolbar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 64;
    static constexpr int kButtonHeight = 60;
    static constexpr int kIconSize = 32;
    static constexpr int kRightMargin = 5;

    // buttons: (component name, action) in order, left to right; the close button is separate.
    TMasterToolbar(const std::vector<std::pair<QString, QAction*>>& buttons,
                   const std::pair<QString, QAction*>& closeButton, QWidget* parent = nullptr);

    // The close button's left edge for a client width.
    static int CloseButtonLeft(int clientWidth, int closeWidth, int lastButtonRight);

    QToolBar* Bar() const { return bar_; }
    QToolButton* CloseButton() const { return close_; }
    // The other buttons in order.
    const std::vector<QToolButton*>& Buttons() const { return buttons_; }
    // Places the toolbar and the close button (resize and caption changes).
    void Arrange();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    QToolButton* makeButton(const QString& name, QAction* action, QWidget* parent);
    int lastButtonRight() const;

    QToolBar* bar_;
    QToolButton* close_;
    std::vector<QToolButton*> buttons_;
};
