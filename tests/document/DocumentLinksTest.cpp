#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "support/PageElements.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// A spread of two 100 mm pages with a 2 mm spine; frame A sits at the right edge of the left page,
// frame B at the left edge of the right page, both 40 x 40 mm.
class DocumentLinks : public ::testing::Test {
protected:
    void SetUp() override {
        doc.ScreenMode = 2;
        doc.PageWidth = 100;
        doc.PageHeight = 80;
        doc.Stegbreite = 2;
        left = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        right = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        a = frame(left, 80, 30);
        b = frame(right, 20, 30);
        link = doc.AddPictureLink();
        link->Add(a);
        link->Add(b);
    }

    static TFBPictureElement* frame(TFBPage* page, float cx, float cy) {
        return TestSupport::placeElement<TFBPictureElement>(page, cx, cy, 40, 40);
    }

    static int picture(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        return TBildmanager::Instance().AddBitmap(image);
    }

    TFBDocument doc;
    TFBPage* left = nullptr;
    TFBPage* right = nullptr;
    TFBPictureElement* a = nullptr;
    TFBPictureElement* b = nullptr;
    TFBPictureLink* link = nullptr;
};

TEST_F(DocumentLinks, AddSetsTheLinkOnceAndClearReleasesTheMembers) {
    EXPECT_EQ(a->Link, link);
    EXPECT_EQ(b->Link, link);
    link->Add(a);
    EXPECT_EQ(link->Members.size(), 2u);
    link->Clear();
    EXPECT_EQ(a->Link, nullptr);
    EXPECT_EQ(b->Link, nullptr);
    EXPECT_TRUE(link->Members.empty());
}

TEST_F(DocumentLinks, UnionRectReachesAcrossTheSpine) {
    // Seen from the left page, B lies one page and the spine further right.
    EXPECT_EQ(link->UnionRect(a), (TFBRectF{60, 10, 142, 50}));
    // Seen from the right page, A lies to the left.
    EXPECT_EQ(link->UnionRect(b), (TFBRectF{-42, 10, 40, 50}));
}

TEST_F(DocumentLinks, EachFrameShowsItsShareOfOneRegion) {
    a->SetRefIndex(picture(820, 400));
    TBildmanager::Instance().Release(a->RefIndex);
    ASSERT_EQ(b->RefIndex, a->RefIndex);
    // The 82 x 40 mm panorama covers the whole picture; the spine hides 20 pixels.
    EXPECT_EQ(a->GetSourceRect(0), (TPixelRect{0, 0, 400, 400}));
    EXPECT_EQ(b->GetSourceRect(0), (TPixelRect{420, 0, 820, 400}));

    a->SetZoom(2);
    EXPECT_EQ(b->Zoom, 2.0f);
    // The common region halves around the centre: 410 x 200 pixels from (205, 100).
    EXPECT_EQ(a->GetSourceRect(0), (TPixelRect{205, 100, 405, 300}));
    EXPECT_EQ(b->GetSourceRect(0), (TPixelRect{415, 100, 615, 300}));
}

TEST_F(DocumentLinks, SettersCopyPictureZoomPanAndBorderToAllMembers) {
    a->SetColorFill(0x00FF00);
    EXPECT_EQ(b->RefIndex, a->RefIndex);
    EXPECT_FALSE(b->CanZoomAndTrack);
    EXPECT_EQ(TBildmanager::Instance().UseCount(a->RefIndex), 2);

    b->SetOffsetX(0.2f);
    b->SetOffsetY(0.9f);
    b->SetBorderWidth(0.5f);
    b->SetBorderColor(0x123456);
    EXPECT_EQ(a->OffsetX, 0.2f);
    EXPECT_EQ(a->OffsetY, 0.9f);
    EXPECT_EQ(a->BorderWidth, 0.5f);
    EXPECT_EQ(a->BorderColor, 0x123456);

    const int old = a->RefIndex;
    b->RemovePicture();
    EXPECT_EQ(a->RefIndex, -1);
    EXPECT_TRUE(a->CanZoomAndTrack);
    EXPECT_EQ(TBildmanager::Instance().Find(old), nullptr);
}

TEST_F(DocumentLinks, TurningALinkedPictureTurnsItForTheWholePanorama) {
    a->SetRefIndex(picture(30, 10));
    TBildmanager::Instance().Release(a->RefIndex);
    auto* outsider = frame(left, 20, 60);
    outsider->CopyPictureFrom(*a);
    const int original = a->RefIndex;

    a->RotatePicture(2);
    EXPECT_EQ(b->RefIndex, a->RefIndex);
    EXPECT_NE(a->RefIndex, original);
    EXPECT_EQ(outsider->RefIndex, original);
    EXPECT_EQ(TBildmanager::Instance().UseCount(a->RefIndex), 2);
    EXPECT_EQ(TBildmanager::Instance().UseCount(original), 1);
    EXPECT_EQ(b->GetBitmap().size(), QSize(10, 30));
}

TEST_F(DocumentLinks, DeletingOneMemberDissolvesTheLinkForAll) {
    auto* c = frame(left, 20, 30);
    link->Add(c);
    a->SetRefIndex(picture(8, 8));
    const int ref = a->RefIndex;
    TBildmanager::Instance().Release(ref);
    ASSERT_EQ(TBildmanager::Instance().UseCount(ref), 3);

    right->Pictures.Remove(b);
    EXPECT_TRUE(doc.PictureLinks.empty());
    EXPECT_EQ(a->Link, nullptr);
    EXPECT_EQ(c->Link, nullptr);
    EXPECT_EQ(TBildmanager::Instance().UseCount(ref), 2);

    // The former members are independent now.
    a->SetZoom(3);
    EXPECT_EQ(c->Zoom, 1.0f);
}

TEST_F(DocumentLinks, DeletingAViewWithLinkedFramesLeavesNoDanglingLink) {
    auto* other = doc.AddPictureLink();
    auto* c = frame(right, 70, 30);
    auto* d = frame(doc.Pages.Add(std::make_unique<TFBPage>(&doc)), 20, 30);
    other->Add(c);
    other->Add(d);
    doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    c->SetColorFill(0);

    doc.DeleteView(0);
    EXPECT_TRUE(doc.PictureLinks.empty());
    EXPECT_EQ(d->Link, nullptr);
    EXPECT_EQ(d->RefIndex, TBildmanager::Instance().Item(0).RefIndex);
    EXPECT_EQ(TBildmanager::Instance().Item(0).RefCount, 1);

    d->SetZoom(2); // must not reach freed frames
    doc.Reset();
    EXPECT_EQ(TBildmanager::Instance().Count(), 0);
}

TEST_F(DocumentLinks, SwappingALinkedFrameSynchronisesItsLink) {
    auto* outsider = frame(left, 20, 60);
    outsider->SetColorFill(0x0000FF);
    a->SetColorFill(0xFF0000);
    const int red = outsider->RefIndex;
    TFBPictureElement::SwapPictures(*a, *outsider);
    EXPECT_EQ(a->RefIndex, red);
    EXPECT_EQ(b->RefIndex, red);
    EXPECT_EQ(TBildmanager::Instance().UseCount(red), 2);
}

} // namespace
