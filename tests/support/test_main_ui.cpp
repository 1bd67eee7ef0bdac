// Test entry point for widget tests: a QApplication on the offscreen platform with the splash
// wait shortened.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("TINTARO_SPLASH_MS"))
        setenv("TINTARO_SPLASH_MS", "0", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
