// The calendar panel, the calendar properties dialog and the holidays table driven through their
// controls: what the user clicks and types reaches the document as one undoable step, and what
// does not convert changes nothing.
#include "calendar/ui/FDlgFeiertagGeburtstag.h"
#include "calendar/ui/FKalenderPropDlg.h"
#include "calendar/ui/uSubformKalender.h"

#include "calendar/uKalenderBesondereTage.h"
#include "catalogue/uDateiNeuWizzard.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "i18n/ulocalize.h"
#include "platform/uInfoausgabe.h"
#include "support/GuiTest.h"
#include "widgets/ui/uColorPopupButton.h"
#include "widgets/ui/uFloatEdit.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QString screenshotPath(const QString& name) {
    QDir dir(QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots"));
    dir.mkpath(QStringLiteral("."));
    return dir.absoluteFilePath(name);
}

// The stored form of every calendar of the document.
QByteArray storedCalendars(const TFBDocument& document) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TMemoryDataFile file(buffer);
    int n = 0;
    for (const TFBPage* page : document.Pages)
        for (const TFBElement* e : page->Calendars)
            static_cast<const TFBKalenderElement*>(e)->Data->Save(file, QStringLiteral("K%1").arg(n++));
    return bytes;
}

class ErrorRecorder : public TInfoTarget {
public:
    void SetStatusText(const QString&) override {}
    void ShowProgress(const QString&) override {}
    void HideProgress() override {}
    void ShowError(const QString& message) override { errors << message; }
    QStringList errors;
};

// The texts of the list's entries of a date.
QStringList textsOn(const TKalenderTageListe& list, const QDate& date) {
    QStringList texts;
    for (int i = 0; i < list.Count(); ++i)
        if (list.Items(i).Date() == date)
            texts << list.Items(i).Text;
    return texts;
}

template <typename T>
T* child(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Twelve monthly calendars of 2026.
class CalendarDialogs : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(CreateProductDocument(document, 61, 2026, WizardPageCount(61)));
        for (const TFBPage* page : document.Pages)
            for (TFBElement* e : page->Calendars)
                calendars.push_back(static_cast<TFBKalenderElement*>(e));
        ASSERT_GE(calendars.size(), 12u);
        document.Modified = false;
        InfoAusgabe().SetTarget(&recorder);
    }
    void TearDown() override {
        InfoAusgabe().SetTarget(nullptr);
        document.Reset();
        GuiTest::TearDown();
    }
    TFBDocument document;
    std::vector<TFBKalenderElement*> calendars;
    ErrorRecorder recorder;
};

TEST_F(CalendarDialogs, PropertiesShowEveryValueAndOkWithoutChangeKeepsThem) {
    TFBKalenderElement& c = *calendars[2];
    c.Data->FTextAlign = 2 | 8;
    c.Data->WochentagTextAlign = 1;
    c.Data->MonatJahrFont.SetStyle(fsItalic | fsUnderline);
    c.Data->SondertagFont.SetStyle(fsBold | fsStrikeOut);
    c.Data->SondertagFont.SetColor(0x123456);
    c.Data->RowPadding.Top = 0.1f;
    c.Data->CellSpacing.Right = -12.5f;
    const QByteArray before = storedCalendars(document);

    TKalenderPropDlg dialog(nullptr, c);
    dialog.show();
    EXPECT_EQ(dialog.pcKalender->count(), 4);
    EXPECT_EQ(dialog.pcKalender->currentIndex(), 0);
    EXPECT_FALSE(dialog.pcKalender->isTabVisible(3));
    EXPECT_TRUE(child<QToolButton>(dialog, "tbBtnRight")->isChecked());
    EXPECT_TRUE(child<QToolButton>(dialog, "tbBtnVBottom")->isChecked());
    EXPECT_TRUE(child<QToolButton>(dialog, "tbBtnCenterWT")->isChecked());
    EXPECT_TRUE(child<QToolButton>(dialog, "tbBtnVTopWT")->isChecked());
    EXPECT_TRUE(child<QToolButton>(dialog, "tbBtnKursivMJ")->isChecked());
    EXPECT_FALSE(child<QToolButton>(dialog, "tbBtnFettMJ")->isChecked());
    EXPECT_EQ(child<TFloatEdit>(dialog, "edRowPaddingTop")->text(), QStringLiteral("0,1"));
    EXPECT_EQ(child<TFloatEdit>(dialog, "edCellSpacingRight")->text(), QStringLiteral("-12,5"));
    EXPECT_TRUE(child<TColorPopupButton>(dialog, "cbColorZeilen")->OffersNoColor());
    EXPECT_FALSE(child<TColorPopupButton>(dialog, "cbFontColorMJ")->OffersNoColor());
    EXPECT_FALSE(child<TColorPopupButton>(dialog, "cbColorSonntag")->OffersNoColor());

    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    // Only the strike-out bit, which no button shows, goes; everything else reads back as shown.
    EXPECT_EQ(c.Data->SondertagFont.Style(), TFontStyles(fsBold));
    c.Data->SondertagFont.SetStyle(fsBold | fsStrikeOut);
    EXPECT_EQ(storedCalendars(document), before);
    EXPECT_EQ(UndoManager().Count(), 1);
}

