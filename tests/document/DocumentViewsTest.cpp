#include "document/uFotobuchDocument.h"
#include "support/PageElements.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using TestSupport::addPages;

namespace {

// (left page index, right page index) of every view, -1 where the view has no such page.
std::vector<std::pair<int, int>> viewTable(const TFBDocument& doc) {
    std::vector<std::pair<int, int>> views;
    for (int v = 0; v < doc.ViewCount(); ++v) {
        const TFBPage* l = doc.LeftPage(v);
        const TFBPage* r = doc.RightPage(v);
        views.emplace_back(l ? l->PageIndex() : -1, r ? r->PageIndex() : -1);
    }
    return views;
}

using Table = std::vector<std::pair<int, int>>;

TEST(DocumentViews, ResetGivesDefaultsAndKeepsTheName) {
    TFBDocument doc;
    doc.Dokumentname = QStringLiteral("Photobook 8:5");
    doc.ScreenMode = 2;
    doc.PageWidth = 100;
    doc.Modified = true;
    doc.PicturesHaveShadows = false;
    doc.Layouttypen = TFBLayoutTypen();
    addPages(doc, 3);
    doc.AddPictureLink();

    doc.Reset();
    EXPECT_EQ(doc.Pages.Count(), 0);
    EXPECT_TRUE(doc.PictureLinks.empty());
    EXPECT_EQ(doc.ScreenMode, 0);
    EXPECT_FALSE(doc.Modified);
    EXPECT_TRUE(doc.PicturesHaveShadows);
    EXPECT_TRUE(doc.PictureShadowsAllowed);
    EXPECT_EQ(doc.PageWidth, 210.0f);
    EXPECT_EQ(doc.PageHeight, 297.0f);
    EXPECT_EQ(doc.Stegbreite, 2.0f);
    EXPECT_EQ(doc.Umschlagbreite, 4.0f);
    EXPECT_EQ(doc.PrintPaperName, QStringLiteral("ID_DINA4"));
    EXPECT_EQ(doc.PrintPaperType, QStringLiteral("ID_Photopapier_glänzend"));
    EXPECT_EQ(doc.DocVersion, 5);
    EXPECT_EQ(doc.Layouttypen.Bits(), 0x1FFFFu);
    EXPECT_EQ(doc.ScreenQuerformatWinkel, 90.0f);
    EXPECT_EQ(doc.Dokumentname, QStringLiteral("Photobook 8:5"));
}

TEST(DocumentViews, SinglePageModeMapsEveryPageToItsOwnView) {
    TFBDocument doc;
    addPages(doc, 3);
    EXPECT_EQ(doc.ViewCount(), 3);
    EXPECT_EQ(viewTable(doc), (Table{{0, 0}, {1, 1}, {2, 2}}));
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(doc.ViewOfPage(p), p);
        EXPECT_FALSE(doc.Pages.Items(p)->IsLeftPage());
        EXPECT_EQ(doc.Pages.Items(p)->ViewIndex(), p);
    }
}

TEST(DocumentViews, BookModeHasALoneFirstPageThenSpreads) {
    TFBDocument doc;
    doc.ScreenMode = 1;
    addPages(doc, 5);
    EXPECT_EQ(doc.ViewCount(), 3);
    EXPECT_EQ(viewTable(doc), (Table{{-1, 0}, {1, 2}, {3, 4}}));
    EXPECT_FALSE(doc.Pages.Items(0)->IsLeftPage());
    EXPECT_TRUE(doc.Pages.Items(1)->IsLeftPage());
    EXPECT_FALSE(doc.Pages.Items(2)->IsLeftPage());
    EXPECT_TRUE(doc.Pages.Items(3)->IsLeftPage());
    EXPECT_EQ(doc.ViewOfPage(0), 0);
    EXPECT_EQ(doc.ViewOfPage(1), 1);
    EXPECT_EQ(doc.ViewOfPage(2), 1);
    EXPECT_EQ(doc.ViewOfPage(4), 2);

    // With an even count the last view has only its left page.
    doc.Pages.Delete(4);
    EXPECT_EQ(doc.ViewCount(), 3);
    EXPECT_EQ(viewTable(doc), (Table{{-1, 0}, {1, 2}, {3, -1}}));
}

TEST(DocumentViews, SpreadModeCountsOnlyCompletePairs) {
    TFBDocument doc;
    doc.ScreenMode = 2;
    addPages(doc, 5);
    EXPECT_EQ(doc.ViewCount(), 2);
    EXPECT_EQ(viewTable(doc), (Table{{0, 1}, {2, 3}}));
    EXPECT_EQ(doc.ViewOfPage(4), 2); // view 2 is not counted
    EXPECT_TRUE(doc.Pages.Items(0)->IsLeftPage());
    EXPECT_FALSE(doc.Pages.Items(1)->IsLeftPage());
    EXPECT_TRUE(doc.Pages.Items(4)->IsLeftPage());
}

