// Undo and redo from the main window: the keys, the Edit menu, the beep on an empty history, the
// rich-text editor taking the keys while it has the focus, and the place a change is undone at.
#include "app/ui/FMainform.h"
#include "document/uFotobuchDocument.h"
#include "editing/uDocumentEdits.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uRichTextEdit.h"
#include "editing/ui/uSubformSeiten.h"
#include "render/uRTFTextDocument.h"
#include "support/GuiTest.h"
#include "support/PageElements.h"

#include "ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

class MainformUndo : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        master = std::make_unique<TMaster>(&prompts);
        // A book of five pages (three views), text on each page.
        TFBDocument& document = master->Document();
        document.Reset();
        document.ScreenMode = 1;
        TestSupport::addPages(document, 5);
        for (TFBPage* page : document.Pages) {
            auto* text = TestSupport::placeElement<TFBTextElement>(page, 50, 50, 60, 20);
            text->SetRTF(QByteArrayLiteral("{\\rtf1 Seite}"));
        }
        master->PagesPanel()->Rebuild();
        master->show();
        QApplication::setActiveWindow(master.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(master.get()));
        master->MainView()->setFocus();
    }
    void TearDown() override {
        master.reset();
        GuiTest::TearDown();
    }
    void press(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : master.get();
        QTest::keyClick(target, key, modifiers);
    }
    QAction* editAction(const char* name) const {
        return master->findChild<QAction*>(QString::fromLatin1(name));
    }
    TFBPage* page(int i) const { return master->Document().Pages.Items(i); }

    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
};

