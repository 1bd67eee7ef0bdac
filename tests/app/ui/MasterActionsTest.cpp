// The main window's commands as the user reaches them: every action by its object name, the
// toolbar buttons that carry them, and the rules that enable them.
#include "app/ui/FMainform.h"
#include "app/ui/uMasterActions.h"
#include "document/uFotobuchDocument.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uSubformSeiten.h"
#include "support/GuiTest.h"
#include "support/PageElements.h"

#include "FlagUndoItem.h"
#include "ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using TAnswer = TMasterPrompts::TAnswer;

namespace {

class MasterActions : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        master = std::make_unique<TMaster>(&prompts);
        master->SetNewProjectWizard([this](TFBDocument& document) {
            ++wizardRuns;
            if (wizardResult == 1) {
                document.Reset();
                document.Dokumentname = QStringLiteral("PhotoBook 8:5");
                document.PictureShadowsAllowed = true;
                document.PicturesHaveShadows = true;
                TestSupport::addPages(document, 3);
            }
            return wizardResult;
        });
    }
    void TearDown() override {
        master.reset();
        GuiTest::TearDown();
    }
    QAction* action(const char* name) const {
        auto* found = master->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Triggers the action as a click or its shortcut would; false when it is disabled.
    bool trigger(const char* name) const {
        QAction* a = action(name);
        if (!a || !a->isEnabled())
            return false;
        a->trigger();
        return true;
    }
    TFBDocument& document() const { return master->Document(); }
    // A rich-text editor in the window that has the keyboard focus.
    QTextEdit* focusedEditor() {
        auto* editor = new QTextEdit(master.get());
        master->SetRichTextEditor(editor);
        master->show();
        QApplication::setActiveWindow(master.get());
        editor->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(editor->hasFocus());
        return editor;
    }

    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
    int wizardRuns = 0;
    int wizardResult = 2;
};

} // namespace