TEST(DocumentViews, UnknownModeHasNoViews) {
    TFBDocument doc;
    doc.ScreenMode = 7;
    addPages(doc, 4);
    EXPECT_EQ(doc.ViewCount(), 0);
    EXPECT_EQ(doc.LeftPageIndex(3), 0);
    EXPECT_EQ(doc.RightPageIndex(3), 0);
    EXPECT_EQ(doc.ViewOfPage(3), 0);
    EXPECT_FALSE(doc.IsLeftPage(doc.Pages.Items(1)));
    EXPECT_EQ(doc.ViewSize(), (TFBSizeF{10, 10}));
    EXPECT_FALSE(doc.IsLeftPage(nullptr));
}

TEST(DocumentViews, ViewSizeAndPageOffsetPerMode) {
    TFBDocument doc;
    doc.PageWidth = 148.5f;
    doc.PageHeight = 210;
    addPages(doc, 3);
    EXPECT_EQ(doc.ViewSize(), (TFBSizeF{148.5f, 210}));
    EXPECT_EQ(doc.PageOffset(doc.Pages.Items(1)), (TFBPointF{0, 0}));

    doc.ScreenMode = 1;
    EXPECT_EQ(doc.ViewSize(), (TFBSizeF{307, 218}));
    EXPECT_EQ(doc.PageOffset(doc.Pages.Items(1)), (TFBPointF{4, 4}));
    EXPECT_EQ(doc.PageOffset(doc.Pages.Items(2)), (TFBPointF{4 + 148.5f + 2, 4}));
    EXPECT_EQ(doc.PageOffset(doc.Pages.Items(0)), (TFBPointF{4 + 148.5f + 2, 4}));

    doc.ScreenMode = 2;
    EXPECT_EQ(doc.ViewSize(), (TFBSizeF{297, 210}));
    EXPECT_EQ(doc.PageOffset(doc.Pages.Items(0)), (TFBPointF{0, 0}));
    EXPECT_EQ(doc.PageOffset(doc.Pages.Items(1)), (TFBPointF{148.5f, 0}));
}

TEST(DocumentViews, CaptionsNameThePagesOfEachView) {
    TFBDocument doc;
    addPages(doc, 5);
    EXPECT_EQ(doc.ViewCaption(2), QStringLiteral("Seite 3"));
    doc.ScreenMode = 1;
    EXPECT_EQ(doc.ViewCaption(0), QStringLiteral("Seite 1"));
    EXPECT_EQ(doc.ViewCaption(2), QStringLiteral("Seite 4 - 5"));
    doc.Pages.Delete(4);
    EXPECT_EQ(doc.ViewCaption(2), QStringLiteral("Seite 4"));
    doc.ScreenMode = 2;
    EXPECT_EQ(doc.ViewCaption(1), QStringLiteral("Seite 3 - 4"));
}

TEST(DocumentViews, CalendarCaptionsNameMonthsAndTheCover) {
    TFBDocument doc;
    doc.PrintSetting = 16;
    addPages(doc, 13);
    auto* calendar =
        doc.Pages.Items(0)->Calendars.Add(std::make_unique<TFBKalenderElement>(doc.Pages.Items(0)));
    static_cast<TFBKalenderElement*>(calendar)->Data->SetMonat(11);
    EXPECT_EQ(doc.ViewCaption(0), QStringLiteral("November"));
    EXPECT_EQ(doc.ViewCaption(1), QStringLiteral("Februar"));
    EXPECT_EQ(doc.ViewCaption(12), QStringLiteral("Titelseite"));
}

TEST(DocumentViews, DeleteAndInsertAreRefusedAtTheEdgesAndForCalendars) {
    TFBDocument doc;
    addPages(doc, 1);
    EXPECT_FALSE(doc.CanDeleteView(0)); // the last page stays
    EXPECT_TRUE(doc.CanInsertView(0));
    addPages(doc, 1);
    EXPECT_TRUE(doc.CanDeleteView(0));

    doc.ScreenMode = 1;
    addPages(doc, 4); // 6 pages: views (-,0) (1,2) (3,4) (5,-)
    ASSERT_EQ(doc.ViewCount(), 4);
    EXPECT_FALSE(doc.CanDeleteView(0));
    EXPECT_TRUE(doc.CanDeleteView(1));
    EXPECT_TRUE(doc.CanDeleteView(2));
    EXPECT_FALSE(doc.CanDeleteView(3));
    EXPECT_FALSE(doc.CanInsertView(0));
    EXPECT_TRUE(doc.CanInsertView(2));
    EXPECT_FALSE(doc.CanInsertView(3));

    doc.ScreenMode = 2; // 3 views
    EXPECT_FALSE(doc.CanDeleteView(0));
    EXPECT_TRUE(doc.CanDeleteView(1));
    EXPECT_FALSE(doc.CanDeleteView(2));

    for (uint8_t setting : {7, 8, 16, 17}) {
        doc.PrintSetting = setting;
        doc.ScreenMode = 0;
        EXPECT_FALSE(doc.CanDeleteView(1));
        EXPECT_FALSE(doc.CanInsertView(1));
    }
}