TEST_F(CalendarDialogs, BoldItalicTitleAtTheBottomAndTheSpecialDaysFontKeepsItsStyle) {
    TFBKalenderElement& c = *calendars[0];
    c.Data->SondertagFont.SetStyle(fsUnderline);
    c.Data->MonatJahrFont.SetStyle(0);
    TKalenderPropDlg dialog(nullptr, c);
    dialog.show();
    dialog.pcKalender->setCurrentIndex(2);
    QTest::mouseClick(child<QCheckBox>(dialog, "chMonatJahrUnten"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(dialog, "tbBtnFettMJ"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(dialog, "tbBtnKursivMJ"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>(dialog, "tbBtnVCenterMJ"), Qt::LeftButton);
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(c.Data->ShowMonatJahrOnBottom);
    EXPECT_EQ(c.Data->MonatJahrFont.Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(c.Data->MonatJahrTextAlign & 12, 4);
    EXPECT_EQ(c.Data->SondertagFont.Style(), TFontStyles(fsUnderline));
    EXPECT_TRUE(document.Modified);
    EXPECT_TRUE(recorder.errors.isEmpty());
}

TEST_F(CalendarDialogs, ANumberFieldThatIsNoNumberChangesNothingAndKeepsTheDialogOpen) {
    TFBKalenderElement& c = *calendars[4];
    const QByteArray before = storedCalendars(document);
    TKalenderPropDlg dialog(nullptr, c);
    dialog.show();
    TFloatEdit* height = child<TFloatEdit>(dialog, "edFontheight");
    const QString shown = height->text();
    // Letters never get into the field.
    height->selectAll();
    QTest::keyClicks(height, QStringLiteral("abc"));
    EXPECT_EQ(height->text(), shown);

    QTest::mouseClick(child<QToolButton>(dialog, "tbBtnFett"), Qt::LeftButton);
    for (const QString& bad : {QString(), QStringLiteral("150"), QStringLiteral("abc")}) {
        // An emptied or too large field stays as the user left it; a text set from elsewhere too.
        height->setFocus();
        height->selectAll();
        QTest::keyClick(height, Qt::Key_Delete);
        if (bad == QLatin1String("abc"))
            height->setText(bad);
        else
            QTest::keyClicks(height, bad);
        for (QPushButton* button : {dialog.BtnOK, dialog.BtnUebernehmen, dialog.BtnOKFuerAlle}) {
            recorder.errors.clear();
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible()) << bad.toStdString();
            ASSERT_EQ(recorder.errors.size(), 1) << bad.toStdString();
            EXPECT_TRUE(recorder.errors[0].contains(QString::fromUtf8("Fonthöhe in Zelle")));
            EXPECT_EQ(height->text(), bad);
            EXPECT_EQ(storedCalendars(document), before);
            EXPECT_EQ(UndoManager().Count(), 0);
            EXPECT_FALSE(document.Modified);
        }
    }
    // Mended, the same dialog applies.
    height->setText(QStringLiteral("40.5"));
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
    EXPECT_FLOAT_EQ(c.Data->FontHeight, 40.5f);
    EXPECT_TRUE(c.Data->Font.IsBold());
}

TEST_F(CalendarDialogs, ApplyThenCancelAndOkForAll) {
    TFBKalenderElement& c = *calendars[1];
    const QByteArray before = storedCalendars(document);
    {
        TKalenderPropDlg dialog(nullptr, c);
        dialog.show();
        child<TFloatEdit>(dialog, "edWochentageSize")->setText(QStringLiteral("22"));
        QTest::mouseClick(dialog.BtnUebernehmen, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FLOAT_EQ(c.Data->WochentagSize, 22.0f);
        QTest::mouseClick(dialog.BtnAbbrechen, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), TKalenderPropDlg::ResultAbort);
    }
    EXPECT_FLOAT_EQ(c.Data->WochentagSize, 22.0f);
    ASSERT_EQ(UndoManager().Count(), 1);
    UndoManager().Undo(document);
    EXPECT_EQ(storedCalendars(document), before);

    std::vector<std::pair<int, int>> months;
    for (const TFBKalenderElement* k : calendars)
        months.push_back({k->Data->Monat, k->Data->Jahr});
    TKalenderPropDlg dialog(nullptr, *calendars[7]);
    dialog.show();
    child<TColorPopupButton>(dialog, "cbColor")->ChooseColor(0x00AA00);
    child<TColorPopupButton>(dialog, "cbColorZeilen")->ChooseNoColor();
    QTest::mouseClick(dialog.BtnOKFuerAlle, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    for (size_t i = 0; i < calendars.size(); ++i) {
        EXPECT_EQ(calendars[i]->Data->Color, 0x00AA00) << i;
        EXPECT_EQ(calendars[i]->Data->ColorZeilen, NoColor) << i;
        EXPECT_EQ(std::make_pair(calendars[i]->Data->Monat, calendars[i]->Data->Jahr), months[i]) << i;
    }
    EXPECT_EQ(UndoManager().Count(), 1);
    UndoManager().Undo(document);
    EXPECT_EQ(storedCalendars(document), before);
}

TEST_F(CalendarDialogs, PanelYearLimitsMonthChoiceAndLanguageSwitch) {
    TSFormKalender panel;
    int opened = 0;
    panel.OpenFeiertage = [&](QWidget*, TFBKalenderElement&) { ++opened; };
    panel.SetElement(calendars[0]);
    panel.show();
    EXPECT_EQ(panel.lblJahr->text(), QStringLiteral("2026"));
    EXPECT_TRUE(panel.lblJahr->font().bold());
    EXPECT_EQ(panel.cbMonat->currentIndex(), 0);

    QTest::mouseClick(panel.BtnPlus, Qt::LeftButton);
    EXPECT_EQ(panel.lblJahr->text(), QStringLiteral("2027"));
    EXPECT_EQ(calendars[11]->Data->Jahr, 2027);
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_TRUE(document.Modified);

    // The first month: every calendar moves on, the year stays.
    panel.cbMonat->setCurrentIndex(8);
    EXPECT_EQ(calendars[0]->Data->Monat, 1) << "a programmatic change records nothing";
    panel.cbMonat->activated(8);
    EXPECT_EQ(calendars[0]->Data->Monat, 9);
    EXPECT_EQ(calendars[4]->Data->Monat, 1);
    EXPECT_EQ(calendars[4]->Data->Jahr, 2028);
    EXPECT_EQ(UndoManager().Count(), 2);

    // A language switch translates the open panel, refills the months and records nothing.
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_EQ(panel.cbMonat->count(), 12);
    EXPECT_EQ(panel.cbMonat->itemText(2), QStringLiteral("March"));
    EXPECT_EQ(panel.cbMonat->currentIndex(), 8);
    EXPECT_EQ(child<QLabel>(panel, "lblKalenderjahr")->text(), QStringLiteral("Calendar year:"));
    EXPECT_EQ(panel.lblJahr->text(), QStringLiteral("2027"));
    EXPECT_EQ(UndoManager().Count(), 2);
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageGerman));
    EXPECT_EQ(panel.cbMonat->itemText(2), QString::fromUtf8("März"));
    EXPECT_EQ(panel.BtnBearbeiten->text(), QStringLiteral("Kalendereinstellungen bearbeiten"));

    document.SetCalendarStart(2100, 1);
    panel.SetElement(calendars[0]);
    EXPECT_FALSE(panel.BtnPlus->isEnabled());
    EXPECT_TRUE(panel.BtnMinus->isEnabled());
    document.SetCalendarStart(1900, 1);
    panel.SetElement(calendars[0]);
    EXPECT_TRUE(panel.BtnPlus->isEnabled());
    EXPECT_FALSE(panel.BtnMinus->isEnabled());

    QTest::mouseClick(panel.BtnFeiertageGeburtstage, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    panel.SetElement(nullptr);
    EXPECT_FALSE(panel.BtnBearbeiten->isEnabled());
    EXPECT_FALSE(panel.BtnPlus->isEnabled());
}

TEST_F(CalendarDialogs, HolidaysTableOfALeapYear) {
    document.Feiertage.Clear();
    document.Geburtstage.Clear();
    document.Geburtstage.Add(QStringLiteral("Oma"), QStringLiteral(", "), QDate(2024, 3, 2));
    document.Geburtstage.Add(QStringLiteral("Alt"), QStringLiteral(", "), QDate(1650, 3, 2));
    TDlgFeiertagGeburtstag dialog(nullptr, document, 2024, 3);
    QStringList notes;
    dialog.ShowInformation = [&](QWidget*, const QString& text) { notes << text; };
    dialog.show();
    TKalenderTageView* table = dialog.Table();
    QAbstractItemModel* model = table->model();
    ASSERT_EQ(model->rowCount(), 366);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Geburtstage"));
    EXPECT_EQ(model->index(59, 0).data().toString(), QStringLiteral("29.02.2024"));
    EXPECT_FALSE(model->flags(model->index(59, 0)) & (Qt::ItemIsSelectable | Qt::ItemIsEditable));
    EXPECT_EQ(model->index(61, 2).data().toString(), QStringLiteral("Oma"));
    // The cursor on 1 March in the holidays column, that row at the top.
    EXPECT_EQ(table->currentIndex(), model->index(60, 1));
    EXPECT_EQ(table->rowAt(0), 60);
    EXPECT_EQ(table->columnWidth(0),
              table->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 10);
    EXPECT_LE(std::abs(table->columnWidth(1) - table->columnWidth(2)), 1);

    // Two names typed into one cell; OK takes the open editor's text.
    const QModelIndex cell = model->index(100, 2);
    table->setCurrentIndex(cell);
    table->edit(cell);
    auto* editor = table->viewport()->findChild<QLineEdit*>(QStringLiteral("CellEditor"));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Anna, Max"));
    // A Polish Ł has no place in a project.
    QKeyEvent foreign(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x0141)));
    QApplication::sendEvent(editor, &foreign);
    EXPECT_EQ(editor->text(), QStringLiteral("Anna, Max"));

    QTest::mouseClick(dialog.BtnFeiertageBerechnen, Qt::LeftButton);
    EXPECT_EQ(notes.size(), 1);
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("Neujahr"));
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    EXPECT_EQ(textsOn(document.Geburtstage, QDate(2024, 4, 10)), QStringList{QStringLiteral("Anna, Max")});
    EXPECT_EQ(textsOn(document.Geburtstage, QDate(1650, 3, 2)), QStringList{QStringLiteral("Alt")});
    EXPECT_EQ(document.Geburtstage.Count(), 3);
    EXPECT_EQ(document.Feiertage.Count(), 22);
    EXPECT_TRUE(document.Modified);
    ASSERT_EQ(UndoManager().Count(), 1);
    UndoManager().Undo(document);
    EXPECT_EQ(document.Feiertage.Count(), 0);
    EXPECT_EQ(document.Geburtstage.Count(), 2);
}

