// The new-project wizard driven through its list and buttons with real input.
#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uWizzardStep.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "catalogue/ui/uWizardPreviewImage.h"
#include "catalogue/ui/uWizardStepDelegate.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QDate kNewYearsEve(2025, 12, 31);

template <typename T>
T* child(const QWidget& dlg, const char* name) {
    return dlg.findChild<T*>(QString::fromLatin1(name));
}

QStringList listed(const TDateiNeuDlg& dlg) {
    QStringList captions;
    const auto* list = child<QListWidget>(dlg, "lbSteps");
    for (int i = 0; i < list->count(); ++i)
        captions << list->item(i)->text();
    return captions;
}

void clickRow(TDateiNeuDlg& dlg, int row) {
    auto* list = child<QListWidget>(dlg, "lbSteps");
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void click(TDateiNeuDlg& dlg, const char* button) {
    QTest::mouseClick(child<QPushButton>(dlg, button), Qt::LeftButton);
}

void key(TDateiNeuDlg& dlg, Qt::Key k) {
    QTest::keyClick(child<QListWidget>(dlg, "lbSteps"), k);
}

void waitForFade(const TDateiNeuDlg& dlg) {
    for (int i = 0; i < 200 && dlg.Preview()->IsFading(); ++i)
        QTest::qWait(5);
    ASSERT_FALSE(dlg.Preview()->IsFading());
}

QByteArray savedBytes(TFBDocument& document) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.fbp"));
    SaveDocumentToFile(document, path);
    return TestSupport::readFile(path);
}

// Runs Execute; the actions run once the dialog's loop is going. A dialog the actions leave open
// is cancelled so that a failing test cannot hang.
int execute(TDateiNeuDlg& dlg, TFBDocument& document, const std::function<void()>& actions) {
    QTimer::singleShot(0, &dlg, [&] {
        actions();
        QTimer::singleShot(0, &dlg, [&] {
            if (dlg.isVisible()) {
                ADD_FAILURE() << "the wizard stayed open";
                dlg.done(-1);
            }
        });
    });
    return dlg.Execute(document);
}

int maxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

double meanChannelDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Records every picture the preview is asked to show.
class PictureLog : public QObject {
public:
    explicit PictureLog(QWidget* preview) : preview_(preview) { preview->installEventFilter(this); }
    QStringList Names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == preview_ && event->type() == QEvent::DynamicPropertyChange)
            Names << preview_->property("picture").toString();
        return false;
    }

private:
    QWidget* preview_;
};

} // namespace

TEST(DateiNeuDlg, OpensOnTheFormatsWithTheFixedLayout) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.show();
    EXPECT_EQ(dlg.objectName(), QStringLiteral("DateiNeuDlg"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Neues Projekt anlegen"));
    EXPECT_EQ(dlg.size(), QSize(580, 386));
    EXPECT_EQ(child<QLabel>(dlg, "panHeading")->geometry(), QRect(0, 0, 580, 40));
    EXPECT_EQ(child<QLabel>(dlg, "panHeading")->text(), QStringLiteral("Wählen Sie Ihr Format"));
    EXPECT_EQ(child<QLabel>(dlg, "panHeading")->font().pixelSize(), 19);
    EXPECT_EQ(child<QListWidget>(dlg, "lbSteps")->geometry(), QRect(0, 40, 180, 300));
    EXPECT_EQ(child<QWidget>(dlg, "imgPreview")->geometry(), QRect(180, 40, 400, 300));
    EXPECT_EQ(listed(dlg), (QStringList{QStringLiteral("PocketBooklet 4:3"),
                                        QStringLiteral("PhotoBook 10x15"), QStringLiteral("10x15 Singles"),
                                        QStringLiteral("PhotoBook 8:5"), QStringLiteral("Kalender A4"),
                                        QStringLiteral("Kalender A5"), QStringLiteral("Kalender 10x15")}));
    auto* list = child<QListWidget>(dlg, "lbSteps");
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->visualItemRect(list->item(1)), QRect(0, 30, 180, 30));
    EXPECT_EQ(dlg.SelectedStep(), dlg.Root()->Child(0));
    EXPECT_EQ(dlg.Preview()->property("picture").toString(), QStringLiteral("WIZ_PHOTOBOOKLET"));
    EXPECT_FALSE(child<QPushButton>(dlg, "btnZurueck")->isEnabled());
    EXPECT_EQ(child<QPushButton>(dlg, "btnWeiter")->text(), QStringLiteral("Weiter >>"));
    EXPECT_TRUE(child<QPushButton>(dlg, "btnWeiter")->isDefault());
    EXPECT_EQ(child<QPushButton>(dlg, "btnProjektOeffnen")->text(), QStringLiteral("Projekt öffnen..."));
    EXPECT_EQ(child<QPushButton>(dlg, "btnAbbrechen")->text(), QStringLiteral("Abbrechen"));
    // Accessible names follow the captions; the heading describes the dialog.
    EXPECT_EQ(list->item(2)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("10x15 Singles"));
    EXPECT_EQ(dlg.Preview()->accessibleName(), QStringLiteral("PocketBooklet 4:3"));
    EXPECT_EQ(dlg.accessibleDescription(), QStringLiteral("Wählen Sie Ihr Format"));
}

