// The print dialogs offscreen: the fold-line arrows and calibration, the calibration steps, the
// print dialog's printer, range and hint handling, and a job cancelled from its cancel window.
// Screenshots of the dialogs, a booklet sheet and the calibration sheet go to build/screenshots.
#include "print/FakePrinter.h"

#include "catalogue/uDateiNeuWizzard.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "i18n/ulocalize.h"
#include "platform/uVXRegIniFile.h"
#include "print/uKalibrierung.h"
#include "print/uPrinterSupport.h"
#include "print/ui/FDlgDruckAbbrechen.h"
#include "print/ui/FDruckDlg.h"
#include "print/ui/FDruckerEigenschaften.h"
#include "print/ui/FDruckpositionKnickDlg.h"
#include "print/ui/FKalibrierung.h"
#include "print/ui/uDesignerPrinting.h"
#include "support/PageElements.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace PrintTest;

namespace {

QString screenshotFolder() {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
    QDir().mkpath(folder);
    return folder;
}

void screenshot(QWidget& widget, const QString& name) {
    widget.adjustSize();
    // Text boxes lay their text out again only once the events of the new size are through.
    QCoreApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(screenshotFolder() + u'/' + name + QStringLiteral(".png")));
}

// A printer whose one page is a bitmap, for pictures of what a sheet looks like.
class ImagePrinter : public FakePrinter {
public:
    ImagePrinter() : FakePrinter({QStringLiteral("Bild")}, 100) {}
    std::vector<QImage> pages;

protected:
    QPaintDevice* OpenDocument(const QString&) override {
        paper = JobPaper();
        pages.clear();
        NextPage();
        return &pages.back();
    }
    void NextPage() override {
        QImage page(static_cast<int>(paper.SizeMM.width() / 25.4 * 100),
                    static_cast<int>(paper.SizeMM.height() / 25.4 * 100), QImage::Format_ARGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        pages.push_back(page);
    }
    void CloseDocument() override { ++ended; }
};

class PrintDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        PrinterSupport().Install(&printer);
        PrinterSupport().Warn = [](const QString&) {};
        PrinterSupport().PropertiesDialog = [this](TCurrentPrinter&, QObject*) {
            ++propertiesShown;
            return true;
        };
    }
    void TearDown() override {
        PrinterSupport().Install(nullptr);
        PrinterSupport().PropertiesDialog = nullptr;
        PrinterSupport().Warn = nullptr;
        QLocale::setDefault(QLocale::system());
        TBildmanager::Instance().Clear();
        SetCurrentLanguage(kLanguageGerman);
    }
    FakePrinter printer;
    int propertiesShown = 0;
};

TEST_F(PrintDialogs, FoldLineArrowsMoveByTenthsAndStopAt20Millimetres) {
    TDruckpositionKnickDlg dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bilder-Stoßkante"));
    EXPECT_EQ(dialog.OffsetText(), QStringLiteral("0,0 mm"));
    QTest::mouseClick(dialog.btnLinks, Qt::LeftButton);
    EXPECT_EQ(dialog.OffsetText(), QStringLiteral("0,1 mm nach links"));
    QTest::mouseClick(dialog.btnRechts, Qt::LeftButton);
    QTest::mouseClick(dialog.btnRechts, Qt::LeftButton);
    EXPECT_EQ(dialog.OffsetText(), QStringLiteral("0,1 mm nach rechts"));
    screenshot(dialog, QStringLiteral("dialog-bilder-stosskante"));

    dialog.SetShift(19.95f);
    QTest::mouseClick(dialog.btnLinks, Qt::LeftButton);
    EXPECT_FLOAT_EQ(dialog.Shift(), 19.95f);
    dialog.SetShift(-19.95f);
    QTest::mouseClick(dialog.btnRechts, Qt::LeftButton);
    EXPECT_FLOAT_EQ(dialog.Shift(), -19.95f);
}