TEST_F(CalendarDialogs, NoHolidayComputationInEnglish) {
    TDlgFeiertagGeburtstag dialog(nullptr, document, 2026, 1);
    TKalenderPropDlg properties(nullptr, *calendars[0]);
    dialog.show();
    EXPECT_TRUE(dialog.BtnFeiertageBerechnen->isVisible());
    QToolButton* bold = child<QToolButton>(properties, "tbBtnFettMJ");
    const QImage german = bold->icon().pixmap(16, 16).toImage();
    // Both open dialogs follow the switch.
    ASSERT_TRUE(Localizer().SetLanguage(kLanguageEnglish));
    EXPECT_FALSE(dialog.BtnFeiertageBerechnen->isVisible());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Holidays and birthdays"));
    EXPECT_EQ(dialog.Table()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Birthdays"));
    EXPECT_EQ(properties.windowTitle(), QStringLiteral("Calendar properties"));
    EXPECT_EQ(properties.BtnUebernehmen->text(), QStringLiteral("Apply"));
    EXPECT_EQ(properties.pcKalender->tabText(2), QStringLiteral("Month and year"));
    EXPECT_EQ(bold->toolTip(), QStringLiteral("Bold"));
    EXPECT_EQ(child<QLabel>(properties, "lblRowSpacingMJ")->text(),
              QStringLiteral("Outer margin left, top, right, bottom"));
    // The style buttons show the language's initials: B, no longer F.
    const QImage english = bold->icon().pixmap(16, 16).toImage();
    EXPECT_NE(english, german);
    EXPECT_EQ(english.convertToFormat(QImage::Format_ARGB32),
              Localizer().Glyph(TGlyph::Bold).convertToFormat(QImage::Format_ARGB32));
    // OK without a change leaves the document alone.
    QTest::mouseClick(dialog.BtnOK, Qt::LeftButton);
    EXPECT_EQ(UndoManager().Count(), 0);
    EXPECT_FALSE(document.Modified);
}

TEST_F(CalendarDialogs, CalendarFileMenuImportsReportsAndExports) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ics = dir.filePath(QStringLiteral("in.ics"));
    QFile in(ics);
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\nBEGIN:VEVENT\r\nUID:1\r\n"
             "DTSTART;VALUE=DATE:20260508\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Lena \xE2\x98\x85\r\nEND:VEVENT\r\n"
             "END:VCALENDAR\r\n");
    in.close();
    TDlgFeiertagGeburtstag dialog(nullptr, document, 2026, 5);
    QStringList notes, errors;
    QString answer = ics;
    dialog.ShowInformation = [&](QWidget*, const QString& text) { notes << text; };
    dialog.ShowError = [&](QWidget*, const QString& text) { errors << text; };
    dialog.ChooseCalendarFile = [&](QWidget*, bool) { return answer; };
    dialog.show();
    ASSERT_NE(dialog.BtnKalenderdatei->menu(), nullptr);
    child<QAction>(*dialog.BtnKalenderdatei->menu(), "mnuGeburtstageImportieren")->trigger();
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes.first(), QStringLiteral("1 Einträge übernommen, 0 schon vorhanden, 0 außerhalb der "
                                            "Kalenderjahre, 0 nicht lesbar, 1 Zeichen durch \"?\" ersetzt."));
    EXPECT_EQ(dialog.Table()->model()->index(127, 2).data().toString(), QStringLiteral("Lena ?"));
    EXPECT_TRUE(document.Modified);
    EXPECT_EQ(UndoManager().Count(), 1);

    answer = dir.filePath(QStringLiteral("out.ics"));
    child<QAction>(*dialog.BtnKalenderdatei->menu(), "mnuKalenderdateiExportieren")->trigger();
    QFile out(answer);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.readAll().contains("SUMMARY:Lena ?\r\n"));

    answer = dir.filePath(QStringLiteral("missing.ics"));
    child<QAction>(*dialog.BtnKalenderdatei->menu(), "mnuFeiertageImportieren")->trigger();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Die Datei missing.ics kann nicht gelesen werden.")});
    EXPECT_EQ(notes.size(), 1);
}

