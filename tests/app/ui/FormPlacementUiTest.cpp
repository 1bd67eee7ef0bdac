#include "app/ui/uFormPlacement.h"

#include "platform/uVXRegIniFile.h"
#include "support/TempHome.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using TestSupport::TempHome;

TEST(FormPlacementUi, WindowReopensWhereItWasClosed) {
    TempHome home;
    {
        QWidget first;
        first.setGeometry(120, 80, 400, 300);
        first.show();
        SaveFormPlacement(first, QStringLiteral("Master"));
    }
    QWidget second;
    second.resize(200, 100);
    RestoreFormPlacement(second, QStringLiteral("Master"));
    second.show();
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.geometry(), QRect(120, 80, 400, 300));
}

TEST(FormPlacementUi, MaximisedWindowReopensMaximised) {
    TempHome home;
    {
        QWidget first;
        first.setGeometry(50, 60, 300, 200);
        first.showMaximized();
        ASSERT_TRUE(first.isMaximized());
        SaveFormPlacement(first, QStringLiteral("Master"));
    }
    EXPECT_EQ(VXRegIniFile().ReadInteger(QStringLiteral("Master"), QStringLiteral("WindowState"), -1), 2);
    EXPECT_EQ(VXRegIniFile().ReadInteger(QStringLiteral("Master"), QStringLiteral("Left"), -1), -1);

    QWidget second;
    RestoreFormPlacement(second, QStringLiteral("Master"));
    second.show();
    EXPECT_TRUE(second.isMaximized());
}

TEST(FormPlacementUi, OversizedBoundsFitTheScreen) {
    TempHome home;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    VXRegIniFile().WriteInteger(QStringLiteral("Master"), QStringLiteral("WindowState"), 0);
    VXRegIniFile().WriteInteger(QStringLiteral("Master"), QStringLiteral("Left"), -50);
    VXRegIniFile().WriteInteger(QStringLiteral("Master"), QStringLiteral("Top"), 10);
    VXRegIniFile().WriteInteger(QStringLiteral("Master"), QStringLiteral("Width"), screen.width() + 600);
    VXRegIniFile().WriteInteger(QStringLiteral("Master"), QStringLiteral("Height"), 100);
    QWidget form;
    RestoreFormPlacement(form, QStringLiteral("Master"));
    EXPECT_EQ(form.geometry(), QRect(0, 10, screen.width(), 100));
}
