#include "editing/PageViewSupport.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "render/uBitmapDrawContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

using PageViewSupport::addText;
using PageViewSupport::givePhoto;
using PageViewSupport::makeBook;
using PageViewSupport::TRig;

namespace {

// ---- fit, virtual size, zoom ----------------------------------------------------------------

TEST(PageViewGeometry, FitsTheViewWithThirtyPixelMarginsAndScrollsOnlyWhenZoomed) {
    TRig rig;
    rig.Doc.Reset();
    rig.Doc.ScreenMode = 0;
    rig.Doc.PageWidth = 210;
    rig.Doc.PageHeight = 297;
    TestSupport::addPages(rig.Doc, 1);
    rig.Open(800, 600);
    EXPECT_FLOAT_EQ(rig.View->Fit(), 540.0f / 297);
    EXPECT_EQ(rig.View->VirtualWidth(), 799);
    EXPECT_EQ(rig.View->VirtualHeight(), 599);
    EXPECT_EQ(rig.View->ScrollRangeX(), 0);
    EXPECT_EQ(rig.View->ScrollRangeY(), 0);
    EXPECT_FALSE(rig.View->Scrollable());
    // The page's centre is in the middle of the virtual area.
    const QPoint c = rig.At(rig.Doc.Pages.Items(0), 105, 148.5f);
    EXPECT_NEAR(c.x(), 399.5, 0.6);
    EXPECT_NEAR(c.y(), 299.5, 0.6);

    rig.View->SetZoom(2);
    EXPECT_EQ(rig.View->VirtualWidth(), 1599);
    EXPECT_EQ(rig.View->VirtualHeight(), 1199);
    EXPECT_EQ(rig.View->ScrollRangeX(), 799);
    EXPECT_EQ(rig.View->ScrollRangeY(), 599);
    // The client centre stays on the page centre.
    const QPoint z = rig.At(rig.Doc.Pages.Items(0), 105, 148.5f);
    EXPECT_NEAR(z.x(), 400, 1.5);
    EXPECT_NEAR(z.y(), 300, 1.5);

    // A turned page swaps width and height in the fit.
    rig.Doc.Pages.Items(0)->Seitenausrichtung = 1;
    rig.View->SetZoom(1);
    rig.View->SetupTransformation();
    EXPECT_FLOAT_EQ(rig.View->Fit(), std::min(740.0f / 297, 540.0f / 210));
}

TEST(PageViewGeometry, ZoomAtKeepsThePointUnderTheMouseAndStopsAtOneAndEight) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 700);
    rig.View->SetScreen(1);
    int changes = 0;
    rig.View->OnZoomChange = [&] { ++changes; };
    const int mx = 420, my = 300;
    for (float z : {1.5f, 3.0f, 5.5f, 8.0f}) {
        float px, py;
        rig.View->Transformation().InverseTransform(mx, my, px, py);
        rig.View->ZoomAt(mx, my, z);
        float x, y;
        rig.View->Transformation().Transform(px, py, x, y);
        EXPECT_NEAR(x, mx, 1.0) << z;
        EXPECT_NEAR(y, my, 1.0) << z;
    }
    EXPECT_EQ(changes, 4);
    rig.View->ZoomAt(mx, my, 20);
    EXPECT_FLOAT_EQ(rig.View->Zoom(), 8);
    EXPECT_EQ(changes, 4);
    rig.View->ZoomAt(mx, my, 0.2f);
    EXPECT_FLOAT_EQ(rig.View->Zoom(), 1);
    EXPECT_EQ(rig.View->ScrollX(), 0);
    rig.View->ZoomAt(mx, my, std::nanf(""));
    EXPECT_FLOAT_EQ(rig.View->Zoom(), 1);

    // Ctrl+wheel: one 1.05 step per notch, small deltas add up, towards the user zooms in.
    for (int i = 0; i < 4; ++i)
        rig.View->Wheel(mx, my, -30, pmCtrl);
    EXPECT_FLOAT_EQ(rig.View->Zoom(), 1.05f);
    rig.View->Wheel(mx, my, -240, pmCtrl);
    EXPECT_NEAR(rig.View->Zoom(), 1.05f * 1.05f * 1.05f, 1e-5);
    rig.View->Wheel(mx, my, 120, pmCtrl);
    EXPECT_NEAR(rig.View->Zoom(), 1.05f * 1.05f, 1e-5);
    // Absurd deltas end at the limits without hanging.
    rig.View->Wheel(mx, my, -2000000000, pmCtrl);
    EXPECT_FLOAT_EQ(rig.View->Zoom(), 8);
    rig.View->Wheel(mx, my, 2000000000, pmCtrl);
    EXPECT_FLOAT_EQ(rig.View->Zoom(), 1);
}

