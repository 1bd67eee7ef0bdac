#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "support/PageElements.h"

#include <QDate>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using TestSupport::placeElement;

namespace {

class DocumentElements : public ::testing::Test {
protected:
    void SetUp() override {
        doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        page = doc.Pages.Items(0);
    }

    // A picture of the given size as a reference in the picture store, with one use.
    static int picture(int w, int h, bool alpha = false) {
        QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        image.fill(alpha ? Qt::transparent : Qt::gray);
        return TBildmanager::Instance().AddBitmap(image);
    }

    TFBDocument doc;
    TFBPage* page = nullptr;
};

TEST_F(DocumentElements, EdgesAndBoundingBoxOfTurnedElements) {
    auto* e = placeElement<TFBPictureElement>(page, 50, 40, 20, 10);
    EXPECT_EQ(e->Left(), 40.0f);
    EXPECT_EQ(e->Right(), 60.0f);
    EXPECT_EQ(e->Top(), 35.0f);
    EXPECT_EQ(e->Bottom(), 45.0f);
    EXPECT_EQ(e->BoundingBox(), (TFBRectF{40, 35, 60, 45}));
    e->Angle = 180;
    EXPECT_EQ(e->RotatedSize(), (TFBSizeF{20, 10}));

    for (float angle : {90.0f, -90.0f, 270.0f}) {
        e->Angle = angle;
        const TFBRectF box = e->BoundingBox();
        EXPECT_NEAR(box.Left, 45, 1e-4) << angle;
        EXPECT_NEAR(box.Right, 55, 1e-4) << angle;
        EXPECT_NEAR(box.Top, 30, 1e-4) << angle;
        EXPECT_NEAR(box.Bottom, 50, 1e-4) << angle;
    }
    // 360 goes through the corner computation and gives the same box.
    e->Angle = 360;
    EXPECT_NEAR(e->BoundingBox().Left, 40, 1e-4);
    EXPECT_NEAR(e->BoundingBox().Bottom, 45, 1e-4);

    e->Angle = 45;
    const float half = (20 + 10) / 2 / std::sqrt(2.0f);
    const TFBSizeF size = e->RotatedSize();
    EXPECT_NEAR(size.Width, 2 * half, 1e-4);
    EXPECT_NEAR(size.Height, 2 * half, 1e-4);
}

TEST_F(DocumentElements, HitTestFindsTheTopmostKindAndElementFirst) {
    auto* frame = placeElement<TFBPictureElement>(page, 50, 50, 40, 40);
    auto* frameAbove = placeElement<TFBPictureElement>(page, 55, 50, 40, 40);
    auto* calendar = placeElement<TFBKalenderElement>(page, 50, 50, 20, 20);
    auto* text = placeElement<TFBTextElement>(page, 50, 50, 10, 10);

    EXPECT_EQ(page->HitTest(50, 50, hkAll), text);
    EXPECT_EQ(page->HitTest(50, 50, hkPictures | hkCalendars), calendar);
    EXPECT_EQ(page->HitTest(50, 50, hkPictures), frameAbove);
    EXPECT_EQ(page->HitTest(32, 50, hkAll), frame); // only the lower frame reaches x = 32
    EXPECT_EQ(page->HitTest(30, 30, hkAll), frame); // the corner itself belongs to the frame
    EXPECT_EQ(page->HitTest(29.9f, 50, hkAll), nullptr);
    EXPECT_EQ(page->HitTest(50, 50, 0), nullptr);
}

TEST_F(DocumentElements, HitTestTurnsThePointIntoTheElement) {
    // A long thin bar turned upright.
    auto* bar = placeElement<TFBPictureElement>(page, 50, 50, 40, 4, 90);
    EXPECT_EQ(page->HitTest(50, 68, hkAll), bar);
    EXPECT_EQ(page->HitTest(68, 50, hkAll), nullptr);
    bar->Angle = 30;
    // A point along the turned x axis (turning clockwise with y downwards).
    const float a = 30 * 3.14159265f / 180;
    EXPECT_EQ(page->HitTest(50 + 18 * std::cos(a), 50 + 18 * std::sin(a), hkAll), bar);
    EXPECT_EQ(page->HitTest(50 + 18 * std::cos(a), 50 - 18 * std::sin(a), hkAll), nullptr);
}

TEST_F(DocumentElements, ClipartIsNotHitOnTransparentPixels) {
    auto* frame = placeElement<TFBPictureElement>(page, 50, 50, 40, 40);
    auto* clipart = placeElement<TFBClipartElement>(page, 50, 50, 20, 20);

    // Left half opaque, right half transparent; alpha 128 counts as transparent.
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, qRgba(200, 0, 0, 255));
    for (int y = 0; y < 10; ++y)
        image.setPixel(5, y, qRgba(0, 0, 0, 128));
    clipart->SetRefIndex(TBildmanager::Instance().AddBitmap(image));
    TBildmanager::Instance().Release(clipart->RefIndex); // the element keeps the only use
    ASSERT_EQ(TBildmanager::Instance().UseCount(clipart->RefIndex), 1);

