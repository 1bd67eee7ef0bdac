// Pictures of the main window for people to look at, written into build/screenshots/: a book and a
// calendar at the first-start size, the minimum size, a full-HD screen and a dark palette. The
// ctest entries main_window_screenshots and main_window_screenshots_ratio_2 run them on a
// 1920 x 1080 screen (the offscreen default of 800 x 600 would shrink the window).
#include "app/ui/FMainform.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchDocument.h"
#include "editing/ui/uFotobuchMainview.h"
#include "support/GuiTest.h"

#include "ScriptedPrompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir = QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absoluteDir();
    dir.cdUp();
    dir.mkpath(QStringLiteral("screenshots"));
    const qreal ratio = qApp->devicePixelRatio();
    const QString suffix = ratio > 1 ? QStringLiteral("-ratio%1").arg(ratio) : QString();
    return dir.filePath(QStringLiteral("screenshots/mainwindow-%1%2.png").arg(name, suffix));
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2E));
    p.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xE8));
    p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x20));
    p.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x29));
    p.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    p.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3E));
    p.setColor(QPalette::ButtonText, QColor(0xE8, 0xE8, 0xE8));
    p.setColor(QPalette::Light, QColor(0x5A, 0x5A, 0x60));
    p.setColor(QPalette::Midlight, QColor(0x48, 0x48, 0x4E));
    p.setColor(QPalette::Dark, QColor(0x10, 0x10, 0x12));
    p.setColor(QPalette::Mid, QColor(0x26, 0x26, 0x2A));
    p.setColor(QPalette::Shadow, QColor(0x00, 0x00, 0x00));
    p.setColor(QPalette::Highlight, QColor(0x2D, 0x6C, 0xC0));
    p.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    p.setColor(QPalette::ToolTipBase, QColor(0x3A, 0x3A, 0x3E));
    p.setColor(QPalette::ToolTipText, QColor(0xE8, 0xE8, 0xE8));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x84));
    return p;
}

class MainWindowScreenshots : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        const QSize screen = QGuiApplication::primaryScreen()->size();
        if (screen.width() < 1920 || screen.height() < 1080)
            GTEST_SKIP() << "needs a 1920 x 1080 screen (ctest main_window_screenshots)";
    }
    void TearDown() override {
        master.reset();
        QApplication::setPalette(QPalette());
        GuiTest::TearDown();
    }
    // The window at first start with the product of the code as the wizard would make it.
    void start(int productCode, const QString& name) {
        master = std::make_unique<TMaster>(&prompts);
        master->SetNewProjectWizard([productCode, name](TFBDocument& document) {
            CreateProductDocument(document, productCode, 2027);
            document.Dokumentname = name;
            return 1;
        });
        master->show();
        master->StartWith({});
        settle();
    }
    void settle() {
        // The folder trees announce their start folder after their delay.
        QTest::qWait(600);
        QApplication::processEvents();
    }
    void resizeClient(int width, int height) {
        master->resize(width, height + master->menuBar()->height());
        settle();
    }
    void shoot(const QString& name) {
        const QImage shot = master->grab().toImage();
        EXPECT_EQ(shot.size(), master->size() * shot.devicePixelRatio()) << name.toStdString();
        const QString path = screenshotPath(name);
        EXPECT_TRUE(shot.save(path)) << path.toStdString();
    }

    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
};

} // namespace

TEST_F(MainWindowScreenshots, ABookAtFirstStartTheMinimumSizeAndFullHd) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    start(31, QStringLiteral("Sommer in Ligurien"));
    std::cout << "first paint after " << sinceStart.elapsed()
              << " ms (including the folder delay of 500 ms)\n";
    shoot(QStringLiteral("first-start-book"));
    resizeClient(700, 500 - master->menuBar()->height());
    shoot(QStringLiteral("minimum"));
    resizeClient(1920, 1080 - 60);
    shoot(QStringLiteral("full-hd"));
}

TEST_F(MainWindowScreenshots, ACalendarAndADarkPalette) {
    start(61, QStringLiteral("Kalender 2027"));
    shoot(QStringLiteral("calendar"));
    QApplication::setPalette(darkPalette());
    settle();
    shoot(QStringLiteral("dark"));
}