TEST(PageViewGeometry, ResizeKeepsRelativeScrollPlacesAndSurvivesOddSizes) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(800, 600);
    rig.View->SetZoom(4);
    rig.View->SetScrollX(rig.View->ScrollRangeX() / 4);
    const double relative = double(rig.View->ScrollX()) / rig.View->ScrollRangeX();
    rig.View->Resize(1200, 900);
    EXPECT_NEAR(double(rig.View->ScrollX()) / rig.View->ScrollRangeX(), relative, 0.01);
    EXPECT_GE(rig.View->BackBuffer().width(), 1200);
    // The buffer shrinks once it is far too large.
    rig.View->Resize(300, 200);
    EXPECT_EQ(rig.View->BackBuffer().width(), 350);
    // Zero, tiny and back: no crash, nothing to hit.
    rig.View->Resize(0, 0);
    rig.Window.InvalidateAll();
    rig.Window.UpdateNow();
    EXPECT_EQ(rig.View->ElementAt(0, 0, hkAll), nullptr);
    rig.View->Resize(1, 1);
    rig.Window.UpdateNow();
    rig.View->SetZoom(1);
    rig.View->Resize(640, 480); // from scroll range 0
    EXPECT_EQ(rig.View->ScrollX(), 0);
    rig.Window.UpdateNow();
    EXPECT_FALSE(rig.View->BackBuffer().isNull());
}

TEST(PageViewGeometry, AZeroSizedViewIsDrawnAsOneMillimetre) {
    TRig rig;
    rig.Doc.Reset();
    rig.Doc.ScreenMode = 0;
    rig.Doc.PageWidth = 0;
    rig.Doc.PageHeight = 0;
    TestSupport::addPages(rig.Doc, 1);
    rig.Open(400, 300);
    EXPECT_FLOAT_EQ(rig.View->Fit(), 240);
    EXPECT_TRUE(rig.MatchesFullRepaint());
}

// ---- hit tests ---------------------------------------------------------------------------------

TEST(PageViewHitTest, LeftPageElementsAtTheSpineCanBeClicked) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1400, 600);
    rig.View->SetScreen(1);
    TFBPage* left = rig.Doc.Pages.Items(1);
    TFBPage* right = rig.Doc.Pages.Items(2);
    auto* atSpine = addText(left, 211, 60, 10, 20);
    // Half a millimetre before the left page's edge: in the half of the spine that is not the
    // left page's any more by the width of the spine.
    const QPoint p = rig.At(left, 215.7f, 60);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkAll), atSpine);
    EXPECT_EQ(rig.View->PageAt(p.x(), p.y()), left);
    auto* rightText = addText(right, 10, 60, 20, 20);
    const QPoint q = rig.At(right, 1, 60);
    EXPECT_EQ(rig.View->ElementAt(q.x(), q.y(), hkAll), rightText);
    EXPECT_EQ(rig.View->PageAt(q.x(), q.y()), right);
    // In the spine itself no page is hit.
    const QPoint s = rig.At(left, 217, 60);
    EXPECT_EQ(rig.View->PageAt(s.x(), s.y()), nullptr);
    // Outside the view's box nothing at all.
    EXPECT_EQ(rig.View->ElementAt(2, 2, hkAll), nullptr);
    EXPECT_EQ(rig.View->PageAt(2, 2), nullptr);
}

TEST(PageViewHitTest, WidePagesOfASpreadHitTheirOwnPage) {
    TRig rig;
    rig.Doc.Reset();
    rig.Doc.ScreenMode = 2;
    rig.Doc.PageWidth = 300;
    rig.Doc.PageHeight = 200;
    TestSupport::addPages(rig.Doc, 2);
    rig.Open(1200, 500);
    TFBPage* left = rig.Doc.Pages.Items(0);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(left, 250, 100, 60, 60);
    const QPoint p = rig.At(left, 250, 100);
    EXPECT_EQ(rig.View->PageAt(p.x(), p.y()), left);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkAll), frame);
    const QPoint r = rig.At(left, 310, 100);
    EXPECT_EQ(rig.View->PageAt(r.x(), r.y()), rig.Doc.Pages.Items(1));
}