    EXPECT_EQ(page->HitTest(43, 50, hkAll), clipart);
    EXPECT_EQ(page->HitTest(57, 50, hkAll), frame); // passes through to the frame below
    EXPECT_EQ(page->HitTest(50, 50, hkAll), frame); // pixel 5: alpha 128 is not enough
    EXPECT_EQ(page->HitTest(60, 60, hkAll), frame); // bottom-right edge maps past the last pixel
    EXPECT_EQ(page->HitTest(40, 40, hkAll), clipart);

    // Without alpha the whole rectangle is hit.
    clipart->SetRefIndex(picture(10, 10));
    TBildmanager::Instance().Release(clipart->RefIndex);
    EXPECT_EQ(page->HitTest(57, 50, hkAll), clipart);
}

TEST_F(DocumentElements, ZoomAndOffsetSettersClamp) {
    auto* frame = placeElement<TFBPictureElement>(page, 50, 50, 40, 40);
    EXPECT_EQ(frame->Zoom, 1.0f);
    EXPECT_EQ(frame->OffsetX, 0.5f);
    EXPECT_EQ(frame->OffsetY, 0.5f);
    frame->SetZoom(0.5f);
    EXPECT_EQ(frame->Zoom, 1.0f);
    frame->SetZoom(7);
    EXPECT_EQ(frame->Zoom, 4.0f);
    frame->SetZoom(2.5f);
    EXPECT_EQ(frame->Zoom, 2.5f);
    frame->SetOffsetX(1.3f);
    EXPECT_EQ(frame->OffsetX, 1.0f);
    frame->SetOffsetY(-0.2f);
    EXPECT_EQ(frame->OffsetY, 0.0f);
    frame->SetBorderWidth(-3); // stored as given
    EXPECT_EQ(frame->BorderWidth, -3.0f);
}

TEST_F(DocumentElements, SourceRectOfAZoomedFrame) {
    auto* frame = placeElement<TFBPictureElement>(page, 50, 50, 40, 40);
    EXPECT_EQ(frame->GetSourceRect(0), TPixelRect{});
    EXPECT_EQ(frame->EffectiveDpi(), 0);

    frame->SetRefIndex(picture(1000, 500));
    TBildmanager::Instance().Release(frame->RefIndex);
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{250, 0, 750, 500}));
    frame->SetZoom(2);
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{375, 125, 625, 375}));
    frame->SetOffsetX(0);
    frame->SetOffsetY(1);
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{0, 250, 250, 500}));

    // A frame wider than the picture's shape uses the whole width.
    frame->SetZoom(1);
    frame->SetOffsetY(0.5f);
    frame->Width = 80;
    frame->Height = 20;
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{0, 125, 1000, 375}));
    // 1000 pixels across 80 mm.
    EXPECT_EQ(frame->EffectiveDpi(), static_cast<int>(std::nearbyint(1000 / (80 / 25.4f))));
    frame->Width = 20;
    frame->Height = 40;
    EXPECT_EQ(frame->EffectiveDpi(), static_cast<int>(std::nearbyint(500 / (40 / 25.4f))));

    // The preview (longer side 192) gives the same share in its own pixels.
    frame->Width = 40;
    frame->Height = 40;
    frame->SetZoom(2);
    frame->SetOffsetX(0.5f);
    EXPECT_EQ(frame->GetSourceRect(1), (TPixelRect{72, 24, 120, 72}));

    // A frame without extent shows nothing instead of dividing by zero.
    frame->Width = 0;
    EXPECT_EQ(frame->GetSourceRect(0), TPixelRect{});
}

