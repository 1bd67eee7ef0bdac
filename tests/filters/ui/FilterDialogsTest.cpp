#include "filters/ui/FDlgFilter.h"
#include "filters/ui/uFilterPic.h"
#include "filters/ui/uFilterSlider.h"

#include "support/PictureSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

// A track position in client coordinates, at a share of the track's even length.
QPoint track(const TFilterSlider& slider, int offset) {
    return {slider.TrackLeft() + offset, slider.height() / 2};
}

// A move with the left button held (QTest's own moves carry no buttons).
void drag(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

int evenLength(const TFilterSlider& slider) {
    return slider.TrackWidth() + (slider.TrackWidth() & 1);
}

struct Slider : ::testing::Test {
    Slider() {
        slider.setLocale(QLocale(QLocale::German));
        slider.resize(400, 30);
        slider.show();
        slider.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&slider));
    }
    TFilterSlider slider;
};

TEST_F(Slider, GammaTrackEndsAndMiddle) {
    slider.SetSliderMode(TSliderMode::Expo);
    EXPECT_FLOAT_EQ(slider.Position(), 0.1f); // 0 kept within the new range
    slider.SetPosition(1);
    QTest::mousePress(&slider, Qt::LeftButton, {}, track(slider, 0));
    EXPECT_FLOAT_EQ(slider.Position(), 0.1f);
    drag(&slider, track(slider, evenLength(slider) / 2));
    EXPECT_FLOAT_EQ(slider.Position(), 1.0f);
    drag(&slider, track(slider, slider.TrackWidth() + 30));
    EXPECT_FLOAT_EQ(slider.Position(), 10.0f);
    drag(&slider, {-50, 5});
    EXPECT_FLOAT_EQ(slider.Position(), 0.1f);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, {-50, 5});
    // After the release, moves no longer drag.
    drag(&slider, track(slider, evenLength(slider) / 2));
    EXPECT_FLOAT_EQ(slider.Position(), 0.1f);
    EXPECT_TRUE(slider.hasFocus());
}

TEST_F(Slider, KeysStepJumpAndReset) {
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_EQ(slider.Position(), 100.0f);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(slider.Position(), 90.0f);
    QTest::keyClick(&slider, Qt::Key_Left);
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_EQ(slider.Position(), 88.0f);
    QTest::keyClick(&slider, Qt::Key_Right);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(slider.Position(), 99.0f);
    QTest::keyClick(&slider, Qt::Key_Down);
    QTest::keyClick(&slider, Qt::Key_Down);
    EXPECT_EQ(slider.Position(), 100.0f);
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(slider.Position(), -100.0f);
    QTest::keyClick(&slider, Qt::Key_R);
    EXPECT_EQ(slider.Position(), 0.0f);

    slider.SetSliderMode(TSliderMode::Expo);
    QTest::keyClick(&slider, Qt::Key_End);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_FLOAT_EQ(slider.Position(), 9.0f);
    QTest::keyClick(&slider, Qt::Key_R);
    EXPECT_EQ(slider.Position(), 1.0f);
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_FLOAT_EQ(slider.Position(), 1.1f);
}