TEST(PageViewHitTest, TurnedPagesAndTopmostFirst) {
    TRig rig;
    rig.Doc.Reset();
    rig.Doc.ScreenMode = 0;
    rig.Doc.PageWidth = 150;
    rig.Doc.PageHeight = 100;
    TestSupport::addPages(rig.Doc, 1);
    TFBPage* page = rig.Doc.Pages.Items(0);
    page->Seitenausrichtung = 1;
    for (float angle : {90.0f, 270.0f}) {
        rig.Doc.ScreenQuerformatWinkel = angle;
        rig.Open(500, 700);
        auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 30, 20, 20, 10);
        const QPoint p = rig.At(page, 30, 20);
        EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkAll), frame) << angle;
        // The page stands upright on the screen: it is higher than wide.
        const QPoint a = rig.At(page, 0, 0), b = rig.At(page, 150, 100);
        EXPECT_GT(std::abs(a.y() - b.y()), std::abs(a.x() - b.x()));
        // Where the point would be on an unturned page, nothing.
        const QPoint far = rig.At(page, 120, 80);
        EXPECT_EQ(rig.View->ElementAt(far.x(), far.y(), hkAll), nullptr);
        page->Pictures.Clear();
    }
    page->Seitenausrichtung = 0;
    rig.Open(500, 400);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 75, 50, 100, 60);
    auto* calendar = TestSupport::placeElement<TFBKalenderElement>(page, 60, 50, 30, 30);
    auto* text = addText(page, 90, 50, 30, 20);
    auto* upper = addText(page, 95, 50, 30, 20);
    QPoint p = rig.At(page, 92, 50);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkAll), upper);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkPictures), frame);
    p = rig.At(page, 77, 50);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkAll), text);
    p = rig.At(page, 50, 50);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkAll), calendar);
    // Geometry that is not a number hits nothing.
    upper->CenterX = std::nanf("");
    text->Width = std::numeric_limits<float>::infinity();
    frame->Width = 1e30f;
    p = rig.At(page, 92, 50);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkSizeables), nullptr);
    EXPECT_EQ(rig.View->ElementAt(p.x(), p.y(), hkPictures), nullptr);
    EXPECT_TRUE(rig.View->ElementArea(*upper).IsEmpty());
}

// ---- selection, events, drags ------------------------------------------------------------------

class PageViewEvents : public ::testing::Test {
protected:
    void SetUp() override {
        subscription = Multicaster().Subscribe({[this](const QObject* s, TFBElement* e, TFBPage* p) {
                                                    events.push_back({s, e, p});
                                                },
                                                {},
                                                {}});
    }
    struct TEvent {
        const QObject* Source;
        TFBElement* Element;
        TFBPage* Page;
    };
    std::vector<TEvent> events;
    TMulticaster::TSubscription subscription;
};

TEST_F(PageViewEvents, PanningAPhotoMovesItsOffsetsWithinTheirLimitsAndAcrossTheLink) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1400, 700);
    rig.View->SetScreen(1);
    TFBPage* left = rig.Doc.Pages.Items(1);
    TFBPage* right = rig.Doc.Pages.Items(2);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(left, 100, 60, 100, 100);
    auto* partner = TestSupport::placeElement<TFBPictureElement>(right, 60, 60, 100, 100);
    TFBPictureLink* link = rig.Doc.AddPictureLink();
    link->Add(frame);
    link->Add(partner);
    // A 4:1 photo over the 278 x 100 mm panorama covers 400 x 100 mm: it pans only sideways.
    givePhoto(frame, 400, 100);
    link->SyncFrom(frame);
    const TFBRectF u = link->UnionRect(frame);
    const float panorama = u.Width();
    const float cover = std::max(panorama, 4 * u.Height());
    const QPoint p = rig.At(left, 100, 60);
    rig.View->MousePress(p.x(), p.y(), pbLeft, 0);
    EXPECT_EQ(rig.View->Selected(), frame);
    const int dx = static_cast<int>(std::lrint(20 * rig.Scale()));
    rig.View->MouseMove(p.x() + dx, p.y() + 30, pbLeft, 0);
    const float moved = dx / rig.Scale();
    EXPECT_NEAR(frame->OffsetX, 0.5f - moved / (cover - panorama), 0.002);
    EXPECT_FLOAT_EQ(frame->OffsetY, 0.5f); // nothing to pan vertically
    EXPECT_FLOAT_EQ(partner->OffsetX, frame->OffsetX);
    rig.View->MouseMove(p.x() + 5000, p.y(), pbLeft, 0);
    EXPECT_FLOAT_EQ(frame->OffsetX, 0);
    rig.View->MouseMove(p.x() - 5000, p.y(), pbLeft, 0);
    EXPECT_FLOAT_EQ(frame->OffsetX, 1);
    rig.View->MouseRelease(p.x() - 5000, p.y(), pbLeft);
    EXPECT_FALSE(rig.View->Dragging());
    EXPECT_TRUE(rig.Doc.Modified);
    ASSERT_FALSE(events.empty());
    for (const TEvent& e : events) {
        EXPECT_EQ(e.Source, rig.View.get());
        EXPECT_EQ(e.Element, frame);
        EXPECT_EQ(e.Page, left);
    }
    // The source is the widget once there is one.
    QObject widget;
    rig.View->SetEventSource(&widget);
    events.clear();
    rig.View->Wheel(p.x(), p.y(), -120, 0);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Source, &widget);
    EXPECT_NEAR(frame->Zoom, 1.03f, 1e-5);
    rig.View->Wheel(p.x(), p.y(), 100000000, 0);
    EXPECT_FLOAT_EQ(frame->Zoom, 1);
}