TEST_F(MasterActions, EveryCommandIsOneActionNamedLikeItsMenuItemOrButton) {
    QStringList names;
    for (const QAction* a : master->Actions().Actions())
        names << a->objectName();
    // A command added to the table shows up here: give it a check below as well.
    EXPECT_EQ(names, (QStringList{QStringLiteral("mnuDateiNeu"),
                                  QStringLiteral("mnuDateiOeffnen"),
                                  QStringLiteral("mnuDateiSpeichern"),
                                  QStringLiteral("mnuDateiSpeichernUnter"),
                                  QStringLiteral("mnuDrucken"),
                                  QStringLiteral("mnuAlsPdfSpeichern"),
                                  QStringLiteral("mnuDruckereinrichtung"),
                                  QStringLiteral("mnuBeenden"),
                                  QStringLiteral("BtnEntfernen"),
                                  QStringLiteral("BtnBlattausrichtung"),
                                  QStringLiteral("BtnTextEinfuegen"),
                                  QStringLiteral("BtnBilderschatten"),
                                  QStringLiteral("BtnRueckgaengig"),
                                  QStringLiteral("mnuRueckgaengig"),
                                  QStringLiteral("mnuWiederherstellen"),
                                  QStringLiteral("mnuBearbeitenAusschneiden"),
                                  QStringLiteral("mnuBearbeitenKopieren"),
                                  QStringLiteral("mnuBearbeitenEinfuegen"),
                                  QStringLiteral("mnuHilfeUeber"),
                                  QStringLiteral("BtnSchliessen"),
                                  QStringLiteral("BtnSeiteZurueck"),
                                  QStringLiteral("BtnSeiteVor"),
                                  QStringLiteral("actZoomGroesser"),
                                  QStringLiteral("actZoomKleiner"),
                                  QStringLiteral("actZoomNormal"),
                                  QStringLiteral("actMenueleiste"),
                                  QStringLiteral("actFokusWeiter"),
                                  QStringLiteral("actFokusZurueck")}));
    for (const QString& name : names)
        EXPECT_EQ(master->findChildren<QAction*>(name).size(), 1) << name.toStdString();

    QAction* open = action("mnuDateiOeffnen");
    EXPECT_EQ(open->text(), QStringLiteral("Ö&ffnen..."));
    EXPECT_EQ(open->iconText(), QStringLiteral("Öffnen"));
    EXPECT_EQ(open->toolTip(), QStringLiteral("Album öffnen"));
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(action("mnuBeenden")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
}

TEST_F(MasterActions, MenusListTheActionsAndToolbarButtonsCarryThem) {
    const auto items = [this](const char* menu) {
        QStringList names;
        for (const QAction* a : master->findChild<QMenu*>(QString::fromLatin1(menu))->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return names;
    };
    EXPECT_EQ(items("mnuDatei"),
              (QStringList{QStringLiteral("mnuDateiNeu"), QStringLiteral("mnuDateiOeffnen"),
                           QStringLiteral("mnuDateiSpeichern"), QStringLiteral("mnuDateiSpeichernUnter"),
                           QStringLiteral("-"), QStringLiteral("mnuDrucken"),
                           QStringLiteral("mnuAlsPdfSpeichern"), QStringLiteral("mnuDruckereinrichtung"),
                           QStringLiteral("-"), QStringLiteral("mnuBeenden")}));
    EXPECT_EQ(
        items("mnuBearbeiten"),
        (QStringList{QStringLiteral("mnuRueckgaengig"), QStringLiteral("mnuWiederherstellen"),
                     QStringLiteral("-"), QStringLiteral("mnuBearbeitenAusschneiden"),
                     QStringLiteral("mnuBearbeitenKopieren"), QStringLiteral("mnuBearbeitenEinfuegen")}));
    EXPECT_EQ(items("mnuHilfe"), QStringList{QStringLiteral("mnuHilfeUeber")});

    const struct {
        const char* Button;
        const char* Action;
        const char* Caption;
    } buttons[] = {{"BtnAlbumNeu", "mnuDateiNeu", "Neu"},
                   {"BtnAlbumOeffnen", "mnuDateiOeffnen", "Öffnen"},
                   {"BtnAlbumSpeichern", "mnuDateiSpeichern", "Speichern"},
                   {"BtnAlbumDrucken", "mnuDrucken", "Drucken"},
                   {"BtnEntfernen", "BtnEntfernen", "Entfernen"},
                   {"BtnBlattausrichtung", "BtnBlattausrichtung", "Ausrichtung"},
                   {"BtnTextEinfuegen", "BtnTextEinfuegen", "Text"},
                   {"BtnBilderschatten", "BtnBilderschatten", "Bilderschatten"},
                   {"BtnRueckgaengig", "BtnRueckgaengig", "Undo"},
                   {"BtnSchliessen", "BtnSchliessen", "Schließen"},
                   {"BtnSeiteZurueck", "BtnSeiteZurueck", ""},
                   {"BtnSeiteVor", "BtnSeiteVor", ""}};
    for (const auto& b : buttons) {
        auto* button = master->findChild<QToolButton*>(QString::fromLatin1(b.Button));
        ASSERT_NE(button, nullptr) << b.Button;
        EXPECT_EQ(button->defaultAction(), action(b.Action)) << b.Button;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.Caption)) << b.Button;
    }
    EXPECT_EQ(master->findChild<QToolButton*>(QStringLiteral("BtnAlbumSpeichern"))->toolTip(),
              QStringLiteral("Album speichern"));
    EXPECT_EQ(master->findChild<QToolButton*>(QStringLiteral("BtnSeiteVor"))->arrowType(), Qt::RightArrow);
}

TEST_F(MasterActions, ProjectCommandsReachTheirPromptsAndHandlers) {
    document().Modified = true;
    prompts.answers = {TAnswer::Cancel};
    EXPECT_TRUE(trigger("mnuDateiNeu"));
    EXPECT_EQ(prompts.questions.size(), 1) << "New asks about the unsaved changes";
    EXPECT_EQ(wizardRuns, 0);
    document().Modified = false;

    EXPECT_TRUE(trigger("mnuDateiOeffnen"));
    EXPECT_EQ(prompts.openDialogs, 1);
    EXPECT_TRUE(trigger("mnuDateiSpeichern"));
    EXPECT_EQ(prompts.saveDialogs, 1) << "a never-saved document asks for a name";
    EXPECT_TRUE(trigger("mnuDateiSpeichernUnter"));
    EXPECT_EQ(prompts.saveDialogs, 2);
    EXPECT_TRUE(trigger("mnuDruckereinrichtung"));
    EXPECT_EQ(prompts.printerSetups, 1);
    EXPECT_TRUE(trigger("mnuHilfeUeber"));
    EXPECT_EQ(prompts.abouts, 1);
    EXPECT_TRUE(trigger("mnuDrucken"));
    EXPECT_EQ(prompts.prints, 1);
    EXPECT_TRUE(trigger("mnuAlsPdfSpeichern"));
    EXPECT_EQ(prompts.pdfExports, 1);
    EXPECT_EQ(prompts.prints, 1);
    EXPECT_TRUE(prompts.errors.isEmpty());

    // Close project resets the document and runs New without asking again.
    document().Dokumentname = QStringLiteral("Alt");
    EXPECT_TRUE(trigger("BtnSchliessen"));
    EXPECT_EQ(wizardRuns, 1);
    EXPECT_TRUE(document().Dokumentname.isEmpty());

    master->show();
    ASSERT_TRUE(master->isVisible());
    EXPECT_TRUE(trigger("mnuBeenden"));
    EXPECT_FALSE(master->isVisible());
}

