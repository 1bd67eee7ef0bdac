#include "app/ui/uMasterAccessibility.h"

#include "i18n/ulocalize.h"

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// "Ö&ffnen..." is read "Öffnen...".
QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

void nameButton(QToolButton& button) {
    const QAction* action = button.defaultAction();
    const QString hint = action ? action->toolTip() : button.toolTip();
    const QString caption = withoutMnemonic(action ? action->iconText() : button.text());
    button.setAccessibleName(caption.isEmpty() ? hint : caption);
    button.setAccessibleDescription(hint);
}

void nameTabs(QTabWidget& tabs, bool contents) {
    for (int i = 0; i < tabs.count(); ++i) {
        const QString caption = withoutMnemonic(tabs.tabText(i));
        tabs.tabBar()->setAccessibleTabName(i, caption);
        QWidget* page = tabs.widget(i);
        page->setAccessibleName(caption);
        if (!contents)
            continue;
        // The page's content: a list, or a browser with its folders and thumbnails.
        for (QWidget* content : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            content->setAccessibleName(caption);
            if (auto* tree = content->findChild<QWidget*>(content->objectName() + QStringLiteral("Tree"))) {
                tree->setAccessibleName(Translate(QStringLiteral("Ordner: %1")).arg(caption));
                if (auto* list = content->findChild<QWidget*>(content->objectName() + QStringLiteral("List")))
                    list->setAccessibleName(caption);
            }
        }
    }
}

} // namespace

namespace MasterAccessibility {

void Apply(QWidget& window) {
    for (QToolButton* button : window.findChildren<QToolButton*>())
        if (!button->objectName().startsWith(QLatin1String("qt_")))
            nameButton(*button);
    for (const char* text :
         {"Ordner: %1", "Zoom", "Vergrößerung der Seitenansicht", "Seite", "Die angezeigte Seite"})
        RegisterText(QString::fromUtf8(text));
    // The side lists take their tab's caption; the panels below name their own controls.
    if (auto* left = window.findChild<QTabWidget*>(QStringLiteral("PageControlLeft")))
        nameTabs(*left, true);
    if (auto* bottom = window.findChild<QTabWidget*>(QStringLiteral("pagecontrolBottom")))
        nameTabs(*bottom, false);
    if (auto* zoom = window.findChild<QSlider*>(QStringLiteral("tbMainViewZoom"))) {
        zoom->setAccessibleName(Translate(QStringLiteral("Zoom")));
        zoom->setAccessibleDescription(Translate(QStringLiteral("Vergrößerung der Seitenansicht")));
    }
    if (auto* label = window.findChild<QLabel*>(QStringLiteral("lblSeitenzahl"))) {
        label->setAccessibleName(Translate(QStringLiteral("Seite")));
        label->setAccessibleDescription(Translate(QStringLiteral("Die angezeigte Seite")));
    }
}

} // namespace MasterAccessibility
