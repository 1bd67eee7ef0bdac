// A real drag from the layout list onto the page view, on an X server (run under xvfb-run with
// QT_QPA_PLATFORM=xcb; elsewhere it skips): the pointer, moved by xdotool, carries a layout from
// the list to a page, which takes the layout's frames in one undo step.
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "catalogue/ui/uPageTemplateListview.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPageViewUndo.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "support/GuiTest.h"
#include "support/XcbPointer.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class XcbLayouts : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        doc.Reset();
        ASSERT_TRUE(CreateProductDocument(doc, 31, 2026, WizardPageCount(31)));
        window = std::make_unique<QWidget>();
        window->setGeometry(20, 60, 1100, 600);
        auto* row = new QHBoxLayout(window.get());
        list = new TPageTemplateListview(window.get());
        list->setFixedWidth(220);
        list->SetDocument(&doc);
        view = new TFBMainView(window.get(), &doc);
        row->addWidget(list);
        row->addWidget(view, 1);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        PageViewUndo::Attach(&view->Core());
        view->SetScreen(1);
        list->Refresh(1);
        QTest::qWait(100);
    }
    void TearDown() override {
        if (view)
            PageViewUndo::Detach(&view->Core());
        window.reset();
        doc.Reset();
        GuiTest::TearDown();
    }
    // The screen point of a page point.
    QPoint onPage(const TFBPage* page, float x, float y) {
        const TFBPointF o = doc.PageOffset(page);
        float dx = 0, dy = 0;
        view->Core().Transformation().Transform(o.X + x, o.Y + y, dx, dy);
        return view->viewport()->mapToGlobal(QPoint(int(dx), int(dy)));
    }
    // Presses at a, moves in steps to b and lets go there; false without xdotool.
    static bool dragWithThePointer(const QPoint& a, const QPoint& b) {
        return TestSupport::dragThrough(
            {a, a + QPoint(15, 0), QPoint((a.x() + b.x()) / 2, b.y()), b - QPoint(1, 0), b});
    }

    TFBDocument doc;
    std::unique_ptr<QWidget> window;
    TPageTemplateListview* list = nullptr;
    TFBMainView* view = nullptr;
};

TEST_F(XcbLayouts, ALayoutDraggedOntoAPageGivesItTheLayoutsFrames) {
    TFBPage* page = view->Core().RightPage() ? view->Core().RightPage() : view->Core().LeftPage();
    ASSERT_NE(page, nullptr);
    // A layout with another number of frames than the page has, so the change shows.
    int row = -1;
    for (int i = 0; i < list->count() && row < 0; ++i)
        if (list->Template(i)->Frames.Count() != page->Pictures.Count())
            row = i;
    ASSERT_GE(row, 0) << "the list offers no layout that differs from the page";
    const int frames = list->Template(row)->Frames.Count();
    list->scrollToItem(list->item(row));
    QTest::qWait(50);
    const QPoint from = list->viewport()->mapToGlobal(list->visualItemRect(list->item(row)).center());
    const QPoint to = onPage(page, doc.PageWidth / 2, doc.PageHeight / 2);
    const int stepsBefore = UndoManager().Count();
    if (!dragWithThePointer(from, to))
        GTEST_SKIP() << "xdotool is not installed";
    EXPECT_EQ(page->Pictures.Count(), frames);
    EXPECT_EQ(UndoManager().Count(), stepsBefore + 1);
    EXPECT_TRUE(doc.Modified);
}

} // namespace
