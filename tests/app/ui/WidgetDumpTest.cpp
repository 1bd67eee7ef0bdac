// The widget dump asked for through SIGUSR1, as checks from outside use it.
#include "app/ui/FMainform.h"
#include "app/ui/uWidgetDump.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "document/uFotobuchDocument.h"
#include "support/GuiTest.h"
#include "support/TestSupport.h"

#include "ScriptedPrompts.h"
#include "support/WidgetDumpJson.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QJsonObject readDump(const QString& path) {
    return QJsonDocument::fromJson(TestSupport::readFile(path)).object();
}

QJsonObject windowNamed(const QJsonObject& dump, const QString& name) {
    for (const QJsonValue& w : dump.value(QLatin1String("windows")).toArray())
        if (w.toObject().value(QLatin1String("objectName")).toString() == name)
            return w.toObject();
    return {};
}

// Signals this process and waits until the dump has been attempted.
bool signalAndWait(TWidgetDumpTrigger& trigger) {
    QSignalSpy spy(&trigger, &TWidgetDumpTrigger::dumped);
    ::raise(SIGUSR1);
    if (!spy.wait(5000))
        return false;
    return spy.front().front().toBool();
}

} // namespace

TEST(WidgetDump, DescribesWindowsWidgetsAndLeavesQtsPlumbingOut) {
    QWidget window;
    window.setObjectName(QStringLiteral("Probe"));
    window.setWindowTitle(QStringLiteral("Probefenster"));
    auto* layout = new QVBoxLayout(&window);
    auto* tabs = new QTabWidget(&window);
    tabs->setObjectName(QStringLiteral("tabs"));
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page1"));
    auto* box = new QCheckBox(QStringLiteral("Randlos"), page);
    box->setObjectName(QStringLiteral("cbRandlos"));
    box->setCheckable(true);
    box->setChecked(true);
    box->setToolTip(QStringLiteral("ohne Rand"));
    box->setProperty("picture", QStringLiteral("WIZ"));
    tabs->addTab(page, QStringLiteral("Eins"));
    auto* scroll = new QScrollArea(&window);
    auto* inner = new QLabel(QStringLiteral("innen"));
    inner->setObjectName(QStringLiteral("lblInnen"));
    scroll->setWidget(inner);
    layout->addWidget(tabs);
    layout->addWidget(scroll);
    window.resize(300, 240);
    window.show();

    const QJsonObject json = WidgetDump::DescribeWidget(window);
    EXPECT_EQ(json.value(QLatin1String("class")).toString(), QStringLiteral("QWidget"));
    EXPECT_EQ(json.value(QLatin1String("text")).toString(), QStringLiteral("Probefenster"));
    const QJsonArray geometry = json.value(QLatin1String("geometry")).toArray();
    EXPECT_EQ(geometry.size(), 4);
    EXPECT_EQ(geometry[2].toInt(), 300);

    // The tab page stands under the tab widget although Qt keeps it in a plumbing stack.
    const QJsonObject tabWidget = TestSupport::findNamed(json, QStringLiteral("tabs"));
    bool pageDirectlyBelow = false;
    for (const QJsonValue& c : tabWidget.value(QLatin1String("children")).toArray())
        pageDirectlyBelow |=
            c.toObject().value(QLatin1String("objectName")).toString() == QStringLiteral("page1");
    EXPECT_TRUE(pageDirectlyBelow);
    const QJsonObject check = TestSupport::findNamed(json, QStringLiteral("cbRandlos"));
    EXPECT_EQ(check.value(QLatin1String("class")).toString(), QStringLiteral("QCheckBox"));
    EXPECT_EQ(check.value(QLatin1String("text")).toString(), QStringLiteral("Randlos"));
    EXPECT_TRUE(check.value(QLatin1String("checked")).toBool());
    EXPECT_EQ(check.value(QLatin1String("toolTip")).toString(), QStringLiteral("ohne Rand"));
    EXPECT_EQ(check.value(QLatin1String("properties")).toObject().value(QLatin1String("picture")).toString(),
              QStringLiteral("WIZ"));
    // Geometry is relative to the window.
    const QPoint at = box->mapTo(&window, QPoint(0, 0));
    EXPECT_EQ(check.value(QLatin1String("geometry")).toArray()[0].toInt(), at.x());
    EXPECT_EQ(check.value(QLatin1String("geometry")).toArray()[1].toInt(), at.y());
    EXPECT_FALSE(check.contains(QLatin1String("items")));
    // The scroll area's contents are kept, its viewport left out.
    EXPECT_FALSE(TestSupport::findNamed(json, QStringLiteral("lblInnen")).isEmpty());
    EXPECT_TRUE(TestSupport::findNamed(json, QStringLiteral("qt_scrollarea_viewport")).isEmpty());
    EXPECT_TRUE(TestSupport::findNamed(json, QStringLiteral("qt_tabwidget_tabbar")).isEmpty());
    EXPECT_EQ(tabWidget.value(QLatin1String("items")).toArray(), (QJsonArray{QStringLiteral("Eins")}));
    EXPECT_EQ(tabWidget.value(QLatin1String("currentRow")).toInt(-1), 0);
}

