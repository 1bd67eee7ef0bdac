#include "app/ui/FMainform.h"
#include "app/ui/FProgressDlg.h"
#include "app/ui/uMasterPrompts.h"
#include "document/uDataFile.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uSubformSeiten.h"
#include "platform/Exception.h"
#include "platform/uInfoausgabe.h"
#include "support/GuiTest.h"
#include "support/TempHome.h"

#include "FlagUndoItem.h"
#include "ScriptedPrompts.h"
#include "support/PageElements.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>

using TestSupport::addPages;
using TestSupport::TempHome;
using TAnswer = TMasterPrompts::TAnswer;

namespace {

const QString kUnbenannt = QStringLiteral("Tintaro Print Kit    - Unbenannt");

// A stand-in for the document's stored form: the name and the number of pages in a real
// container file, so the commands' file handling runs for real.
void saveTestDocument(TFBDocument& document, const QString& path) {
    WriteContainerFile(path, [&document](TCustomDataFile& file) {
        file.WriteString(QStringLiteral("Doc"), QStringLiteral("Dokumentname"), document.Dokumentname);
        file.WriteInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), document.Pages.Count());
    });
}

void loadTestDocument(TFBDocument& document, const QString& path) {
    ReadContainerFile(path, [&document](TCustomDataFile& file) {
        document.Reset();
        InfoAusgabe().Info(QStringLiteral("Dokument wird geladen"));
        document.Dokumentname = file.ReadString(QStringLiteral("Doc"), QStringLiteral("Dokumentname"), {});
        const int pages = file.ReadInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), -1);
        if (pages < 0)
            throw Exception(QStringLiteral("Invalid file format."));
        TestSupport::addPages(document, pages);
    });
}

// The document with exactly count empty pages (the empty default document has one).
void setPages(TFBDocument& document, int count) {
    document.Pages.Clear();
    addPages(document, count);
}

class MainformTest : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        master = std::make_unique<TMaster>(&prompts);
        master->SetNewProjectWizard([this](TFBDocument& document) {
            ++wizardRuns;
            if (wizardResult == 1) {
                document.Reset();
                document.Dokumentname = QStringLiteral("PhotoBook 8:5");
                addPages(document, 3);
            }
            return wizardResult;
        });
        master->SetProjectFileOperations(loadTestDocument, saveTestDocument);
    }
    void TearDown() override {
        master.reset();
        GuiTest::TearDown();
    }
    QString path(const QString& name) const { return home.path() + QLatin1Char('/') + name; }
    TFBDocument& document() { return master->Document(); }
    template <typename T>
    T* child(const char* name) const {
        return master->findChild<T*>(QString::fromLatin1(name));
    }
    // A never-saved document with changes, named so that a reset is visible.
    void makeModifiedDocument() {
        document().Dokumentname = QStringLiteral("Alt");
        addPages(document(), 2);
        document().Modified = true;
    }

    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
    int wizardRuns = 0;
    int wizardResult = 2;
};

} // namespace

TEST_F(MainformTest, CaptionOfANeverSavedDocumentEndsWithUnbenannt) {
    EXPECT_EQ(master->windowTitle(), kUnbenannt);
    EXPECT_EQ(TMaster::CaptionFor(QStringLiteral("/home/x/Reise.fbp")),
              QStringLiteral("Tintaro Print Kit    - Reise.fbp"));
    EXPECT_TRUE(document().FilePath.isEmpty());
    EXPECT_FALSE(document().Modified);
}

TEST_F(MainformTest, NewOnAModifiedDocumentAnsweringCancelChangesNothing) {
    makeModifiedDocument();
    prompts.answers = {TAnswer::Cancel};
    master->BtnAlbumNeuClick();
    EXPECT_EQ(prompts.questions,
              QStringList{QStringLiteral(
                  "Das aktuelle Album ist noch nicht gespeichert.\nSoll es jetzt gespeichert werden?")});
    EXPECT_EQ(wizardRuns, 0);
    EXPECT_EQ(document().Dokumentname, QStringLiteral("Alt"));
    EXPECT_TRUE(document().Modified);
}

TEST_F(MainformTest, NewAnsweringNoShowsTheWizardAndACancelledWizardKeepsDocumentAndSelection) {
    makeModifiedDocument();
    TFBPage* page = document().Pages.Items(0);
    TFBElement* frame = page->Pictures.Add(std::make_unique<TFBPictureElement>(page));
    master->MainView()->Select(frame);
    prompts.answers = {TAnswer::No};
    wizardResult = 2;
    master->BtnAlbumNeuClick();
    EXPECT_EQ(wizardRuns, 1);
    EXPECT_EQ(prompts.saveDialogs, 0);
    EXPECT_EQ(document().Dokumentname, QStringLiteral("Alt"));
    EXPECT_TRUE(document().Modified);
    EXPECT_EQ(master->MainView()->Selected(), frame);
}

