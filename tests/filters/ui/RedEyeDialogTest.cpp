#include "filters/ui/FDlgFilter.h"
#include "filters/ui/FDlgRoteAugen.h"
#include "filters/ui/uFilterPic.h"
#include "filters/ui/uFilterSlider.h"
#include "filters/ui/uPictureFilterHost.h"

#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "filters/uPictureFilter.h"
#include "support/PageElements.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A face-like picture with two red pupils.
QImage redEyes() {
    QImage image = filled(160, 120, qRgb(230, 190, 160));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int cx : {55, 105}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(250, 250, 245));
        painter.drawEllipse(QPointF(cx, 60), 14, 9);
        painter.setBrush(QColor(200, 30, 40));
        painter.drawEllipse(QPointF(cx, 60), 6, 6);
        painter.setBrush(QColor(60, 10, 10));
        painter.drawEllipse(QPointF(cx, 60), 2, 2);
    }
    return image;
}

void wheel(QWidget* target, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

struct RedEyeDialog : ::testing::Test {
    RedEyeDialog() {
        dialog.show();
        QTest::qWait(10);
    }
    QToolButton* button(const char* name) {
        return dialog.findChild<QToolButton*>(QString::fromLatin1(name));
    }
    TDlgRoteAugen dialog;
};

TEST_F(RedEyeDialog, StartsInMoveModeWithTheMiddleBrush) {
    EXPECT_EQ(dialog.objectName(), QStringLiteral("DlgRoteAugen"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bildnachbearbeitung"));
    EXPECT_EQ(dialog.Zoom(), 1.0f);
    EXPECT_EQ(dialog.Mode(), TDlgRoteAugen::TMode::Move);
    EXPECT_EQ(dialog.BrushSize(), 5);
    EXPECT_TRUE(button("BtnDrag")->isChecked());
    EXPECT_TRUE(button("BtnPinsel3")->isChecked());
    for (const char* name : {"BtnDrag", "BtnRedEye", "BtnPinsel1", "BtnPinsel3", "BtnPinsel5"}) {
        EXPECT_FALSE(button(name)->toolTip().isEmpty()) << name;
        EXPECT_EQ(button(name)->accessibleName(), button(name)->toolTip()) << name;
    }
    button("BtnPinsel5")->click();
    EXPECT_EQ(dialog.BrushSize(), 9);
    button("BtnPinsel1")->click();
    EXPECT_EQ(dialog.BrushSize(), 3);
}

TEST_F(RedEyeDialog, BrushClicksRetouchADiscAndHideTheCursor) {
    const QImage red = filled(60, 40, qRgb(255, 0, 0));
    dialog.SetPicture(red);
    EXPECT_EQ(dialog.PaintBox()->size(), QSize(60, 40));
    button("BtnRedEye")->click();
    EXPECT_EQ(dialog.Mode(), TDlgRoteAugen::TMode::Brush);
    EXPECT_EQ(dialog.PaintBox()->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(dialog.Zoom(), 1.0f);
    QTest::mouseClick(dialog.PaintBox(), Qt::LeftButton, {}, {10, 10});
    const QImage& done = dialog.Picture();
    int changed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (done.pixel(x, y) != red.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(x >= 8 && x <= 12 && y >= 8 && y <= 12) << x << ',' << y;
                EXPECT_EQ(done.pixel(x, y), qRgb(0, 0, 0));
            }
    EXPECT_EQ(changed, 21);

    // Moving with the button held paints along; without, it only moves the outline.
    QTest::mouseMove(dialog.PaintBox(), {40, 30});
    ASSERT_TRUE(dialog.OutlinePosition().has_value());
    EXPECT_EQ(*dialog.OutlinePosition(), QPoint(40, 30));
    EXPECT_EQ(done.pixel(40, 30), qRgb(255, 0, 0));

    button("BtnDrag")->click();
    EXPECT_EQ(dialog.PaintBox()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(dialog.OutlinePosition().has_value());
}

TEST_F(RedEyeDialog, ClicksAndCtrlWheelZoomAroundThePoint) {
    dialog.SetPicture(filled(2000, 1500, qRgb(90, 120, 200)));
    QTest::mouseClick(dialog.PaintBox(), Qt::LeftButton, {}, {300, 200});
    EXPECT_EQ(dialog.Zoom(), 1.5f);
    EXPECT_EQ(dialog.PaintBox()->size(), QSize(3000, 2250));
    // The clicked picture point (300, 200) now lies in the middle of the client area.
    const QSize client = dialog.ScrollBox()->viewport()->size();
    EXPECT_EQ(dialog.ScrollPosition(), QPoint(450 - client.width() / 2, 300 - client.height() / 2));
    const QPoint middle(client.width() / 2, client.height() / 2);
    const QPoint under = dialog.PaintBox()->mapFrom(dialog.ScrollBox()->viewport(), middle);
    QTest::mouseClick(dialog.PaintBox(), Qt::RightButton, {}, under);
    EXPECT_FLOAT_EQ(dialog.Zoom(), 1.0f);

    // Ctrl + wheel towards the user zooms in, away zooms out; half notches add up.
    QWidget* viewport = dialog.ScrollBox()->viewport();
    wheel(viewport, {100, 100}, -120, Qt::ControlModifier);
    EXPECT_EQ(dialog.Zoom(), 1.5f);
    wheel(viewport, {100, 100}, 60, Qt::ControlModifier);
    EXPECT_EQ(dialog.Zoom(), 1.5f);
    wheel(viewport, {100, 100}, 60, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(dialog.Zoom(), 1.0f);
    wheel(viewport, {100, 100}, -120, Qt::NoModifier);
    EXPECT_FLOAT_EQ(dialog.Zoom(), 1.0f);

    // Zoom stops at 30000 / 2000 pixels for this picture, and at a quarter.
    for (int i = 0; i < 12; ++i)
        wheel(viewport, {100, 100}, -120, Qt::ControlModifier);
    EXPECT_EQ(dialog.Zoom(), 15.0f);
    for (int i = 0; i < 20; ++i)
        wheel(viewport, {100, 100}, 120, Qt::ControlModifier);
    EXPECT_EQ(dialog.Zoom(), 0.25f);
}

TEST_F(RedEyeDialog, DraggingInMoveModeScrollsWithTheMouse) {
    dialog.SetPicture(filled(2000, 1500, qRgb(90, 120, 200)));
    QWidget* box = dialog.PaintBox();
    QTest::mousePress(box, Qt::LeftButton, {}, {300, 300});
    QMouseEvent move(QEvent::MouseMove, QPointF(250, 260), box->mapToGlobal(QPointF(250, 260)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    EXPECT_EQ(dialog.ScrollPosition(), QPoint(50, 40));
    QTest::mouseRelease(box, Qt::LeftButton, {},
                        box->mapFrom(dialog.ScrollBox()->viewport(), QPoint(250, 260)));
    EXPECT_EQ(dialog.Zoom(), 1.0f); // moved too far for a zoom click
}

TEST_F(RedEyeDialog, ScreenshotAtZoomFourWithOutline) {
    dialog.SetPicture(redEyes());
    button("BtnRedEye")->click();
    button("BtnPinsel5")->click();
    dialog.SetZoom(4.0f);
    EXPECT_EQ(dialog.Zoom(), 4.0f);
    // Retouch the left pupil, leave the right one red, and rest the brush over it.
    for (QPoint p : {QPoint(53, 58), QPoint(57, 58), QPoint(53, 62), QPoint(57, 62), QPoint(55, 60)})
        QTest::mouseClick(dialog.PaintBox(), Qt::LeftButton, {}, p * 4);
    QTest::mouseMove(dialog.PaintBox(), QPoint(105, 60) * 4);
    // Beside the dark middle of each pupil.
    EXPECT_LT(qRed(dialog.Picture().pixel(55, 56)), 60);
    EXPECT_GT(qRed(dialog.Picture().pixel(105, 56)), 150);
    const QImage shot = dialog.grab().toImage();
    EXPECT_TRUE(shot.save(screenshotPath(QStringLiteral("redeye-zoom4-outline.png"))));
    // The outline inverts what lies under it: on its top row some pixels are the picture's
    // colour inverted, just above it none are.
    const QRect ring = RedEye::BrushOutline(QPoint(105, 60) * 4, 4.0f, 9);
    const auto invertedOnRow = [&](int y) {
        int count = 0;
        for (int x = ring.left(); x <= ring.right(); ++x) {
            const QRgb under = dialog.Picture().pixel(x / 4, y / 4);
            const QRgb seen = shot.pixel(dialog.PaintBox()->mapTo(&dialog, QPoint(x, y)));
            count += (seen & 0xFFFFFFu) == (~under & 0xFFFFFFu) ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(invertedOnRow(ring.top()), 0);
    EXPECT_EQ(invertedOnRow(ring.top() - 3), 0);
}

// ---- through the picture store, as the picture panel opens them

struct FilterHostTest : ::testing::Test {
    FilterHostTest() {
        InstallPictureFilterHost();
        TestSupport::addPages(doc, 1);
        page = doc.Pages.Items(0);
        frame = TestSupport::placeElement<TFBPictureElement>(page, 50, 50, 40, 30);
        frame->SetRefIndex(TBildmanager::Instance().AddBitmap(redEyes()));
        TBildmanager::Instance().Release(frame->RefIndex);
        frame->CanZoomAndTrack = true;
        // A landscape page shown turned by a quarter.
        page->Seitenausrichtung = 1;
        doc.ScreenQuerformatWinkel = 90;
    }
    ~FilterHostTest() override { TBildmanager::Instance().SetFilterHost(nullptr); }

    template <class Dialog>
    static void whenShown(std::function<void(Dialog&)> action) {
        QTimer::singleShot(0, [action = std::move(action)] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            action(*dialog);
        });
    }
    QByteArray stored() const { return TBildmanager::Instance().Find(frame->RefIndex)->FileData; }

    TFBDocument doc;
    TFBPage* page = nullptr;
    TFBPictureElement* frame = nullptr;
};

TEST_F(FilterHostTest, CancellingRedEyeLeavesTheEntry) {
    const QByteArray before = stored();
    whenShown<TDlgRoteAugen>([](TDlgRoteAugen& dialog) {
        dialog.findChild<QToolButton*>(QStringLiteral("BtnRedEye"))->click();
        QTest::mouseClick(dialog.PaintBox(), Qt::LeftButton, {}, {60, 55});
        dialog.findChild<QPushButton*>(QStringLiteral("BtnAbbrechen"))->click();
    });
    EXPECT_FALSE(ApplyFilter(*frame, TPictureFilterKind::RedEye));
    EXPECT_EQ(stored(), before);
}

TEST_F(FilterHostTest, RedEyeWorksOnTheTurnedPictureAndStoresItUnturned) {
    QSize shown;
    whenShown<TDlgRoteAugen>([&shown](TDlgRoteAugen& dialog) {
        shown = dialog.Picture().size();
        dialog.findChild<QToolButton*>(QStringLiteral("BtnRedEye"))->click();
        dialog.findChild<QToolButton*>(QStringLiteral("BtnPinsel5"))->click();
        // Turned clockwise, picture pixel (55, 60) lies at (120 - 1 - 60, 55).
        QTest::mouseClick(dialog.PaintBox(), Qt::LeftButton, {}, {59, 55});
        dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
    });
    EXPECT_TRUE(ApplyFilter(*frame, TPictureFilterKind::RedEye));
    EXPECT_EQ(shown, QSize(120, 160));
    const QImage result = frame->GetBitmap();
    EXPECT_EQ(result.size(), QSize(160, 120));
    // The store keeps a JPEG, which softens small details: compare the two pupils.
    EXPECT_LT(qRed(result.pixel(55, 56)) + 60, qRed(result.pixel(105, 56)));
    EXPECT_TRUE(TBildmanager::Instance().Find(frame->RefIndex)->FileName.startsWith(QStringLiteral("C ")));
}

TEST_F(FilterHostTest, ColourFilterResultIsStoredUnturned) {
    whenShown<TDlgFilterHKIG>([](TDlgFilterHKIG& dialog) {
        EXPECT_GT(dialog.PicAlt()->Bitmap().height(), dialog.PicAlt()->Bitmap().width());
        dialog.Slider(1)->SetPosition(50);
        dialog.findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
    });
    const QImage before = frame->GetBitmap();
    EXPECT_TRUE(ApplyFilter(*frame, TPictureFilterKind::HKIG));
    QImage expected = before;
    FilterHKIG(expected, 0, 0.5f, 0, 1);
    // The store keeps the result as a JPEG, so it comes back close to the filtered picture.
    const QImage result = frame->GetBitmap().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(result.size(), expected.size());
    double difference = 0;
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            difference += std::abs(qGreen(result.pixel(x, y)) - qGreen(expected.pixel(x, y)));
    EXPECT_LT(difference / (result.width() * result.height()), 3.0);
    EXPECT_GT(std::abs(qGreen(result.pixel(10, 10)) - qGreen(before.pixel(10, 10))), 20);
    EXPECT_TRUE(TBildmanager::Instance().Find(frame->RefIndex)->FileName.startsWith(QStringLiteral("A ")));
}

} // namespace