TEST_F(Slider, NumberFieldShowsTakesAndRewrites) {
    QLineEdit* field = slider.NumberField();
    slider.SetPosition(12.6f);
    EXPECT_EQ(field->text(), QStringLiteral("13"));
    slider.SetSliderMode(TSliderMode::Expo);
    slider.SetPosition(1);
    EXPECT_EQ(field->text(), QStringLiteral("1,00"));
    slider.SetPosition(2.345f);
    EXPECT_EQ(field->text(), QStringLiteral("2,35"));

    slider.SetSliderMode(TSliderMode::Linear);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("250"));
    EXPECT_EQ(slider.Position(), 100.0f);
    EXPECT_EQ(field->text(), QStringLiteral("100"));

    // Letters never get in; a lone minus sign is no number and gives way to the position on Enter,
    // which also hands the focus back to the slider.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("x-"));
    EXPECT_EQ(field->text(), QStringLiteral("-"));
    EXPECT_EQ(slider.Position(), 100.0f);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), QStringLiteral("100"));
    EXPECT_TRUE(slider.hasFocus());

    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("-35"));
    EXPECT_EQ(slider.Position(), -35.0f);
    EXPECT_EQ(field->text(), QStringLiteral("-35"));

    // Exponential: the German decimal comma is typed; a point is refused.
    slider.SetSliderMode(TSliderMode::Expo);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("3."));
    EXPECT_EQ(field->text(), QStringLiteral("3"));
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("2,5"));
    EXPECT_FLOAT_EQ(slider.Position(), 2.5f);
    EXPECT_EQ(field->text(), QStringLiteral("2,5"));
    // Too large a number is clamped at once and the field says so.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("25"));
    EXPECT_EQ(slider.Position(), 10.0f);
    EXPECT_EQ(field->text(), QStringLiteral("10,00"));
}

TEST_F(Slider, ChangesAreImmediateOrThrottledByTheDelay) {
    QSignalSpy changes(&slider, &TFilterSlider::Changed);
    slider.SetPosition(5);
    EXPECT_EQ(changes.count(), 1);
    slider.SetPosition(5); // no change, no event
    EXPECT_EQ(changes.count(), 1);

    slider.SetChangeDelay(40);
    changes.clear();
    for (int i = 0; i < 10; ++i)
        slider.SetPosition(float(10 + i));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(changes.wait(1000));
    QTest::qWait(100);
    EXPECT_EQ(changes.count(), 1);

    // A long drag updates while it goes on, and the last position always arrives.
    changes.clear();
    float lastSeen = 0;
    QObject::connect(&slider, &TFilterSlider::Changed, [&] { lastSeen = slider.Position(); });
    QTest::mousePress(&slider, Qt::LeftButton, {}, track(slider, 0));
    QElapsedTimer clock;
    clock.start();
    int moves = 0;
    while (clock.elapsed() < 400) {
        drag(&slider, track(slider, 1 + moves % (slider.TrackWidth() - 1)));
        ++moves;
        QTest::qWait(10);
    }
    const float final = slider.Position();
    QTest::mouseRelease(&slider, Qt::LeftButton, {},
                        track(slider, 1 + (moves - 1) % (slider.TrackWidth() - 1)));
    QTest::qWait(150);
    EXPECT_GE(changes.count(), 3);
    EXPECT_LT(changes.count(), moves);
    EXPECT_EQ(lastSeen, final);
}

// ---- dialogs

struct FilterDialogs : ::testing::Test {
    // Left half red, right half blue: shows which way a preview is turned.
    QImage picture = PictureSupport::halves(400, 300);
};

bool isTurnedQuarter(const QImage& shown) {
    // Turned clockwise by 90 degrees the red half lies on top.
    return shown.height() > shown.width() && qRed(shown.pixel(shown.width() / 2, 5)) > 150 &&
           qBlue(shown.pixel(shown.width() / 2, shown.height() - 5)) > 150;
}