TEST_F(PageViewEvents, APhotoThatDoesNotDecodeIsSelectedButNotPanned) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    TFBPage* page = rig.Doc.Pages.Items(0);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 100, 60, 100, 100);
    frame->RefIndex = 987654; // names no picture
    const QPoint p = rig.At(page, 100, 60);
    rig.View->MousePress(p.x(), p.y(), pbLeft, 0);
    EXPECT_EQ(rig.View->Selected(), frame);
    EXPECT_FALSE(rig.View->Dragging());
    rig.View->MouseMove(p.x() + 40, p.y(), pbLeft, 0);
    rig.View->MouseRelease(p.x() + 40, p.y(), pbLeft);
    EXPECT_FLOAT_EQ(frame->OffsetX, 0.5f);
    frame->RefIndex = -1;
}

TEST_F(PageViewEvents, MovingATextAcrossTheSpineReparentsItAndItKeepsFollowing) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1400, 700);
    rig.View->SetScreen(1);
    TFBPage* left = rig.Doc.Pages.Items(1);
    TFBPage* right = rig.Doc.Pages.Items(2);
    auto* text = addText(right, 30, 60, 40, 20);
    const QPoint start = rig.At(right, 30, 60);
    rig.View->MousePress(start.x(), start.y(), pbLeft, 0);
    ASSERT_EQ(rig.View->Selected(), text);
    EXPECT_FALSE(rig.View->Tracker().Visible);
    const QPoint target = rig.At(left, 150, 80);
    const QPoint mid((start.x() + target.x()) / 2, (start.y() + target.y()) / 2);
    rig.View->MouseMove(mid.x(), mid.y(), pbLeft, 0);
    rig.View->MouseMove(target.x(), target.y(), pbLeft, 0);
    EXPECT_EQ(text->Page, left);
    EXPECT_EQ(left->Sizeables.IndexOf(text), 0);
    EXPECT_EQ(right->Sizeables.Count(), 0);
    const float tol = 1.5f / rig.Scale();
    EXPECT_NEAR(text->CenterX, 150, tol);
    EXPECT_NEAR(text->CenterY, 80, tol);
    rig.View->MouseRelease(target.x(), target.y(), pbLeft);
    EXPECT_TRUE(rig.View->Tracker().Visible);
    EXPECT_FLOAT_EQ(rig.View->Tracker().CenterX, text->CenterX);
    EXPECT_EQ(events.back().Page, left);
}

TEST_F(PageViewEvents, ATrackerDragPastTheOppositeEdgeLeavesAPositiveWidth) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    TFBPage* page = rig.Doc.Pages.Items(0);
    auto* text = addText(page, 100, 60, 40, 20);
    rig.View->Select(text);
    ASSERT_TRUE(rig.View->Tracker().Visible);
    const QPoint handle = rig.At(page, 120, 60); // right middle
    rig.View->MousePress(handle.x(), handle.y(), pbLeft, 0);
    ASSERT_TRUE(rig.View->Dragging());
    const int past = static_cast<int>(std::lrint(60 * rig.Scale()));
    rig.View->MouseMove(handle.x() - past, handle.y(), pbLeft, 0);
    EXPECT_LT(rig.View->Tracker().Width, 0);
    EXPECT_GT(text->Width, 0);
    EXPECT_NEAR(text->Width, 20, 1.5f / rig.Scale());
    rig.View->MouseRelease(handle.x() - past, handle.y(), pbLeft);
    EXPECT_GT(rig.View->Tracker().Width, 0);
    EXPECT_FLOAT_EQ(rig.View->Tracker().Width, text->Width);
    EXPECT_TRUE(rig.View->Tracker().Visible);
    // The left edge stayed where it was.
    EXPECT_NEAR(text->CenterX + text->Width / 2, 80, 1.5f / rig.Scale());
}

TEST_F(PageViewEvents, ShiftDragScrollsOnlyAZoomedView) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    TFBPage* page = rig.Doc.Pages.Items(0);
    auto* text = addText(page, 100, 60, 40, 20);
    const QPoint p = rig.At(page, 100, 60);
    // At zoom 1 nothing scrolls: Shift+drag moves the text as a plain drag does.
    rig.View->MousePress(p.x(), p.y(), pbLeft, pmShift);
    EXPECT_EQ(rig.View->Selected(), text);
    rig.View->MouseMove(p.x() + 30, p.y(), pbLeft, pmShift);
    rig.View->MouseRelease(p.x() + 30, p.y(), pbLeft);
    EXPECT_GT(text->CenterX, 100);
    rig.View->SetZoom(3);
    const int x0 = rig.View->ScrollX(), y0 = rig.View->ScrollY();
    rig.View->MousePress(500, 300, pbMiddle, 0);
    EXPECT_EQ(rig.View->Cursor(), crScrollPan);
    rig.View->MouseMove(450, 320, pbMiddle, 0);
    EXPECT_EQ(rig.View->ScrollX(), x0 + 50);
    EXPECT_EQ(rig.View->ScrollY(), y0 - 20);
    rig.View->MouseMove(-100000, -100000, pbMiddle, 0);
    EXPECT_EQ(rig.View->ScrollX(), rig.View->ScrollRangeX());
    EXPECT_EQ(rig.View->ScrollY(), rig.View->ScrollRangeY());
    rig.View->MouseRelease(0, 0, pbMiddle);
    EXPECT_FALSE(rig.View->Dragging());
    // The plain wheel over no photo scrolls a scrollable view.
    const int before = rig.View->ScrollY();
    rig.View->Wheel(500, 300, 120, 0);
    EXPECT_EQ(rig.View->ScrollY(), before - 30);
}

