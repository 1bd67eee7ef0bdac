// The print job over a fake printer: paper, imposition, ranges, copies, cancel and failures, with
// the geometry read back from what reached the recording device.
#include "print/FakePrinter.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "platform/uVXRegIniFile.h"
#include "print/uFotobuchPrinter.h"
#include "support/PageElements.h"
#include "support/TempHome.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace PrintTest;
using TestSupport::placeElement;

namespace {

constexpr int kDpi = 254; // 10 pixels per millimetre

class PrintJob : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        doc.Reset();
        TBildmanager::Instance().Clear();
        QLocale::setDefault(QLocale::system());
    }

    static int picture(QRgb colour = qRgb(200, 30, 30)) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        return TBildmanager::Instance().AddBitmap(image);
    }
    TFBPictureElement* frame(int page, float cx, float cy, float w, float h) {
        auto* f = placeElement<TFBPictureElement>(doc.Pages.Items(page), cx, cy, w, h);
        f->SetRefIndex(picture());
        return f;
    }
    // A pocket booklet with a small picture in the same place on every page.
    void booklet(int pages) {
        ASSERT_TRUE(CreateProductDocument(doc, 1, 2026, pages));
        doc.PicturesHaveShadows = false;
        for (int i = 0; i < doc.Pages.Count(); ++i) {
            TFBPage* page = doc.Pages.Items(i);
            page->Pictures.Clear();
            page->Sizeables.Clear();
            page->Calendars.Clear();
            frame(i, 20, 30, 10, 20);
        }
    }
    TFotobuchPrinter::TOutcome print() {
        TFotobuchPrinter job(doc, printer, ui);
        job.UseSettingsStore = useStore;
        job.OnSheet = [&](const TPrintedSheet& s) { sheets.push_back(s); };
        const auto outcome = job.Print();
        shift = job.RandlosverschiebungY;
        copies = job.Copies;
        return outcome;
    }
    // The device rectangles of the element bitmaps on a sheet (the page colour fills are 64 x 64).
    std::vector<QRect> elementTargets(int sheet) const {
        std::vector<QRect> targets;
        for (const RecordedImage& image : printer.engine().images)
            if (image.Page == sheet && image.Image.size() != QSize(64, 64))
                targets.push_back(image.Target);
        return targets;
    }

    TFBDocument doc;
    FakePrinter printer{{QStringLiteral("Fotodrucker"), QStringLiteral("Buero")}, kDpi};
    FakeUi ui;
    bool useStore = false;
    std::vector<TPrintedSheet> sheets;
    float shift = 0;
    int copies = 0;
};

void expectNear(const QRect& r, int left, int top, int right, int bottom) {
    EXPECT_NEAR(r.left(), left, 2);
    EXPECT_NEAR(r.top(), top, 2);
    EXPECT_NEAR(r.right() + 1, right, 2);
    EXPECT_NEAR(r.bottom() + 1, bottom, 2);
}

TEST_F(PrintJob, BookletPrintsTwoTurnedPagesPerSheetWithTheFoldLineMovedByTheShift) {
    booklet(32);
    ui.answer->Shift = -1.2f;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);

    // The queue lacks 101.6 x 152.4, so the size is registered as a form of its own.
    EXPECT_EQ(printer.paper.Name, QStringLiteral("ZK 101.60 x 152.40"));
    EXPECT_NEAR(printer.paper.SizeMM.width(), 101.6, 0.01);
    EXPECT_NEAR(printer.paper.SizeMM.height(), 152.4, 0.01);
    EXPECT_EQ(printer.sheets(), 16);
    ASSERT_EQ(sheets.size(), 16u);
    EXPECT_EQ(sheets[0].Page, 1);
    EXPECT_EQ(sheets[0].Upper, 2);
    EXPECT_EQ(sheets[15].Page, 31);
    EXPECT_EQ(printer.ended, 1);
    EXPECT_EQ(printer.title, QStringLiteral("Tintaro Print Kit"));

    // Page 2 (upper half): (x, y) lands at (y, 76.2 - x) - 1.2; page 1 (lower): (y, 152.4 - x) - 1.2.
    // The frame spans x 15..25, y 20..40.
    const std::vector<QRect> targets = elementTargets(0);
    ASSERT_EQ(targets.size(), 2u);
    expectNear(targets[0], 200, 1262, 400, 1362); // page 1: y from 152.4 - 25 - 1.2
    expectNear(targets[1], 200, 500, 400, 600);   // page 2: y from 76.2 - 25 - 1.2
    EXPECT_EQ(ui.progress.value(1), QStringLiteral("Drucke Seite 1 - 2"));
}

