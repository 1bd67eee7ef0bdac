#include "document/uColorList.h"
#include "document/uFBColor.h"
#include "i18n/ulocalize.h"
#include "support/FakeColorDialog.h"
#include "support/GuiTest.h"
#include "widgets/ui/uColorPopupButton.h"
#include "widgets/ui/uFloatEdit.h"
#include "widgets/ui/uFontComboBox.h"
#include "widgets/ui/uFontSizeComboBox.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class Widgets : public TestSupport::GuiTest {};

} // namespace

TEST_F(Widgets, FloatEditTakesNumbersInItsRangeAndKeepsTheLastValidOne) {
    TFloatEdit edit;
    edit.SetRange(0.0, 100.0);
    edit.SetValue(10.0);
    edit.show();
    edit.setFocus();
    QSignalSpy changed(&edit, &TFloatEdit::ValueChanged);
    EXPECT_EQ(edit.text(), QStringLiteral("10"));

    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("1a2,5x"));
    EXPECT_EQ(edit.text(), QStringLiteral("12,5")); // letters never get in
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.Value(), 12.5);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toDouble(), 12.5);

    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("7.25"));
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(edit.Value(), 7.25);
    EXPECT_EQ(edit.text(), QStringLiteral("7,25")); // shown with the language's separator

    // Outside the bounds: the field goes back to the last valid value when it loses the focus.
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("250"));
    EXPECT_FALSE(edit.HasAcceptableText());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &out);
    EXPECT_EQ(edit.Value(), 7.25);
    EXPECT_EQ(edit.text(), QStringLiteral("7,25"));
    EXPECT_EQ(changed.count(), 2);

    edit.SetValue(1.0 / 3.0);
    EXPECT_EQ(edit.text(), QStringLiteral("0,333333333333333"));
    edit.SetValue(500.0); // clamped, not reported
    EXPECT_EQ(edit.Value(), 100.0);
    EXPECT_EQ(changed.count(), 2);

    SetCurrentLanguage(1);
    QEvent languageChange(QEvent::LanguageChange);
    QApplication::sendEvent(&edit, &languageChange);
    edit.SetValue(2.5);
    EXPECT_EQ(edit.text(), QStringLiteral("2.5"));
}

