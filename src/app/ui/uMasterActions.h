#pragma once

#include "editing/uUndo.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QStyle>

#include <functional>
#include <vector>

class QAction;
class QMenuBar;
class QWidget;
class TMasterToolbar;

// Every command of the main window exists once, as a QAction: the menu items are the actions,
// each toolbar button takes its action through setDefaultAction, and UpdateActions sets every
// enabled and checked state from the commands' rules in one pass.
//
// ADDING A COMMAND is a one-place change: add one row to MasterCommands() below (its object
// name, texts, shortcut, menu, toolbar button, handler and enabling rule). The menu item, the
// toolbar button, the shortcut, the enabling and the error report of its handler all follow
// from the row; write the handler itself as a public member of TMaster (or of the class that
// does the work). Keep the rows in menu order: the menus list their rows top to bottom, the
// toolbar its buttons left to right.

// Where a command sits in the menu bar.
enum class TMenuPlace { None, Datei, Bearbeiten, Hilfe };

// How a command's enabled state is kept.
enum class TEnabling {
    Always, // always enabled
    ByRule, // enabled exactly when the rule holds
    // The menu item shows the rule while its menu is open; otherwise the action stays enabled,
    // so its shortcut reaches the handler, which answers itself (undo beeps with nothing to undo).
    ShortcutLive,
};

struct TCommand {
    const char* Name = nullptr;        // object name: the menu item's component name, else the button's
    const char* MenuCaption = nullptr; // German menu caption (also the action's text); nullptr: no menu item
    const char* ButtonCaption = nullptr; // German button caption (iconText); nullptr: as the menu caption
    const char* Hint = nullptr;          // German button hint (toolTip)
    QKeySequence Shortcut = {};
    QKeySequence SecondShortcut = {}; // a second key, where desktops differ
    TMenuPlace Menu = TMenuPlace::None;
    bool SeparatorBefore = false;    // in the menu
    const char* Button = nullptr;    // object name of the toolbar button that takes the action
    const char* GlyphName = nullptr; // the button's glyph (MasterGlyphs); nullptr: none
    QStyle::StandardPixmap Glyph = QStyle::SP_CustomBase; // Qt's glyph where neither theme nor we have one
    std::function<void()> Run = {};
    TEnabling Enabling = TEnabling::Always;
    std::function<bool()> Enabled = {}; // the rule of ByRule and ShortcutLive
    std::function<bool()> Checked = {}; // a toggle: pressed when this holds (applied while enabled)
};

class TMasterActions : public QObject {
    Q_OBJECT
public:
    // Creates one action per command, as children of this object (so findChild on the window
    // finds them by name). Every handler runs inside Guarded under the command's name.
    TMasterActions(QWidget* window, std::vector<TCommand> commands);
    ~TMasterActions() override;

    // The action of that object name; nullptr for none.
    QAction* Action(const QString& name) const;
    QList<QAction*> Actions() const;

    // The menus "&Datei", "&Bearbeiten" and "Hilfe" with their items.
    void BuildMenus(QMenuBar* menuBar);
    // The toolbar "panToolbar": one button per command that names one, the close button at the
    // right end.
    TMasterToolbar* BuildToolbar();

    // Every enabled and checked state from the rules.
    void UpdateActions();

private:
    struct TEntry {
        TCommand Command;
        QAction* Action;
    };
    void applyRule(const TEntry& entry, bool menuOpen) const;

    std::vector<TEntry> entries_;
};

