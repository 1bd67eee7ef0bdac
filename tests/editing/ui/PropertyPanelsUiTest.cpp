// The picture and colour panels with mouse input: what a frame without picture allows, the zoom
// slider's undo steps, cancelled and confirmed filters, turns, a new colour, and screenshots of
// both panels (build/screenshots).
#include "document/uFBColor.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "editing/ui/uSubformBild.h"
#include "editing/ui/uSubformFarbFlaeche.h"
#include "support/FakeColorDialog.h"
#include "support/GuiTest.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <optional>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

// The filter dialog: cancels, or returns the picture darkened.
class FakeFilterHost : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind kind, const QImage& picture, int) override {
        ran.push_back(kind);
        if (!confirm)
            return std::nullopt;
        QImage out = picture;
        out.fill(Qt::darkGray);
        return out;
    }
    bool confirm = false;
    std::vector<TPictureFilterKind> ran;
};

class PropertyPanels : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        TestSupport::GuiTest::SetUp();
        TestSupport::addPages(document, 1);
        page = document.Pages.Items(0);
        frame = TestSupport::placeElement<TFBPictureElement>(page, 150, 100, 254, 101.6f);
        frame->CanZoomAndTrack = true;
        subscription = Multicaster().Subscribe({[this](const QObject* source, TFBElement* element, TFBPage*) {
                                                    announced.push_back({source, element});
                                                },
                                                nullptr, nullptr});
        TBildmanager::Instance().SetFilterHost(&filters);
        previousDialog = SetColorDialogService(&colours);
    }
    void TearDown() override {
        SetColorDialogService(previousDialog);
        subscription.Reset();
        document.Reset();
        TestSupport::GuiTest::TearDown();
    }
    void showWidePhoto() {
        const QString path = dir.filePath(QStringLiteral("wide.png"));
        ASSERT_TRUE(PictureSupport::photo(3000, 1200).save(path, "PNG"));
        frame->SetPictureFile(path);
        document.Modified = false;
    }
    template <typename T>
    static T* child(const QWidget& panel, const char* name) {
        T* found = panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QRect handleOf(QSlider* slider) {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.state |= QStyle::State_Horizontal;
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        option.pageStep = slider->pageStep();
        option.singleStep = slider->singleStep();
        option.tickPosition = slider->tickPosition();
        option.subControls = QStyle::SC_All;
        return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    }
    static void wheel(QWidget* widget, int delta) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QWheelEvent e(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &e);
    }
    static void shoot(QWidget& panel, const char* name) {
        panel.resize(640, 136);
        panel.show();
        QApplication::processEvents();
        const QImage shot = panel.grab().toImage();
        EXPECT_TRUE(shot.save(screenshotPath(QString::fromLatin1(name))));
    }
    int announcedBy(const QObject* source) const {
        int n = 0;
        for (const auto& [s, element] : announced)
            n += s == source && element == frame;
        return n;
    }

    QTemporaryDir dir;
    TFBDocument document;
    TFBPage* page = nullptr;
    TFBPictureElement* frame = nullptr;
    TMulticaster::TSubscription subscription;
    std::vector<std::pair<const QObject*, TFBElement*>> announced;
    FakeFilterHost filters;
    TestSupport::TFakeColorDialog colours;
    TColorDialogService* previousDialog = nullptr;
};

} // namespace