TEST_F(MasterActions, ViewCommandsMoveBetweenViewsAndTurnTheView) {
    TestSupport::addPages(document(), 2);
    master->PagesPanel()->Rebuild();
    EXPECT_TRUE(trigger("BtnSeiteVor"));
    EXPECT_EQ(master->MainView()->ViewIndex(), 1);
    EXPECT_EQ(master->PagesPanel()->CurrentView(), 1);
    EXPECT_TRUE(trigger("BtnSeiteZurueck"));
    EXPECT_EQ(master->MainView()->ViewIndex(), 0);

    const int before = document().ViewOrientation(0);
    EXPECT_TRUE(trigger("BtnBlattausrichtung"));
    EXPECT_NE(document().ViewOrientation(0), before);
    EXPECT_TRUE(document().Modified);

    // Inserting text selects it; deleting takes it away again, and then there is nothing to delete.
    EXPECT_TRUE(trigger("BtnTextEinfuegen"));
    ASSERT_NE(master->MainView()->Selected(), nullptr);
    EXPECT_TRUE(action("BtnEntfernen")->isEnabled());
    EXPECT_TRUE(trigger("BtnEntfernen"));
    EXPECT_EQ(master->MainView()->Selected(), nullptr);
    EXPECT_FALSE(action("BtnEntfernen")->isEnabled());
    EXPECT_FALSE(trigger("BtnEntfernen"));
}

TEST_F(MasterActions, ShadowToggleFollowsTheProduct) {
    // The empty default document allows no shadows.
    EXPECT_FALSE(action("BtnBilderschatten")->isEnabled());
    wizardResult = 1;
    EXPECT_TRUE(trigger("mnuDateiNeu"));
    QAction* shadows = action("BtnBilderschatten");
    ASSERT_TRUE(shadows->isEnabled());
    EXPECT_TRUE(shadows->isChecked());
    EXPECT_TRUE(trigger("BtnBilderschatten"));
    EXPECT_FALSE(document().PicturesHaveShadows);
    EXPECT_FALSE(shadows->isChecked());
    EXPECT_FALSE(document().Modified);
}

TEST_F(MasterActions, UndoBeepsWithAnEmptyHistoryAndTheButtonFollowsTheHistoryAtOnce) {
    QAction* menuUndo = action("mnuRueckgaengig");
    QAction* buttonUndo = action("BtnRueckgaengig");
    // The shortcut stays live so that the handler can beep.
    ASSERT_TRUE(menuUndo->isEnabled());
    EXPECT_FALSE(buttonUndo->isEnabled());
    EXPECT_TRUE(trigger("mnuRueckgaengig"));
    EXPECT_EQ(prompts.beeps, 1);

    // An opened Edit menu shows Undo as the history allows; closed, the shortcut is live again.
    auto* edit = master->findChild<QMenu*>(QStringLiteral("mnuBearbeiten"));
    emit edit->aboutToShow();
    EXPECT_FALSE(menuUndo->isEnabled());
    emit edit->aboutToHide();
    EXPECT_TRUE(menuUndo->isEnabled());

    // A new record enables the button without waiting for anything.
    bool restored = false;
    UndoManager().Add(std::make_unique<FlagUndoItem>(restored));
    EXPECT_TRUE(buttonUndo->isEnabled());
    emit edit->aboutToShow();
    EXPECT_TRUE(menuUndo->isEnabled());
    emit edit->aboutToHide();
    EXPECT_TRUE(trigger("BtnRueckgaengig"));
    EXPECT_TRUE(restored);
    EXPECT_FALSE(buttonUndo->isEnabled());
    EXPECT_EQ(prompts.beeps, 1);
}

