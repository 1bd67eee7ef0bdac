#include "editing/uTracker.h"
#include "render/uBitmapDrawContext.h"
#include "render/uTransformation.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A tracker around a 40 x 20 mm element centred at (50, 50) mm, seen at 2 pixels per mm.
class TrackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.Scale(2);
        view.Update();
        tracker.CenterX = 50;
        tracker.CenterY = 50;
        tracker.Width = 40;
        tracker.Height = 20;
        tracker.Angle = 0;
        tracker.Visible = true;
    }
    TTransformation view;
    TTracker tracker;
};

struct TCollect : TInvalidateTarget {
    void InvalidateRect(const TRect& r) override { rects.push_back(r); }
    std::vector<TRect> rects;
};

TEST_F(TrackerTest, HandleHitWithinFourPixelsAndCornersFirst) {
    // Handle 4 (right middle) sits at (70, 50) mm = (140, 100) px.
    EXPECT_EQ(tracker.HitTest(view, 144, 100), 4);
    EXPECT_EQ(tracker.HitTest(view, 140, 96), 4);
    EXPECT_EQ(tracker.HitTest(view, 145, 100), 0);
    EXPECT_EQ(tracker.HitTest(view, 140, 105), 0);
    EXPECT_EQ(tracker.HitTest(view, 60, 80), 1);
    EXPECT_EQ(tracker.HitTest(view, 100, 120), 6);
    // The rotate handle lies 12 pixels right of the right edge.
    EXPECT_EQ(tracker.HitTest(view, 152, 100), TTracker::kRotateHandle);
    // On a tiny element every handle overlaps: the top-left corner wins.
    tracker.Width = 1;
    tracker.Height = 1;
    EXPECT_EQ(tracker.HitTest(view, 100, 100), 1);
    // The transformation is left as it was.
    EXPECT_EQ(view.StackDepth(), 0);
    float x, y;
    view.Transform(1, 1, x, y);
    EXPECT_FLOAT_EQ(x, 2);
    EXPECT_FLOAT_EQ(y, 2);
}

TEST_F(TrackerTest, BeginDragNeedsAHandle) {
    EXPECT_FALSE(tracker.BeginDrag(view, 100, 100));
    EXPECT_EQ(tracker.DragHandle, 0);
    tracker.Drag(view, 130, 130); // no handle: nothing moves
    EXPECT_FLOAT_EQ(tracker.CenterX, 50);
    EXPECT_FLOAT_EQ(tracker.Width, 40);
    ASSERT_TRUE(tracker.BeginDrag(view, 141, 101));
    EXPECT_EQ(tracker.DragHandle, 4);
    EXPECT_EQ(tracker.LastX, 141);
    EXPECT_EQ(tracker.LastY, 101);
}

TEST_F(TrackerTest, RotateSnapsNearTheCentreAndIsFreeFarAway) {
    const double a = 37 * M_PI / 180;
    ASSERT_TRUE(tracker.BeginDrag(view, 152, 100));
    tracker.Drag(view, 100 + static_cast<int>(std::lrint(40 * std::cos(a))),
                 100 + static_cast<int>(std::lrint(40 * std::sin(a))));
    EXPECT_FLOAT_EQ(tracker.Angle, 30);
    EXPECT_EQ(tracker.DragCursor(), crRotate15);

    tracker.Angle = 0;
    ASSERT_TRUE(tracker.BeginDrag(view, 152, 100));
    tracker.Drag(view, 100 + static_cast<int>(std::lrint(300 * std::cos(a))),
                 100 + static_cast<int>(std::lrint(300 * std::sin(a))));
    EXPECT_NEAR(tracker.Angle, 37, 0.2);
    EXPECT_NE(std::fmod(tracker.Angle, 1.0f), 0.0f);
    EXPECT_EQ(tracker.DragCursor(), crRotate);

    // The steps by distance: 10 degrees at 60 px, 5 at 100, 1 at 200.
    const int distances[] = {60, 100, 200};
    const int cursors[] = {crRotate10, crRotate5, crRotate1};
    const float steps[] = {10, 5, 1};
    for (int i = 0; i < 3; ++i) {
        tracker.Angle = 0;
        ASSERT_TRUE(tracker.BeginDrag(view, 152, 100));
        tracker.Drag(view, 100 + static_cast<int>(std::lrint(distances[i] * std::cos(a))),
                     100 + static_cast<int>(std::lrint(distances[i] * std::sin(a))));
        EXPECT_EQ(tracker.DragCursor(), cursors[i]);
        EXPECT_FLOAT_EQ(std::fmod(tracker.Angle, steps[i]), 0) << distances[i];
    }
}

TEST_F(TrackerTest, ResizeOnATurnedElementFollowsItsOwnAxes) {
    tracker.Angle = 90;
    // Handle 4 of the turned element lies below the centre: local (20, 0) -> page (50, 70).
    ASSERT_TRUE(tracker.BeginDrag(view, 100, 140));
    EXPECT_EQ(tracker.DragHandle, 4);
    tracker.Drag(view, 100, 160); // 10 mm down on the page
    EXPECT_NEAR(tracker.Width, 50, 1e-4);
    EXPECT_NEAR(tracker.Height, 20, 1e-4);
    EXPECT_NEAR(tracker.CenterX, 50, 1e-4);
    EXPECT_NEAR(tracker.CenterY, 55, 1e-4);
    tracker.Drag(view, 120, 160); // sideways: handle 4 moves only its own edge
    EXPECT_NEAR(tracker.Width, 50, 1e-4);
    EXPECT_NEAR(tracker.CenterX, 50, 1e-4);
    EXPECT_NEAR(tracker.CenterY, 55, 1e-4);
}