TEST_F(PropertyPanels, PicturePanelOffersItsControlsOnlyForAFrameWithPicture) {
    TSFormBild panel;
    auto* slider = child<QSlider>(panel, "ZoomTrackbar");
    auto* left = child<QPushButton>(panel, "BtnBildDrehenLinks");
    auto* right = child<QPushButton>(panel, "BtnBildDrehenRechts");
    auto* filter = child<QPushButton>(panel, "BtnBildFilter");
    auto* dpi = child<QLabel>(panel, "lbldpi");
    EXPECT_FALSE(panel.isEnabled()) << "nothing to show";
    EXPECT_EQ(slider->minimum(), 100);
    EXPECT_EQ(slider->maximum(), 400);
    EXPECT_EQ(slider->pageStep(), 10);
    EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
    EXPECT_FALSE(slider->focusPolicy() & Qt::TabFocus);
    ASSERT_EQ(panel.FilterMenu()->actions().size(), 4);

    panel.SetElement(frame);
    EXPECT_TRUE(panel.isEnabled());
    for (QWidget* control : std::initializer_list<QWidget*>{slider, left, right, filter})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(dpi->text().isEmpty());
    EXPECT_EQ(panel.AmpelImage().pixel(7, 15),
              PanelRules::AmpelCutOut(PanelRules::AmpelStrip(), 0).pixel(7, 15));
    // Nothing to act on: the handlers do nothing and record nothing.
    panel.BtnBildDrehenLinksClick();
    panel.RunFilter(TPictureFilterKind::HKIG);
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_TRUE(filters.ran.empty());

    // A picture arrives from elsewhere (the page view announces it): the panel follows.
    showWidePhoto();
    panel.ElementChanged(frame, page);
    for (QWidget* control : std::initializer_list<QWidget*>{slider, left, right, filter})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(dpi->text(), QStringLiteral("300 dpi"));
    EXPECT_EQ(panel.AmpelImage(), PanelRules::AmpelCutOut(PanelRules::AmpelStrip(), 300));
    frame->SetZoom(2);
    panel.ElementChanged(frame, page);
    EXPECT_EQ(dpi->text(), QStringLiteral("150 dpi"));
    EXPECT_EQ(slider->value(), 200);
    EXPECT_EQ(panel.AmpelImage(), PanelRules::AmpelCutOut(PanelRules::AmpelStrip(), 150));
    EXPECT_EQ(UndoManager().Count(), 0) << "showing the zoom is no zoom of the user's";
    EXPECT_TRUE(announced.empty());

    shoot(panel, "panel-bild.png");

    panel.DocumentRestored();
    EXPECT_EQ(panel.Element(), nullptr);
    EXPECT_FALSE(panel.isEnabled());
}

TEST_F(PropertyPanels, ZoomSliderLeavesAStepOnlyWhenThePressMovedIt) {
    showWidePhoto();
    TSFormBild panel;
    panel.resize(600, 120);
    panel.show();
    panel.SetElement(frame);
    auto* slider = child<QSlider>(panel, "ZoomTrackbar");
    const QRect handle = handleOf(slider);
    ASSERT_TRUE(handle.isValid());

    // Press and release on the thumb without moving it.
    QTest::mousePress(slider, Qt::LeftButton, {}, handle.center());
    EXPECT_EQ(UndoManager().Count(), 1) << "the press records before anything moves";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, handle.center());
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_FLOAT_EQ(frame->Zoom, 1);
    EXPECT_FALSE(document.Modified);

    // A click in the groove is a page step the slider reports no press for: still one step.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 4, slider->height() / 2));
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_GT(frame->Zoom, 1.05f);
    EXPECT_EQ(slider->value(), PanelRules::ZoomSliderPosition(frame->Zoom));
    EXPECT_TRUE(document.Modified);
    EXPECT_GE(announcedBy(&panel), 1) << "the page view repaints what the slider did";

    // The wheel would zoom without a press: it is ignored.
    const float zoom = frame->Zoom;
    wheel(slider, -120);
    wheel(slider, 120);
    EXPECT_FLOAT_EQ(frame->Zoom, zoom);
    EXPECT_EQ(UndoManager().Count(), 1);

    UndoManager().Undo(document);
    frame = page->Picture(0);
    EXPECT_FLOAT_EQ(frame->Zoom, 1);
}