TEST_F(PrintDialogs, CalibrationSetsTheNegatedValueAndGivesThePrinterBack) {
    TDruckpositionKnickDlg dialog(nullptr);
    printer.Select(QStringLiteral("Buero"));
    printer.DeviceMode().Copies = 5;
    dialog.Calibrate = [this](QWidget*) -> std::optional<float> {
        // The calibration changes the printer; the dialog restores it afterwards.
        printer.Select(QStringLiteral("Fotodrucker"));
        return 1.2f;
    };
    dialog.SetShift(0.4f);
    QTest::mouseClick(dialog.btnJustage, Qt::LeftButton);
    EXPECT_FLOAT_EQ(dialog.Shift(), -1.2f);
    EXPECT_EQ(dialog.OffsetText(), QStringLiteral("0,0 mm"));
    EXPECT_EQ(printer.SelectedName(), QStringLiteral("Buero"));
    EXPECT_EQ(printer.DeviceMode().Copies, 5);

    dialog.Calibrate = [](QWidget*) -> std::optional<float> { return std::nullopt; };
    dialog.SetShift(0.4f);
    QTest::mouseClick(dialog.btnJustage, Qt::LeftButton);
    EXPECT_FLOAT_EQ(dialog.Shift(), 0.4f);
}

TEST_F(PrintDialogs, CalibrationStepsOpenOneAfterTheOther) {
    TKalibrierung dialog(nullptr);
    QList<int> passes;
    dialog.PrintPass = [&](int pass) { passes << pass; };
    dialog.show();
    EXPECT_EQ(dialog.CurrentPanel(), 1);
    EXPECT_FALSE(dialog.btnDrucken1->isEnabled());
    EXPECT_TRUE(dialog.grpSchritt[1]->font().bold());
    screenshot(dialog, QStringLiteral("dialog-kalibrierung-1"));

    printer.DeviceMode().Copies = 3;
    QTest::mouseClick(dialog.btnEinstellungen1, Qt::LeftButton);
    EXPECT_EQ(propertiesShown, 1);
    EXPECT_EQ(printer.DeviceMode().Copies, 1);
    EXPECT_EQ(printer.JobPaper().Name, QStringLiteral("A4"));
    EXPECT_TRUE(dialog.btnDrucken1->isEnabled());
    EXPECT_TRUE(dialog.grpSchritt[2]->font().bold());
    EXPECT_FALSE(dialog.grpSchritt[1]->font().bold());

    QTest::mouseClick(dialog.btnDrucken1, Qt::LeftButton);
    EXPECT_EQ(passes, QList<int>{1});
    EXPECT_EQ(dialog.CurrentPanel(), 2);
    EXPECT_FALSE(dialog.btnDrucken2->isEnabled()); // only after the settings of step 3
    QTest::mouseClick(dialog.btnEinstellungen2, Qt::LeftButton);
    EXPECT_TRUE(dialog.btnDrucken2->isEnabled());
    EXPECT_TRUE(dialog.grpSchritt[4]->font().bold());
    EXPECT_TRUE(dialog.timer->isActive());
    EXPECT_FALSE(dialog.grpSchritt[5]->font().bold());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.grpSchritt[5]->font().bold(); }, 4000)); // after 2 s
    EXPECT_FALSE(dialog.grpSchritt[4]->font().bold());

    QTest::mouseClick(dialog.btnDrucken2, Qt::LeftButton);
    EXPECT_EQ(passes, (QList<int>{1, 2}));
    EXPECT_EQ(dialog.CurrentPanel(), 3);
    EXPECT_FALSE(dialog.btnFertig->isEnabled());
    for (const char* bad : {"0", "51", "x"}) {
        dialog.edtKalibrierzahl->setText(QString::fromLatin1(bad));
        EXPECT_FALSE(dialog.btnFertig->isEnabled()) << bad;
    }
    dialog.edtKalibrierzahl->setText(QStringLiteral("50"));
    EXPECT_TRUE(dialog.btnFertig->isEnabled());
    EXPECT_NEAR(dialog.CalibrationValue(), 4.9f, 1e-5);
    dialog.edtKalibrierzahl->setText(QStringLiteral("13"));
    screenshot(dialog, QStringLiteral("dialog-kalibrierung-3"));
    QTest::mouseClick(dialog.btnFertig, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(dialog.CalibrationValue(), 1.2f);
}