TEST_F(PageViewEvents, ArrowKeysMoveByAMillimetreTurnedWithThePageAndAcrossTheSpine) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1400, 700);
    rig.View->SetScreen(1);
    TFBPage* left = rig.Doc.Pages.Items(1);
    TFBPage* right = rig.Doc.Pages.Items(2);
    auto* text = addText(right, 50, 50, 20, 10);
    rig.View->Select(text);
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Right));
    EXPECT_FLOAT_EQ(text->CenterX, 51);
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Up));
    EXPECT_FLOAT_EQ(text->CenterY, 49);
    EXPECT_FLOAT_EQ(rig.View->Tracker().CenterY, 49);
    // Over the spine onto the left page.
    text->CenterX = -1.5f;
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Left));
    EXPECT_EQ(text->Page, left);
    EXPECT_FLOAT_EQ(text->CenterX, -2.5f + 218);
    text->CenterX = 217.5f;
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Right));
    EXPECT_EQ(text->Page, right);
    EXPECT_FLOAT_EQ(text->CenterX, 218.5f - 218);
    EXPECT_FALSE(events.empty());
    EXPECT_EQ(events.back().Source, rig.View.get());

    // On turned pages the step turns with the display.
    right->Seitenausrichtung = 1;
    left->Seitenausrichtung = 1;
    text->CenterX = 50;
    text->CenterY = 50;
    rig.Doc.ScreenQuerformatWinkel = 90;
    rig.View->KeyPress(TPageViewKey::Right);
    EXPECT_FLOAT_EQ(text->CenterX, 50);
    EXPECT_FLOAT_EQ(text->CenterY, 49);
    rig.Doc.ScreenQuerformatWinkel = 270;
    rig.View->KeyPress(TPageViewKey::Right);
    EXPECT_FLOAT_EQ(text->CenterY, 50);
    rig.View->KeyPress(TPageViewKey::Down);
    EXPECT_FLOAT_EQ(text->CenterX, 49);
}

TEST_F(PageViewEvents, TabWalksTheElementsAndEscapeDeselects) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    rig.View->SetScreen(1);
    auto* a = TestSupport::placeElement<TFBPictureElement>(rig.Doc.Pages.Items(1), 50, 50, 20, 20);
    auto* b = addText(rig.Doc.Pages.Items(1), 100, 50, 20, 20);
    auto* c = addText(rig.Doc.Pages.Items(2), 100, 50, 20, 20);
    std::vector<TFBElement*> seen;
    rig.View->OnSelectionChange = [&](TFBElement* e) { seen.push_back(e); };
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Tab));
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Tab));
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Tab));
    EXPECT_EQ(seen, (std::vector<TFBElement*>{a, b, c}));
    EXPECT_TRUE(rig.View->Tracker().Visible);
    EXPECT_FALSE(rig.View->KeyPress(TPageViewKey::Tab)); // past the last: the focus moves on
    EXPECT_EQ(rig.View->Selected(), nullptr);
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::BackTab));
    EXPECT_EQ(rig.View->Selected(), c);
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Escape));
    EXPECT_EQ(rig.View->Selected(), nullptr);
    EXPECT_FALSE(rig.View->Tracker().Visible);
    EXPECT_FALSE(rig.View->KeyPress(TPageViewKey::Escape));
    // Changing the view deselects.
    rig.View->Select(b);
    rig.View->SetScreen(2);
    EXPECT_EQ(rig.View->Selected(), nullptr);
}

TEST_F(PageViewEvents, RightPressSetsTheContextAndSelects) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    rig.View->SetScreen(1);
    TFBPage* page = rig.Doc.Pages.Items(2);
    auto* text = addText(page, 100, 50, 20, 20);
    const QPoint p = rig.At(page, 100, 50);
    rig.View->MousePress(p.x(), p.y(), pbRight, 0);
    EXPECT_EQ(rig.View->ContextElement(), text);
    EXPECT_EQ(rig.View->ContextPage(), page);
    EXPECT_EQ(rig.View->Selected(), text);
    EXPECT_FALSE(rig.View->Dragging());
    const QPoint empty = rig.At(page, 10, 120);
    rig.View->MousePress(empty.x(), empty.y(), pbRight, 0);
    EXPECT_EQ(rig.View->ContextElement(), nullptr);
    EXPECT_EQ(rig.View->ContextPage(), page);
    EXPECT_EQ(rig.View->Selected(), nullptr);
}

