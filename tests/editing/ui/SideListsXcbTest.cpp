// Real drags from the side lists, on an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb;
// elsewhere these tests skip): the pointer, moved by xdotool, drags a colour and a layout onto a
// window that takes drops, and photos onto nothing.
#include "catalogue/ui/uColorListView.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "editing/uTransferData.h"
#include "editing/ui/uThumbnailListview.h"
#include "support/GuiTest.h"
#include "support/PictureSupport.h"
#include "support/XcbPointer.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Takes every drop as a copy and keeps what it carried.
class TDropTarget : public QWidget {
public:
    TDropTarget() { setAcceptDrops(true); }
    QMap<QString, QByteArray> dropped;
    Qt::DropActions offered;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        offered = event->possibleActions();
        for (const QString& format : event->mimeData()->formats())
            dropped.insert(format, event->mimeData()->data(format));
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
};

class XcbSideLists : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        target.setGeometry(700, 100, 300, 300);
        target.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
    }
    void showSource(QWidget& source) {
        source.setGeometry(20, 100, 400, 500);
        source.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&source));
        source.activateWindow();
        QTest::qWait(100);
    }
    // Presses at from, moves in steps to the global point to and lets go there; false without xdotool.
    static bool dragWithThePointer(QPoint from, QPoint to) {
        QList<QPoint> points{from};
        for (int i = 1; i <= 4; ++i)
            points << from + (to - from) * i / 4;
        return TestSupport::dragThrough(points, QStringLiteral("0.3"));
    }
    QPoint onTarget() const { return target.mapToGlobal(QPoint(150, 150)); }

    TDropTarget target;
};

} // namespace

TEST_F(XcbSideLists, AColourAndALayoutDropAsCopies) {
    TColorListView colours;
    showSource(colours);
    const QPoint gelb = colours.viewport()->mapToGlobal(colours.visualItemRect(colours.item(5)).center());
    if (!dragWithThePointer(gelb, onTarget()))
        GTEST_SKIP() << "xdotool is not installed";
    const std::optional<TFBColor> colour =
        Transfer::ReadColor(target.dropped.value(QStringLiteral("VXColor")));
    ASSERT_TRUE(colour.has_value());
    EXPECT_EQ(colour->Name, QStringLiteral("gelb"));
    EXPECT_EQ(target.offered, Qt::CopyAction);
    EXPECT_EQ(colours.count(), 14) << "the item stays in the list";
    colours.hide();

    target.dropped.clear();
    TPageTemplateListview layouts(nullptr);
    layouts.Build(TFBLayoutTypen::All(), 0, false);
    showSource(layouts);
    const QPoint third = layouts.viewport()->mapToGlobal(layouts.visualItemRect(layouts.item(2)).center());
    ASSERT_TRUE(dragWithThePointer(third, onTarget()));
    const std::unique_ptr<TFBPageTemplate> layout =
        Transfer::ReadTemplate(target.dropped.value(QStringLiteral("VXPageTemplate")));
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->Name, layouts.Template(2)->Name);
    EXPECT_EQ(layout->Frames.Count(), layouts.Template(2)->Frames.Count());
    EXPECT_EQ(target.offered, Qt::CopyAction);
}

TEST_F(XcbSideLists, PhotosDroppedOnNothingLeaveTheItemUnderTheMouseSelected) {
    QTemporaryDir folder;
    for (int i = 0; i < 3; ++i)
        PictureSupport::writeFile(folder.filePath(QStringLiteral("IMG_%1.jpg").arg(i)),
                                  PictureSupport::jpeg(PictureSupport::photo(200, 150, quint32(i + 1))));
    TThumbnailListview list;
    list.SetFolder(folder.path());
    showSource(list);
    ASSERT_EQ(list.Count(), 3);
    list.SelectOnly(0);
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(list.IsSelected(2));
    const QPoint second = list.viewport()->mapToGlobal(list.ItemRect(1).center());
    // Far below both windows: the root window takes no drops.
    if (!dragWithThePointer(second, QPoint(600, 760)))
        GTEST_SKIP() << "xdotool is not installed";
    EXPECT_FALSE(list.IsSelected(0));
    EXPECT_TRUE(list.IsSelected(1));
    EXPECT_FALSE(list.IsSelected(2));
    EXPECT_TRUE(target.dropped.isEmpty());
}