TEST_F(PrintDialogs, PrintDialogShowsTheFoldButtonOnlyWhenAskedAndClosesUpWithoutHint) {
    TVXDruckDlg with(nullptr);
    with.SetHint(QStringLiteral("Bitte ...\n\n- Randlosdruck"));
    with.SetFoldButtonVisible(true);
    with.SetRange(1, 32);
    with.grpHinweis->setVisible(true);
    with.show();
    EXPECT_EQ(with.windowTitle(), QStringLiteral("Drucken"));
    EXPECT_TRUE(with.frmDruckposition->isVisible());
    EXPECT_EQ(with.lblTyp->text(), QStringLiteral("Modell Fotodrucker"));
    EXPECT_EQ(with.cmbName->count(), 2);
    screenshot(with, QStringLiteral("dialog-drucken"));
    // A short hint fits its box: no scroll bar beside it.
    EXPECT_FALSE(with.memHinweis->verticalScrollBar()->isVisible());
    // Alt+N reaches the printer list although its row is a layout.
    with.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&with));
    with.spnAnzahl->setFocus();
    QTest::keyClick(&with, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(with.cmbName->hasFocus());

    TVXDruckDlg without(nullptr);
    without.SetFoldButtonVisible(false);
    without.grpHinweis->setVisible(false);
    without.show();
    with.adjustSize();
    without.adjustSize();
    EXPECT_FALSE(without.frmDruckposition->isVisible());
    EXPECT_FALSE(without.btnDruckposition->isVisible());
    EXPECT_LT(without.height(), with.height() - with.grpHinweis->height() / 2);
}

TEST_F(PrintDialogs, CancellingThePrintDialogSelectsThePrinterItOpenedWith) {
    TestSupport::TempHome home;
    VXRegIniFile().WriteFloat(QStringLiteral("Druckeinstellung\\PocketBooklet\\Buero"),
                              QStringLiteral("RandlosverschiebungY"), 0.7);
    printer.DeviceMode().Copies = 4;
    TVXDruckDlg dialog(nullptr);
    dialog.SettingsKey = QStringLiteral("Druckeinstellung\\PocketBooklet");
    QTimer::singleShot(0, &dialog, [&] {
        dialog.cmbName->setCurrentIndex(1);
        emit dialog.cmbName->activated(1);
        EXPECT_EQ(printer.SelectedName(), QStringLiteral("Buero"));
        EXPECT_FLOAT_EQ(dialog.Randlosverschiebung, 0.7f);
        EXPECT_EQ(dialog.lblTyp->text(), QStringLiteral("Modell Buero"));
        QTest::mouseClick(dialog.btnAbbrechen, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.ShowModal(), QDialog::Rejected);
    EXPECT_EQ(printer.SelectedName(), QStringLiteral("Fotodrucker"));
    EXPECT_EQ(printer.DeviceMode().Copies, 4);

    // OK keeps the printer and puts the copies into its settings.
    TVXDruckDlg ok(nullptr);
    QTimer::singleShot(0, &ok, [&] {
        ok.spnAnzahl->setValue(3);
        QTest::mouseClick(ok.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(ok.ShowModal(), QDialog::Accepted);
    EXPECT_EQ(printer.DeviceMode().Copies, 3);
    EXPECT_EQ(ok.Copies(), 3);
}

TEST_F(PrintDialogs, RangeFieldsCheckPagesAndFillEachOther) {
    TVXDruckDlg dialog(nullptr);
    dialog.SetRange(1, 20);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.RangeMode(), 0);
    dialog.edtVon->setFocus();
    QApplication::processEvents();
    dialog.edtVon->selectAll();
    QTest::keyClicks(dialog.edtVon, QStringLiteral("3"));
    EXPECT_EQ(dialog.RangeMode(), 1);
    EXPECT_EQ(dialog.From(), 3);
    dialog.edtVon->clear();
    dialog.edtBis->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dialog.edtVon->text(), QStringLiteral("20"));
}

TEST_F(PrintDialogs, PropertiesDialogKeepsTheChosenQueueOptions) {
    class OptionPrinter : public FakePrinter {
    public:
        std::vector<TQueueOption> Options() const override {
            return {{QStringLiteral("PageSize"),
                     QStringLiteral("Papier"),
                     {"A4", "A4.Borderless"},
                     {"A4", "A4 randlos"},
                     QStringLiteral("A4")},
                    {QStringLiteral("MediaType"),
                     QStringLiteral("Medium"),
                     {"Plain", "Glossy"},
                     {},
                     QStringLiteral("Plain")},
                    {QStringLiteral("Resolution"),
                     QStringLiteral("Auflösung"),
                     {"300dpi", "1200x600dpi"},
                     {},
                     QStringLiteral("300dpi")}};
        }
    } queue;
    TDruckerEigenschaftenDlg dialog(queue, nullptr);
    dialog.Choice(QStringLiteral("PageSize"))->setCurrentIndex(1);
    dialog.Choice(QStringLiteral("MediaType"))->setCurrentIndex(1);
    dialog.Choice(QStringLiteral("Resolution"))->setCurrentIndex(1);
    screenshot(dialog, QStringLiteral("dialog-eigenschaften"));
    // The caption names the printer; the queue's own words stay as they are in every language.
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Eigenschaften - ") + queue.SelectedName());
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Properties - ") + queue.SelectedName());
    EXPECT_EQ(dialog.Choice(QStringLiteral("PageSize"))->itemText(1), QStringLiteral("A4 randlos"));
    EXPECT_EQ(dialog.Choice(QStringLiteral("PageSize"))->currentIndex(), 1);
    dialog.Apply();
    EXPECT_EQ(queue.DeviceMode().Option(QStringLiteral("MediaType")), QStringLiteral("Glossy"));
    EXPECT_EQ(queue.DeviceMode().Resolution, 600);
    EXPECT_EQ(queue.JobPaper().Key, QStringLiteral("A4.Borderless"));
}

// A booklet job run with the designer's dialogs; the dialog is answered and the job cancelled
// from its cancel window by a timer that watches the windows.
TEST_F(PrintDialogs, CancellingTheRunningJobSendsNothing) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 1, 2026, 16));
    QImage photo(40, 30, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    for (int i = 0; i < doc.Pages.Count(); ++i)
        TestSupport::placeElement<TFBPictureElement>(doc.Pages.Items(i), 38, 50, 60, 80)
            ->SetRefIndex(TBildmanager::Instance().AddBitmap(photo));
    QWidget main;
    main.show();
    bool cancelClicked = false, mainDisabled = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* print = qobject_cast<TVXDruckDlg*>(QApplication::activeModalWidget()))
            QTest::mouseClick(print->btnOk, Qt::LeftButton);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* cancel = qobject_cast<TDlgDruckAbbrechen*>(w);
                cancel && cancel->isVisible() && !cancelClicked &&
                cancel->Text().startsWith(QStringLiteral("Drucke Seite"))) {
                mainDisabled = !main.isEnabled();
                QTest::mouseClick(cancel->btnAbbrechen, Qt::LeftButton);
                cancelClicked = true;
            }
    });
    watcher.start(1);
    TestSupport::TempHome home;
    DesignerPrinting::PrintDocument(doc, &main);
    watcher.stop();
    EXPECT_TRUE(cancelClicked);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(printer.ended, 0);
    EXPECT_EQ(printer.aborted, 1);
    EXPECT_LT(printer.sheets(), 8);
    doc.Reset();
}

