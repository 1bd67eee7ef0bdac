#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
class QWidget;

// A description of the program's windows for checks from outside: with TINTARO_WIDGET_DUMP=FILE
// set, the signal SIGUSR1 makes the program write the JSON of its visible top-level windows into
// FILE, replacing it as a whole.
//
// The file is {"windows": [...]}. Every window and widget is an object with "class",
// "objectName", "geometry" ([x, y, w, h]: a window's on the screen, a widget's relative to its
// window), "visible", "enabled", "toolTip", "accessibleName", "accessibleDescription", "properties" (the
// dynamic properties) and "children" (the child widgets in order), and where they apply "text" (a window's
// title, a button's, label's or edit's text), "checked" (checkable buttons and group boxes), "items" and
// "currentRow" (lists, combo boxes, tab widgets and bars), "tabs" (tab widgets: objectName, text, visible,
// current), "sizes" (splitters), "minimum", "maximum" and "value" (sliders), "actions" (a menu bar's menus,
// and a window's own commands: objectName, text, shortcuts, checkable, checked, enabled, visible, "tag" where
// the item carries a number, a submenu's "menu" and "actions"; a separator only "separator") and a window's
// "minimumSize"
// ([w, h]). Widgets named "qt_..." are
// Qt's own plumbing: they are left out and their children take their place (tab pages, scroll
// contents).
namespace WidgetDump {

QJsonObject DescribeWidget(const QWidget& widget);
// The whole dump of the visible top-level windows.
QByteArray DumpJson();
// Writes the dump into the file, atomically; false (and a trace line) when it cannot be written.
bool WriteDump(const QString& path);

} // namespace WidgetDump

// Delivers SIGUSR1 to the user-interface thread: the signal handler only writes a byte into a
// pipe, whose reading end a socket notifier watches, so the dump runs from the event loop, also
// while a modal dialog runs its own.
class TWidgetDumpTrigger : public QObject {
    Q_OBJECT
public:
    // The trigger for TINTARO_WIDGET_DUMP, or nullptr when the variable is not set or the signal
    // cannot be routed (the program then runs without it).
    static std::unique_ptr<TWidgetDumpTrigger> InstallFromEnvironment();

    explicit TWidgetDumpTrigger(const QString& path);
    ~TWidgetDumpTrigger() override;

    bool IsInstalled() const { return notifier_ != nullptr; }
    const QString& Path() const { return path_; }

signals:
    // After each dump attempt, with whether the file was written.
    void dumped(bool written);

private:
    void readSignal();

    QString path_;
    QSocketNotifier* notifier_ = nullptr;
};