TEST_F(DocumentElements, PictureFileUsesAreCountedAndGivenBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.png"));
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(path));

    auto* a = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    auto* b = placeElement<TFBPictureElement>(page, 30, 10, 10, 10);
    a->SetZoom(3);
    a->SetPictureFile(path);
    EXPECT_EQ(a->Zoom, 1.0f);
    EXPECT_TRUE(a->CanZoomAndTrack);
    b->SetPictureFile(path);
    ASSERT_EQ(a->RefIndex, b->RefIndex);
    EXPECT_EQ(TBildmanager::Instance().UseCount(a->RefIndex), 2);
    EXPECT_EQ(a->GetBitmap().size(), QSize(64, 32));
    EXPECT_TRUE(page->HasContent());
    EXPECT_EQ(doc.LastUsedPage(), 0);

    const int ref = a->RefIndex;
    page->Pictures.Remove(b);
    EXPECT_EQ(TBildmanager::Instance().UseCount(ref), 1);
    a->RemovePicture();
    EXPECT_EQ(TBildmanager::Instance().Find(ref), nullptr);
    EXPECT_FALSE(page->HasContent());
    EXPECT_EQ(doc.LastUsedPage(), -1);
}

TEST_F(DocumentElements, ColourFillIsAnOpaqueSquareThatCannotBeZoomed) {
    auto* frame = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    frame->SetColorFill(0x0000FF); // red in 0x00BBGGRR
    EXPECT_FALSE(frame->CanZoomAndTrack);
    const QImage bitmap = frame->GetBitmap();
    ASSERT_EQ(bitmap.size(), QSize(48, 48));
    EXPECT_FALSE(bitmap.hasAlphaChannel());
    const QRgb pixel = bitmap.pixel(20, 20);
    EXPECT_GT(qRed(pixel), 240);
    EXPECT_LT(qBlue(pixel), 16);
    EXPECT_EQ(TBildmanager::Instance().UseCount(frame->RefIndex), 1);

    // The old square leaves the store; the new one is blue.
    frame->SetColorFill(0xFF0000);
    EXPECT_EQ(TBildmanager::Instance().Count(), 1);
    EXPECT_GT(qBlue(frame->GetBitmap().pixel(20, 20)), 240);
}

TEST_F(DocumentElements, CopyAndSwapPictures) {
    auto* a = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    auto* b = placeElement<TFBPictureElement>(page, 30, 10, 10, 10);
    a->SetRefIndex(picture(20, 20));
    TBildmanager::Instance().Release(a->RefIndex);
    a->SetZoom(2);
    a->SetOffsetX(0.1f);
    a->SetBorderWidth(1.5f);
    a->CanZoomAndTrack = true;

    b->CopyPictureFrom(*a);
    EXPECT_EQ(b->RefIndex, a->RefIndex);
    EXPECT_EQ(b->Zoom, 2.0f);
    EXPECT_EQ(b->OffsetX, 0.1f);
    EXPECT_TRUE(b->CanZoomAndTrack);
    EXPECT_EQ(b->BorderWidth, 0.0f); // the border stays
    EXPECT_EQ(TBildmanager::Instance().UseCount(a->RefIndex), 2);

    b->RemovePicture();
    b->SetColorFill(0);
    b->SetZoom(1);
    const int ra = a->RefIndex;
    const int rb = b->RefIndex;
    TFBPictureElement::SwapPictures(*a, *b);
    EXPECT_EQ(a->RefIndex, rb);
    EXPECT_EQ(b->RefIndex, ra);
    EXPECT_FALSE(a->CanZoomAndTrack);
    EXPECT_EQ(b->Zoom, 2.0f);
    EXPECT_EQ(a->Zoom, 1.0f);
    EXPECT_EQ(TBildmanager::Instance().UseCount(ra), 1);
    EXPECT_EQ(TBildmanager::Instance().UseCount(rb), 1);
}