TEST_F(MasterActions, EditCommandsGoToTheFocusedTextEditor) {
    EXPECT_FALSE(action("mnuBearbeitenKopieren")->isEnabled()) << "the page view has nothing to copy";
    EXPECT_FALSE(action("mnuBearbeitenEinfuegen")->isEnabled());
    QTextEdit* editor = focusedEditor();
    // The focus change alone enables them.
    EXPECT_TRUE(action("mnuBearbeitenAusschneiden")->isEnabled());
    EXPECT_TRUE(action("BtnRueckgaengig")->isEnabled()) << "the editor has its own undo";

    editor->setPlainText(QStringLiteral("Sommer 2026"));
    editor->selectAll();
    EXPECT_TRUE(trigger("mnuBearbeitenKopieren"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Sommer 2026"));
    EXPECT_TRUE(trigger("mnuBearbeitenAusschneiden"));
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    EXPECT_TRUE(trigger("mnuBearbeitenEinfuegen"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("Sommer 2026"));
    EXPECT_TRUE(trigger("mnuRueckgaengig"));
    EXPECT_TRUE(editor->toPlainText().isEmpty()) << "the editor undid the paste";
    EXPECT_EQ(prompts.beeps, 0);
}

TEST_F(MasterActions, AFailingCommandIsReportedOnceAndLeavesTheWindowUsable) {
    master->SetNewProjectWizard([](TFBDocument&) -> int { throw std::runtime_error("Assistent fehlt"); });
    EXPECT_TRUE(trigger("mnuDateiNeu"));
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Assistent fehlt")});
    EXPECT_TRUE(master->isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MasterActions, DesktopKeysRunTheirCommandsInTheWholeWindow) {
    TestSupport::addPages(document(), 4);
    master->PagesPanel()->Rebuild();
    master->show();
    QApplication::setActiveWindow(master.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(master.get()));
    master->MainView()->setFocus();
    const auto press = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, Qt::Key(key), modifiers);
    };

    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(prompts.saveDialogs, 1) << "Ctrl+Shift+S saves under a new name";

    press(Qt::Key_PageDown, Qt::ControlModifier);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(master->MainView()->ViewIndex(), 2);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(master->MainView()->ViewIndex(), 1);

    auto* zoom = master->findChild<QSlider*>(QStringLiteral("tbMainViewZoom"));
    press(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 150);
    press(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 200);
    EXPECT_FLOAT_EQ(master->MainView()->Zoom(), 2.0f) << "the page view follows the track bar";
    press(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 150);
    press(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 100);
    press(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(zoom->value(), 100) << "not below the track bar's range";

    // F6 walks the left tabs, the page view and the lower tabs; Shift+F6 goes back.
    auto* left = master->findChild<QTabWidget*>(QStringLiteral("PageControlLeft"));
    auto* lower = master->findChild<QTabWidget*>(QStringLiteral("pagecontrolBottom"));
    press(Qt::Key_F6);
    EXPECT_TRUE(lower->currentWidget()->isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_F6);
    EXPECT_TRUE(left->currentWidget()->isAncestorOf(QApplication::focusWidget()));
    press(Qt::Key_F6);
    EXPECT_EQ(QApplication::focusWidget(), master->MainView());
    press(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(left->currentWidget()->isAncestorOf(QApplication::focusWidget()));
    master->MainView()->setFocus();

    press(Qt::Key_F10);
    EXPECT_EQ(master->menuBar()->activeAction(),
              master->findChild<QMenu*>(QStringLiteral("mnuDatei"))->menuAction());
    master->findChild<QMenu*>(QStringLiteral("mnuDatei"))->close();
    master->MainView()->setFocus();

    // Ctrl+W closes the project, which runs New.
    press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(wizardRuns, 1);
    EXPECT_EQ(document().Pages.Count(), 1) << "the empty document again";

    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(master->isVisible()) << "Ctrl+Q ends the program";
    EXPECT_TRUE(prompts.errors.isEmpty());
}