TEST_F(CalendarDialogs, Screenshots) {
    ComputeHolidays(document.Feiertage, 2026);
    document.Geburtstage.Add(QStringLiteral("Anna, Max"), QStringLiteral(", "), QDate(2026, 5, 8));
    TKalenderPropDlg dialog(nullptr, *calendars[4]);
    dialog.pcKalender->setTabVisible(3, true);
    dialog.show();
    const char* names[] = {"kalender", "wochentage", "monatjahr", "feiertage"};
    for (int tab = 0; tab < 4; ++tab) {
        dialog.pcKalender->setCurrentIndex(tab);
        QApplication::processEvents();
        EXPECT_TRUE(dialog.grab().save(screenshotPath(
            QStringLiteral("calendar-properties-%1.png").arg(QString::fromLatin1(names[tab])))));
    }
    TDlgFeiertagGeburtstag holidays(nullptr, document, 2026, 5);
    holidays.show();
    QApplication::processEvents();
    EXPECT_TRUE(holidays.grab().save(screenshotPath(QStringLiteral("calendar-holidays.png"))));
    TSFormKalender panel;
    panel.SetElement(calendars[0]);
    panel.resize(260, 200);
    panel.show();
    QApplication::processEvents();
    EXPECT_TRUE(panel.grab().save(screenshotPath(QStringLiteral("calendar-panel.png"))));
}

} // namespace