TEST_F(DocumentElements, RotatingASharedPictureTurnsOnlyThisFrame) {
    auto* a = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    auto* b = placeElement<TFBPictureElement>(page, 30, 10, 10, 10);
    a->SetRefIndex(picture(40, 20));
    TBildmanager::Instance().Release(a->RefIndex);
    b->CopyPictureFrom(*a);

    a->RotatePicture(0);
    EXPECT_NE(a->RefIndex, b->RefIndex);
    EXPECT_EQ(a->GetBitmap().size(), QSize(20, 40));
    EXPECT_EQ(b->GetBitmap().size(), QSize(40, 20));
    EXPECT_EQ(TBildmanager::Instance().UseCount(a->RefIndex), 1);
    EXPECT_EQ(TBildmanager::Instance().UseCount(b->RefIndex), 1);
    EXPECT_TRUE(TBildmanager::Instance().Find(a->RefIndex)->FileName.isEmpty());

    auto* empty = placeElement<TFBPictureElement>(page, 50, 10, 10, 10);
    empty->RotatePicture(1); // nothing to turn
    EXPECT_EQ(empty->RefIndex, -1);
}

class RecordingFilterHost : public TPictureFilterHost {
public:
    std::optional<QImage> RunFilter(TPictureFilterKind kind, const QImage& picture, int angle) override {
        lastKind = kind;
        lastAngle = angle;
        if (!confirm)
            return std::nullopt;
        QImage result = picture;
        result.fill(Qt::white);
        return result;
    }
    bool confirm = true;
    TPictureFilterKind lastKind = TPictureFilterKind::HSL;
    int lastAngle = -1;
};

TEST_F(DocumentElements, FiltersWorkOnAPrivateCopyShownAtThePageAngle) {
    RecordingFilterHost host;
    TBildmanager::Instance().SetFilterHost(&host);
    auto* a = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    auto* b = placeElement<TFBPictureElement>(page, 30, 10, 10, 10);
    a->SetRefIndex(picture(16, 16));
    TBildmanager::Instance().Release(a->RefIndex);
    b->CopyPictureFrom(*a);
    page->Seitenausrichtung = 1;
    doc.ScreenQuerformatWinkel = 270.4f;

    EXPECT_TRUE(a->FilterHKIG());
    EXPECT_EQ(host.lastKind, TPictureFilterKind::HKIG);
    EXPECT_EQ(host.lastAngle, 270);
    EXPECT_NE(a->RefIndex, b->RefIndex);
    EXPECT_TRUE(TBildmanager::Instance().Find(a->RefIndex)->FileName.startsWith(QStringLiteral("A Clone ")));
    EXPECT_GT(qRed(a->GetBitmap().pixel(8, 8)), 240);
    EXPECT_LT(qRed(b->GetBitmap().pixel(8, 8)), 200);

    page->Seitenausrichtung = 0;
    host.confirm = false;
    EXPECT_FALSE(b->FilterRedEye());
    EXPECT_EQ(host.lastAngle, 0);
    TBildmanager::Instance().SetFilterHost(nullptr);
    EXPECT_FALSE(b->FilterHSL());
}

TEST_F(DocumentElements, NextPictureElementWalksThroughThePages) {
    auto* a = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    auto* b = placeElement<TFBPictureElement>(page, 30, 10, 10, 10);
    doc.Pages.Add(std::make_unique<TFBPage>(&doc)); // no frames
    TFBPage* third = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    auto* c =
        static_cast<TFBPictureElement*>(third->Pictures.Add(std::make_unique<TFBPictureElement>(third)));
    EXPECT_EQ(a->NextPictureElement(), b);
    EXPECT_EQ(b->NextPictureElement(), c);
    EXPECT_EQ(c->NextPictureElement(), nullptr);
}