TEST(DateiNeuDlg, ArrowKeysAndClicksSelectAndBackspaceOnTheRootDoesNothing) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.show();
    key(dlg, Qt::Key_Down);
    EXPECT_EQ(dlg.SelectedStep(), dlg.Root()->Child(1));
    EXPECT_EQ(child<QPushButton>(dlg, "btnWeiter")->text(), QStringLiteral("OK"));
    clickRow(dlg, 4);
    EXPECT_EQ(dlg.SelectedStep(), dlg.Root()->Child(4));
    EXPECT_EQ(dlg.Preview()->accessibleName(), QStringLiteral("Kalender A4"));
    key(dlg, Qt::Key_Backspace);
    EXPECT_EQ(dlg.ShownStep(), dlg.Root());
    EXPECT_EQ(dlg.SelectedStep(), dlg.Root()->Child(4));
    EXPECT_EQ(child<QListWidget>(dlg, "lbSteps")->currentRow(), 4);
}

TEST(DateiNeuDlg, CalendarLayoutsGoOnToTheFiveYearsOfTheLastDayOfTheYear) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.show();
    clickRow(dlg, 4);
    click(dlg, "btnWeiter");
    EXPECT_EQ(child<QLabel>(dlg, "panHeading")->text(),
              QStringLiteral("Kalender A4 - Wählen Sie Ihr Grundlayout"));
    EXPECT_EQ(listed(dlg).size(), 4);
    EXPECT_TRUE(child<QPushButton>(dlg, "btnZurueck")->isEnabled());
    EXPECT_EQ(child<QPushButton>(dlg, "btnWeiter")->text(), QStringLiteral("Weiter >>"));
    key(dlg, Qt::Key_Return);
    EXPECT_EQ(child<QLabel>(dlg, "panHeading")->text(), QStringLiteral("Wählen Sie das gewünschte Jahr"));
    EXPECT_EQ(listed(dlg),
              (QStringList{QStringLiteral("2025"), QStringLiteral("2026"), QStringLiteral("2027"),
                           QStringLiteral("2028"), QStringLiteral("2029")}));
    EXPECT_EQ(child<QPushButton>(dlg, "btnWeiter")->text(), QStringLiteral("OK"));
    EXPECT_EQ(dlg.Preview()->property("picture").toString(), QStringLiteral("WIZ_KALENDER_A4_1"));
}

TEST(DateiNeuDlg, GoingBackFromTheYearsMarksTheLayoutAndShowsItsPreviewOnly) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.show();
    clickRow(dlg, 5); // Kalender A5
    click(dlg, "btnWeiter");
    clickRow(dlg, 2); // Layout 3
    click(dlg, "btnWeiter");
    ASSERT_EQ(listed(dlg).size(), 5);
    waitForFade(dlg);
    PictureLog log(dlg.Preview());
    key(dlg, Qt::Key_Backspace);
    EXPECT_EQ(listed(dlg), (QStringList{QStringLiteral("Layout 1"), QStringLiteral("Layout 2"),
                                        QStringLiteral("Layout 3")}));
    EXPECT_EQ(child<QListWidget>(dlg, "lbSteps")->currentRow(), 2);
    EXPECT_EQ(dlg.SelectedStep()->Caption, QStringLiteral("Layout 3"));
    EXPECT_EQ(dlg.Preview()->property("picture").toString(), QStringLiteral("WIZ_KALENDER_A5_3"));
    for (const QString& name : log.Names)
        EXPECT_EQ(name, QStringLiteral("WIZ_KALENDER_A5_3"));
    // The button goes back the same way.
    click(dlg, "btnZurueck");
    EXPECT_EQ(dlg.ShownStep(), dlg.Root());
    EXPECT_EQ(child<QListWidget>(dlg, "lbSteps")->currentRow(), 5);
}

TEST(DateiNeuDlg, PhotoBook10x15IsCreatedFromTheFirstLevel) {
    TFBDocument document, expected;
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    const int result = execute(dlg, document, [&] {
        clickRow(dlg, 1);
        click(dlg, "btnWeiter");
    });
    EXPECT_EQ(result, TDateiNeuDlg::ResultCreated);
    ASSERT_TRUE(CreateProductDocument(expected, 11, 0));
    EXPECT_EQ(savedBytes(document), savedBytes(expected));
}