TEST(PageViewSelection, AnElementDeletedUnderTheViewIsLetGoWithoutBeingTouched) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(800, 500);
    TFBPage* page = rig.Doc.Pages.Items(0);
    rig.View->Select(addText(page, 100, 60, 40, 20));
    rig.Window.UpdateNow();
    page->Sizeables.Clear(); // deleted by another control before the view hears of it
    rig.View->Select(nullptr);
    EXPECT_EQ(rig.View->Selected(), nullptr);
    EXPECT_FALSE(rig.View->Tracker().Visible);
    EXPECT_TRUE(rig.MatchesFullRepaint());
}

TEST(PageViewCursor, HoverShowsTheHandleTheBodyOrThePhoto) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    TFBPage* page = rig.Doc.Pages.Items(0);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 60, 60, 60, 60);
    auto* text = addText(page, 160, 60, 40, 20);
    QPoint p = rig.At(page, 60, 60);
    EXPECT_EQ(rig.View->HoverCursor(p.x(), p.y()), crDefault); // an empty frame
    givePhoto(frame);
    EXPECT_EQ(rig.View->HoverCursor(p.x(), p.y()), crPicturePan);
    p = rig.At(page, 160, 60);
    EXPECT_EQ(rig.View->HoverCursor(p.x(), p.y()), crSizeAll);
    rig.View->Select(text);
    p = rig.At(page, 180, 60);
    EXPECT_EQ(rig.View->HoverCursor(p.x(), p.y()), crSizeHorizontal);
    p = rig.At(page, 180, 70);
    rig.View->MouseMove(p.x(), p.y(), 0, 0);
    EXPECT_EQ(rig.Window.Cursor, crSizeDiagonalDown);
    EXPECT_EQ(rig.View->HoverCursor(3, 3), crDefault);
}

// ---- undo records ------------------------------------------------------------------------------

class PageViewUndoRecords : public ::testing::Test {
protected:
    void SetUp() override { UndoManager().Clear(); }
    void TearDown() override { UndoManager().Clear(); }
};

TEST_F(PageViewUndoRecords, EachGestureLeavesOneRecordAndAClickNone) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1400, 700);
    rig.View->SetScreen(1);
    TFBPage* left = rig.Doc.Pages.Items(1);
    TFBPage* right = rig.Doc.Pages.Items(2);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(left, 100, 60, 100, 60);
    givePhoto(frame, 400, 100);
    auto* text = addText(right, 40, 60, 40, 20);
    // Clicks select and leave nothing to undo (a pan at the press changes nothing either).
    const QPoint t = rig.At(right, 40, 60);
    rig.View->MousePress(t.x(), t.y(), pbLeft, 0);
    rig.View->MouseRelease(t.x(), t.y(), pbLeft);
    const QPoint f = rig.At(left, 100, 60);
    rig.View->MousePress(f.x(), f.y(), pbLeft, 0);
    rig.View->MouseRelease(f.x(), f.y(), pbLeft);
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_FALSE(rig.Doc.Modified);

    // A pan is one record, undone to the old offsets.
    rig.View->MousePress(f.x(), f.y(), pbLeft, 0);
    rig.View->MouseMove(f.x() + 40, f.y(), pbLeft, 0);
    rig.View->MouseMove(f.x() + 80, f.y(), pbLeft, 0);
    rig.View->MouseRelease(f.x() + 80, f.y(), pbLeft);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_LT(frame->OffsetX, 0.5f);
    // Ten wheel steps on the same photo join that record (a run of zoom steps is one).
    for (int i = 0; i < 10; ++i)
        rig.View->Wheel(f.x(), f.y(), -120, 0);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_NEAR(frame->Zoom, 1.3f, 1e-4);
    // Moving the text onto the left page, and an arrow step.
    rig.View->MousePress(t.x(), t.y(), pbLeft, 0);
    const QPoint target = rig.At(left, 180, 100);
    rig.View->MouseMove(target.x(), target.y(), pbLeft, 0);
    rig.View->MouseRelease(target.x(), target.y(), pbLeft);
    ASSERT_EQ(text->Page, left);
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Up));
    EXPECT_EQ(UndoManager().Count(), 3);
    // Delete takes the photo out, one record.
    rig.View->Select(frame);
    EXPECT_TRUE(rig.View->KeyPress(TPageViewKey::Delete));
    EXPECT_FALSE(frame->HasPicture());
    EXPECT_EQ(UndoManager().Count(), 4);

    // Undo walks back, showing the view and the element of each change.
    rig.View->SetScreen(2);
    PageViewUndo::Undo(*rig.View);
    EXPECT_EQ(rig.View->ViewIndex(), 1);
    auto* restored = rig.Doc.Pages.Items(1)->Picture(0);
    ASSERT_NE(restored, nullptr);
    EXPECT_TRUE(restored->HasPicture());
    PageViewUndo::Undo(*rig.View); // the arrow step
    PageViewUndo::Undo(*rig.View); // the move: back on the right page
    ASSERT_EQ(right->Sizeables.Count(), 1);
    TFBElement* back = right->Sizeables.Items(0);
    EXPECT_FLOAT_EQ(back->CenterX, 40);
    EXPECT_FLOAT_EQ(back->CenterY, 60);
    EXPECT_EQ(left->Sizeables.Count(), 0);
    EXPECT_EQ(rig.View->Selected(), back);
    PageViewUndo::Undo(*rig.View); // the pan and the wheel run
    EXPECT_FLOAT_EQ(rig.Doc.Pages.Items(1)->Picture(0)->Zoom, 1);
    EXPECT_FLOAT_EQ(rig.Doc.Pages.Items(1)->Picture(0)->OffsetX, 0.5f);
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_TRUE(rig.MatchesFullRepaint());
}