TEST_F(MainformTest, NewAnsweringNoWithACreatedDocumentReplacesIt) {
    makeModifiedDocument();
    UndoManager().Add(std::make_unique<TUndoItem>());
    prompts.answers = {TAnswer::No};
    wizardResult = 1;
    master->BtnAlbumNeuClick();
    EXPECT_EQ(document().Dokumentname, QStringLiteral("PhotoBook 8:5"));
    EXPECT_FALSE(document().Modified);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_EQ(child<QLabel>("panTitel")->text(), QStringLiteral("PhotoBook 8:5"));
    EXPECT_EQ(master->PagesPanel()->ShownViews(), 3);
    EXPECT_EQ(master->MainView()->ViewIndex(), 0);
    EXPECT_EQ(child<QLabel>("lblSeitenzahl")->text(), QStringLiteral("Seite 1"));
}

TEST_F(MainformTest, AnsweringYesSavesFirstAndACancelledSaveDialogStillContinues) {
    makeModifiedDocument();
    prompts.answers = {TAnswer::Yes};
    prompts.saveNames = {path(QStringLiteral("Alt.fbp"))};
    master->BtnAlbumNeuClick();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Alt.fbp"))));
    EXPECT_FALSE(document().Modified);
    EXPECT_EQ(wizardRuns, 1);

    // Yes, then the user cancels the save dialog: nothing is saved, New goes on.
    document().Modified = true;
    document().FilePath.clear();
    prompts.answers = {TAnswer::Yes};
    prompts.saveNames = {QString()};
    master->BtnAlbumNeuClick();
    EXPECT_EQ(prompts.saveDialogs, 2);
    EXPECT_EQ(wizardRuns, 2);
    EXPECT_TRUE(document().Modified);
}

TEST_F(MainformTest, WizardChoiceToOpenAProjectLeadsToTheOpenDialogWithoutAskingAgain) {
    document().Dokumentname = QStringLiteral("Gespeichert");
    setPages(document(), 4);
    saveTestDocument(document(), path(QStringLiteral("Vorhanden.fbp")));
    makeModifiedDocument();
    prompts.answers = {TAnswer::No};
    prompts.openNames = {path(QStringLiteral("Vorhanden.fbp"))};
    wizardResult = 100;
    master->BtnAlbumNeuClick();
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.openDialogs, 1);
    EXPECT_EQ(document().Dokumentname, QStringLiteral("Gespeichert"));
    EXPECT_EQ(document().Pages.Count(), 4);
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tintaro Print Kit    - Vorhanden.fbp"));
}

TEST_F(MainformTest, SaveAsksForANameOnceAndSaveAsMovesToTheNewName) {
    document().Dokumentname = QStringLiteral("Urlaub");
    document().Modified = true;
    prompts.saveNames = {path(QStringLiteral("Urlaub.fbp"))};
    master->BtnAlbumSpeichernClick();
    EXPECT_EQ(prompts.saveDialogs, 1);
    EXPECT_EQ(document().FilePath, path(QStringLiteral("Urlaub.fbp")));
    EXPECT_FALSE(document().Modified);
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tintaro Print Kit    - Urlaub.fbp"));

    document().Modified = true;
    master->BtnAlbumSpeichernClick();
    EXPECT_EQ(prompts.saveDialogs, 1) << "a saved document is saved again without asking";
    EXPECT_FALSE(document().Modified);

    prompts.saveNames = {path(QStringLiteral("Kopie.fbp"))};
    master->mnuDateiSpeichernUnterClick();
    EXPECT_EQ(prompts.saveDialogs, 2);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Kopie.fbp"))));
    EXPECT_EQ(document().FilePath, path(QStringLiteral("Kopie.fbp")));
    EXPECT_EQ(master->windowTitle(), QStringLiteral("Tintaro Print Kit    - Kopie.fbp"));
}

TEST_F(MainformTest, FailedSaveReportsTheErrorAndKeepsTheDocumentUnsaved) {
    master->SetProjectFileOperations(loadTestDocument, [](TFBDocument&, const QString&) {
        throw Exception(QStringLiteral("Schreibfehler: Kein Platz mehr"));
    });
    document().Modified = true;
    prompts.saveNames = {path(QStringLiteral("Voll.fbp"))};
    master->BtnAlbumSpeichernClick();
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Schreibfehler: Kein Platz mehr")});
    EXPECT_TRUE(document().Modified);
    EXPECT_TRUE(document().FilePath.isEmpty());
    EXPECT_EQ(master->windowTitle(), kUnbenannt);
    EXPECT_TRUE(master->isEnabled());
}