TEST(DocumentViews, DeleteViewFreesBothPagesOfASpread) {
    TFBDocument doc;
    doc.ScreenMode = 1;
    addPages(doc, 5);
    TFBPage* first = doc.Pages.Items(0);
    TFBPage* last = doc.Pages.Items(4);
    doc.DeleteView(1);
    EXPECT_TRUE(doc.Modified);
    ASSERT_EQ(doc.Pages.Count(), 3);
    EXPECT_EQ(doc.Pages.Items(0), first);
    EXPECT_EQ(doc.Pages.Items(2), last);

    doc.ScreenMode = 0;
    doc.Modified = false;
    doc.DeleteView(0);
    EXPECT_EQ(doc.Pages.Count(), 2);
    EXPECT_TRUE(doc.Modified);
    doc.DeleteView(5); // outside: nothing
    EXPECT_EQ(doc.Pages.Count(), 2);
}

TEST(DocumentViews, InsertViewCopiesFrameLayoutAndOrientationOfTheSourceView) {
    TFBDocument doc;
    doc.ScreenMode = 1;
    addPages(doc, 5);
    TFBPage* left = doc.Pages.Items(1);
    left->Seitenausrichtung = 1;
    TestSupport::placeElement<TFBPictureElement>(left, 50, 60, 30, 20);
    left->Sizeables.Add(std::make_unique<TFBTextElement>(left));

    doc.InsertView(2, 1);
    EXPECT_FALSE(doc.Modified);
    ASSERT_EQ(doc.Pages.Count(), 7);
    TFBPage* a = doc.Pages.Items(3);
    TFBPage* b = doc.Pages.Items(4);
    EXPECT_EQ(a->Seitenausrichtung, 1);
    EXPECT_EQ(b->Seitenausrichtung, 0);
    ASSERT_EQ(a->Pictures.Count(), 1);
    EXPECT_EQ(a->Picture(0)->CenterX, 50.0f);
    EXPECT_EQ(a->Picture(0)->Height, 20.0f);
    EXPECT_EQ(a->Sizeables.Count(), 0);
    EXPECT_EQ(b->Pictures.Count(), 0);
    EXPECT_EQ(a->Document, &doc);

    doc.ScreenMode = 0;
    doc.InsertView(0, 4); // page 4 is b
    EXPECT_EQ(doc.Pages.Count(), 8);
    EXPECT_EQ(doc.Pages.Items(0)->Pictures.Count(), 0);
    doc.InsertView(0, 2); // page 2 is the old left page with a frame (now index 2)
    EXPECT_EQ(doc.Pages.Items(0)->Pictures.Count(), 1);
    EXPECT_EQ(doc.Pages.Items(0)->Seitenausrichtung, 1);
}

TEST(DocumentViews, MoveViewCarriesBothPagesOfASpread) {
    TFBDocument doc;
    doc.ScreenMode = 1;
    addPages(doc, 7); // views (-,0) (1,2) (3,4) (5,6)
    std::vector<TFBPage*> before;
    for (TFBPage* page : doc.Pages)
        before.push_back(page);

    doc.MoveView(1, 3);
    std::vector<TFBPage*> expected = {before[0], before[3], before[4], before[5],
                                      before[6], before[1], before[2]};
    std::vector<TFBPage*> after;
    for (TFBPage* page : doc.Pages)
        after.push_back(page);
    EXPECT_EQ(after, expected);

    doc.MoveView(3, 1); // and back
    after.clear();
    for (TFBPage* page : doc.Pages)
        after.push_back(page);
    EXPECT_EQ(after, before);

    doc.ScreenMode = 2; // views (0,1) (2,3) (4,5)
    doc.MoveView(0, 2);
    EXPECT_EQ(doc.Pages.Items(4), before[0]);
    EXPECT_EQ(doc.Pages.Items(5), before[1]);
    EXPECT_EQ(doc.Pages.Items(0), before[2]);

    doc.ScreenMode = 0;
    doc.MoveView(6, 0);
    EXPECT_EQ(doc.Pages.Items(0), before[6]);
}

TEST(DocumentViews, ViewOrientationReadsTheLeftPageFirst) {
    TFBDocument doc;
    doc.ScreenMode = 1;
    addPages(doc, 3);
    doc.Pages.Items(0)->Seitenausrichtung = 1;
    EXPECT_EQ(doc.ViewOrientation(0), 1); // only a right page
    doc.SetViewOrientation(1, 2);
    EXPECT_EQ(doc.Pages.Items(1)->Seitenausrichtung, 2);
    EXPECT_EQ(doc.Pages.Items(2)->Seitenausrichtung, 2);
    doc.Pages.Items(2)->Seitenausrichtung = 0;
    EXPECT_EQ(doc.ViewOrientation(1), 2);
    EXPECT_EQ(doc.ViewOrientation(9), 0);
}

TEST(DocumentViews, ListAccessOutsideTheListRaises) {
    TFBDocument doc;
    addPages(doc, 2);
    EXPECT_THROW(doc.Pages.Items(2), Exception);
    EXPECT_THROW(doc.Pages.Delete(-1), Exception);
    EXPECT_EQ(doc.LeftPage(5), nullptr);
    EXPECT_EQ(doc.RightPage(-1), nullptr);
}

} // namespace