TEST(DateiNeuDlg, AYearCreatesTheCalendarOfThatYearOnceHoweverOftenReturnIsPressed) {
    TFBDocument document, expected;
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    QSignalSpy finished(&dlg, &QDialog::finished);
    const int result = execute(dlg, document, [&] {
        clickRow(dlg, 6);         // Kalender 10x15
        key(dlg, Qt::Key_Return); // its layouts
        key(dlg, Qt::Key_Down);   // Layout 2
        key(dlg, Qt::Key_Return); // its years
        key(dlg, Qt::Key_Down);   // 2026
        auto* list = child<QListWidget>(dlg, "lbSteps");
        // Two presses queued before the first is handled.
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::postEvent(list,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
            QCoreApplication::postEvent(list,
                                        new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier));
        }
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(result, TDateiNeuDlg::ResultCreated);
    EXPECT_EQ(finished.count(), 1);
    ASSERT_TRUE(CreateProductDocument(expected, 142, 2026));
    EXPECT_EQ(savedBytes(document), savedBytes(expected));
}

TEST(DateiNeuDlg, ADoubleClickOnAFinalChoiceCreatesOnce) {
    TFBDocument document, expected;
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    QSignalSpy finished(&dlg, &QDialog::finished);
    const int result = execute(dlg, document, [&] {
        clickRow(dlg, 3); // PhotoBook 8:5
        click(dlg, "btnWeiter");
        clickRow(dlg, 1); // Randlos
        click(dlg, "btnWeiter");
        auto* list = child<QListWidget>(dlg, "lbSteps");
        const QPoint at = list->visualItemRect(list->item(3)).center(); // Verticon
        // The first click of the double click selects, the second opens.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(result, TDateiNeuDlg::ResultCreated);
    EXPECT_EQ(finished.count(), 1);
    ASSERT_TRUE(CreateProductDocument(expected, 43, 0));
    EXPECT_EQ(savedBytes(document), savedBytes(expected));
}

TEST(DateiNeuDlg, OpenProjectAndEveryWayOfCancellingLeaveTheDocumentAlone) {
    TFBDocument document;
    ASSERT_TRUE(CreateProductDocument(document, 61, 2030));
    const QByteArray before = savedBytes(document);
    const std::vector<std::pair<std::function<void(TDateiNeuDlg&)>, int>> ways = {
        {[](TDateiNeuDlg& d) { click(d, "btnProjektOeffnen"); }, TDateiNeuDlg::ResultOpenProject},
        {[](TDateiNeuDlg& d) { click(d, "btnAbbrechen"); }, TDateiNeuDlg::ResultCancelled},
        {[](TDateiNeuDlg& d) { key(d, Qt::Key_Escape); }, TDateiNeuDlg::ResultCancelled},
        {[](TDateiNeuDlg& d) { d.close(); }, TDateiNeuDlg::ResultCancelled},
    };
    for (const auto& way : ways) {
        const auto& action = way.first;
        TDateiNeuDlg dlg(nullptr, kNewYearsEve);
        const int result = execute(dlg, document, [&] {
            clickRow(dlg, 4);
            click(dlg, "btnWeiter");
            action(dlg);
        });
        EXPECT_EQ(result, way.second);
        EXPECT_EQ(savedBytes(document), before);
    }
}

TEST(DateiNeuDlg, ACodeTheCatalogueRefusesKeepsTheWizardOpen) {
    TFBDocument document;
    ASSERT_TRUE(CreateProductDocument(document, 21, 0));
    const QByteArray before = savedBytes(document);
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.Root()->Child(1)->ProductCode = 4711;
    bool stayedOpen = false;
    const int result = execute(dlg, document, [&] {
        clickRow(dlg, 1);
        click(dlg, "btnWeiter");
        stayedOpen = dlg.isVisible();
        click(dlg, "btnAbbrechen");
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(result, TDateiNeuDlg::ResultCancelled);
    EXPECT_EQ(savedBytes(document), before);
}

TEST(DateiNeuDlg, ItemsAreShadedFromTheFaceColourAsWorkedOutByHand) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    QPalette palette = dlg.palette();
    palette.setColor(QPalette::Button, QColor(128, 128, 128));
    palette.setColor(QPalette::Highlight, QColor(0, 0, 200));
    palette.setColor(QPalette::Dark, QColor(10, 20, 30));
    dlg.setPalette(palette);
    dlg.show();
    auto* list = child<QListWidget>(dlg, "lbSteps");
    const QImage pixels = list->viewport()->grab().toImage();
    // Grey 128 has lightness 0.502: raised by 0.07 it is 146, lowered 110. Blue 200 (hue 2/3, full
    // saturation, lightness 0.392): raised 0.462, so q = 0.924 and blue 236; lowered 0.322, blue 164.
    struct Band {
        int Row;
        QColor Top, Bottom;
    };
    for (const Band& band : {Band{0, QColor(0, 0, 236), QColor(0, 0, 164)},
                             Band{1, QColor(146, 146, 146), QColor(110, 110, 110)}}) {
        const int top = band.Row * TWizardStepDelegate::kItemHeight;
        for (int y : {0, 14, 28}) {
            // The shading is sampled at the middle of each pixel row over the item's 30 rows.
            const double t = (y + 0.5) / 30.0;
            const QColor seen = pixels.pixelColor(3, top + y);
            EXPECT_NEAR(seen.red(), band.Top.red() + (band.Bottom.red() - band.Top.red()) * t, 1.5) << y;
            EXPECT_NEAR(seen.green(), band.Top.green() + (band.Bottom.green() - band.Top.green()) * t, 1.5)
                << y;
            EXPECT_NEAR(seen.blue(), band.Top.blue() + (band.Bottom.blue() - band.Top.blue()) * t, 1.5) << y;
        }
        EXPECT_EQ(pixels.pixelColor(3, top + 29), QColor(10, 20, 30));
        EXPECT_EQ(pixels.pixelColor(170, top + 29), QColor(10, 20, 30));
    }
    EXPECT_EQ(TWizardStepDelegate::TopColor(QColor(0, 0, 200)), QColor(0, 0, 236));
    EXPECT_EQ(TWizardStepDelegate::BottomColor(QColor(128, 128, 128)), QColor(110, 110, 110));
}

TEST(DateiNeuDlg, TheHeadingIsTheWindowColourOnTheShadowAndStaysLegibleInADarkPalette) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    QPalette light = dlg.palette();
    light.setColor(QPalette::Base, QColor(255, 255, 255));
    light.setColor(QPalette::Dark, QColor(100, 100, 100));
    dlg.setPalette(light);
    auto* heading = child<QLabel>(dlg, "panHeading");
    EXPECT_EQ(heading->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    EXPECT_EQ(heading->palette().color(QPalette::Window), QColor(100, 100, 100));
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Dark, QColor(16, 16, 18));
    dark.setColor(QPalette::Text, QColor(232, 232, 232));
    dlg.setPalette(dark);
    EXPECT_EQ(heading->palette().color(QPalette::WindowText), QColor(232, 232, 232));
    EXPECT_EQ(heading->palette().color(QPalette::Window), QColor(16, 16, 18));
}

TEST(DateiNeuDlg, ANewSelectionFadesInAndEndsOnThePictureItself) {
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.show();
    waitForFade(dlg);
    const QImage before = dlg.Preview()->Shown();
    clickRow(dlg, 2);
    EXPECT_TRUE(dlg.Preview()->IsFading());
    const QImage target = TWizardPreviewImage::DecodePicture(QStringLiteral("WIZ_10X15_SINGLES"));
    ASSERT_FALSE(target.isNull());
    // The first step is mostly the old picture still.
    EXPECT_LT(meanChannelDifference(dlg.Preview()->Shown(), before),
              meanChannelDifference(dlg.Preview()->Shown(), target));
    waitForFade(dlg);
    EXPECT_EQ(dlg.Preview()->Shown(), target);
    const QImage seen = dlg.Preview()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = target.scaled(400, 300, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(seen.size(), expected.size());
    EXPECT_LT(meanChannelDifference(seen, expected), 2.0);
    EXPECT_LE(maxChannelDifference(seen, expected), 48);
}

TEST(DateiNeuDlg, AMissingPreviewShowsTheButtonFaceAndTheWizardWorksOn) {
    TFBDocument document;
    TDateiNeuDlg dlg(nullptr, kNewYearsEve);
    dlg.Root()->Child(1)->Picture = QStringLiteral("WIZ_NICHT_DA");
    QPalette palette = dlg.palette();
    palette.setColor(QPalette::Button, QColor(12, 34, 56));
    dlg.setPalette(palette);
    const int result = execute(dlg, document, [&] {
        clickRow(dlg, 1);
        EXPECT_EQ(dlg.Preview()->property("picture").toString(), QString());
        EXPECT_TRUE(dlg.Preview()->Shown().isNull());
        EXPECT_EQ(dlg.Preview()->grab().toImage().pixelColor(200, 150), QColor(12, 34, 56));
        click(dlg, "btnWeiter");
    });
    EXPECT_EQ(result, TDateiNeuDlg::ResultCreated);
}