TEST_F(DocumentElements, CopyFrameLayoutGivesEmptyUnturnedFramesAndDefaultCalendars) {
    TFBPage* source = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    for (int i = 0; i < 3; ++i) {
        auto* f = placeElement<TFBPictureElement>(source, 10.0f + i, 20.0f + i, 30.0f + i, 40.0f + i,
                                                  15.0f * (i + 1));
        f->SetZoom(3);
        f->SetBorderWidth(2);
        f->SetColorFill(0x123456);
    }
    auto* cal =
        static_cast<TFBKalenderElement*>(source->Calendars.Add(std::make_unique<TFBKalenderElement>(source)));
    cal->CenterX = 5;
    cal->Width = 6;
    cal->Data->Typ = 3;
    source->Sizeables.Add(std::make_unique<TFBTextElement>(source));
    placeElement<TFBTextElement>(page, 1, 1, 1, 1);

    page->CopyFrameLayout(source);
    ASSERT_EQ(page->Pictures.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TFBPictureElement* f = page->Picture(i);
        EXPECT_EQ(f->CenterX, 10.0f + i);
        EXPECT_EQ(f->CenterY, 20.0f + i);
        EXPECT_EQ(f->Width, 30.0f + i);
        EXPECT_EQ(f->Height, 40.0f + i);
        EXPECT_EQ(f->Angle, 0.0f);
        EXPECT_EQ(f->Zoom, 1.0f);
        EXPECT_EQ(f->BorderWidth, 0.0f);
        EXPECT_FALSE(f->HasPicture());
        EXPECT_EQ(f->Page, page);
    }
    ASSERT_EQ(page->Calendars.Count(), 1);
    EXPECT_EQ(page->Calendar(0)->CenterX, 5.0f);
    EXPECT_EQ(page->Calendar(0)->Width, 6.0f);
    EXPECT_EQ(page->Calendar(0)->Data->Typ, 0);
    EXPECT_EQ(page->Sizeables.Count(), 0);

    page->CopyFrameLayout(page); // copying from itself keeps the layout
    EXPECT_EQ(page->Pictures.Count(), 3);
    page->CopyFrameLayout(nullptr);
    EXPECT_EQ(page->Pictures.Count() + page->Calendars.Count() + page->Sizeables.Count(), 0);
}

TEST_F(DocumentElements, MoveElementToPageUsesTheListOfItsKind) {
    TFBPage* other = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    auto* frame = placeElement<TFBPictureElement>(page, 10, 10, 10, 10);
    auto* clipart = placeElement<TFBClipartElement>(page, 10, 10, 10, 10);
    auto* calendar = placeElement<TFBKalenderElement>(page, 10, 10, 10, 10);

    doc.MoveElementToPage(frame, other);
    doc.MoveElementToPage(clipart, other);
    doc.MoveElementToPage(calendar, other);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(other->Pictures.IndexOf(frame), 0);
    EXPECT_EQ(other->Sizeables.IndexOf(clipart), 0);
    EXPECT_EQ(other->Calendars.IndexOf(calendar), 0);
    EXPECT_EQ(frame->Page, other);
    EXPECT_EQ(frame->CenterX, 10.0f);
    EXPECT_EQ(page->Pictures.Count() + page->Sizeables.Count() + page->Calendars.Count(), 0);
    EXPECT_EQ(clipart->IndexInList(), 0);

    auto* plain = placeElement<TFBElement>(page, 1, 1, 1, 1);
    doc.Modified = false;
    try {
        doc.MoveElementToPage(plain, other);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("MoveElementToPage: el ist nicht zuordbar"));
    }
    EXPECT_EQ(plain->Page, page);
    EXPECT_EQ(page->Sizeables.Count(), 1);
    EXPECT_FALSE(doc.Modified);
}

TEST_F(DocumentElements, FactoryKnowsExactlyTheElementClasses) {
    for (const char* name : {"TFBElement", "TFBPictureElement", "TFBSizeableElement", "TFBKalenderElement",
                             "TFBTextElement", "TFBClipartElement"}) {
        std::unique_ptr<TFBElement> element = CreateElementByClassName(QLatin1String(name), page);
        ASSERT_TRUE(element) << name;
        EXPECT_EQ(element->ClassName(), QLatin1String(name));
        EXPECT_EQ(element->Page, page);
        EXPECT_EQ(element->IndexInList(), -1);
    }
    EXPECT_FALSE(CreateElementByClassName(QStringLiteral("tfbtextelement"), page));
    EXPECT_FALSE(CreateElementByClassName(QStringLiteral("TFBPictureLink"), page));
    EXPECT_FALSE(CreateElementByClassName(QString(), page));
}

