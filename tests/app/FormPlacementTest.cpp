#include "platform/uVXRegIniFile.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

using TestSupport::TempHome;

namespace {

const QSize screen1024(1024, 768);

TFormPlacement normalAt(const QRect& bounds) {
    TFormPlacement form;
    form.Bounds = bounds;
    return form;
}

void storeBounds(int left, int top, int width, int height) {
    SaveFormPlacement(normalAt(QRect(left, top, width, height)), QStringLiteral("Master"));
}

} // namespace

TEST(FormPlacement, NormalPlacementRoundTrips) {
    TempHome home;
    storeBounds(100, 50, 640, 480);
    const TFormPlacement restored =
        RestoreFormPlacement(normalAt(QRect(0, 0, 300, 200)), screen1024, QStringLiteral("Master"));
    EXPECT_EQ(restored.WindowState, TFormPlacement::Normal);
    EXPECT_EQ(restored.Bounds, QRect(100, 50, 640, 480));
    EXPECT_EQ(VXRegIniFile().ReadInteger(QStringLiteral("Master"), QStringLiteral("WindowState"), -1), 0);
}

TEST(FormPlacement, NothingStoredKeepsTheDesignBounds) {
    TempHome home;
    const TFormPlacement restored =
        RestoreFormPlacement(normalAt(QRect(10, 20, 300, 200)), screen1024, QStringLiteral("Master"));
    EXPECT_EQ(restored.WindowState, TFormPlacement::Normal);
    EXPECT_EQ(restored.Bounds, QRect(10, 20, 300, 200));
}

TEST(FormPlacement, MaximisedKeepsTheStoredNormalBoundsAndTheDesignBounds) {
    TempHome home;
    storeBounds(30, 40, 500, 400);
    TFormPlacement maximised = normalAt(QRect(0, 0, 1024, 768));
    maximised.WindowState = TFormPlacement::Maximized;
    SaveFormPlacement(maximised, QStringLiteral("Master"));
    // The normal bounds written before stay untouched.
    EXPECT_EQ(VXRegIniFile().ReadInteger(QStringLiteral("Master"), QStringLiteral("Width"), -1), 500);

    const TFormPlacement restored =
        RestoreFormPlacement(normalAt(QRect(5, 6, 320, 240)), screen1024, QStringLiteral("Master"));
    EXPECT_EQ(restored.WindowState, TFormPlacement::Maximized);
    EXPECT_EQ(restored.Bounds, QRect(5, 6, 320, 240));
}

TEST(FormPlacement, BoundsAreShrunkAndMovedOntoTheScreen) {
    TempHome home;
    const TFormPlacement design = normalAt(QRect(0, 0, 300, 200));
    const QString master = QStringLiteral("Master");

    storeBounds(200, 100, 1600, 500);
    EXPECT_EQ(RestoreFormPlacement(design, screen1024, master).Bounds, QRect(0, 100, 1024, 500));

    storeBounds(200, 100, 600, 1200);
    EXPECT_EQ(RestoreFormPlacement(design, screen1024, master).Bounds, QRect(200, 0, 600, 768));

    storeBounds(-50, -7, 400, 300);
    EXPECT_EQ(RestoreFormPlacement(design, screen1024, master).Bounds, QRect(0, 0, 400, 300));

    // Hanging off the right and bottom edges: moved back so that the whole window shows.
    storeBounds(900, 700, 400, 300);
    EXPECT_EQ(RestoreFormPlacement(design, screen1024, master).Bounds, QRect(624, 468, 400, 300));

    // Exactly reaching the edge counts as off the screen and lands flush with it.
    storeBounds(624, 0, 400, 300);
    EXPECT_EQ(RestoreFormPlacement(design, screen1024, master).Bounds, QRect(624, 0, 400, 300));
}

TEST(FormPlacement, DamagedStoredValuesFallBackToTheForm) {
    TempHome home;
    const QString master = QStringLiteral("Master");
    VXRegIniFile().WriteInteger(master, QStringLiteral("WindowState"), 7);
    VXRegIniFile().WriteString(master, QStringLiteral("Left"), QStringLiteral("links"));
    VXRegIniFile().WriteInteger(master, QStringLiteral("Top"), 10);
    VXRegIniFile().WriteInteger(master, QStringLiteral("Width"), 0);
    VXRegIniFile().WriteInteger(master, QStringLiteral("Height"), -5);
    const TFormPlacement restored =
        RestoreFormPlacement(normalAt(QRect(40, 20, 300, 200)), screen1024, master);
    EXPECT_EQ(restored.WindowState, TFormPlacement::Normal);
    EXPECT_EQ(restored.Bounds, QRect(40, 10, 300, 200));
}

TEST(FormPlacement, MinimisedStateIsRestoredWithoutBounds) {
    TempHome home;
    TFormPlacement minimised = normalAt(QRect(1, 2, 300, 200));
    minimised.WindowState = TFormPlacement::Minimized;
    SaveFormPlacement(minimised, QStringLiteral("Druck"));
    EXPECT_EQ(VXRegIniFile().ReadInteger(QStringLiteral("Druck"), QStringLiteral("Left"), -1), 1);
    const TFormPlacement restored =
        RestoreFormPlacement(normalAt(QRect(9, 9, 50, 50)), screen1024, QStringLiteral("Druck"));
    EXPECT_EQ(restored.WindowState, TFormPlacement::Minimized);
    EXPECT_EQ(restored.Bounds, QRect(9, 9, 50, 50));
}