TEST_F(MainformTest, OpenLoadsTheProjectAndClearsModifiedAndUndo) {
    document().Dokumentname = QStringLiteral("Kalender");
    setPages(document(), 13);
    saveTestDocument(document(), path(QStringLiteral("Kalender.fbp")));
    document().Modified = true;
    UndoManager().Add(std::make_unique<TUndoItem>());
    prompts.answers = {TAnswer::No};
    prompts.openNames = {path(QStringLiteral("Kalender.fbp"))};
    master->BtnAlbumOeffnenClick();
    EXPECT_EQ(document().Pages.Count(), 13);
    EXPECT_EQ(document().FilePath, path(QStringLiteral("Kalender.fbp")));
    EXPECT_FALSE(document().Modified);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_EQ(master->PagesPanel()->ShownViews(), 13);
    // The load's progress window is closed again and the window usable.
    EXPECT_EQ(master->findChild<TProgressDlg*>(), nullptr);
    EXPECT_TRUE(master->isEnabled());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(MainformTest, DamagedProjectGivesAnErrorAndTheEmptyDocument) {
    const QString damaged = path(QStringLiteral("Kaputt.fbp"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("VX DataFile\0\0\0\0\0\1\0\0\0", 20) + QByteArray(300, '\x55'));
    file.close();
    EXPECT_FALSE(master->OpenProject(damaged));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors.first(), QStringLiteral("Invalid file format."));
    EXPECT_TRUE(document().FilePath.isEmpty());
    EXPECT_EQ(master->windowTitle(), kUnbenannt);
    EXPECT_FALSE(document().Modified);
    EXPECT_TRUE(master->isEnabled());
}

TEST_F(MainformTest, CommandLineOpensOneExistingFileAndRunsNewOtherwise) {
    addPages(document(), 2);
    const QString project = path(QStringLiteral("Start.fbp"));
    saveTestDocument(document(), project);

    master->StartWith({project});
    EXPECT_EQ(wizardRuns, 0);
    EXPECT_EQ(document().FilePath, project);

    master->StartWith({path(QStringLiteral("Fehlt.fbp"))});
    EXPECT_EQ(wizardRuns, 1);
    master->StartWith({project, project});
    EXPECT_EQ(wizardRuns, 2);
    master->StartWith({});
    EXPECT_EQ(wizardRuns, 3);
    EXPECT_TRUE(prompts.errors.isEmpty()) << "a missing file gives no message";
}

TEST_F(MainformTest, NextAndPreviousViewStopAtTheEnds) {
    setPages(document(), 3);
    master->PagesPanel()->Rebuild();
    auto* label = child<QLabel>("lblSeitenzahl");
    master->BtnSeiteZurueckClick();
    EXPECT_EQ(master->MainView()->ViewIndex(), 0);
    master->BtnSeiteVorClick();
    master->BtnSeiteVorClick();
    EXPECT_EQ(master->MainView()->ViewIndex(), 2);
    EXPECT_EQ(master->PagesPanel()->CurrentView(), 2);
    EXPECT_EQ(label->text(), QStringLiteral("Seite 3"));
    master->BtnSeiteVorClick();
    EXPECT_EQ(master->MainView()->ViewIndex(), 2);
    master->BtnSeiteZurueckClick();
    EXPECT_EQ(master->MainView()->ViewIndex(), 1);
    EXPECT_EQ(label->text(), QStringLiteral("Seite 2"));
}

TEST_F(MainformTest, PickingAViewInThePagesPanelShowsItInThePageView) {
    addPages(document(), 4);
    master->PagesPanel()->Rebuild();
    master->PagesPanel()->SelectView(3);
    EXPECT_EQ(master->MainView()->ViewIndex(), 3);
    EXPECT_EQ(child<QLabel>("lblSeitenzahl")->text(), QStringLiteral("Seite 4"));
}

TEST_F(MainformTest, EventsOfAControlDoNotComeBackToIt) {
    setPages(document(), 3);
    master->PagesPanel()->Rebuild();
    // The page view announces that it shows view 2 itself: only the pages panel follows.
    Multicaster().ViewSelected(master->MainView(), 2);
    EXPECT_EQ(master->PagesPanel()->CurrentView(), 2);
    EXPECT_EQ(master->MainView()->ViewIndex(), 0);
    Multicaster().ViewSelected(master->PagesPanel(), 1);
    EXPECT_EQ(master->MainView()->ViewIndex(), 1);
    Multicaster().ViewSelected(master->PagesPanel(), -1);
    EXPECT_EQ(master->MainView()->ViewIndex(), 1) << "a negative view index is ignored";

    // Inserted pages: the pages panel is rebuilt unless it inserted them itself.
    addPages(document(), 2);
    Multicaster().PagesChanged(master->PagesPanel());
    EXPECT_EQ(master->PagesPanel()->ShownViews(), 3);
    Multicaster().PagesChanged(master->MainView());
    EXPECT_EQ(master->PagesPanel()->ShownViews(), 5);
}

TEST_F(MainformTest, ZoomTrackBarAndPageViewFollowEachOther) {
    auto* zoom = child<QSlider>("tbMainViewZoom");
    zoom->setValue(250);
    EXPECT_FLOAT_EQ(master->MainView()->Zoom(), 2.5f);
    master->MainView()->SetZoom(3.0f);
    EXPECT_EQ(zoom->value(), 300);
    master->MainView()->SetZoom(20.0f);
    EXPECT_EQ(zoom->value(), 800);

    // Ctrl+wheel towards the user zooms in: small deltas add up to one step, and the slider shows it.
    master->MainView()->SetZoom(1.0f);
    QWidget* viewport = master->MainView()->viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    for (int i = 0; i < 2; ++i) {
        QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -60), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &wheel);
    }
    EXPECT_FLOAT_EQ(master->MainView()->Zoom(), 1.05f);
    EXPECT_EQ(zoom->value(), static_cast<int>(std::lround(master->MainView()->Zoom() * 100.0f)));
}