TEST_F(DocumentElements, BackgroundNeedAndTextShadowState) {
    auto* text = placeElement<TFBTextElement>(page, 1, 1, 1, 1);
    EXPECT_TRUE(text->Dirty);
    EXPECT_FALSE(text->NeedsBackground());
    text->Dirty = false;
    text->SetHasShadow(true);
    EXPECT_TRUE(text->Dirty);
    EXPECT_TRUE(text->NeedsBackground());
    text->ShadowBitmap = std::make_unique<TElementDrawCache>();
    text->SetHasShadow(false);
    EXPECT_FALSE(text->ShadowBitmap);
    text->Dirty = false;
    text->Drawer = std::make_unique<TElementDrawCache>();
    text->SetRTF(QByteArrayLiteral("{\\rtf1 Hallo}"));
    EXPECT_TRUE(text->Dirty);
    EXPECT_FALSE(text->Drawer);
    text->Dirty = false;
    text->SetHorzAlign(2);
    EXPECT_TRUE(text->Dirty);

    EXPECT_TRUE(placeElement<TFBPictureElement>(page, 1, 1, 1, 1)->NeedsBackground());
    EXPECT_TRUE(placeElement<TFBClipartElement>(page, 1, 1, 1, 1)->NeedsBackground());
    EXPECT_FALSE(placeElement<TFBKalenderElement>(page, 1, 1, 1, 1)->NeedsBackground());
}

TEST_F(DocumentElements, ClipartFileSizesTheElementToHalfThePage) {
    QTemporaryDir dir;
    const QString wide = dir.filePath(QStringLiteral("wide.png"));
    const QString tall = dir.filePath(QStringLiteral("tall.png"));
    QImage image(600, 300, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    ASSERT_TRUE(image.save(wide));
    ASSERT_TRUE(image.transformed(QTransform().rotate(90)).save(tall));

    doc.PageWidth = 200;
    doc.PageHeight = 100;
    auto* clipart = placeElement<TFBClipartElement>(page, 70, 30, 1, 1);
    clipart->SetClipartFile(wide);
    // Scaled to half the page width, 100 mm; its height 50 mm fits.
    EXPECT_FLOAT_EQ(clipart->Width, 100);
    EXPECT_FLOAT_EQ(clipart->Height, 50);
    EXPECT_EQ(clipart->CenterX, 70.0f);

    clipart->SetClipartFile(tall);
    // Half the width would make it 200 mm tall: limited to half the page height instead.
    EXPECT_FLOAT_EQ(clipart->Height, 50);
    EXPECT_FLOAT_EQ(clipart->Width, 25);
    EXPECT_EQ(TBildmanager::Instance().Count(), 1);
    EXPECT_EQ(TBildmanager::Instance().Item(0).FileName, tall);

    const float width = clipart->Width;
    clipart->SetClipartFile(dir.filePath(QStringLiteral("missing.png")));
    EXPECT_EQ(clipart->Width, width);
}

} // namespace

namespace {

TEST(DocumentCalendar, CalendarStartUsesOneMonthPerPage) {
    TFBDocument doc;
    int month = 0;
    int year = 0;
    doc.GetCalendarStart(month, year);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(year, QDate::currentDate().year());

    for (int i = 0; i < 13; ++i) {
        TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
        if (i < 12) // the cover holds no calendar
            page->Calendars.Add(std::make_unique<TFBKalenderElement>(page));
    }
    doc.SetCalendarStart(2024, 11);
    EXPECT_EQ(doc.Pages.Items(0)->Calendar(0)->Data->Monat, 11);
    EXPECT_EQ(doc.Pages.Items(0)->Calendar(0)->Data->Jahr, 2024);
    EXPECT_EQ(doc.Pages.Items(2)->Calendar(0)->Data->Monat, 1);
    EXPECT_EQ(doc.Pages.Items(2)->Calendar(0)->Data->Jahr, 2025);
    EXPECT_EQ(doc.Pages.Items(11)->Calendar(0)->Data->Monat, 10);
    EXPECT_EQ(doc.Pages.Items(11)->Calendar(0)->Data->Jahr, 2025);
    doc.GetCalendarStart(month, year);
    EXPECT_EQ(month, 11);
    EXPECT_EQ(year, 2024);

    // A page without calendar in front still uses up a month.
    doc.Pages.Insert(0, std::make_unique<TFBPage>(&doc));
    doc.SetCalendarStart(2024, 11);
    EXPECT_EQ(doc.Pages.Items(1)->Calendar(0)->Data->Monat, 12);
    EXPECT_EQ(doc.Pages.Items(1)->Calendar(0)->Data->Jahr, 2024);
}

} // namespace
