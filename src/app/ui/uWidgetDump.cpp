#include "app/ui/uWidgetDump.h"

#include "platform/Exception.h"
#include "platform/uAtomicFile.h"
#include "platform/uDebug.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <optional>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool isPlumbing(const QObject& object) {
    return object.objectName().startsWith(QLatin1String("qt_"));
}

QJsonArray rect(const QRect& r) {
    return QJsonArray{r.x(), r.y(), r.width(), r.height()};
}

// The text a widget shows, when it has one.
std::optional<QString> textOf(const QWidget& w) {
    if (w.isWindow())
        return w.windowTitle();
    if (auto* b = qobject_cast<const QAbstractButton*>(&w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(&w))
        return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(&w))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(&w))
        return c->currentText();
    if (auto* g = qobject_cast<const QGroupBox*>(&w))
        return g->title();
    if (auto* s = qobject_cast<const QAbstractSpinBox*>(&w))
        return s->text();
    if (auto* t = qobject_cast<const QTextEdit*>(&w))
        return t->toPlainText();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(&w))
        return p->toPlainText();
    return std::nullopt;
}

std::optional<bool> checkedOf(const QWidget& w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(&w); b && b->isCheckable())
        return b->isChecked();
    if (auto* g = qobject_cast<const QGroupBox*>(&w); g && g->isCheckable())
        return g->isChecked();
    return std::nullopt;
}

void addItems(const QWidget& w, QJsonObject& json) {
    QJsonArray items;
    int current = -1;
    if (auto* view = qobject_cast<const QAbstractItemView*>(&w)) {
        const QAbstractItemModel* model = view->model();
        if (!model)
            return;
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < model->rowCount(root); ++row)
            items.append(model->index(row, 0, root).data(Qt::DisplayRole).toString());
        current = view->currentIndex().isValid() ? view->currentIndex().row() : -1;
    } else if (auto* combo = qobject_cast<const QComboBox*>(&w)) {
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        current = combo->currentIndex();
    } else if (auto* tabWidget = qobject_cast<const QTabWidget*>(&w)) {
        // Its tab bar is Qt's plumbing and left out, so the tab widget lists the tabs.
        for (int i = 0; i < tabWidget->count(); ++i)
            items.append(tabWidget->tabText(i));
        current = tabWidget->currentIndex();
    } else if (auto* tabs = qobject_cast<const QTabBar*>(&w)) {
        for (int i = 0; i < tabs->count(); ++i)
            items.append(tabs->tabText(i));
        current = tabs->currentIndex();
    } else {
        return;
    }
    json.insert(QStringLiteral("items"), items);
    json.insert(QStringLiteral("currentRow"), current);
}

QJsonObject describeAction(const QAction& action) {
    QJsonObject json;
    json.insert(QStringLiteral("objectName"), action.objectName());
    if (action.isSeparator()) {
        json.insert(QStringLiteral("separator"), true);
        return json;
    }
    json.insert(QStringLiteral("text"), action.text());
    QJsonArray keys;
    for (const QKeySequence& key : action.shortcuts())
        keys.append(key.toString(QKeySequence::PortableText));
    json.insert(QStringLiteral("shortcuts"), keys);
    json.insert(QStringLiteral("checkable"), action.isCheckable());
    json.insert(QStringLiteral("checked"), action.isChecked());
    json.insert(QStringLiteral("enabled"), action.isEnabled());
    json.insert(QStringLiteral("visible"), action.isVisible());
    // The tag of an item that carries a number (the language items their language index).
    bool isNumber = false;
    const int tag = action.data().toInt(&isNumber);
    if (isNumber)
        json.insert(QStringLiteral("tag"), tag);
    if (const QMenu* menu = action.menu()) {
        json.insert(QStringLiteral("menu"), menu->objectName());
        QJsonArray items;
        for (const QAction* item : menu->actions())
            items.append(describeAction(*item));
        json.insert(QStringLiteral("actions"), items);
    }
    return json;
}

QJsonArray describeActions(const QList<QAction*>& actions) {
    QJsonArray list;
    for (const QAction* action : actions)
        list.append(describeAction(*action));
    return list;
}

// What tab sets, splitters, sliders and menu bars hold beyond the common fields.
void addControlState(const QWidget& w, QJsonObject& json) {
    if (auto* bar = qobject_cast<const QMenuBar*>(&w)) {
        json.insert(QStringLiteral("actions"), describeActions(bar->actions()));
    } else if (auto* tabWidget = qobject_cast<const QTabWidget*>(&w)) {
        QJsonArray tabs;
        for (int i = 0; i < tabWidget->count(); ++i)
            tabs.append(QJsonObject{{QStringLiteral("objectName"), tabWidget->widget(i)->objectName()},
                                    {QStringLiteral("text"), tabWidget->tabText(i)},
                                    {QStringLiteral("visible"), tabWidget->isTabVisible(i)},
                                    {QStringLiteral("current"), tabWidget->currentIndex() == i}});
        json.insert(QStringLiteral("tabs"), tabs);
    } else if (auto* splitter = qobject_cast<const QSplitter*>(&w)) {
        QJsonArray sizes;
        for (int size : splitter->sizes())
            sizes.append(size);
        json.insert(QStringLiteral("sizes"), sizes);
    } else if (auto* slider = qobject_cast<const QAbstractSlider*>(&w)) {
        json.insert(QStringLiteral("minimum"), slider->minimum());
        json.insert(QStringLiteral("maximum"), slider->maximum());
        json.insert(QStringLiteral("value"), slider->value());
    }
    if (w.isWindow()) {
        json.insert(QStringLiteral("minimumSize"), QJsonArray{w.minimumWidth(), w.minimumHeight()});
        // The window's own commands with their keys (those without a menu item included).
        if (!w.actions().isEmpty())
            json.insert(QStringLiteral("actions"), describeActions(w.actions()));
    }
}

