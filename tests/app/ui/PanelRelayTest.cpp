// The main window's relay: every event of the multicaster reaches the page view and each panel
// except its source; a restored document reaches every panel after the restore.
#include "app/ui/FMainform.h"
#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "editing/ui/uEditorPanel.h"
#include "editing/ui/uFotobuchMainview.h"
#include "editing/ui/uSubform.h"
#include "editing/ui/uSubformSeiten.h"
#include "support/GuiTest.h"
#include "support/PageElements.h"

#include "ScriptedPrompts.h"

#include <QObject>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A panel that writes down what reaches it.
class ProbePanel : public QObject, public TEditorPanel {
public:
    explicit ProbePanel(const TFBDocument& document) : document_(document) {}
    const QObject* EventSource() const override { return this; }
    void SetElement(TFBElement* element) override {
        log << QStringLiteral("element %1").arg(element != nullptr);
    }
    void ElementChanged(TFBElement* element, TFBPage*) override {
        log << QStringLiteral("changed %1").arg(element != nullptr);
    }
    void ViewSelected(int view) override { log << QStringLiteral("view %1").arg(view); }
    void PagesChanged() override { log << QStringLiteral("pages"); }
    void DocumentRestored() override { log << QStringLiteral("restored ") + document_.Dokumentname; }

    QStringList log;

private:
    const TFBDocument& document_;
};

class RenamingUndoItem : public TUndoItem {
public:
    bool Restore(TFBDocument& document) override {
        document.Dokumentname = QStringLiteral("vorher");
        return true;
    }
};

class PanelRelay : public TestSupport::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        master = std::make_unique<TMaster>(&prompts);
        master->SetNewProjectWizard([](TFBDocument&) { return 2; });
        probe = std::make_unique<ProbePanel>(master->Document());
        master->AddPanel(probe.get());
        TestSupport::addPages(master->Document(), 2);
        master->PagesPanel()->Rebuild();
    }
    void TearDown() override {
        master.reset();
        GuiTest::TearDown();
    }
    TFBDocument& document() const { return master->Document(); }
    TSubForm* propertyPanel(const char* name) const {
        return master->findChild<TSubForm*>(QString::fromLatin1(name));
    }

    ScriptedPrompts prompts;
    std::unique_ptr<TMaster> master;
    std::unique_ptr<ProbePanel> probe;
};

} // namespace

TEST_F(PanelRelay, EveryPanelButTheSourceIsTold) {
    TFBPage* page = document().Pages.Items(0);
    TFBElement* frame = page->Pictures.Add(std::make_unique<TFBPictureElement>(page));
    Multicaster().NotifyElementChanged(master->MainView(), frame);
    Multicaster().NotifyElementChanged(probe.get(), frame);
    Multicaster().ViewSelected(master->PagesPanel(), 2);
    Multicaster().ViewSelected(probe.get(), 1);
    Multicaster().PagesChanged(master->MainView());
    Multicaster().PagesChanged(probe.get());
    EXPECT_EQ(probe->log,
              (QStringList{QStringLiteral("changed 1"), QStringLiteral("view 2"), QStringLiteral("pages")}));
    // The probe's own view change still reached the page view and the pages panel.
    EXPECT_EQ(master->MainView()->ViewIndex(), 1);
    EXPECT_EQ(master->PagesPanel()->CurrentView(), 1);
}

TEST_F(PanelRelay, OtherSubscribersHearTheEventsBesideTheWindow) {
    std::vector<const QObject*> heard;
    const TMulticaster::TSubscription own =
        Multicaster().Subscribe({nullptr, [&heard](const QObject* s, int) { heard.push_back(s); }, nullptr});
    Multicaster().ViewSelected(probe.get(), 2);
    EXPECT_EQ(heard, std::vector<const QObject*>{probe.get()});
    EXPECT_EQ(master->MainView()->ViewIndex(), 2);
}

TEST_F(PanelRelay, TheSelectionChoosesThePropertyPanelThatGetsTheElement) {
    TFBPage* page = document().Pages.Items(0);
    TFBElement* text = page->Sizeables.Add(std::make_unique<TFBTextElement>(page));
    master->MainView()->Select(text);
    EXPECT_EQ(propertyPanel("SFormDlgRTFText")->Element(), text);
    EXPECT_EQ(
        master->findChild<QTabWidget*>(QStringLiteral("pagecontrolBottom"))->currentWidget()->objectName(),
        QStringLiteral("tsText"));
    EXPECT_TRUE(probe->log.isEmpty()) << "only the property panel that fits is told";

    TFBElement* frame = page->Pictures.Add(std::make_unique<TFBPictureElement>(page));
    master->MainView()->Select(frame);
    EXPECT_EQ(propertyPanel("SFormBild")->Element(), frame);
    master->MainView()->Select(nullptr);
    EXPECT_EQ(propertyPanel("SFormBild")->Element(), nullptr) << "the picture panel lets go first";
}

