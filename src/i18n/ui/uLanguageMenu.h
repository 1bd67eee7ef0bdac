#pragma once

class QMainWindow;
class QMenu;

// The "Sprache" menu: one radio item per shipped language, each named in its own language and
// tagged with its language index. Opening the menu shows the items the localizer offers; choosing
// one switches the language and, only once the switch succeeded, checks the item and stores the
// index as the setting "Sprache". Inserted into the window's menu bar before "mnuHilfe" (at the
// end when there is none).
QMenu* BuildLanguageMenu(QMainWindow* window);