TEST_F(PrintJob, ShiftComesFromTheDialogAndANormalBookletIgnoresIt) {
    booklet(2);
    ui.answer->Shift = 0.8f;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_FLOAT_EQ(shift, 0.8f);
    expectNear(elementTargets(0)[1], 200, 520, 400, 620);

    // Without borderless printing the halves meet exactly at the page width.
    TFBDocument& d = doc;
    d.PrintBorderless = false;
    printer.device.reset();
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    expectNear(elementTargets(0)[1], 200, 512, 400, 612);
}

TEST_F(PrintJob, OddLastPageAndRangesSelectWholePairs) {
    booklet(31);
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_EQ(printer.sheets(), 15); // page 31 has no partner and is not printed

    sheets.clear();
    printer.device.reset();
    *ui.answer = TPrintDialogAnswer{1, 3, 5, 1, -1.2f};
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].Page, 3);
    EXPECT_EQ(sheets[1].Page, 5);
    EXPECT_EQ(sheets[1].Upper, 6);
}

TEST_F(PrintJob, RangesThatLeaveNoSheetSayNothingIsThereAndOpenNoDocument) {
    booklet(4);
    *ui.answer = TPrintDialogAnswer{1, 4, 2, 1, -1.2f}; // "von" after "bis"
    EXPECT_EQ(print(), TFotobuchPrinter::TOutcome::NothingToPrint);
    EXPECT_EQ(printer.begun, 0);
    EXPECT_EQ(ui.messages, QStringList{QStringLiteral("Es sind keine Elemente zum Drucken vorhanden.")});

    // A document without content never reaches the dialog.
    TFBDocument empty;
    TestSupport::addPages(empty, 3);
    FakeUi other;
    TFotobuchPrinter job(empty, printer, other);
    job.UseSettingsStore = false;
    EXPECT_EQ(job.Print(), TFotobuchPrinter::TOutcome::NothingToPrint);
    EXPECT_FALSE(other.asked);
    EXPECT_EQ(printer.begun, 0);
}

TEST_F(PrintJob, SinglePagesSkipEmptyPagesAndCountTheRange) {
    ASSERT_TRUE(CreateProductDocument(doc, 21, 2026, 6)); // 10 x 15 prints
    doc.PicturesHaveShadows = false;
    for (int i = 0; i < doc.Pages.Count(); ++i) {
        doc.Pages.Items(i)->Pictures.Clear();
        doc.Pages.Items(i)->Sizeables.Clear();
    }
    for (int i : {1, 2, 4, 5})
        frame(i, 50, 50, 20, 20);
    *ui.answer = TPrintDialogAnswer{1, 3, 5, 1, -1.2f};
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    ASSERT_EQ(sheets.size(), 2u); // pages 3 and 5; page 4 is empty
    EXPECT_EQ(sheets[0].Page, 3);
    EXPECT_EQ(sheets[1].Page, 5);
    EXPECT_TRUE(ui.progress.contains(QStringLiteral("Drucke Seite 1 von 3")));
    EXPECT_TRUE(ui.progress.contains(QStringLiteral("Drucke Seite 3 von 3")));
    EXPECT_EQ(ui.request.To, 6);
}

TEST_F(PrintJob, CopiesGoToTheDriverWhenItCanCopyElseTheJobRepeatsThePages) {
    booklet(4);
    ui.answer->Copies = 3;
    printer.maxCopies = 999;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_EQ(printer.sheets(), 2);
    EXPECT_EQ(printer.DeviceMode().Copies, 3);
    EXPECT_EQ(copies, 1);

    printer.maxCopies = 1;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_EQ(printer.sheets(), 6);
    EXPECT_EQ(printer.DeviceMode().Copies, 1); // not 3: the driver would print 3 x 3
    EXPECT_EQ(copies, 3);
}

TEST_F(PrintJob, CancelMidJobAbortsTheDocument) {
    booklet(8);
    ui.cancelAfter = 3;
    EXPECT_EQ(print(), TFotobuchPrinter::TOutcome::Cancelled);
    EXPECT_EQ(printer.begun, 1);
    EXPECT_EQ(printer.aborted, 1);
    EXPECT_EQ(printer.ended, 0);
    EXPECT_LT(printer.sheets(), 4);
    EXPECT_EQ(ui.closed, 1);

    FakeUi dialogCancel;
    dialogCancel.answer.reset();
    TFotobuchPrinter job(doc, printer, dialogCancel);
    job.UseSettingsStore = false;
    EXPECT_EQ(job.Print(), TFotobuchPrinter::TOutcome::Cancelled);
    EXPECT_EQ(printer.begun, 1);
}