TEST_F(FilterDialogs, PreviewsShowTheTurnedPictureAndOkFiltersItUnturned) {
    TDlgFilterHKIG dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("DlgFilterHKIG"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bildnachbearbeitung"));
    ASSERT_EQ(dialog.SliderCount(), 4);
    EXPECT_EQ(dialog.Slider(3)->SliderMode(), TSliderMode::Expo);
    EXPECT_EQ(dialog.Slider(3)->Position(), 1.0f);
    dialog.SetPicture(picture, 90);
    EXPECT_TRUE(isTurnedQuarter(dialog.PicAlt()->Bitmap()));
    EXPECT_TRUE(isTurnedQuarter(dialog.PicNeu()->Bitmap()));
    EXPECT_EQ(dialog.PicAlt()->Bitmap().height(), dialog.PicAlt()->height());

    // A brighter preview after the delay.
    const QRgb before = dialog.PicNeu()->Bitmap().pixel(10, 10);
    dialog.Slider(0)->SetPosition(40);
    QTest::qWait(120);
    const QRgb after = dialog.PicNeu()->Bitmap().pixel(10, 10);
    EXPECT_EQ(qRed(after), std::min(255, qRed(before) + 102));

    dialog.show();
    dialog.grab().save(screenshotPath(QStringLiteral("filter-hkig-turned90.png")));
    dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ProgressBar()->value(), 100);
    EXPECT_EQ(dialog.Picture().size(), picture.size());
    QImage expected = picture;
    FilterHKIG(expected, 0.4f, 0, 0, 1);
    EXPECT_EQ(dialog.Picture(), expected);
}

TEST_F(FilterDialogs, MinusNinetyDegreesIsAThreeQuarterTurn) {
    TDlgFilterHSL dialog;
    dialog.SetPicture(picture, -90);
    const QImage& shown = dialog.PicAlt()->Bitmap();
    EXPECT_GT(shown.height(), shown.width());
    EXPECT_GT(qBlue(shown.pixel(shown.width() / 2, 5)), 150); // the blue half on top
    TDlgFilterSWCol other;
    other.SetPicture(picture, 45);
    EXPECT_GT(other.PicAlt()->Bitmap().width(), other.PicAlt()->Bitmap().height());
}

TEST_F(FilterDialogs, BlackAndWhiteAndReset) {
    TDlgFilterSWCol dialog;
    dialog.SetPicture(PictureSupport::photo(320, 240), 0);
    EXPECT_EQ(dialog.Slider(0)->Position(), -80.0f);
    EXPECT_EQ(dialog.Slider(1)->Position(), -40.0f);
    // The default tone is warm: more red than blue.
    const QRgb toned = dialog.PicNeu()->Bitmap().pixel(50, 50);
    EXPECT_GT(qRed(toned), qBlue(toned));

    dialog.findChild<QPushButton*>(QStringLiteral("BtnSchwarzWeiss"))->click();
    EXPECT_EQ(dialog.Slider(1)->Position(), -100.0f);
    const QImage& grey = dialog.PicNeu()->Bitmap();
    for (int y = 0; y < grey.height(); y += 7)
        for (int x = 0; x < grey.width(); x += 7) {
            const QRgb p = grey.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << ',' << y;
        }
    dialog.Slider(0)->SetPosition(30);
    dialog.findChild<QPushButton*>(QStringLiteral("BtnZuruecksetzen"))->click();
    EXPECT_EQ(dialog.Slider(0)->Position(), -80.0f);
    EXPECT_EQ(dialog.Slider(1)->Position(), -40.0f);
    EXPECT_EQ(dialog.PicNeu()->Bitmap().pixel(50, 50), toned);

    dialog.findChild<QPushButton*>(QStringLiteral("BtnAbbrechen"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(FilterDialogs, ScreenshotsOfTheThreeDialogs) {
    const QImage photo = PictureSupport::photo(640, 480);
    TDlgFilterHSL hsl;
    hsl.SetPicture(photo, 90);
    hsl.Slider(0)->SetPosition(60);
    hsl.UpdatePreview();
    hsl.show();
    const QImage hslShot = hsl.grab().toImage();
    EXPECT_TRUE(hslShot.save(screenshotPath(QStringLiteral("filter-hsl-turned90.png"))));
    TDlgFilterSWCol swcol;
    swcol.SetPicture(photo, 90);
    swcol.show();
    EXPECT_TRUE(swcol.grab().save(screenshotPath(QStringLiteral("filter-swcol-turned90.png"))));
    EXPECT_EQ(hslShot.width(), hsl.width() * int(hsl.devicePixelRatioF()));
}

} // namespace