TEST_F(MainformUndo, CtrlZShowsTheSpreadOfADeletionWithTheElementSelected) {
    TFBMainView* view = master->MainView();
    // The user deletes the text on page 4 (view 2) while looking at it.
    view->SetScreen(2);
    TFBElement* doomed = page(4)->Sizeables.Items(0);
    view->Select(doomed);
    DocumentEdits::DeleteElement(*doomed);
    view->Select(nullptr);
    EXPECT_EQ(page(4)->Sizeables.Count(), 0);
    // ... and goes elsewhere.
    master->MainView()->SetScreen(0);
    master->PagesPanel()->SelectView(0);

    press(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(page(4)->Sizeables.Count(), 1);
    EXPECT_EQ(view->ViewIndex(), 2);
    EXPECT_EQ(master->PagesPanel()->CurrentView(), 2);
    EXPECT_EQ(view->Selected(), page(4)->Sizeables.Items(0));
    EXPECT_EQ(prompts.beeps, 0);
    EXPECT_TRUE(master->Document().Modified);
}

TEST_F(MainformUndo, BothRedoKeysRepeatAndAnEmptyHistoryBeeps) {
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(prompts.beeps, 3);

    DocumentEdits::SizeElement(*page(1)->Sizeables.Items(0), 80, 30, 10);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(page(1)->Sizeables.Items(0)->Width, 60);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(page(1)->Sizeables.Items(0)->Width, 80);
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(page(1)->Sizeables.Items(0)->Width, 80);
    EXPECT_EQ(prompts.beeps, 3);
    press(Qt::Key_Y, Qt::ControlModifier); // nothing left to repeat
    EXPECT_EQ(prompts.beeps, 4);
}

TEST_F(MainformUndo, TheEditMenuOffersRedoAfterUndoEnabledByTheHistory) {
    QAction* undo = editAction("mnuRueckgaengig");
    QAction* redo = editAction("mnuWiederherstellen");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(redo->text(), QStringLiteral("Wiederherstellen"));
    const QList<QKeySequence> keys = redo->shortcuts();
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    EXPECT_TRUE(keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

    auto* menu = master->findChild<QMenu*>(QStringLiteral("mnuBearbeiten"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    const qsizetype at = items.indexOf(undo);
    ASSERT_GE(at, 0);
    ASSERT_LT(at + 1, items.size());
    EXPECT_EQ(items[at + 1], redo);

    emit menu->aboutToShow();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    emit menu->aboutToHide();
    DocumentEdits::SizeElement(*page(1)->Sizeables.Items(0), 80, 30, 10);
    master->mnuRueckgaengigClick();
    emit menu->aboutToShow();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    emit menu->aboutToHide();

    // For a look at the menu: TINTARO_SCREENSHOT_DIR names where its picture goes.
    if (const QString folder = qEnvironmentVariable("TINTARO_SCREENSHOT_DIR"); !folder.isEmpty()) {
        menu->popup(master->mapToGlobal(QPoint(10, 10)));
        QTest::qWait(50);
        EXPECT_TRUE(menu->grab().save(folder + QStringLiteral("/undo-edit-menu.png")));
        menu->hide();
    }
}

TEST_F(MainformUndo, TheFocusedTextEditorTakesBothKeysForItsOwnHistory) {
    auto* editor = new QTextEdit(master.get());
    editor->setObjectName(QStringLiteral("rtf"));
    master->SetRichTextEditor(editor);
    editor->show();
    DocumentEdits::SizeElement(*page(1)->Sizeables.Items(0), 80, 30, 10);
    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    QTest::keyClicks(editor, QStringLiteral("abc"));

    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("abc"));
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("abc"));
    // The document's history was not touched.
    EXPECT_EQ(UndoManager().Count(), 1);
    EXPECT_FLOAT_EQ(page(1)->Sizeables.Items(0)->Width, 80);
    EXPECT_EQ(prompts.beeps, 0);
    master->SetRichTextEditor(nullptr);
}

TEST_F(MainformUndo, TheEditCommandsReachTheTextPanelsEditorWhileItHasTheFocus) {
    TFBMainView* view = master->MainView();
    view->SetScreen(0);
    TFBTextElement* text = static_cast<TFBTextElement*>(page(0)->Sizeables.Items(0));
    view->Select(text);
    auto* tabs = master->findChild<QTabWidget*>(QStringLiteral("pagecontrolBottom"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsText"));
    auto* editor = master->findChild<TRichTextEdit*>(QStringLiteral("rtf"));
    ASSERT_NE(editor, nullptr);
    // Selecting the text stored nothing.
    EXPECT_EQ(text->RTF(), QByteArrayLiteral("{\\rtf1 Seite}"));
    EXPECT_FALSE(master->Document().Modified);

    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral(" eins"));
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QStringLiteral("Seite eins"));
    const int steps = UndoManager().Count();

    // For a look at the window with the text selected (build/screenshots).
    const QString shots =
        QFileInfo(QStringLiteral(TINTARO_CLI_PATH)).absolutePath() + QStringLiteral("/../screenshots");
    QDir().mkpath(shots);
    master->resize(1280, 800);
    QApplication::processEvents();
    EXPECT_TRUE(master->grab().save(shots + QStringLiteral("/mainwindow-text-panel.png")));

    editAction("mnuRueckgaengig")->trigger();
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QStringLiteral("Seite"));
    EXPECT_EQ(UndoManager().Count(), steps);
    editAction("mnuWiederherstellen")->trigger();
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QStringLiteral("Seite eins"));

    // Cut and paste move text within the editor, not the element on the page.
    QTextCursor word = editor->textCursor();
    word.movePosition(QTextCursor::End);
    word.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    editor->setTextCursor(word);
    editAction("mnuBearbeitenAusschneiden")->trigger();
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QStringLiteral("Seite "));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("eins"));
    QTest::keyClick(editor, Qt::Key_Home);
    editAction("mnuBearbeitenEinfuegen")->trigger();
    EXPECT_EQ(RTFText::PlainTextRTF(text->RTF()), QStringLiteral("einsSeite "));
    EXPECT_EQ(page(0)->Sizeables.Count(), 1);
}

} // namespace