TEST_F(PageViewUndoRecords, AHandleDragThatChangedNothingLeavesNoRecord) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(1000, 600);
    TFBPage* page = rig.Doc.Pages.Items(0);
    auto* text = addText(page, 100, 60, 40, 20);
    rig.View->Select(text);
    const QPoint handle = rig.At(page, 120, 60);
    rig.View->MousePress(handle.x(), handle.y(), pbLeft, 0);
    ASSERT_TRUE(rig.View->Dragging());
    rig.View->MouseRelease(handle.x(), handle.y(), pbLeft);
    EXPECT_EQ(UndoManager().Count(), 0);
    rig.View->MousePress(handle.x(), handle.y(), pbLeft, 0);
    rig.View->MouseMove(handle.x() + 30, handle.y(), pbLeft, 0);
    rig.View->MouseRelease(handle.x() + 30, handle.y(), pbLeft);
    EXPECT_EQ(UndoManager().Count(), 1);
    PageViewUndo::Undo(*rig.View);
    EXPECT_FLOAT_EQ(page->Sizeables.Items(0)->Width, 40);
}

// ---- painting ----------------------------------------------------------------------------------

// Every pixel that differs between the two pictures lies in one of the logical areas.
bool ChangesInside(const QImage& before, const QImage& after, const std::vector<TRect>& areas) {
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y))
                continue;
            bool inside = false;
            for (const TRect& r : areas)
                inside |= x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
            if (!inside)
                return false;
        }
    return true;
}

TEST(PageViewPaint, EveryDragStepRepaintsOnlyTheElementAndMatchesAFullRepaint) {
    for (float zoom : {1.0f, 8.0f}) {
        TRig rig;
        makeBook(rig.Doc);
        rig.Open(900, 500);
        rig.View->SetScreen(1);
        TFBPage* page = rig.Doc.Pages.Items(1);
        auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 60, 50, 70, 50, 5);
        givePhoto(frame);
        frame->SetBorderWidth(2);
        auto* text = addText(page, 150, 60, 50, 20, 10);
        text->SetHasShadow(true);
        rig.View->ZoomAt(rig.At(page, 150, 60).x(), rig.At(page, 150, 60).y(), zoom);
        rig.Window.UpdateNow();
        ASSERT_TRUE(rig.MatchesFullRepaint()) << zoom;

        const QPoint p = rig.At(page, 150, 60);
        rig.View->MousePress(p.x(), p.y(), pbLeft, 0);
        rig.Window.UpdateNow();
        ASSERT_TRUE(rig.MatchesFullRepaint()) << zoom;
        for (int step = 1; step <= 3; ++step) {
            const QImage before = rig.Window.Screen().copy();
            rig.Window.ClearPainted();
            rig.View->MouseMove(p.x() + 7 * step, p.y() + 3 * step, pbLeft, 0);
            rig.Window.UpdateNow();
            const std::vector<TRect> painted = rig.Window.Painted();
            ASSERT_FALSE(painted.empty());
            const QImage after = rig.Window.Screen().copy();
            EXPECT_TRUE(ChangesInside(before, after, painted)) << zoom;
            for (const TRect& r : painted)
                EXPECT_LT(r.Width() * r.Height(), 900 * 500) << zoom;
            ASSERT_TRUE(rig.MatchesFullRepaint()) << "zoom " << zoom << " step " << step;
        }
        rig.View->MouseRelease(p.x() + 21, p.y() + 9, pbLeft);
        ASSERT_TRUE(rig.MatchesFullRepaint()) << zoom;
        // Keys, and a removed photo leaves no trace of its shadow or border.
        rig.View->KeyPress(TPageViewKey::Down);
        ASSERT_TRUE(rig.MatchesFullRepaint()) << zoom;
        rig.View->Select(frame);
        rig.Window.UpdateNow();
        const QPoint f = rig.At(page, 60 + 35, 50 + 25);
        rig.View->ZoomAt(f.x(), f.y(), zoom);
        rig.Window.UpdateNow();
        ASSERT_TRUE(rig.MatchesFullRepaint()) << zoom;
        rig.View->KeyPress(TPageViewKey::Delete);
        EXPECT_FALSE(frame->HasPicture());
        ASSERT_TRUE(rig.MatchesFullRepaint()) << zoom;
    }
}