QJsonObject dynamicProperties(const QObject& object) {
    QJsonObject properties;
    for (const QByteArray& name : object.dynamicPropertyNames()) {
        if (name.startsWith("_q_"))
            continue; // Qt's own bookkeeping
        properties.insert(QString::fromUtf8(name),
                          QJsonValue::fromVariant(object.property(name.constData())));
    }
    return properties;
}

// The described children of a widget, with plumbing widgets replaced by their own children.
void addChildren(const QWidget& parent, QJsonArray& children) {
    for (QObject* child : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow())
            continue;
        if (isPlumbing(*widget))
            addChildren(*widget, children);
        else
            children.append(WidgetDump::DescribeWidget(*widget));
    }
}

// The signal handler's end of the pipe and the notifier's.
int gPipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(gPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

namespace WidgetDump {

QJsonObject DescribeWidget(const QWidget& widget) {
    QJsonObject json;
    json.insert(QStringLiteral("class"), QString::fromLatin1(widget.metaObject()->className()));
    json.insert(QStringLiteral("objectName"), widget.objectName());
    if (widget.isWindow()) {
        json.insert(QStringLiteral("geometry"), rect(widget.geometry()));
    } else {
        const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
        json.insert(QStringLiteral("geometry"), rect(QRect(at, widget.size())));
    }
    json.insert(QStringLiteral("visible"), widget.isVisible());
    json.insert(QStringLiteral("enabled"), widget.isEnabled());
    if (const auto text = textOf(widget))
        json.insert(QStringLiteral("text"), *text);
    json.insert(QStringLiteral("toolTip"), widget.toolTip());
    json.insert(QStringLiteral("accessibleName"), widget.accessibleName());
    json.insert(QStringLiteral("accessibleDescription"), widget.accessibleDescription());
    if (const auto checked = checkedOf(widget))
        json.insert(QStringLiteral("checked"), *checked);
    addItems(widget, json);
    addControlState(widget, json);
    json.insert(QStringLiteral("properties"), dynamicProperties(widget));
    QJsonArray children;
    addChildren(widget, children);
    json.insert(QStringLiteral("children"), children);
    return json;
}

QByteArray DumpJson() {
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !isPlumbing(*w))
            windows.append(w);
    // Qt keeps its top-level windows in no particular order; the dump lists them by class and name.
    std::stable_sort(windows.begin(), windows.end(), [](const QWidget* a, const QWidget* b) {
        const QString ka = QString::fromLatin1(a->metaObject()->className()) + u'\n' + a->objectName();
        const QString kb = QString::fromLatin1(b->metaObject()->className()) + u'\n' + b->objectName();
        return ka < kb;
    });
    QJsonArray list;
    for (const QWidget* w : windows)
        list.append(DescribeWidget(*w));
    return QJsonDocument(QJsonObject{{QStringLiteral("windows"), list}}).toJson(QJsonDocument::Indented);
}

bool WriteDump(const QString& path) {
    try {
        const QByteArray json = DumpJson();
        TAtomicFile file(path);
        if (file.write(json) != json.size()) {
            Debug().Trace(QStringLiteral("Fensterabzug %1 nicht geschrieben").arg(path));
            return false;
        }
        file.Commit();
        return true;
    } catch (const Exception& e) {
        Debug().Trace(QStringLiteral("Fensterabzug %1 nicht geschrieben: %2").arg(path, e.message()));
        return false;
    }
}

} // namespace WidgetDump

std::unique_ptr<TWidgetDumpTrigger> TWidgetDumpTrigger::InstallFromEnvironment() {
    const QString path = qEnvironmentVariable("TINTARO_WIDGET_DUMP");
    if (path.isEmpty())
        return nullptr;
    auto trigger = std::make_unique<TWidgetDumpTrigger>(path);
    if (!trigger->IsInstalled())
        return nullptr;
    return trigger;
}

TWidgetDumpTrigger::TWidgetDumpTrigger(const QString& path) : path_(path) {
    if (gPipe[0] != -1) {
        Debug().Trace(QStringLiteral("Fensterabzug: schon eingerichtet"));
        return;
    }
    if (::pipe2(gPipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        gPipe[0] = gPipe[1] = -1;
        Debug().Trace(QStringLiteral("Fensterabzug: keine Pipe"));
        return;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGUSR1, &action, nullptr) != 0) {
        ::close(gPipe[0]);
        ::close(gPipe[1]);
        gPipe[0] = gPipe[1] = -1;
        Debug().Trace(QStringLiteral("Fensterabzug: SIGUSR1 nicht verfügbar"));
        return;
    }
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TWidgetDumpTrigger::readSignal);
}

TWidgetDumpTrigger::~TWidgetDumpTrigger() {
    if (!notifier_)
        return;
    delete notifier_;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void TWidgetDumpTrigger::readSignal() {
    // Several signals before the loop came round give one dump.
    char buffer[64];
    while (::read(gPipe[0], buffer, sizeof buffer) > 0) {
    }
    emit dumped(WidgetDump::WriteDump(path_));
}
