#pragma once

#include <vector>

class QWidget;

// The areas the window's F6 and Shift+F6 walk through, in order, as on other desktops: the focus
// moves from the area holding it to the next one (the last wraps round to the first).
namespace FocusAreas {

// The index of the area that is or holds `focus`; -1 when none does.
int AreaOf(const std::vector<QWidget*>& areas, const QWidget* focus);
// The area after (or before) `current` among `count`; from none (-1), the first (or the last).
int Next(int current, int count, bool backwards);
// Gives the area the focus: itself when it takes the focus by Tab, else its first shown and
// enabled child that does. False when nothing in it can take the focus.
bool Focus(QWidget* area);
// Moves the focus on from the area holding it, past areas that cannot take it. False when none can.
bool Move(const std::vector<QWidget*>& areas, const QWidget* focus, bool backwards);

} // namespace FocusAreas