TEST(PageViewPaint, AFailingStepEndsTheRepaintWithBalancedStacks) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(800, 500);
    rig.View->SetScreen(1);
    TFBPage* page = rig.Doc.Pages.Items(1);
    givePhoto(TestSupport::placeElement<TFBPictureElement>(page, 60, 50, 70, 50, 5));
    rig.View->Select(addText(page, 150, 60, 50, 20));
    rig.Window.UpdateNow();
    const QImage good = rig.Window.Screen().copy();
    for (int failing = 2; failing <= 9; ++failing) {
        int reached = 0;
        rig.View->OnPaintStep = [&](int step) {
            reached = step;
            if (step == failing)
                throw std::runtime_error("injected");
        };
        rig.Window.InvalidateAll();
        rig.Window.UpdateNow();
        EXPECT_EQ(reached, failing);
        EXPECT_EQ(rig.View->Context()->Transformation.StackDepth(), 0) << failing;
        EXPECT_EQ(rig.View->Context()->ClipStackDepth(), 0) << failing;
    }
    rig.View->OnPaintStep = nullptr;
    rig.Window.InvalidateAll();
    rig.Window.UpdateNow();
    EXPECT_EQ(rig.Window.Screen(), good);
}

TEST(PageViewPaint, RepaintAreasGrowWithShadowAndBorderAndStayInTheClient) {
    TRig rig;
    makeBook(rig.Doc);
    rig.Open(800, 500);
    TFBPage* page = rig.Doc.Pages.Items(0);
    auto* frame = TestSupport::placeElement<TFBPictureElement>(page, 100, 60, 40, 40);
    const TRect plain = rig.View->ElementArea(*frame);
    givePhoto(frame);
    const TRect shadowed = rig.View->ElementArea(*frame);
    const float s = rig.Scale();
    EXPECT_NEAR(shadowed.Width() - plain.Width(), 4 * s, 2);
    frame->SetBorderWidth(3);
    EXPECT_NEAR(rig.View->ElementArea(*frame).Width() - shadowed.Width(), 6 * s, 2);
    frame->CenterX = 1e30f;
    const TRect far = rig.View->ElementArea(*frame);
    EXPECT_TRUE(far.IsEmpty() || (far.Left >= 0 && far.Right <= 800 && far.Top >= 0 && far.Bottom <= 500));
    frame->CenterX = 100;
    frame->Width = 1e30f;
    const TRect huge = rig.View->ElementArea(*frame);
    EXPECT_GE(huge.Left, 0);
    EXPECT_LE(huge.Right, 800);
    rig.Window.InvalidateAll();
    rig.Window.UpdateNow();
}

TEST(PageViewPaint, FractionalAndDoublePixelRatiosPaintEveryPixel) {
    for (float dpr : {1.5f, 2.0f}) {
        TRig rig;
        makeBook(rig.Doc);
        rig.Open(333, 211, dpr);
        TFBPage* page = rig.Doc.Pages.Items(0);
        auto* text = addText(page, 100, 60, 40, 20);
        rig.View->Select(text);
        rig.Window.UpdateNow();
        EXPECT_EQ(rig.View->BackBuffer().width(), static_cast<int>(std::ceil((333 + 50) * dpr)));
        EXPECT_EQ(rig.Window.Screen().width(), static_cast<int>(std::ceil(333 * dpr)));
        // A move by odd logical steps leaves no stale edge behind.
        const QPoint p = rig.At(page, 100, 60);
        rig.View->MousePress(p.x(), p.y(), pbLeft, 0);
        rig.View->MouseMove(p.x() + 3, p.y() + 1, pbLeft, 0);
        rig.View->MouseMove(p.x() + 7, p.y() + 4, pbLeft, 0);
        rig.View->MouseRelease(p.x() + 7, p.y() + 4, pbLeft);
        EXPECT_TRUE(rig.MatchesFullRepaint()) << dpr;
        // The screen's edge pixels are painted (not left white).
        const QImage& screen = rig.Window.Screen();
        EXPECT_NE(screen.pixel(screen.width() - 1, screen.height() - 1), 0xFFFFFFFFu) << dpr;
    }
}

} // namespace
