#include "catalogue/uLayoutChoice.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "editing/uPropertyPanel.h"
#include "support/PageElements.h"

#include <gtest/gtest.h>

TEST(PropertyPanelFor, EachKindOfElementFindsItsPanel) {
    TFBDocument document;
    TestSupport::addPages(document, 1);
    TFBPage* page = document.Pages.Items(0);
    auto* frame =
        static_cast<TFBPictureElement*>(page->Pictures.Add(std::make_unique<TFBPictureElement>(page)));
    EXPECT_EQ(PropertyPanelFor(frame), TPropertyPanel::Bild) << "an empty frame";
    frame->SetColorFill(0x00FF8040);
    EXPECT_EQ(PropertyPanelFor(frame), TPropertyPanel::Farbflaeche) << "a colour area";
    frame->CanZoomAndTrack = true;
    EXPECT_EQ(PropertyPanelFor(frame), TPropertyPanel::Bild) << "a picture that zooms and tracks";
    frame->RemovePicture();
    TBildmanager::Instance().Clear();

    EXPECT_EQ(PropertyPanelFor(page->Sizeables.Add(std::make_unique<TFBTextElement>(page))),
              TPropertyPanel::Text);
    EXPECT_EQ(PropertyPanelFor(page->Calendars.Add(std::make_unique<TFBKalenderElement>(page))),
              TPropertyPanel::Kalender);
    EXPECT_EQ(PropertyPanelFor(page->Sizeables.Add(std::make_unique<TFBClipartElement>(page))),
              TPropertyPanel::None);
    EXPECT_EQ(PropertyPanelFor(nullptr), TPropertyPanel::None);
}

TEST(LayoutChoiceFor, ACalendarPageWithItsOwnStyleOffersOnlyThatStyle) {
    TFBDocument document;
    TestSupport::addPages(document, 2);
    document.LayoutStil = 2;
    document.NurEinLayoutStil = false;
    document.Pages.Items(1)->CustomLayoutStil = 9;
    TLayoutChoice choice = LayoutChoiceFor(document, 1);
    EXPECT_EQ(choice.Style, 2) << "not a calendar: the page's own style does not count";
    EXPECT_FALSE(choice.OnlyThisStyle);

    document.PrintSetting = 7; // a calendar
    ASSERT_TRUE(document.IsCalendar());
    choice = LayoutChoiceFor(document, 1);
    EXPECT_EQ(choice.Style, 9);
    EXPECT_TRUE(choice.OnlyThisStyle);
    choice = LayoutChoiceFor(document, 0);
    EXPECT_EQ(choice.Style, 2) << "a page without a style of its own";
    EXPECT_EQ(LayoutChoiceFor(document, 5).Style, 2) << "a view that does not exist";
}
