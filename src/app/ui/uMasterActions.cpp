#include "app/ui/uMasterActions.h"

#include "app/ui/uMasterGlyphs.h"
#include "app/ui/uMasterToolbar.h"
#include "i18n/ulocalize.h"
#include "platform/uGuarded.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace {

// The German text: the localizer translates the actions and buttons by their names.
QString translated(const char* german) {
    return german ? QString::fromUtf8(german) : QString();
}

} // namespace

TMasterActions::TMasterActions(QWidget* window, std::vector<TCommand> commands) : QObject(window) {
    setObjectName(QStringLiteral("MasterActions"));
    entries_.reserve(commands.size());
    for (TCommand& command : commands) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(command.Name));
        const QString menuText = translated(command.MenuCaption);
        const QString buttonText = command.ButtonCaption ? translated(command.ButtonCaption) : menuText;
        action->setText(menuText.isEmpty() ? buttonText : menuText);
        if (command.ButtonCaption) // otherwise the text stands for it, in every language
            action->setIconText(buttonText);
        if (command.Hint)
            action->setToolTip(translated(command.Hint));
        QList<QKeySequence> keys;
        for (const QKeySequence& key : {command.Shortcut, command.SecondShortcut})
            if (!key.isEmpty())
                keys << key;
        action->setShortcuts(keys);
        if (command.GlyphName) {
            const QIcon fallback = command.Glyph != QStyle::SP_CustomBase
                                       ? window->style()->standardIcon(command.Glyph)
                                       : QIcon();
            action->setIcon(MasterGlyphs::Icon(QString::fromLatin1(command.GlyphName), fallback));
            // The glyphs belong to the buttons; the menus stay as they are.
            action->setIconVisibleInMenu(false);
        }
        action->setCheckable(static_cast<bool>(command.Checked));
        // The shortcut of every command works in the whole window, also where no menu item or
        // visible button carries it (the overflow menu, the keys without either).
        window->addAction(action);
        const char* name = command.Name;
        std::function<void()> run = command.Run;
        connect(action, &QAction::triggered, this, [this, name, run] {
            Guarded(name, run);
            UpdateActions();
        });
        entries_.push_back({std::move(command), action});
    }
    UpdateActions();
}

TMasterActions::~TMasterActions() = default;

QAction* TMasterActions::Action(const QString& name) const {
    for (const TEntry& entry : entries_)
        if (entry.Action->objectName() == name)
            return entry.Action;
    return nullptr;
}

QList<QAction*> TMasterActions::Actions() const {
    QList<QAction*> actions;
    for (const TEntry& entry : entries_)
        actions << entry.Action;
    return actions;
}

void TMasterActions::BuildMenus(QMenuBar* menuBar) {
    const struct {
        TMenuPlace Place;
        const char* Name;
        const char* Caption;
    } menus[] = {{TMenuPlace::Datei, "mnuDatei", "&Datei"},
                 {TMenuPlace::Bearbeiten, "mnuBearbeiten", "&Bearbeiten"},
                 {TMenuPlace::Hilfe, "mnuHilfe", "Hilfe"}};
    for (const auto& place : menus) {
        QMenu* menu = menuBar->addMenu(translated(place.Caption));
        menu->setObjectName(QString::fromLatin1(place.Name));
        for (const TEntry& entry : entries_) {
            if (entry.Command.Menu != place.Place)
                continue;
            if (entry.Command.SeparatorBefore)
                menu->addSeparator();
            menu->addAction(entry.Action);
        }
        // While the menu is open its items show their rules; closed, the shortcuts stay live.
        connect(menu, &QMenu::aboutToShow, this, [this, place = place.Place] {
            for (const TEntry& entry : entries_)
                if (entry.Command.Menu == place)
                    applyRule(entry, true);
        });
        connect(menu, &QMenu::aboutToHide, this, [this, place = place.Place] {
            for (const TEntry& entry : entries_)
                if (entry.Command.Menu == place)
                    applyRule(entry, false);
        });
    }
}

TMasterToolbar* TMasterActions::BuildToolbar() {
    std::vector<std::pair<QString, QAction*>> buttons;
    std::pair<QString, QAction*> close;
    for (const TEntry& entry : entries_) {
        if (!entry.Command.Button)
            continue;
        const QString name = QString::fromLatin1(entry.Command.Button);
        if (name == QLatin1String("BtnSchliessen"))
            close = {name, entry.Action};
        else
            buttons.emplace_back(name, entry.Action);
    }
    return new TMasterToolbar(buttons, close);
}

void TMasterActions::UpdateActions() {
    for (const TEntry& entry : entries_)
        applyRule(entry, false);
}

void TMasterActions::applyRule(const TEntry& entry, bool menuOpen) const {
    const TCommand& command = entry.Command;
    bool enabled = true;
    if (command.Enabling == TEnabling::ByRule || (command.Enabling == TEnabling::ShortcutLive && menuOpen))
        enabled = !command.Enabled || command.Enabled();
    entry.Action->setEnabled(enabled);
    if (command.Checked && enabled)
        entry.Action->setChecked(command.Checked());
}
