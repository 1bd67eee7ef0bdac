#include "platform/uPaintGuard.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <stdexcept>

// A paint step that throws is caught, traced once for its view and counted every time; the
// caller's placeholder is what the view shows.
TEST(PaintGuard, AFailingPaintStepIsCaughtReportedOnceAndLeavesAPlaceholder) {
    const int before = PaintFailures();
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int i = 0; i < 3; ++i) {
        const bool drawn = GuardedPaint(
            "TestView", [i] { throw std::runtime_error(i == 0 ? "first failure" : "later failure"); });
        EXPECT_FALSE(drawn);
        DrawPaintPlaceholder(painter, image.rect());
    }
    painter.end();
    EXPECT_EQ(PaintFailures(), before + 3);
    EXPECT_EQ(FirstPaintFailure("TestView"), QStringLiteral("first failure"));
    EXPECT_TRUE(FirstPaintFailure("OtherView").isEmpty());
    EXPECT_EQ(QColor(image.pixel(20, 2)), QColor(0xE0, 0xE0, 0xE0));
    bool ran = false;
    EXPECT_TRUE(GuardedPaint("TestView", [&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_EQ(PaintFailures(), before + 3);
}
