#include "app/ui/uFormPlacement.h"

#include "platform/uVXRegIniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

std::int32_t stateOf(const QWidget& form) {
    if (form.isMaximized())
        return TFormPlacement::Maximized;
    if (form.isMinimized())
        return TFormPlacement::Minimized;
    return TFormPlacement::Normal;
}

QSize screenSize(const QWidget& form) {
    const QScreen* screen = form.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

} // namespace

void SaveFormPlacement(const QWidget& form, const QString& section) {
    TFormPlacement placement;
    placement.WindowState = stateOf(form);
    // A minimised window still knows its normal bounds.
    placement.Bounds =
        placement.WindowState == TFormPlacement::Normal ? form.geometry() : form.normalGeometry();
    SaveFormPlacement(placement, section);
}

void RestoreFormPlacement(QWidget& form, const QString& section) {
    TFormPlacement current;
    current.WindowState = stateOf(form);
    current.Bounds = form.geometry();
    const TFormPlacement placement = RestoreFormPlacement(current, screenSize(form), section);

    Qt::WindowStates states = form.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
    if (placement.WindowState == TFormPlacement::Maximized)
        states |= Qt::WindowMaximized;
    else if (placement.WindowState == TFormPlacement::Minimized)
        states |= Qt::WindowMinimized;
    else
        form.setGeometry(placement.Bounds);
    form.setWindowState(states);
}