TEST_F(PrintJob, FailuresEndTheJobWithAMessageAndSendNothing) {
    booklet(2);
    printer.failOnEnd = true;
    EXPECT_EQ(print(), TFotobuchPrinter::TOutcome::Failed);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("lp: Auftrag nicht angenommen")});
    EXPECT_EQ(printer.ended, 0);

    doc.DocType = 2;
    printer.failOnEnd = false;
    printer.device.reset();
    EXPECT_EQ(print(), TFotobuchPrinter::TOutcome::NotImplemented);
    EXPECT_TRUE(ui.messages.contains(QStringLiteral("Beidseitiges Drucken ist noch nicht implementiert")));
    EXPECT_FALSE(printer.device);
}

TEST_F(PrintJob, ElementsAreRenderedAtNoMoreThan365DotsPerInch) {
    EXPECT_EQ(TFotobuchPrinter::ResolutionDivisor(300), 1);
    EXPECT_EQ(TFotobuchPrinter::ResolutionDivisor(365), 1);
    EXPECT_EQ(TFotobuchPrinter::ResolutionDivisor(600), 2);
    EXPECT_EQ(TFotobuchPrinter::ResolutionDivisor(720), 2);
    EXPECT_EQ(TFotobuchPrinter::ResolutionDivisor(1200), 4);
    EXPECT_EQ(TFotobuchPrinter::ResolutionDivisor(2880), 8);

    FakePrinter fine({QStringLiteral("Fein")}, 1200);
    ASSERT_TRUE(CreateProductDocument(doc, 21, 2026, 1));
    doc.PicturesHaveShadows = false;
    doc.Pages.Items(0)->Pictures.Clear();
    doc.Pages.Items(0)->Sizeables.Clear();
    frame(0, 50, 50, 25.4f, 25.4f); // one inch
    TFotobuchPrinter job(doc, fine, ui);
    job.UseSettingsStore = false;
    ASSERT_EQ(job.Print(), TFotobuchPrinter::TOutcome::Printed);
    ASSERT_EQ(fine.engine().images.size(), 1u);
    const RecordedImage& image = fine.engine().images[0];
    EXPECT_NEAR(image.Image.width(), 300, 2);
    EXPECT_NEAR(image.Target.width(), 1200, 5);
}

TEST_F(PrintJob, ElementBitmapsAreCutToThePaper) {
    ASSERT_TRUE(CreateProductDocument(doc, 21, 2026, 1));
    doc.PicturesHaveShadows = false;
    doc.Pages.Items(0)->Pictures.Clear();
    doc.Pages.Items(0)->Sizeables.Clear();
    frame(0, 0, 0, 60, 60); // three quarters off the paper, above and to the left
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    ASSERT_EQ(printer.engine().images.size(), 1u);
    expectNear(printer.engine().images[0].Target, 0, 0, 300, 300);
}

TEST_F(PrintJob, CalendarsAndSomePrintsAreTurnedBy180Degrees) {
    // An A5 calendar page turns about (105, 74.25) and so stays in the upper half of A4.
    ASSERT_TRUE(CreateProductDocument(doc, 21, 2026, 1));
    doc.PicturesHaveShadows = false;
    doc.PrintSetting = 8;
    doc.PageWidth = 210;
    doc.PageHeight = 148.5f;
    doc.PrintPaperSize = 9;
    doc.Pages.Items(0)->Pictures.Clear();
    doc.Pages.Items(0)->Sizeables.Clear();
    frame(0, 20, 30, 10, 20); // x 15..25, y 20..40
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_EQ(printer.paper.Name, QStringLiteral("A4"));
    expectNear(elementTargets(0)[0], 1850, 1085, 1950, 1285); // (210 - x, 148.5 - y)

    // Print setting 4 turns the whole page about its centre.
    doc.PrintSetting = 4;
    doc.PageWidth = 101.6f;
    doc.PageHeight = 163;
    doc.PrintPaperSize = -1;
    doc.PrintPaperWidth = 101.6f;
    doc.PrintPaperHeight = 152.4f;
    printer.device.reset();
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    expectNear(elementTargets(0)[0], 766, 1230, 866, 1430); // (101.6 - x, 163 - y)
}

