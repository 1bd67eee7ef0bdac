#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "support/PageElements.h"

#include <QObject>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct ElementEvent {
    const QObject* source;
    TFBElement* element;
    TFBPage* page;
};

// Subscribes for the test's lifetime and records every event.
class MulticasterTest : public ::testing::Test {
protected:
    void SetUp() override {
        Multicaster().OnElementChanged = [this](const QObject* s, TFBElement* e, TFBPage* p) {
            elementEvents.push_back({s, e, p});
        };
        Multicaster().OnViewSelected = [this](const QObject* s, int v) { viewEvents.push_back({s, v}); };
        Multicaster().OnPagesChanged = [this](const QObject* s) { pagesEvents.push_back(s); };
    }
    void TearDown() override {
        Multicaster().OnElementChanged = nullptr;
        Multicaster().OnViewSelected = nullptr;
        Multicaster().OnPagesChanged = nullptr;
    }
    void addPages(int n) { TestSupport::addPages(document, n); }

    TFBDocument document;
    QObject source;
    std::vector<ElementEvent> elementEvents;
    std::vector<std::pair<const QObject*, int>> viewEvents;
    std::vector<const QObject*> pagesEvents;
};

} // namespace

TEST_F(MulticasterTest, ElementChangeCarriesTheElementsOwnPage) {
    addPages(2);
    TFBPage* page = document.Pages.Items(1);
    TFBElement* frame = page->Pictures.Add(std::make_unique<TFBPictureElement>(page));
    Multicaster().NotifyElementChanged(&source, frame);
    Multicaster().NotifyPageChanged(&source, document.Pages.Items(0));
    ASSERT_EQ(elementEvents.size(), 2u);
    EXPECT_EQ(elementEvents[0].source, &source);
    EXPECT_EQ(elementEvents[0].element, frame);
    EXPECT_EQ(elementEvents[0].page, page);
    EXPECT_EQ(elementEvents[1].element, nullptr);
    EXPECT_EQ(elementEvents[1].page, document.Pages.Items(0));

    Multicaster().NotifyElementChanged(&source, nullptr);
    Multicaster().NotifyPageChanged(&source, nullptr);
    EXPECT_EQ(elementEvents.size(), 2u) << "no element or page, no event";
}

TEST_F(MulticasterTest, ViewChangeFiresOncePerExistingPageOfTheView) {
    addPages(4);
    // Single pages: the view's left and right page are the same page, one event.
    document.ScreenMode = 0;
    Multicaster().NotifyViewChanged(&source, &document, 2);
    ASSERT_EQ(elementEvents.size(), 1u);
    EXPECT_EQ(elementEvents[0].page, document.Pages.Items(2));

    // A book: view 0 has only its right page, view 1 both, the last view (3, -) only the left one.
    document.ScreenMode = 1;
    elementEvents.clear();
    Multicaster().NotifyViewChanged(&source, &document, 0);
    ASSERT_EQ(elementEvents.size(), 1u);
    EXPECT_EQ(elementEvents[0].page, document.Pages.Items(0));
    elementEvents.clear();
    Multicaster().NotifyViewChanged(&source, &document, 1);
    ASSERT_EQ(elementEvents.size(), 2u);
    EXPECT_EQ(elementEvents[0].page, document.Pages.Items(1));
    EXPECT_EQ(elementEvents[1].page, document.Pages.Items(2));
    elementEvents.clear();
    Multicaster().NotifyViewChanged(&source, &document, 2);
    ASSERT_EQ(elementEvents.size(), 1u);
    EXPECT_EQ(elementEvents[0].page, document.Pages.Items(3));
    elementEvents.clear();
    Multicaster().NotifyViewChanged(&source, &document, 7);
    EXPECT_TRUE(elementEvents.empty()) << "a view that does not exist has no pages";
}

TEST_F(MulticasterTest, ViewSelectionAndPageChangesReachTheSubscriberWithTheirSource) {
    Multicaster().ViewSelected(&source, 3);
    Multicaster().PagesChanged(&source);
    ASSERT_EQ(viewEvents.size(), 1u);
    EXPECT_EQ(viewEvents[0].first, &source);
    EXPECT_EQ(viewEvents[0].second, 3);
    ASSERT_EQ(pagesEvents.size(), 1u);
    EXPECT_EQ(pagesEvents[0], &source);
}

TEST(MulticasterWithoutSubscriber, EventsAreDropped) {
    TFBDocument document;
    document.Pages.Add(std::make_unique<TFBPage>(&document));
    EXPECT_NO_THROW(Multicaster().NotifyViewChanged(nullptr, &document, 0));
    EXPECT_NO_THROW(Multicaster().ViewSelected(nullptr, 0));
    EXPECT_NO_THROW(Multicaster().PagesChanged(nullptr));
}

namespace {
// Writes its number into the document's name when restored.
class NamingUndoItem : public TUndoItem {
public:
    explicit NamingUndoItem(QString name) : name_(std::move(name)) {}
    void Restore(TFBDocument& document) override { document.Dokumentname = name_; }

private:
    QString name_;
};
} // namespace

TEST(UndoManager, UndoRestoresTheNewestRecordFirstAndDropsIt) {
    TFBDocument document;
    UndoManager().Clear();
    EXPECT_FALSE(UndoManager().CanUndo());
    UndoManager().Add(std::make_unique<NamingUndoItem>(QStringLiteral("erster")));
    UndoManager().Add(std::make_unique<NamingUndoItem>(QStringLiteral("zweiter")));
    EXPECT_EQ(UndoManager().Count(), 2);
    UndoManager().Undo(document);
    EXPECT_EQ(document.Dokumentname, QStringLiteral("zweiter"));
    UndoManager().Undo(document);
    EXPECT_EQ(document.Dokumentname, QStringLiteral("erster"));
    EXPECT_FALSE(UndoManager().CanUndo());
    UndoManager().Undo(document); // nothing left: no change
    EXPECT_EQ(document.Dokumentname, QStringLiteral("erster"));

    UndoManager().Add(std::make_unique<NamingUndoItem>(QStringLiteral("dritter")));
    UndoManager().Clear();
    EXPECT_FALSE(UndoManager().CanUndo());
}
