#include "app/ui/uMasterActions.h"

#include "i18n/ulocalize.h"
#include "platform/uGuarded.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QWidget>

namespace {

QString translated(const char* german) {
    return german ? Translate(QString::fromUtf8(german)) : QString();
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
        action->setIconText(buttonText);
        if (command.Hint)
            action->setToolTip(translated(command.Hint));
        QList<QKeySequence> keys;
        for (const QKeySequence& key : {command.Shortcut, command.SecondShortcut})
            if (!key.isEmpty())
                keys << key;
        action->setShortcuts(keys);
        if (command.Glyph != QStyle::SP_CustomBase) {
            action->setIcon(window->style()->standardIcon(command.Glyph));
            // The glyphs belong to the buttons; the menus stay as they are.
            action->setIconVisibleInMenu(false);
        }
        action->setCheckable(static_cast<bool>(command.Checked));
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

QWidget* TMasterActions::BuildToolbar() {
    auto* toolbar = new QWidget;
    toolbar->setObjectName(QStringLiteral("panToolbar"));
    toolbar->setFixedHeight(64);
    auto* layout = new QHBoxLayout(toolbar);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    for (const TEntry& entry : entries_) {
        if (!entry.Command.Button)
            continue;
        const QString name = QString::fromLatin1(entry.Command.Button);
        // The close button stays at the right end.
        if (name == QLatin1String("BtnSchliessen"))
            layout->addStretch(1);
        auto* button = new QToolButton(toolbar);
        button->setObjectName(name);
        button->setDefaultAction(entry.Action);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFixedHeight(60);
        button->setMinimumWidth(64);
        layout->addWidget(button);
    }
    return toolbar;
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