TEST_F(MainformTest, ShadowToggleDoesNotMarkTheDocumentModified) {
    // The empty default document allows no shadows; a product with shadows does.
    wizardResult = 1;
    master->BtnAlbumNeuClick();
    auto* button = child<QToolButton>("BtnBilderschatten");
    ASSERT_TRUE(button->isEnabled());
    ASSERT_TRUE(document().PicturesHaveShadows);
    EXPECT_TRUE(button->isChecked());
    button->click();
    EXPECT_FALSE(document().PicturesHaveShadows);
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(document().Modified);
    master->BtnBilderschattenClick();
    EXPECT_TRUE(document().PicturesHaveShadows);
    EXPECT_FALSE(document().Modified);
}

TEST_F(MainformTest, ClosingWithUnsavedChanges) {
    document().Modified = true;
    master->show();
    prompts.answers = {TAnswer::Cancel};
    EXPECT_FALSE(master->close());

    // Yes, then cancelling the save dialog: the window closes without saving.
    prompts.answers = {TAnswer::Yes};
    prompts.saveNames = {QString()};
    EXPECT_TRUE(master->close());
    EXPECT_TRUE(document().Modified);
    EXPECT_TRUE(QDir(home.path()).entryList({QStringLiteral("*.fbp")}).isEmpty());
}

// Closing with Yes used to close the window even when the save failed, losing the work.
TEST_F(MainformTest, ClosingKeepsTheWindowWhenTheSaveFails) {
    master->SetProjectFileOperations(loadTestDocument, [](TFBDocument&, const QString&) {
        throw Exception(QStringLiteral("Die Datei ist schreibgeschützt"));
    });
    document().Modified = true;
    master->show();
    prompts.answers = {TAnswer::Yes};
    prompts.saveNames = {path(QStringLiteral("Fest.fbp"))};
    EXPECT_FALSE(master->close());
    EXPECT_EQ(prompts.errors, QStringList{QStringLiteral("Die Datei ist schreibgeschützt")});
    prompts.answers = {TAnswer::No};
    EXPECT_TRUE(master->close());
}

TEST_F(MainformTest, CloseProjectResetsToTheEmptyDocumentAndRunsNew) {
    addPages(document(), 2);
    document().Dokumentname = QStringLiteral("Alt");
    document().FilePath = path(QStringLiteral("Alt.fbp"));
    document().Modified = true;
    UndoManager().Add(std::make_unique<TUndoItem>());
    prompts.answers = {TAnswer::No};
    master->BtnSchliessenClick();
    EXPECT_EQ(prompts.questions.size(), 1) << "New does not ask again";
    EXPECT_EQ(wizardRuns, 1);
    EXPECT_TRUE(document().FilePath.isEmpty());
    EXPECT_TRUE(document().Dokumentname.isEmpty());
    EXPECT_FALSE(document().Modified);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_EQ(master->windowTitle(), kUnbenannt);
}