TEST_F(Widgets, FontSizeBoxIgnoresLettersAndRefusesSizesTheDrawerCannotTake) {
    TFontSizeComboBox box;
    box.show();
    box.setFocus();
    EXPECT_EQ(box.count(), 17);
    EXPECT_EQ(box.Size(), 12);
    QSignalSpy chosen(&box, &TFontSizeComboBox::SizeChosen);
    QSignalSpy confirmed(&box, &TFontSizeComboBox::Confirmed);
    QLineEdit* line = box.lineEdit();

    QTest::keyClicks(line, QStringLiteral("x"));
    EXPECT_EQ(line->text(), QStringLiteral("12")); // a letter typed into the box is ignored
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("3a0"));
    EXPECT_EQ(line->text(), QStringLiteral("30"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(box.Size(), 30);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 30);
    EXPECT_EQ(confirmed.count(), 1);
    EXPECT_EQ(box.count(), 17); // a typed size is no new entry

    for (const char* refused : {"0", "1639"}) {
        line->selectAll();
        QTest::keyClicks(line, QString::fromLatin1(refused));
        QTest::keyClick(line, Qt::Key_Return);
        EXPECT_EQ(box.Size(), 30) << refused;
        EXPECT_EQ(line->text(), QStringLiteral("30")) << refused;
    }
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(confirmed.count(), 3); // Enter hands the focus back even when the size was refused

    box.SetSize(48);
    EXPECT_EQ(box.currentIndex(), 14);
    box.SetSize(0);
    EXPECT_EQ(box.Size(), 48);
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(Widgets, ColorPopupOffersStandardCustomNoAndMoreColours) {
    TColorList::Instance().SetItem(0, 0x00A0B0);
    TestSupport::TFakeColorDialog dialog;
    TColorDialogService* previous = SetColorDialogService(&dialog);

    TColorPopupButton button;
    button.SetColor(0x00FF00);
    QSignalSpy chosen(&button, &TColorPopupButton::ColorChosen);
    QWidget* panel = button.Panel();
    auto* none = panel->findChild<QPushButton*>(QStringLiteral("ColorNone"));
    auto* more = panel->findChild<QPushButton*>(QStringLiteral("ColorMore"));
    ASSERT_TRUE(none && more);
    EXPECT_TRUE(none->isHidden()); // only where the owner offers it
    EXPECT_EQ(none->text(), QStringLiteral("Keine Farbe"));
    EXPECT_EQ(more->text(), QStringLiteral("Weitere Farben..."));
    EXPECT_EQ(panel->findChildren<QToolButton*>().size(), 16 + 32);

    panel->findChild<QToolButton*>(QStringLiteral("ColorStandard9"))->click();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 0x0000FF);
    EXPECT_EQ(button.Color(), 0x0000FF);

    QToolButton* custom = panel->findChild<QToolButton*>(QStringLiteral("ColorCustom0"));
    ASSERT_TRUE(custom);
    custom->click();
    EXPECT_EQ(button.Color(), 0x00A0B0);
    EXPECT_FALSE(panel->findChild<QToolButton*>(QStringLiteral("ColorCustom1"))->isEnabled()); // empty slot

    // The pop-up shows the table as it is when it opens.
    TColorList::Instance().SetItem(1, 0x445566);
    button.RefreshPanel();
    panel->findChild<QToolButton*>(QStringLiteral("ColorCustom1"))->click();
    EXPECT_EQ(button.Color(), 0x445566);
    EXPECT_EQ(chosen.count(), 3);

    button.ChooseNoColor(); // not offered: nothing
    EXPECT_EQ(chosen.count(), 3);
    button.SetOffersNoColor(true);
    EXPECT_FALSE(none->isHidden());
    none->click();
    EXPECT_TRUE(button.IsNoColor());
    EXPECT_EQ(chosen.last().at(0).toInt(), 0x7FFFFFFF);

    // More colours: the dialog starts at white for no colour; cancelling reports nothing.
    more->click();
    EXPECT_EQ(dialog.shownWith, 0xFFFFFF);
    EXPECT_EQ(chosen.count(), 4);
    dialog.pick = true;
    dialog.picked = 0x102030;
    more->click();
    EXPECT_EQ(button.Color(), 0x102030);
    EXPECT_EQ(chosen.count(), 5);

    SetCurrentLanguage(kLanguageEnglish);
    RetranslateColorPopups();
    EXPECT_EQ(none->text(), QStringLiteral("No colour"));
    SetCurrentLanguage(kLanguageGerman);
    SetColorDialogService(previous);
}

TEST_F(Widgets, FontBoxListsInstalledFamiliesAndKeepsAMissingOne) {
    TFontComboBox box;
    QStringList installed;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            installed << family;
    ASSERT_FALSE(installed.isEmpty());
    EXPECT_EQ(box.count(), installed.size());
    QSignalSpy chosen(&box, &TFontComboBox::FontNameChosen);

    box.SetFontName(installed.front());
    EXPECT_EQ(box.FontName(), installed.front());
    const QString missing = QStringLiteral("Gibt Es Nicht Grotesk");
    ASSERT_FALSE(TFontComboBox::IsInstalled(missing));
    box.SetFontName(missing);
    EXPECT_EQ(box.FontName(), missing);
    EXPECT_EQ(box.currentText(), missing);
    EXPECT_EQ(box.count(), installed.size() + 1);
    box.SetFontName(missing); // kept once
    EXPECT_EQ(box.count(), installed.size() + 1);
    EXPECT_EQ(chosen.count(), 0);

    const int index = box.findText(installed.back());
    box.setCurrentIndex(index);
    emit box.textActivated(installed.back());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), installed.back());
    emit box.textActivated(installed.back()); // the same family again: no change
    EXPECT_EQ(chosen.count(), 1);
}