TEST(WidgetDump, SignalWritesTheFileAlsoWhileTheWizardRunsModally) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dump.json"));
    TWidgetDumpTrigger trigger(path);
    ASSERT_TRUE(trigger.IsInstalled());

    TFBDocument document;
    TDateiNeuDlg wizard(nullptr, QDate(2025, 12, 31));
    bool written = false;
    QTimer::singleShot(0, &wizard, [&] {
        written = signalAndWait(trigger);
        wizard.done(TDateiNeuDlg::ResultCancelled);
    });
    wizard.Execute(document);
    ASSERT_TRUE(written);

    const QJsonObject dump = readDump(path);
    const QJsonObject dlg = windowNamed(dump, QStringLiteral("DateiNeuDlg"));
    ASSERT_FALSE(dlg.isEmpty());
    EXPECT_EQ(dlg.value(QLatin1String("class")).toString(), QStringLiteral("TDateiNeuDlg"));
    EXPECT_EQ(dlg.value(QLatin1String("text")).toString(), QStringLiteral("Neues Projekt anlegen"));
    EXPECT_TRUE(dlg.value(QLatin1String("visible")).toBool());
    const QJsonObject list = TestSupport::findNamed(dlg, QStringLiteral("lbSteps"));
    EXPECT_EQ(list.value(QLatin1String("items")).toArray().size(), 7);
    EXPECT_EQ(list.value(QLatin1String("items")).toArray()[1].toString(), QStringLiteral("PhotoBook 10x15"));
    EXPECT_EQ(list.value(QLatin1String("currentRow")).toInt(-1), 0);
    EXPECT_EQ(list.value(QLatin1String("geometry")).toArray(), (QJsonArray{0, 40, 180, 300}));
    const QJsonObject preview = TestSupport::findNamed(dlg, QStringLiteral("imgPreview"));
    EXPECT_EQ(
        preview.value(QLatin1String("properties")).toObject().value(QLatin1String("picture")).toString(),
        QStringLiteral("WIZ_PHOTOBOOKLET"));
    EXPECT_EQ(
        TestSupport::findNamed(dlg, QStringLiteral("btnWeiter")).value(QLatin1String("text")).toString(),
        QStringLiteral("Weiter >>"));
    for (const char* key : {"class", "objectName", "geometry", "visible", "enabled", "toolTip",
                            "accessibleName", "properties", "children"})
        EXPECT_TRUE(preview.contains(QLatin1String(key))) << key;
}

TEST(WidgetDump, AnUnwritableFileIsIgnoredAndTheNextSignalStillWorks) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kein/Ordner/dump.json"));
    QWidget window;
    window.show();
    {
        TWidgetDumpTrigger trigger(path);
        ASSERT_TRUE(trigger.IsInstalled());
        EXPECT_FALSE(signalAndWait(trigger));
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_FALSE(signalAndWait(trigger));
    }
    // The trigger can be set up again once the first is gone.
    TWidgetDumpTrigger again(dir.filePath(QStringLiteral("dump.json")));
    ASSERT_TRUE(again.IsInstalled());
    EXPECT_TRUE(signalAndWait(again));
    EXPECT_FALSE(readDump(dir.filePath(QStringLiteral("dump.json")))
                     .value(QLatin1String("windows"))
                     .toArray()
                     .isEmpty());
}

