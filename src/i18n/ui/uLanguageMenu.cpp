#include "i18n/ui/uLanguageMenu.h"

#include "i18n/ui/uLocalizerForm.h"
#include "i18n/ulocalize.h"
#include "platform/uGuarded.h"
#include "platform/uVXRegIniFile.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

struct TLanguageItem {
    const char* Name;
    const char* Caption;
    int Index;
};
constexpr TLanguageItem kItems[] = {
    {"mnuDeutsch", "Deutsch", kLanguageGerman},         {"mnuEnglish", "English", kLanguageEnglish},
    {"mnuFrancais", "Français", kLanguageFrench},       {"mnuEspanol", "Español", kLanguageSpanish},
    {"mnuNederlands", "Nederlands", kLanguageDutch},    {"mnuItaliano", "Italiano", kLanguageItalian},
    {"mnuPortugues", "Português", kLanguagePortuguese}, {"mnuDansk", "Dansk", kLanguageDanish},
};

void checkCurrent(QMenu* menu) {
    for (QAction* action : menu->actions())
        action->setChecked(action->data().toInt() == CurrentLanguage());
}

} // namespace

QMenu* BuildLanguageMenu(QMainWindow* window) {
    auto* menu = new QMenu(QStringLiteral("Sprache"), window);
    menu->setObjectName(QStringLiteral("mnuSprache"));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (const TLanguageItem& item : kItems) {
        auto* action = new QAction(QString::fromUtf8(item.Caption), menu);
        action->setObjectName(QString::fromLatin1(item.Name));
        action->setData(item.Index);
        action->setCheckable(true);
        // Each language is named in its own words, whatever the current one.
        LocalizerForms::KeepUntranslated(action);
        group->addAction(action);
        menu->addAction(action);
        QObject::connect(action, &QAction::triggered, menu, [menu, index = item.Index] {
            Guarded("mnuSpracheClick", [menu, index] {
                bool switched = false;
                try {
                    switched = Localizer().SetLanguage(index);
                } catch (...) {
                    checkCurrent(menu);
                    throw;
                }
                checkCurrent(menu);
                if (switched)
                    VXRegIniFile().WriteInteger(QString(), QStringLiteral("Sprache"), index);
            });
        });
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        for (QAction* action : menu->actions())
            action->setVisible(Localizer().IsAvailable(action->data().toInt()));
        checkCurrent(menu);
    });
    checkCurrent(menu);

    QMenuBar* bar = window->menuBar();
    QAction* before = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->menu()->objectName() == QLatin1String("mnuHilfe"))
            before = action;
    }
    bar->insertMenu(before, menu);
    return menu;
}