// The commands of the main window. A template over the window, so that this header needs no
// include of the window's header (which includes this one): it is instantiated once, by TMaster.
template <class Master>
std::vector<TCommand> MasterCommands(Master& m) {
    const auto editor = [&m] { return m.RichTextEditorHasFocus(); };
    return {
        {.Name = "mnuDateiNeu",
         .MenuCaption = "&Neu",
         .ButtonCaption = "Neu",
         .Hint = "Neues Album",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_N),
         .Menu = TMenuPlace::Datei,
         .Button = "BtnAlbumNeu",
         .GlyphName = "neu",
         .Glyph = QStyle::SP_FileIcon,
         .Run = [&m] { m.mnuDateiNeuClick(); }},
        {.Name = "mnuDateiOeffnen",
         .MenuCaption = "Ö&ffnen...",
         .ButtonCaption = "Öffnen",
         .Hint = "Album öffnen",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_O),
         .Menu = TMenuPlace::Datei,
         .Button = "BtnAlbumOeffnen",
         .GlyphName = "oeffnen",
         .Glyph = QStyle::SP_DialogOpenButton,
         .Run = [&m] { m.mnuDateiOeffnenClick(); }},
        {.Name = "mnuDateiSpeichern",
         .MenuCaption = "&Speichern",
         .ButtonCaption = "Speichern",
         .Hint = "Album speichern",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_S),
         .Menu = TMenuPlace::Datei,
         .Button = "BtnAlbumSpeichern",
         .GlyphName = "speichern",
         .Glyph = QStyle::SP_DialogSaveButton,
         .Run = [&m] { m.mnuDateiSpeichernClick(); }},
        {.Name = "mnuDateiSpeichernUnter",
         .MenuCaption = "Speichern &unter...",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         .Menu = TMenuPlace::Datei,
         .Run = [&m] { m.mnuDateiSpeichernUnterClick(); }},
        {.Name = "mnuDrucken",
         .MenuCaption = "&Drucken...",
         .ButtonCaption = "Drucken",
         .Hint = "Album drucken",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_P),
         .Menu = TMenuPlace::Datei,
         .SeparatorBefore = true,
         .Button = "BtnAlbumDrucken",
         .GlyphName = "drucken",
         .Glyph = QStyle::SP_ComputerIcon,
         .Run = [&m] { m.mnuDruckenClick(); }},
        {.Name = "mnuAlsPdfSpeichern",
         .MenuCaption = "Als &PDF speichern...",
         .Menu = TMenuPlace::Datei,
         .Run = [&m] { m.mnuAlsPdfSpeichernClick(); }},
        {.Name = "mnuDruckereinrichtung",
         .MenuCaption = "Drucker&einrichtung...",
         .Menu = TMenuPlace::Datei,
         .Run = [&m] { m.mnuDruckereinrichtungClick(); }},
        {.Name = "mnuBeenden",
         .MenuCaption = "&Beenden",
         .Shortcut = QKeySequence(Qt::ALT | Qt::Key_F4),
         .SecondShortcut = QKeySequence(Qt::CTRL | Qt::Key_Q),
         .Menu = TMenuPlace::Datei,
         .SeparatorBefore = true,
         .Run = [&m] { m.mnuBeendenClick(); }},

        {.Name = "BtnEntfernen",
         .ButtonCaption = "Entfernen",
         .Hint = "Entfernen",
         .Button = "BtnEntfernen",
         .GlyphName = "entfernen",
         .Glyph = QStyle::SP_TrashIcon,
         .Run = [&m] { m.BtnEntfernenClick(); },
         .Enabling = TEnabling::ByRule,
         .Enabled = [&m] { return m.MainView() && m.MainView()->CanDelete(); }},
        {.Name = "BtnBlattausrichtung",
         .ButtonCaption = "Ausrichtung",
         .Hint = "Ausrichtung",
         .Button = "BtnBlattausrichtung",
         .GlyphName = "ausrichtung",
         .Glyph = QStyle::SP_BrowserReload,
         .Run = [&m] { m.BtnBlattausrichtungClick(); }},
        {.Name = "BtnTextEinfuegen",
         .ButtonCaption = "Text",
         .Hint = "Text einfügen",
         .Button = "BtnTextEinfuegen",
         .GlyphName = "text",
         .Glyph = QStyle::SP_FileDialogDetailedView,
         .Run = [&m] { m.BtnTextEinfuegenClick(); }},
        {.Name = "BtnBilderschatten",
         .ButtonCaption = "Bilderschatten",
         .Hint = "Bilder mit Schatten hinterlegen",
         .Button = "BtnBilderschatten",
         .GlyphName = "schatten",
         .Glyph = QStyle::SP_TitleBarShadeButton,
         .Run = [&m] { m.BtnBilderschattenClick(); },
         .Enabling = TEnabling::ByRule,
         .Enabled = [&m] { return m.Document().PictureShadowsAllowed; },
         .Checked = [&m] { return m.Document().PicturesHaveShadows; }},
        {.Name = "BtnRueckgaengig",
         .ButtonCaption = "Undo",
         .Hint = "Rückgängig",
         .Button = "BtnRueckgaengig",
         .GlyphName = "undo",
         .Glyph = QStyle::SP_ArrowBack,
         .Run = [&m] { m.BtnRueckgaengigClick(); },
         .Enabling = TEnabling::ByRule,
         .Enabled = [editor] { return editor() || UndoManager().CanUndo(); }},

        {.Name = "mnuRueckgaengig",
         .MenuCaption = "Rückgängig",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_Z),
         .Menu = TMenuPlace::Bearbeiten,
         .Run = [&m] { m.mnuRueckgaengigClick(); },
         .Enabling = TEnabling::ShortcutLive,
         .Enabled = [editor] { return editor() || UndoManager().CanUndo(); }},
        {.Name = "mnuWiederherstellen",
         .MenuCaption = "Wiederherstellen",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
         .SecondShortcut = QKeySequence(Qt::CTRL | Qt::Key_Y),
         .Menu = TMenuPlace::Bearbeiten,
         .Run = [&m] { m.mnuWiederherstellenClick(); },
         .Enabling = TEnabling::ShortcutLive,
         .Enabled = [editor] { return editor() || UndoManager().CanRedo(); }},
        {.Name = "mnuBearbeitenAusschneiden",
         .MenuCaption = "&Ausschneiden",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_X),
         .Menu = TMenuPlace::Bearbeiten,
         .SeparatorBefore = true,
         .Run = [&m] { m.mnuBearbeitenAusschneidenClick(); },
         .Enabling = TEnabling::ByRule,
         .Enabled = [&m, editor] { return editor() || (m.MainView() && m.MainView()->CanCopy()); }},
        {.Name = "mnuBearbeitenKopieren",
         .MenuCaption = "&Kopieren",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_C),
         .Menu = TMenuPlace::Bearbeiten,
         .Run = [&m] { m.mnuBearbeitenKopierenClick(); },
         .Enabling = TEnabling::ByRule,
         .Enabled = [&m, editor] { return editor() || (m.MainView() && m.MainView()->CanCopy()); }},
        {.Name = "mnuBearbeitenEinfuegen",
         .MenuCaption = "&Einfügen",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_V),
         .Menu = TMenuPlace::Bearbeiten,
         .Run = [&m] { m.mnuBearbeitenEinfuegenClick(); },
         .Enabling = TEnabling::ByRule,
         .Enabled = [&m, editor] { return editor() || (m.MainView() && m.MainView()->CanPaste()); }},

        {.Name = "mnuHilfeUeber",
         .MenuCaption = "Über",
         .Menu = TMenuPlace::Hilfe,
         .Run = [&m] { m.mnuHilfeUeberClick(); }},

        {.Name = "BtnSchliessen",
         .ButtonCaption = "Schließen",
         .Hint = "Album schließen",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_W),
         .Button = "BtnSchliessen",
         .GlyphName = "schliessen",
         .Glyph = QStyle::SP_DialogCloseButton,
         .Run = [&m] { m.BtnSchliessenClick(); }},
        // The two buttons of the view header (placed by the window, not in the toolbar).
        {.Name = "BtnSeiteZurueck",
         .ButtonCaption = "",
         .Hint = "Vorherige Seite",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_PageUp),
         .Run = [&m] { m.BtnSeiteZurueckClick(); }},
        {.Name = "BtnSeiteVor",
         .ButtonCaption = "",
         .Hint = "Nächste Seite",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_PageDown),
         .Run = [&m] { m.BtnSeiteVorClick(); }},

        // Keys of the desktop without a menu item or button: the zoom track bar in steps of 50,
        // the menu bar, and the focus between the left tabs, the page view and the lower tabs.
        {.Name = "actZoomGroesser",
         .MenuCaption = "Vergrößern",
         .Shortcut = QKeySequence(QKeySequence::ZoomIn),
         .SecondShortcut = QKeySequence(Qt::CTRL | Qt::Key_Equal),
         .Run = [&m] { m.ZoomStep(+1); }},
        {.Name = "actZoomKleiner",
         .MenuCaption = "Verkleinern",
         .Shortcut = QKeySequence(QKeySequence::ZoomOut),
         .Run = [&m] { m.ZoomStep(-1); }},
        {.Name = "actZoomNormal",
         .MenuCaption = "Originalgröße",
         .Shortcut = QKeySequence(Qt::CTRL | Qt::Key_0),
         .Run = [&m] { m.ZoomStep(0); }},
        {.Name = "actMenueleiste",
         .MenuCaption = "Menüleiste",
         .Shortcut = QKeySequence(Qt::Key_F10),
         .Run = [&m] { m.OpenMenuBar(); }},
        {.Name = "actFokusWeiter",
         .MenuCaption = "Nächster Bereich",
         .Shortcut = QKeySequence(Qt::Key_F6),
         .Run = [&m] { m.MoveFocusArea(false); }},
        {.Name = "actFokusZurueck",
         .MenuCaption = "Vorheriger Bereich",
         .Shortcut = QKeySequence(Qt::SHIFT | Qt::Key_F6),
         .Run = [&m] { m.MoveFocusArea(true); }},
    };
}