TEST_F(PropertyPanels, FiltersAndTurnsAreUndoStepsOnlyWhenDone) {
    showWidePhoto();
    TSFormBild panel;
    panel.SetElement(frame);
    QMenu* menu = panel.FilterMenu();
    ASSERT_EQ(menu->objectName(), QStringLiteral("pmBildFilter"));
    const auto trigger = [menu](const char* name) {
        QAction* action = menu->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    };

    // A cancelled filter: the undo history is as it was, nothing is announced.
    UndoManager().AddBildDrehen(frame);
    const TUndoItem* before = UndoManager().Last();
    trigger("mnuHSL");
    EXPECT_EQ(filters.ran, std::vector<TPictureFilterKind>{TPictureFilterKind::HSL});
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(UndoManager().Last(), before);
    EXPECT_EQ(announcedBy(&panel), 0);

    filters.confirm = true;
    trigger("mnuRedEye");
    EXPECT_EQ(UndoManager().Count(), 2);
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildFilter"));
    EXPECT_EQ(announcedBy(&panel), 1);
    EXPECT_EQ(QColor(frame->GetBitmap().pixel(10, 10)), QColor(Qt::darkGray));

    // Turns: the picture stands upright afterwards, the frame shows it at a new resolution.
    QTest::mouseClick(child<QPushButton>(panel, "BtnBildDrehenRechts"), Qt::LeftButton);
    EXPECT_EQ(frame->GetBitmap().size(), QSize(1200, 3000));
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildDrehen"));
    EXPECT_EQ(announcedBy(&panel), 2);
    EXPECT_EQ(child<QLabel>(panel, "lbldpi")->text(), QStringLiteral("%1 dpi").arg(frame->EffectiveDpi()));
    QTest::mouseClick(child<QPushButton>(panel, "BtnBildDrehenLinks"), Qt::LeftButton);
    EXPECT_EQ(frame->GetBitmap().size(), QSize(3000, 1200));
    EXPECT_EQ(UndoManager().Count(), 4);
    EXPECT_EQ(child<QLabel>(panel, "lbldpi")->text(), QStringLiteral("300 dpi"));
}

TEST_F(PropertyPanels, ColourPanelShowsTheAreaAndFillsItWithThePickedColour) {
    frame->CanZoomAndTrack = false;
    frame->SetColorFill(0x00204080);
    TSFormFarbFlaeche panel;
    EXPECT_FALSE(panel.isEnabled());
    panel.SetElement(frame);
    // The area's picture is stored as a JPEG, which may move each part by a step or two.
    const auto near = [&](const char* label, int value) {
        const int shown = child<QLabel>(panel, label)->text().toInt();
        EXPECT_LE(std::abs(shown - value), 2) << label << " shows " << shown;
    };
    EXPECT_EQ(panel.Color(), PanelRules::ColorAreaColor(*frame));
    near("lblR", 128);
    near("lblG", 64);
    near("lblB", 32);
    auto* button = child<QPushButton>(panel, "BtnFarbeAendern");

    // Cancelled: nothing changes.
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(colours.shownWith, panel.Color()) << "the dialog starts at the colour shown";
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_TRUE(announced.empty());

    colours.pick = true;
    colours.picked = 0x0000C0FF;
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(panel, "lblR")->text(), QStringLiteral("255")) << "the picked colour itself";
    EXPECT_EQ(child<QLabel>(panel, "lblG")->text(), QStringLiteral("192"));
    EXPECT_EQ(child<QLabel>(panel, "lblB")->text(), QStringLiteral("0"));
    EXPECT_EQ(child<QFrame>(panel, "pbFarbe")->palette().color(QPalette::Window), QColor(255, 192, 0));
    const PanelRules::TColorParts filled = PanelRules::ColorParts(PanelRules::ColorAreaColor(*frame));
    EXPECT_GE(filled.R, 252);
    EXPECT_LE(std::abs(filled.G - 192), 2);
    EXPECT_LE(filled.B, 3);
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoFarbeEinfuegen"));
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(announcedBy(&panel), 1);
    EXPECT_TRUE(document.Modified);

    shoot(panel, "panel-farbflaeche.png");

    UndoManager().Undo(document);
    frame = page->Picture(0);
    panel.SetElement(frame);
    near("lblR", 128);
    near("lblG", 64);
}
