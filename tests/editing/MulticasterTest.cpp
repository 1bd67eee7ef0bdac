#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "editing/uUndo.h"
#include "support/PageElements.h"

#include <QObject>

#include <gtest/gtest.h>

#include <initializer_list>
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
        subscription = Multicaster().Subscribe({[this](const QObject* s, TFBElement* e, TFBPage* p) {
                                                    elementEvents.push_back({s, e, p});
                                                },
                                                [this](const QObject* s, int v) {
                                                    viewEvents.push_back({s, v});
                                                },
                                                [this](const QObject* s) { pagesEvents.push_back(s); }});
    }
    void addPages(int n) { TestSupport::addPages(document, n); }
    // The pages a change of the view reaches, in the order of their events.
    std::vector<TFBPage*> pagesReachedByView(int view) {
        elementEvents.clear();
        Multicaster().NotifyViewChanged(&source, &document, view);
        std::vector<TFBPage*> pages;
        for (const ElementEvent& event : elementEvents)
            pages.push_back(event.page);
        return pages;
    }
    std::vector<TFBPage*> pages(std::initializer_list<int> indices) const {
        std::vector<TFBPage*> result;
        for (const int index : indices)
            result.push_back(document.Pages.Items(index));
        return result;
    }

    TFBDocument document;
    QObject source;
    std::vector<ElementEvent> elementEvents;
    std::vector<std::pair<const QObject*, int>> viewEvents;
    std::vector<const QObject*> pagesEvents;
    TMulticaster::TSubscription subscription;
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
    EXPECT_EQ(pagesReachedByView(2), pages({2}));

    // A book: view 0 has only its right page, view 1 both, the last view (3, -) only the left one.
    document.ScreenMode = 1;
    EXPECT_EQ(pagesReachedByView(0), pages({0}));
    EXPECT_EQ(pagesReachedByView(1), pages({1, 2}));
    EXPECT_EQ(pagesReachedByView(2), pages({3}));
    EXPECT_TRUE(pagesReachedByView(7).empty()) << "a view that does not exist has no pages";
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

TEST_F(MulticasterTest, EverySubscriberIsToldTheSourceAndAnEndedSubscriptionHearsNothing) {
    addPages(1);
    std::vector<std::pair<int, const QObject*>> heard;
    const auto listener = [&heard](int who) {
        return TMulticaster::TSubscriber{[&heard, who](const QObject* s, TFBElement*, TFBPage*) {
                                             heard.push_back({who, s});
                                         },
                                         [&heard, who](const QObject* s, int) {
                                             heard.push_back({who, s});
                                         },
                                         nullptr};
    };
    QObject other;
    {
        TMulticaster::TSubscription second = Multicaster().Subscribe(listener(2));
        TMulticaster::TSubscription third = Multicaster().Subscribe(listener(3));
        EXPECT_EQ(Multicaster().SubscriberCount(), 3);
        Multicaster().NotifyPageChanged(&source, document.Pages.Items(0));
        Multicaster().ViewSelected(&other, 0);
        Multicaster().PagesChanged(&other); // the two listeners ignore it
        EXPECT_EQ(heard, (std::vector<std::pair<int, const QObject*>>{
                             {2, &source}, {3, &source}, {2, &other}, {3, &other}}));
        ASSERT_EQ(elementEvents.size(), 1u);
        EXPECT_EQ(elementEvents[0].source, &source);
        ASSERT_EQ(pagesEvents.size(), 1u);

        // A moved subscription keeps listening; the moved-from one ends nothing.
        TMulticaster::TSubscription moved = std::move(third);
        EXPECT_FALSE(third.Active());
        EXPECT_TRUE(moved.Active());
        EXPECT_EQ(Multicaster().SubscriberCount(), 3);
    }
    EXPECT_EQ(Multicaster().SubscriberCount(), 1);
    heard.clear();
    Multicaster().ViewSelected(&source, 0);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(viewEvents.size(), 2u);
}

TEST_F(MulticasterTest, ASubscriberEndingAnotherDuringAnEventStopsItAtOnce) {
    TMulticaster::TSubscription later;
    int laterCalls = 0;
    int ownCalls = 0;
    TMulticaster::TSubscription first = Multicaster().Subscribe({nullptr, nullptr, [&](const QObject*) {
                                                                     ++ownCalls;
                                                                     later.Reset();
                                                                 }});
    later = Multicaster().Subscribe({nullptr, nullptr, [&](const QObject*) { ++laterCalls; }});
    Multicaster().PagesChanged(&source);
    EXPECT_EQ(ownCalls, 1);
    EXPECT_EQ(laterCalls, 0);
    EXPECT_EQ(pagesEvents.size(), 1u);

    // A subscriber may also end its own subscription while it is called.
    TMulticaster::TSubscription self;
    int selfCalls = 0;
    self = Multicaster().Subscribe({nullptr, nullptr, [&](const QObject*) {
                                        ++selfCalls;
                                        self.Reset();
                                    }});
    Multicaster().PagesChanged(&source);
    Multicaster().PagesChanged(&source);
    EXPECT_EQ(selfCalls, 1);
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
    QString ClassName() const override { return QStringLiteral("NamingUndoItem"); }
    bool Restore(TFBDocument& document) override {
        document.Dokumentname = name_;
        return true;
    }
    std::unique_ptr<TUndoItem> MakeOpposite(TFBDocument&) const override { return nullptr; }

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
