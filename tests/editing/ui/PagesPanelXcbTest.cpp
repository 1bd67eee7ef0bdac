// Real drags on the pages panel, on an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb;
// elsewhere these tests skip): the pointer, moved by xdotool, drags a view's label onto a gap and
// a picture onto another frame, and the document is checked afterwards.
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "editing/ui/uSubformSeiten.h"
#include "support/GuiTest.h"
#include "support/PictureSupport.h"
#include "support/XcbPointer.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class XcbPages : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        for (int i = 0; i < 2; ++i)
            photos << PictureSupport::writeFile(
                dir.filePath(QStringLiteral("foto%1.jpg").arg(i)),
                PictureSupport::jpeg(PictureSupport::photo(120, 80, quint32(i + 4))));
    }
    void TearDown() override {
        panel.reset();
        doc.Reset();
        GuiTest::TearDown();
    }
    void open(int product, int pages) {
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, product, 2026, pages));
        panel = std::make_unique<TSFormSeiten>(nullptr, &doc);
        panel->setGeometry(20, 100, 1100, 200);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        panel->activateWindow();
        QTest::qWait(100);
    }
    QPoint global(const QPoint& client) { return panel->viewport()->mapToGlobal(client); }
    // Presses at from, moves in steps to to and lets go there; false without xdotool.
    bool dragWithThePointer(const QPoint& from, const QPoint& to) {
        const QPoint a = global(from), b = global(to);
        return TestSupport::dragThrough(
            {a, a + QPoint(12, 0), QPoint((a.x() + b.x()) / 2, b.y()), b - QPoint(1, 0), b});
    }
    QPoint on(const TFBElement* frame) {
        TTransformation t;
        panel->Core().ThumbnailTransformation(frame->Page->ViewIndex(), t);
        const TFBPointF o = doc.PageOffset(frame->Page);
        float x = 0, y = 0;
        t.Transform(o.X + frame->CenterX, o.Y + frame->CenterY, x, y);
        return QPoint(int(x) - panel->Core().ScrollX(), int(y));
    }

    QTemporaryDir dir;
    QStringList photos;
    TFBDocument doc;
    std::unique_ptr<TSFormSeiten> panel;
};

TEST_F(XcbPages, ALabelDraggedOntoAGapMovesTheView) {
    open(21, 6); // one page a view
    TFBPage* moved = doc.Pages.Items(1);
    const int w = panel->Core().CellWidth();
    const QPoint label = panel->Core().LabelRect(1).center();
    if (!dragWithThePointer(label, QPoint(4 * w + 2, 60)))
        GTEST_SKIP() << "xdotool is not installed";
    EXPECT_EQ(doc.Pages.IndexOf(moved), 3) << "view 1 dropped on gap 4 becomes view 3";
    EXPECT_EQ(panel->CurrentView(), 3);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(panel->Core().DropGap(), -3) << "the marker is gone";
}

TEST_F(XcbPages, APictureDraggedOntoAnotherFrameSwapsWithIt) {
    open(31, 12);
    TFBPictureElement* first = doc.Pages.Items(1)->Picture(0);
    TFBPictureElement* other = doc.Pages.Items(3)->Picture(0);
    first->SetPictureFile(photos[0]);
    other->SetPictureFile(photos[1]);
    panel->Refresh();
    QTest::qWait(50);
    if (!dragWithThePointer(on(first), on(other)))
        GTEST_SKIP() << "xdotool is not installed";
    ASSERT_TRUE(first->HasPicture());
    ASSERT_TRUE(other->HasPicture());
    EXPECT_EQ(TBildmanager::Instance().Find(first->RefIndex)->FileName, photos[1]);
    EXPECT_EQ(TBildmanager::Instance().Find(other->RefIndex)->FileName, photos[0]);
    EXPECT_EQ(UndoManager().Count(), 1);
}

} // namespace