TEST_F(MainformTest, UndoRestoresTheNewestRecordOrBeepsWhenThereIsNone) {
    master->mnuRueckgaengigClick();
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_FALSE(child<QToolButton>("BtnRueckgaengig")->isEnabled());

    bool restored = false;
    // The button follows the new record at once.
    UndoManager().Add(std::make_unique<FlagUndoItem>(restored));
    EXPECT_TRUE(child<QToolButton>("BtnRueckgaengig")->isEnabled());
    master->mnuRueckgaengigClick();
    EXPECT_TRUE(restored);
    EXPECT_FALSE(UndoManager().CanUndo());
    EXPECT_EQ(prompts.beeps, 1);
}

TEST_F(MainformTest, ProgressWindowDisablesTheMainWindowWhileItIsUp) {
    InfoAusgabe().Info(QStringLiteral("Bilder werden geladen"));
    auto* progress = master->findChild<TProgressDlg*>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->Text(), QStringLiteral("Bilder werden geladen"));
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Fortschritt"));
    EXPECT_FALSE(master->isEnabled());
    EXPECT_EQ(child<QLabel>("StatusBar1Text")->text(), QStringLiteral("Bilder werden geladen"));

    InfoAusgabe().InfoFmt(QStringLiteral("Bild %d wird geladen"), 2);
    EXPECT_EQ(master->findChildren<TProgressDlg*>().size(), 1) << "at most one progress window";
    EXPECT_EQ(progress->Text(), QStringLiteral("Bild 2 wird geladen"));

    InfoAusgabe().Status(QStringLiteral("Seite wird geladen"));
    EXPECT_EQ(progress->Text(), QStringLiteral("Bild 2 wird geladen"));

    InfoAusgabe().Info(QString());
    EXPECT_EQ(master->findChild<TProgressDlg*>(), nullptr);
    EXPECT_TRUE(master->isEnabled());
}

TEST_F(MainformTest, SelectedElementChoosesTheOnePropertyTab) {
    addPages(document(), 1);
    TFBPage* page = document().Pages.Items(0);
    auto* tabs = child<QTabWidget>("pagecontrolBottom");
    const auto visibleTabs = [tabs] {
        QStringList names;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabVisible(i))
                names << tabs->widget(i)->objectName();
        return names;
    };
    TFBElement* text = page->Sizeables.Add(std::make_unique<TFBTextElement>(page));
    TFBElement* calendar = page->Calendars.Add(std::make_unique<TFBKalenderElement>(page));
    TFBElement* frame = page->Pictures.Add(std::make_unique<TFBPictureElement>(page));

    master->SelectionChanged(text);
    EXPECT_EQ(visibleTabs(), (QStringList{QStringLiteral("tsSeiten"), QStringLiteral("tsText")}));
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsText"));
    master->SelectionChanged(calendar);
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsKalender"));
    master->SelectionChanged(frame);
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsBild"));
    master->SelectionChanged(nullptr);
    EXPECT_EQ(visibleTabs(), QStringList{QStringLiteral("tsSeiten")});
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("tsSeiten"));
}

TEST_F(MainformTest, WindowShowsItsCaptionAndParts) {
    master->show();
    const QImage shot = master->grab().toImage();
    EXPECT_GT(shot.width(), 600);
    EXPECT_EQ(master->windowTitle(), kUnbenannt);
    if (const QByteArray out = qgetenv("TINTARO_SCREENSHOT"); !out.isEmpty())
        shot.save(QString::fromLocal8Bit(out));
}

TEST(MainformProjectFile, SavedProjectOpensAgainWithItsPages) {
    TempHome home;
    ScriptedPrompts prompts;
    TMaster master(&prompts);
    master.SetNewProjectWizard([](TFBDocument&) { return 2; });
    TFBDocument& document = master.Document();
    document.Dokumentname = QStringLiteral("Reise");
    setPages(document, 3);
    document.Modified = true;
    const QString file = home.path() + QStringLiteral("/Reise.fbp");
    prompts.saveNames = {file};
    master.BtnAlbumSpeichernClick();
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(document.Modified);

    prompts.answers = {};
    master.BtnSchliessenClick();
    ASSERT_TRUE(document.Dokumentname.isEmpty());
    EXPECT_TRUE(master.OpenProject(file));
    EXPECT_EQ(document.Dokumentname, QStringLiteral("Reise"));
    EXPECT_EQ(document.Pages.Count(), 3);
    EXPECT_EQ(master.windowTitle(), QStringLiteral("Tintaro Print Kit    - Reise.fbp"));
    EXPECT_EQ(master.findChild<QLabel*>(QStringLiteral("panTitel"))->text(), QStringLiteral("Reise"));
}
