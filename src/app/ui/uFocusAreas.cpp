#include "app/ui/uFocusAreas.h"

#include <QWidget>

namespace FocusAreas {

int AreaOf(const std::vector<QWidget*>& areas, const QWidget* focus) {
    for (size_t i = 0; focus && i < areas.size(); ++i)
        if (areas[i] && (areas[i] == focus || areas[i]->isAncestorOf(focus)))
            return static_cast<int>(i);
    return -1;
}

int Next(int current, int count, bool backwards) {
    if (count <= 0)
        return -1;
    if (current < 0 || current >= count)
        return backwards ? count - 1 : 0;
    return backwards ? (current + count - 1) % count : (current + 1) % count;
}

namespace {

bool takesTabFocus(const QWidget& w) {
    return (w.focusPolicy() & Qt::TabFocus) && w.isVisible() && w.isEnabled();
}

} // namespace

bool Focus(QWidget* area) {
    if (!area || !area->isVisible())
        return false;
    if (takesTabFocus(*area)) {
        area->setFocus(Qt::OtherFocusReason);
        return true;
    }
    // Children in creation order, depth first: the first control of the area.
    for (QWidget* child : area->findChildren<QWidget*>())
        if (!child->isWindow() && takesTabFocus(*child)) {
            child->setFocus(Qt::OtherFocusReason);
            return true;
        }
    return false;
}

bool Move(const std::vector<QWidget*>& areas, const QWidget* focus, bool backwards) {
    const int count = static_cast<int>(areas.size());
    int at = AreaOf(areas, focus);
    for (int tries = 0; tries < count; ++tries) {
        at = Next(at, count, backwards);
        if (Focus(areas[size_t(at)]))
            return true;
    }
    return false;
}

} // namespace FocusAreas