TEST_F(PrintJob, ColouredPagesPrintBorderlessAndTheirColourLiesUnderClipart) {
    ASSERT_TRUE(CreateProductDocument(doc, 31, 2026, 2)); // 8:5 book with borders
    EXPECT_FALSE(doc.PrintBorderless);
    EXPECT_EQ(doc.PrintSetting, 6);
    for (int i = 0; i < 2; ++i) {
        doc.Pages.Items(i)->Pictures.Clear();
        doc.Pages.Items(i)->Sizeables.Clear();
    }
    doc.Pages.Items(1)->Seitenfarbe = 0x00FF00; // green
    auto* clipart = placeElement<TFBClipartElement>(doc.Pages.Items(1), 50, 50, 20, 20);
    QImage heart(8, 8, QImage::Format_ARGB32);
    heart.fill(Qt::transparent);
    clipart->SetRefIndex(TBildmanager::Instance().AddBitmap(heart));

    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_TRUE(doc.PrintBorderless);
    EXPECT_EQ(doc.PrintSetting, 5);
    EXPECT_TRUE(ui.request.ShowFoldButton);

    bool fill = false, clipartOnGreen = false;
    for (const RecordedImage& image : printer.engine().images) {
        if (image.Image.size() == QSize(64, 64))
            fill = image.Image.pixel(0, 0) == qRgb(0, 255, 0);
        else
            clipartOnGreen = image.Image.pixel(0, 0) == qRgb(0, 255, 0);
    }
    EXPECT_TRUE(fill);
    EXPECT_TRUE(clipartOnGreen);
}

TEST_F(PrintJob, HintNamesPaperTypeAndBorderlessPrinting) {
    booklet(2);
    doc.PrintPaperType = QStringLiteral("Fotopapier glänzend");
    TFotobuchPrinter job(doc, printer, ui);
    const QStringList lines = job.GetPrinterHint().split(u'\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0],
              QStringLiteral("Bitte stellen Sie folgende Eigenschaften für den ausgewählten Drucker ein:"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("- Papierformat: ")));
    EXPECT_EQ(lines[3], QStringLiteral("- Papierart: Fotopapier glänzend"));
    EXPECT_EQ(lines[4], QStringLiteral("- Randlosdruck"));
    EXPECT_EQ(TFotobuchPrinter::JobTitle(QStringLiteral("A+B/C\\D&E 'F\" g")),
              QStringLiteral("A B C D E F g"));
}

TEST_F(PrintJob, SettingsAreKeptPerProductAndBadStoredValuesFallBack) {
    TestSupport::TempHome home;
    useStore = true;
    booklet(2);
    printer.Select(QStringLiteral("Buero"));
    ui.answer->Shift = 0.5f;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    const QString key = QStringLiteral("Druckeinstellung\\PocketBooklet");
    EXPECT_EQ(VXRegIniFile().ReadString(key, QStringLiteral("Drucker"), QString()), QStringLiteral("Buero"));
    EXPECT_DOUBLE_EQ(
        VXRegIniFile().ReadFloat(key + QStringLiteral("\\Buero"), QStringLiteral("RandlosverschiebungY"), 0),
        0.5f);

    // The next run selects the stored printer with its stored settings and shift.
    printer.Select(QStringLiteral("Fotodrucker"));
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_EQ(printer.SelectedName(), QStringLiteral("Buero"));
    EXPECT_FLOAT_EQ(ui.request.Shift, 0.5f);

    // A shift beyond 20 mm or a damaged record reads as the defaults.
    VXRegIniFile().WriteFloat(key + QStringLiteral("\\Buero"), QStringLiteral("RandlosverschiebungY"), 25);
    VXRegIniFile().WriteBinary(key, QStringLiteral("DeviceMode"), QByteArray("TDMR\x01garbage", 12));
    printer.DeviceMode().Copies = 7;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_FLOAT_EQ(ui.request.Shift, -1.2f);
    EXPECT_EQ(printer.DeviceMode().MakeAndModel, QStringLiteral("Modell Buero"));

    // Print setting 0 keeps nothing.
    TestSupport::TempHome other;
    doc.PrintSetting = 0;
    ASSERT_EQ(print(), TFotobuchPrinter::TOutcome::Printed);
    EXPECT_EQ(VXRegIniFile().ReadString(key, QStringLiteral("Drucker"), QStringLiteral("-")),
              QStringLiteral("-"));
}

} // namespace