namespace {

// The entry of that objectName in a list of described actions (menus searched too).
QJsonObject actionNamed(const QJsonArray& actions, const QString& name) {
    for (const QJsonValue& value : actions) {
        const QJsonObject action = value.toObject();
        if (action.value(QLatin1String("objectName")).toString() == name)
            return action;
        const QJsonObject inner = actionNamed(action.value(QLatin1String("actions")).toArray(), name);
        if (!inner.isEmpty())
            return inner;
    }
    return {};
}

QJsonObject firstOfClass(const QJsonObject& widget, const QString& className) {
    if (widget.value(QLatin1String("class")).toString() == className)
        return widget;
    for (const QJsonValue& child : widget.value(QLatin1String("children")).toArray()) {
        const QJsonObject found = firstOfClass(child.toObject(), className);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

class MainWindowDump : public TestSupport::GuiTest {};

} // namespace

TEST_F(MainWindowDump, ListsMenusKeysTabsSplittersAndTheZoom) {
    ScriptedPrompts prompts;
    TMaster master(&prompts);
    master.show();
    QApplication::processEvents();
    const QJsonObject window = WidgetDump::DescribeWidget(master);
    EXPECT_EQ(window.value(QLatin1String("minimumSize")).toArray(), (QJsonArray{700, 500}));

    const QJsonArray menus =
        firstOfClass(window, QStringLiteral("QMenuBar")).value(QLatin1String("actions")).toArray();
    ASSERT_GE(menus.size(), 3);
    const QJsonObject file = menus.at(0).toObject();
    EXPECT_EQ(file.value(QLatin1String("menu")).toString(), QStringLiteral("mnuDatei"));
    EXPECT_EQ(file.value(QLatin1String("text")).toString(), QStringLiteral("&Datei"));
    const QJsonArray fileItems = file.value(QLatin1String("actions")).toArray();
    EXPECT_TRUE(fileItems.at(4).toObject().value(QLatin1String("separator")).toBool());
    const QJsonObject saveAs = actionNamed(menus, QStringLiteral("mnuDateiSpeichernUnter"));
    EXPECT_EQ(saveAs.value(QLatin1String("text")).toString(), QStringLiteral("Speichern &unter..."));
    EXPECT_EQ(saveAs.value(QLatin1String("shortcuts")).toArray(), QJsonArray{QStringLiteral("Ctrl+Shift+S")});
    EXPECT_TRUE(saveAs.value(QLatin1String("enabled")).toBool());
    EXPECT_TRUE(saveAs.value(QLatin1String("visible")).toBool());
    EXPECT_FALSE(saveAs.contains(QLatin1String("tag")));
    EXPECT_EQ(actionNamed(menus, QStringLiteral("mnuBeenden")).value(QLatin1String("shortcuts")).toArray(),
              (QJsonArray{QStringLiteral("Alt+F4"), QStringLiteral("Ctrl+Q")}));
    // The keys without a menu item are the window's own.
    const QJsonObject focus =
        actionNamed(window.value(QLatin1String("actions")).toArray(), QStringLiteral("actFokusWeiter"));
    EXPECT_EQ(focus.value(QLatin1String("shortcuts")).toArray(), QJsonArray{QStringLiteral("F6")});
    const QJsonObject shadows =
        actionNamed(window.value(QLatin1String("actions")).toArray(), QStringLiteral("BtnBilderschatten"));
    EXPECT_TRUE(shadows.value(QLatin1String("checkable")).toBool());
    EXPECT_FALSE(shadows.value(QLatin1String("enabled")).toBool()) << "the empty document has no shadows";

    const QJsonArray tabs = TestSupport::findNamed(window, QStringLiteral("PageControlLeft"))
                                .value(QLatin1String("tabs"))
                                .toArray();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(tabs.at(0).toObject(), (QJsonObject{{QStringLiteral("objectName"), QStringLiteral("tsBilder")},
                                                  {QStringLiteral("text"), QStringLiteral("Bilder")},
                                                  {QStringLiteral("visible"), true},
                                                  {QStringLiteral("current"), true}}));
    EXPECT_FALSE(tabs.at(1).toObject().value(QLatin1String("visible")).toBool()) << "no layouts, no tab";
    EXPECT_FALSE(tabs.at(2).toObject().value(QLatin1String("current")).toBool());
    EXPECT_TRUE(tabs.at(3).toObject().value(QLatin1String("visible")).toBool()) << "clipart is reachable";

    const QJsonArray sizes =
        TestSupport::findNamed(window, QStringLiteral("splMain")).value(QLatin1String("sizes")).toArray();
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_GE(sizes.at(1).toInt(), 168);
    const QJsonObject zoom = TestSupport::findNamed(window, QStringLiteral("tbMainViewZoom"));
    EXPECT_EQ(zoom.value(QLatin1String("minimum")).toInt(), 100);
    EXPECT_EQ(zoom.value(QLatin1String("maximum")).toInt(), 800);
    EXPECT_EQ(zoom.value(QLatin1String("value")).toInt(), 100);
    EXPECT_EQ(zoom.value(QLatin1String("accessibleName")).toString(), QStringLiteral("Zoom"));
}