TEST_F(TrackerTest, DraggingAnEdgePastTheOppositeGivesANegativeSize) {
    // Handle 8 (left middle) at (30, 50) mm dragged 60 mm to the right.
    ASSERT_TRUE(tracker.BeginDrag(view, 60, 100));
    EXPECT_EQ(tracker.DragHandle, 8);
    tracker.Drag(view, 180, 100);
    EXPECT_FLOAT_EQ(tracker.Width, -20);
    // The right edge stayed at 70 mm.
    EXPECT_FLOAT_EQ(tracker.CenterX + tracker.Width / 2, 70);
    EXPECT_FLOAT_EQ(tracker.CenterX - tracker.Width / 2, 90);
    // Corner 5 moves right and bottom edges together, keeping the top-left corner.
    tracker.Width = 40;
    tracker.CenterX = 50;
    ASSERT_TRUE(tracker.BeginDrag(view, 140, 120));
    EXPECT_EQ(tracker.DragHandle, 5);
    tracker.Drag(view, 150, 130);
    EXPECT_FLOAT_EQ(tracker.Width, 45);
    EXPECT_FLOAT_EQ(tracker.Height, 25);
    EXPECT_FLOAT_EQ(tracker.CenterX - tracker.Width / 2, 30);
    EXPECT_FLOAT_EQ(tracker.CenterY - tracker.Height / 2, 40);
}

TEST_F(TrackerTest, CursorsFollowTheHandleDirectionOnScreen) {
    struct {
        int x, y, cursor;
    } cases[] = {{60, 80, crSizeDiagonalDown}, {140, 120, crSizeDiagonalDown}, // 1, 5
                 {140, 80, crSizeDiagonalUp},  {60, 120, crSizeDiagonalUp},    // 3, 7
                 {100, 80, crSizeVertical},    {100, 120, crSizeVertical},     // 2, 6
                 {140, 100, crSizeHorizontal}, {60, 100, crSizeHorizontal},    // 4, 8
                 {152, 100, crRotate}};
    for (const auto& c : cases) {
        int cursor = -1;
        ASSERT_TRUE(tracker.GetCursor(view, c.x, c.y, cursor)) << c.x << "," << c.y;
        EXPECT_EQ(cursor, c.cursor) << c.x << "," << c.y;
    }
    int cursor = -1;
    EXPECT_FALSE(tracker.GetCursor(view, 100, 100, cursor));
    // Turned by 90 degrees the right edge handle drags vertically.
    tracker.Angle = 90;
    ASSERT_TRUE(tracker.GetCursor(view, 100, 140, cursor));
    EXPECT_EQ(cursor, crSizeVertical);
}

TEST_F(TrackerTest, PaintDrawsFixedSizeHandlesAndInvalidateCoversThem) {
    QImage bitmap(300, 300, QImage::Format_ARGB32);
    bitmap.fill(0xFFFFFFFFu);
    TBitmapDrawContext dc(bitmap);
    dc.Transformation.Scale(2);
    tracker.Paint(dc);
    dc.ReleaseCanvas();
    EXPECT_EQ(dc.Transformation.StackDepth(), 0);
    // A green handle at (140, 100), a red rotate handle at (152, 100), the centre untouched.
    EXPECT_EQ(QColor(bitmap.pixel(140, 100)), QColor(0, 255, 0));
    EXPECT_EQ(QColor(bitmap.pixel(152, 100)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(bitmap.pixel(100, 100)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(bitmap.pixel(145, 100)), QColor(255, 255, 255));

    TCollect collect;
    tracker.Invalidate(collect, view);
    ASSERT_EQ(collect.rects.size(), 9u);
    for (const TRect& r : collect.rects) {
        EXPECT_EQ(r.Width(), 12);
        EXPECT_EQ(r.Height(), 12);
    }
    EXPECT_EQ(collect.rects[3], (TRect{134, 94, 146, 106}));
    // Every painted pixel lies in an invalidated area.
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) == 0xFFFFFFFFu)
                continue;
            bool covered = false;
            for (const TRect& r : collect.rects)
                covered |= x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
            ASSERT_TRUE(covered) << x << "," << y;
        }
}

TEST_F(TrackerTest, NonFiniteGeometryNeitherHitsNorInvalidates) {
    tracker.CenterX = std::nanf("");
    EXPECT_EQ(tracker.HitTest(view, 100, 100), 0);
    TCollect collect;
    tracker.Invalidate(collect, view);
    EXPECT_TRUE(collect.rects.empty());
    tracker.CenterX = 1e30f;
    tracker.Invalidate(collect, view);
    EXPECT_TRUE(collect.rects.empty());
}

} // namespace