TEST_F(PrintDialogs, PicturesOfABookletSheetAndTheCalibrationSheet) {
    ImagePrinter sheet;
    FakeUi ui;
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 1, 2026, 2));
    QImage photo(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 400, y * 255 / 300, 160));
    for (int i = 0; i < 2; ++i)
        TestSupport::placeElement<TFBPictureElement>(doc.Pages.Items(i), 38.1f, 40, 60, 45)
            ->SetRefIndex(TBildmanager::Instance().AddBitmap(photo));
    doc.Pages.Items(1)->Seitenfarbe = 0xC0E0FF;
    TFotobuchPrinter job(doc, sheet, ui);
    job.UseSettingsStore = false;
    ASSERT_EQ(job.Print(), TFotobuchPrinter::TOutcome::Printed);
    ASSERT_EQ(sheet.pages.size(), 1u);
    QImage booklet = sheet.pages[0];
    {
        // The fold line, drawn for the picture only, at 76.2 - 1.2 mm from the top edge.
        QPainter p(&booklet);
        p.setPen(QPen(Qt::red, 1, Qt::DashLine));
        const int fold = static_cast<int>(75.0 / 25.4 * 100);
        p.drawLine(0, fold, booklet.width(), fold);
    }
    EXPECT_TRUE(booklet.save(screenshotFolder() + QStringLiteral("/booklet-sheet.png")));
    // Page 2 fills the upper half (page colour), page 1 the lower half (white around its photo).
    EXPECT_EQ(booklet.pixel(5, 5) & 0xFFFFFF, 0xFFE0C0u);
    EXPECT_EQ(booklet.pixel(5, booklet.height() - 5) & 0xFFFFFF, 0xFFFFFFu);

    ImagePrinter a4;
    Kalibrierung::PrintSheets(a4, {3});
    ASSERT_EQ(a4.pages.size(), 1u);
    EXPECT_TRUE(a4.pages[0].save(screenshotFolder() + QStringLiteral("/calibration-sheet.png")));
    doc.Reset();
}

} // namespace
