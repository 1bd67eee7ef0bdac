// The picture and colour panels' rules: resolution and traffic light of a frame, the zoom
// slider's undo steps, and the colour of a colour area.
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPanelRules.h"
#include "editing/uUndo.h"
#include "support/PageElements.h"
#include "support/PictureSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace PanelRules;

namespace {

class PanelRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        UndoManager().Clear();
        TestSupport::addPages(document, 1);
        // 254 mm wide and 2.5 : 1 like the picture below: the frame shows all of it at zoom 1.
        frame = TestSupport::placeElement<TFBPictureElement>(document.Pages.Items(0), 150, 100, 254, 101.6f);
        frame->CanZoomAndTrack = true;
    }
    void TearDown() override {
        UndoManager().Clear();
        document.Reset();
    }
    void showWidePhoto() {
        const QString path = dir.filePath(QStringLiteral("wide.png"));
        ASSERT_TRUE(PictureSupport::photo(3000, 1200).save(path, "PNG"));
        frame->SetPictureFile(path);
        ASSERT_TRUE(frame->HasPicture());
    }
    // The lamp colours of a cut-out: top, middle and bottom lamp centres.
    static std::array<QRgb, 3> lamps(const QImage& cut) {
        return {cut.pixel(7, 6), cut.pixel(7, 15), cut.pixel(7, 24)};
    }

    QTemporaryDir dir;
    TFBDocument document;
    TFBPictureElement* frame = nullptr;
};

} // namespace

TEST_F(PanelRulesTest, ResolutionAndTrafficLightFollowTheZoom) {
    TPicturePanelState empty = PicturePanelStateFor(frame);
    EXPECT_FALSE(empty.HasPicture);
    EXPECT_TRUE(empty.DpiText.isEmpty());
    EXPECT_EQ(AmpelCutOutLeft(empty.Dpi), 48) << "the unknown light";
    EXPECT_FALSE(PicturePanelStateFor(nullptr).HasPicture);

    showWidePhoto();
    TPicturePanelState state = PicturePanelStateFor(frame);
    EXPECT_TRUE(state.HasPicture);
    EXPECT_EQ(state.Dpi, 300);
    EXPECT_EQ(state.DpiText, QStringLiteral("300 dpi"));
    EXPECT_EQ(state.SliderPosition, 100);
    EXPECT_EQ(AmpelCutOutLeft(state.Dpi), 32) << "green";

    frame->SetZoom(2);
    state = PicturePanelStateFor(frame);
    EXPECT_EQ(state.Dpi, 150);
    EXPECT_EQ(state.SliderPosition, 200);
    EXPECT_EQ(AmpelCutOutLeft(state.Dpi), 16) << "yellow";

    // The boundaries of the three lights.
    EXPECT_EQ(AmpelCutOutLeft(1), 0);
    EXPECT_EQ(AmpelCutOutLeft(99), 0);
    EXPECT_EQ(AmpelCutOutLeft(100), 16);
    EXPECT_EQ(AmpelCutOutLeft(199), 16);
    EXPECT_EQ(AmpelCutOutLeft(200), 32);

    // The drawn strip: each cut-out lights its own lamp, magenta is see-through, the rest opaque.
    const QImage strip = AmpelStrip();
    ASSERT_EQ(strip.size(), QSize(64, 32));
    const auto red = lamps(AmpelCutOut(strip, 50));
    const auto yellow = lamps(AmpelCutOut(strip, 150));
    const auto green = lamps(AmpelCutOut(strip, 300));
    EXPECT_GT(qRed(red[0]), qRed(yellow[0]) + 80) << "the red lamp is lit only in the red light";
    EXPECT_GT(qGreen(yellow[1]), qGreen(red[1]) + 80);
    EXPECT_GT(qGreen(green[2]), qGreen(yellow[2]) + 80);
    const QImage unknown = AmpelCutOut(strip, 0);
    for (const QRgb lamp : lamps(unknown))
        EXPECT_LT(std::abs(qRed(lamp) - qGreen(lamp)), 20) << "no lamp lit for an unknown resolution";
    EXPECT_EQ(qAlpha(unknown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(unknown.pixel(7, 15)), 255);
    EXPECT_EQ(qAlpha(AmpelCutOut(QImage(20, 32, QImage::Format_RGB32), 300).pixel(7, 15)), 0)
        << "a strip too small gives nothing to see";
}

TEST_F(PanelRulesTest, ZoomSliderRecordsOneStepPerPressThatChangedSomething) {
    showWidePhoto();
    document.Modified = false;
    TZoomSliderGesture gesture;

    // Pressed and released without moving: nothing left behind.
    gesture.Press(*frame);
    EXPECT_EQ(UndoManager().Count(), 1) << "the press records at once";
    EXPECT_FALSE(gesture.Move(*frame, 100)) << "the position it already has";
    gesture.Release();
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_FALSE(document.Modified);

    // A drag is one step, which undo takes back to the zoom before the press.
    gesture.Press(*frame);
    EXPECT_TRUE(gesture.Move(*frame, 150));
    EXPECT_TRUE(gesture.Move(*frame, 230));
    gesture.Release();
    EXPECT_FLOAT_EQ(frame->Zoom, 2.3f);
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(UndoManager().Count(), 1);
    UndoManager().Undo(document);
    frame = document.Pages.Items(0)->Picture(0);
    EXPECT_FLOAT_EQ(frame->Zoom, 1);

    // Out and back to where it was: the picture is as before, so is the history.
    gesture.Press(*frame);
    gesture.Move(*frame, 300);
    gesture.Move(*frame, 100);
    gesture.Release();
    EXPECT_EQ(UndoManager().Count(), 0);

    // A change no press announced is recorded on its own; positions beyond the range clamp.
    EXPECT_TRUE(gesture.Move(*frame, 900));
    EXPECT_FLOAT_EQ(frame->Zoom, 4);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_EQ(ZoomSliderPosition(0.5f), 100);
    EXPECT_EQ(ZoomSliderPosition(2.346f), 235);

    // A record that is no longer the newest stays, even for a press that changed nothing.
    gesture.Press(*frame);
    UndoManager().AddBildDrehen(frame);
    gesture.Release();
    EXPECT_EQ(UndoManager().Count(), 3);
    EXPECT_EQ(UndoManager().Last()->ClassName(), QStringLiteral("TUndoBildDrehen"));
}

TEST_F(PanelRulesTest, AColourAreaHasTheColourOfItsFirstPixel) {
    EXPECT_EQ(ColorAreaColor(*frame), 0xFFFFFF) << "no picture: white";
    // A picture with alpha is kept losslessly: only its first pixel has the colour looked for.
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(qRgba(200, 10, 10, 255));
    picture.setPixel(0, 0, qRgba(0x99, 0x66, 0x33, 255));
    picture.setPixel(1, 0, qRgba(10, 10, 200, 128));
    frame->SetRefIndex(TBildmanager::Instance().AddBitmap(picture));
    TBildmanager::Instance().Release(frame->RefIndex); // the frame's use is the only one
    EXPECT_EQ(ColorAreaColor(*frame), 0x336699);
    const TColorParts parts = ColorParts(0x336699);
    EXPECT_EQ(parts.R, 0x99);
    EXPECT_EQ(parts.G, 0x66);
    EXPECT_EQ(parts.B, 0x33);
}
