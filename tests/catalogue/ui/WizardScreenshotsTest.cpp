// Pictures of the wizard for people to look at, written into build/screenshots/.
#include "catalogue/uWizzardStep.h"
#include "catalogue/ui/FDateiNeuDlg.h"
#include "catalogue/ui/uWizardPreviewImage.h"
#include "i18n/ulocalize.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString screenshotDir() {
    // The test programs live in build/bin beside tintaro-cli.
    QDir dir = QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absoluteDir();
    dir.cdUp();
    dir.mkpath(QStringLiteral("screenshots"));
    return dir.filePath(QStringLiteral("screenshots"));
}

void settle(const TDateiNeuDlg& dlg) {
    for (int i = 0; i < 200 && dlg.Preview()->IsFading(); ++i)
        QTest::qWait(5);
}

void save(TDateiNeuDlg& dlg, const char* name) {
    settle(dlg);
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(580, 386) * shot.devicePixelRatio());
    EXPECT_TRUE(shot.save(screenshotDir() + QLatin1Char('/') + QLatin1String(name))) << name;
}

void open(TDateiNeuDlg& dlg, int row) {
    auto* list = dlg.findChild<QListWidget*>(QStringLiteral("lbSteps"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("btnWeiter")), Qt::LeftButton);
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2E));
    p.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xE8));
    p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x20));
    p.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    p.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3E));
    p.setColor(QPalette::ButtonText, QColor(0xE8, 0xE8, 0xE8));
    p.setColor(QPalette::Dark, QColor(0x10, 0x10, 0x12));
    p.setColor(QPalette::Highlight, QColor(0x2D, 0x6C, 0xC0));
    p.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    return p;
}

} // namespace

TEST(WizardScreenshots, RootBorderlessLayoutsYearsAndADarkPalette) {
    {
        TDateiNeuDlg dlg(nullptr, QDate(2025, 12, 31));
        dlg.show();
        save(dlg, "wizard-root.png");
        open(dlg, 3); // PhotoBook 8:5
        open(dlg, 1); // Randlos
        save(dlg, "wizard-8-5-borderless.png");
    }
    {
        TDateiNeuDlg dlg(nullptr, QDate(2025, 12, 31));
        dlg.show();
        open(dlg, 4); // Kalender A4
        open(dlg, 1); // Layout 2
        save(dlg, "wizard-a4-years.png");
    }
    {
        TDateiNeuDlg dlg(nullptr, QDate(2025, 12, 31));
        dlg.setPalette(darkPalette());
        dlg.show();
        open(dlg, 6); // Kalender 10x15
        save(dlg, "wizard-dark.png");
    }
}

// The wizard's buttons have fixed widths: in no language is a caption cut off.
TEST(WizardScreenshots, EveryLanguageFitsTheFixedButtons) {
    for (int index : kShippedLanguages) {
        const QString code = TLocalizer::CodeOf(index);
        SetCurrentLanguage(index);
        TDateiNeuDlg dlg(nullptr, QDate(2025, 12, 31));
        dlg.show();
        open(dlg, 4); // Kalender A4: "<< Zurück" enabled
        for (QPushButton* button : dlg.findChildren<QPushButton*>())
            EXPECT_LE(button->sizeHint().width(), button->width())
                << code.toStdString() << ": " << button->text().toStdString();
        if (index == kLanguageFrench || index == kLanguageDutch)
            save(dlg, QStringLiteral("wizard-%1.png").arg(code).toUtf8().constData());
    }
    SetCurrentLanguage(kLanguageGerman);
}

TEST(WizardScreenshots, SheetOfAllPreviews) {
    const auto root = BuildWizardTree(QDate(2025, 12, 31));
    const auto pictures = WizardPictures(*root);
    constexpr int kColumns = 4, kW = 320, kH = 240, kLabel = 22;
    const int rows = (static_cast<int>(pictures.size()) + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kW, rows * (kH + kLabel), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int decoded = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int x = static_cast<int>(i % kColumns) * kW, y = static_cast<int>(i / kColumns) * (kH + kLabel);
        const QImage picture = TWizardPreviewImage::DecodePicture(pictures[i].Picture);
        decoded += picture.isNull() ? 0 : 1;
        painter.drawImage(QRect(x + 2, y + 2, kW - 4, kH - 4), picture);
        painter.drawText(QRect(x, y + kH, kW, kLabel), Qt::AlignCenter,
                         QStringLiteral("%1 (%2)").arg(pictures[i].Picture).arg(pictures[i].ProductCode));
    }
    painter.end();
    EXPECT_EQ(decoded, 22);
    EXPECT_TRUE(sheet.save(screenshotDir() + QStringLiteral("/wizard-previews.png")));
}