// Undo frees the elements it replaces: nothing may keep pointing at them.
TEST_F(PanelRelay, UndoTellsEveryPanelAfterTheRestoreAndTheyLetGoOfTheirElements) {
    TFBPage* page = document().Pages.Items(0);
    TFBElement* text = page->Sizeables.Add(std::make_unique<TFBTextElement>(page));
    master->MainView()->SetScreen(1);
    master->MainView()->Select(text);
    ASSERT_EQ(propertyPanel("SFormDlgRTFText")->Element(), text);
    probe->log.clear();

    UndoManager().Add(std::make_unique<RenamingUndoItem>());
    master->mnuRueckgaengigClick();
    // The panels hear of the restore once it is done, then of the view shown; then the record
    // shows its own place (the same view).
    EXPECT_EQ(probe->log, (QStringList{QStringLiteral("restored vorher"), QStringLiteral("view 1"),
                                       QStringLiteral("view 1")}));
    EXPECT_EQ(propertyPanel("SFormDlgRTFText")->Element(), nullptr);
    EXPECT_EQ(master->MainView()->Selected(), nullptr);
    EXPECT_EQ(master->PagesPanel()->CurrentView(), 1);
}

TEST_F(PanelRelay, AReplacedDocumentReachesThePanelsLikeARestoredOne) {
    probe->log.clear();
    master->BtnSchliessenClick();
    ASSERT_FALSE(probe->log.isEmpty());
    EXPECT_EQ(probe->log.first(), QStringLiteral("restored "));
    EXPECT_TRUE(probe->log.contains(QStringLiteral("view 0")));
}

// The pages panel's edits leave the page view on its view index with other pages there: it lets
// go of its selection and shows them; deleting the last view moves both to the new last one.
TEST_F(PanelRelay, ThePageViewFollowsThePagesPanelsEditsAtTheSameIndex) {
    TestSupport::addPages(document(), 2);
    master->PagesPanel()->Rebuild();
    const int pagesBefore = document().Pages.Count();
    TSFormSeiten* pages = master->PagesPanel();
    TFBPage* page1 = document().Pages.Items(1);
    TFBElement* text = page1->Sizeables.Add(std::make_unique<TFBTextElement>(page1));
    pages->SelectView(1);
    master->MainView()->Select(text);
    ASSERT_EQ(master->MainView()->Selected(), text);

    // Deleting view 1 (answered Yes through the main window's prompts) keeps index 1.
    prompts.answers = {TMasterPrompts::TAnswer::Yes};
    pages->Core().MouseDown(pages->Core().CellRect(1).center().x());
    pages->Core().Run(TStripCommand::Delete);
    EXPECT_EQ(prompts.questions.last(), QStringLiteral("Soll die Seite wirklich gelöscht werden?"));
    EXPECT_EQ(document().Pages.IndexOf(page1), -1);
    EXPECT_EQ(master->MainView()->ViewIndex(), 1);
    EXPECT_EQ(master->MainView()->Selected(), nullptr) << "the deleted page's element is let go";
    EXPECT_TRUE(probe->log.contains(QStringLiteral("pages")));

    // Deleting the last view while it is current: the new last view comes in both.
    const int last = pagesBefore - 2;
    pages->SelectView(last);
    prompts.answers = {TMasterPrompts::TAnswer::Yes};
    pages->Core().MouseDown(pages->Core().CellRect(last).center().x());
    pages->Core().Run(TStripCommand::Delete);
    EXPECT_EQ(document().Pages.Count(), pagesBefore - 2);
    EXPECT_EQ(pages->CurrentView(), last - 1);
    EXPECT_EQ(master->MainView()->ViewIndex(), last - 1);
    // Answered No: nothing changes.
    prompts.answers = {TMasterPrompts::TAnswer::No};
    pages->Core().MouseDown(pages->Core().CellRect(0).center().x());
    pages->Core().Run(TStripCommand::Delete);
    EXPECT_EQ(document().Pages.Count(), pagesBefore - 2);
    EXPECT_TRUE(prompts.answers.empty()) << "the question was asked";
}
