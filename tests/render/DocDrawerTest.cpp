#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"
#include "render/uShadowBitmap.h"
#include "support/PageElements.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <memory>

namespace {

constexpr float kPxPerMm = 4;

// A document of the given page size and screen mode with `pages` empty pages of distinct colours.
class DocDrawerTest : public ::testing::Test {
protected:
    void SetUp() override { doc.Reset(); }
    void TearDown() override { doc.Reset(); }

    void makePages(int mode, int pages, float w = 40, float h = 30) {
        doc.ScreenMode = static_cast<uint8_t>(mode);
        doc.PageWidth = w;
        doc.PageHeight = h;
        doc.Stegbreite = 2;
        doc.Umschlagbreite = 4;
        doc.PicturesHaveShadows = false;
        for (int i = 0; i < pages; ++i) {
            TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
            page->Seitenfarbe = 0x00FF00 + i; // green, told apart by the red byte
        }
    }
    TFBPictureElement* addFrame(int page, float cx, float cy, float w, float h, int ref = -1) {
        auto* frame = TestSupport::placeElement<TFBPictureElement>(doc.Pages.Items(page), cx, cy, w, h);
        if (ref != -1)
            frame->SetRefIndex(ref);
        return frame;
    }
    static int addPicture(const QImage& image) {
        // The use the store gives the new entry stays with the test; Reset frees it.
        return TBildmanager::Instance().AddBitmap(image);
    }
    static QImage solid(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
        QImage image(w, h, format);
        image.fill(colour);
        return image;
    }

    // Draws a view (or a page when page >= 0) into a white bitmap at kPxPerMm.
    void render(int view, int quality = 0, bool bare = false) {
        const TFBSizeF size = doc.ViewSize();
        bitmap = QImage(static_cast<int>(size.Width * kPxPerMm), static_cast<int>(size.Height * kPxPerMm),
                        QImage::Format_ARGB32);
        bitmap.fill(0xFFFFFFFFu);
        TBitmapDrawContext dc(bitmap);
        dc.Transformation.Scale(kPxPerMm);
        float before[9];
        std::copy_n(dc.Transformation.Matrix(), 9, before);
        DocumentDrawer().DrawView(doc, dc, quality, view, bare);
        EXPECT_EQ(dc.ClipStackDepth(), 0);
        EXPECT_TRUE(std::equal(before, before + 9, dc.Transformation.Matrix()));
        dc.ReleaseCanvas();
    }
    QRgb at(float xMm, float yMm) const {
        return bitmap.pixel(static_cast<int>(xMm * kPxPerMm), static_cast<int>(yMm * kPxPerMm)) & 0xFFFFFFu;
    }
    static bool near(QRgb a, QRgb b, int tolerance = 12) {
        return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
               std::abs(qBlue(a) - qBlue(b)) <= tolerance;
    }

    TFBDocument doc;
    QImage bitmap;
};

TEST_F(DocDrawerTest, SourceRectanglesOfTheLargePictureExample) {
    makePages(0, 1, 200, 200);
    // Left 500 columns red, the middle green, the right 500 blue.
    QImage picture = solid(4000, 3000, qRgb(0, 200, 0));
    for (int y = 0; y < 3000; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < 500; ++x) {
            row[x] = qRgb(220, 0, 0);
            row[3999 - x] = qRgb(0, 0, 220);
        }
    }
    // The store scales such a picture down when it takes it in; the full size is put back here,
    // as if the store had kept it whole.
    const int ref = addPicture(picture);
    for (auto& entry : TBildmanager::Instance().Entries)
        if (entry->RefIndex == ref) {
            entry->Picture = picture;
            entry->Preview.reset();
        }
    TFBPictureElement* frame = addFrame(0, 100, 100, 100, 100, ref);
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{500, 0, 3500, 3000}));
    render(0);
    EXPECT_TRUE(near(at(51, 100), qRgb(0, 200, 0))) << Qt::hex << at(51, 100);
    EXPECT_TRUE(near(at(149, 100), qRgb(0, 200, 0)));

    frame->SetOffsetX(0);
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{0, 0, 3000, 3000}));
    render(0);
    EXPECT_TRUE(near(at(51, 100), qRgb(220, 0, 0))) << Qt::hex << at(51, 100);
    EXPECT_TRUE(near(at(70, 100), qRgb(0, 200, 0)));

    frame->SetOffsetX(0.5f);
    frame->SetZoom(2);
    EXPECT_EQ(frame->GetSourceRect(0), (TPixelRect{1250, 750, 2750, 2250}));
}

TEST_F(DocDrawerTest, PictureShadowFallsDownRightButNotForAPictureCoveringThePage) {
    makePages(0, 1, 40, 30);
    doc.PicturesHaveShadows = true;
    doc.Pages.Items(0)->Seitenfarbe = 0xFFFFFF;
    const int ref = addPicture(solid(40, 30, qRgb(200, 0, 0)));
    TFBPictureElement* frame = addFrame(0, 15, 12, 20, 14, ref);
    render(0);
    // Just right of and below the frame the shadow darkens the page; left and above it does not.
    EXPECT_LT(qRed(at(25.8f, 15)), 200);
    EXPECT_LT(qRed(at(20, 19.8f)), 200);
    EXPECT_EQ(at(4.5f, 12), 0xFFFFFFu);
    EXPECT_EQ(at(15, 4.5f), 0xFFFFFFu);
    EXPECT_TRUE(near(at(15, 12), qRgb(200, 0, 0)));

    // The whole page: no shadow at all (the picture hides it, but the page edge must stay clean too).
    frame->CenterX = 20;
    frame->CenterY = 15;
    frame->Width = 40;
    frame->Height = 30;
    TFBPictureElement* small = addFrame(0, 10, 10, 4, 4);
    small->SetRefIndex(ref);
    doc.Pages.Items(0)->Pictures.Move(1, 0); // the small frame below the page-filling one
    render(0);
    EXPECT_TRUE(near(at(39.8f, 29.8f), qRgb(200, 0, 0)));
    EXPECT_TRUE(near(at(12.5f, 12.5f), qRgb(200, 0, 0)));
}

TEST_F(DocDrawerTest, BookModeViewsShowTheFirstPageAloneOnTheRight) {
    makePages(1, 3, 40, 30);
    render(0);
    // View size 2*40 + 2 + 2*4 = 90 by 38; the right page starts at 4 + 40 + 2 = 46.
    EXPECT_EQ(bitmap.width(), 360);
    EXPECT_EQ(bitmap.height(), 152);
    EXPECT_EQ(at(20, 15), 0xF0F0F0u); // no left page: the cover shows
    EXPECT_EQ(at(60, 15), 0x00FF00u); // page 0 (0x00BBGGRR 0x00FF00)
    render(1);
    EXPECT_EQ(at(20, 15), 0x01FF00u); // page 1 on the left
    EXPECT_EQ(at(60, 15), 0x02FF00u); // page 2 on the right
    EXPECT_EQ(at(45, 15), 0xF0F0F0u); // the gap between them
    render(1, 0, true);
    EXPECT_EQ(at(45, 15), 0xFFFFFFu); // bare: no cover
    EXPECT_EQ(at(20, 15), 0xFFFFFFu); // and no page colours

    // Spreads of page pairs: the pages meet in the middle.
    doc.ScreenMode = 2;
    render(1);
    EXPECT_EQ(bitmap.width(), 320);
    EXPECT_EQ(at(39, 15), 0x02FF00u);
    EXPECT_EQ(at(41, 15), 0xFFFFFFu); // page 3 does not exist
}

TEST_F(DocDrawerTest, EmptyFrameIsOutlinedOnScreenAndAbsentWhenBare) {
    makePages(0, 1, 40, 30);
    doc.Pages.Items(0)->Seitenfarbe = 0xFFFFFF;
    addFrame(0, 20, 15, 20, 10);
    render(0);
    EXPECT_EQ(at(20, 10.1f), 0xC0C0C0u); // top edge
    EXPECT_EQ(at(20, 15), 0xFFFFFFu);    // inside stays clear
    render(0, 0, true);
    EXPECT_EQ(at(20, 10.1f), 0xFFFFFFu);
    EXPECT_EQ(at(0.1f, 0.1f), 0xFFFFFFu); // no page border either
}

TEST_F(DocDrawerTest, CalendarIsDrawnUprightAtAnyAngle) {
    makePages(0, 1, 100, 100);
    doc.Pages.Items(0)->Seitenfarbe = 0xFFFFFF;
    TFBPage* page = doc.Pages.Items(0);
    auto* calendar = TestSupport::placeElement<TFBKalenderElement>(page, 50, 50, 60, 40, 30);
    calendar->Data->Color = 0x0000FF; // red fill of the whole element
    render(0);
    // The corners of the upright rectangle are filled; turned by 30 degrees they would not be.
    EXPECT_EQ(at(21, 31), 0xFF0000u);
    EXPECT_EQ(at(79, 69), 0xFF0000u);
    EXPECT_EQ(at(19, 50), 0xFFFFFFu);
    EXPECT_NE(calendar->Painter, nullptr);
}

TEST_F(DocDrawerTest, LinkedFrameLeavesItsBorderOpenAlongTheSpine) {
    makePages(2, 2, 40, 30);
    doc.Pages.Items(0)->Seitenfarbe = 0xFFFFFF;
    doc.Pages.Items(1)->Seitenfarbe = 0xFFFFFF;
    const int ref = addPicture(solid(80, 20, qRgb(255, 255, 255)));
    TFBPictureElement* left = addFrame(0, 30, 15, 20, 10, ref);
    TFBPictureElement* right = addFrame(1, 10, 15, 20, 10, ref);
    TFBPictureLink* link = doc.AddPictureLink();
    link->Add(left);
    link->Add(right);
    for (TFBPictureElement* frame : {left, right}) {
        frame->SetBorderWidth(1);
        frame->SetBorderColor(0x0000FF);
    }
    render(0);
    EXPECT_EQ(at(20.1f, 15), 0xFF0000u); // outer edge of the left frame
    EXPECT_EQ(at(30, 10.1f), 0xFF0000u); // top edge
    EXPECT_EQ(at(39.8f, 15), 0xFFFFFFu); // no line along the spine
    EXPECT_EQ(at(40.2f, 15), 0xFFFFFFu);
    EXPECT_EQ(at(59.9f, 15), 0xFF0000u); // outer edge of the right frame

    // Unlinked, the same frames are closed.
    doc.DissolvePictureLink(link);
    render(0);
    EXPECT_EQ(at(39.8f, 15), 0xFF0000u);
    EXPECT_EQ(at(40.2f, 15), 0xFF0000u);
}

TEST_F(DocDrawerTest, TransparentPicturesShowWhiteAndClipartShowsThePage) {
    makePages(0, 1, 40, 30);
    doc.Pages.Items(0)->Seitenfarbe = 0xFF0000; // blue page
    const QImage clear = solid(20, 20, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
    addFrame(0, 10, 15, 10, 10, addPicture(clear));
    TFBPage* page = doc.Pages.Items(0);
    auto* clipart =
        static_cast<TFBClipartElement*>(page->Sizeables.Add(std::make_unique<TFBClipartElement>(page)));
    QImage heart = clear.copy();
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x)
            heart.setPixel(x, y, qRgba(200, 0, 0, 255));
    clipart->SetRefIndex(addPicture(heart));
    clipart->CenterX = 30;
    clipart->CenterY = 15;
    clipart->Width = 10;
    clipart->Height = 10;
    render(0);
    EXPECT_EQ(at(10, 15), 0xFFFFFFu); // white under the transparent picture
    EXPECT_EQ(at(26, 11), 0x0000FFu); // the page shows around the clipart
    EXPECT_TRUE(near(at(30, 15), qRgb(200, 0, 0)));
}

TEST_F(DocDrawerTest, QualityChoosesPictureOrPreviewOrNone) {
    makePages(0, 1, 40, 30);
    doc.Pages.Items(0)->Seitenfarbe = 0xFFFFFF;
    TFBPictureElement* frame = addFrame(0, 20, 15, 30, 20, addPicture(solid(600, 400, qRgb(0, 0, 200))));
    frame->SetBorderWidth(1);
    frame->SetBorderColor(0x00FF00);
    const TPixelRect preview = frame->GetSourceRect(1);
    EXPECT_LE(preview.Width(), 192);
    EXPECT_GT(preview.Width(), 100);
    for (int quality : {0, 1}) {
        render(0, quality);
        EXPECT_TRUE(near(at(20, 15), qRgb(0, 0, 200))) << quality;
    }
    render(0, 2);
    EXPECT_EQ(at(20, 15), 0xFFFFFFu);
    EXPECT_EQ(at(5.1f, 15), 0x00FF00u); // the border still shows

    // A reference the store does not know: no picture, but shadow and border.
    doc.PicturesHaveShadows = true;
    frame->RefIndex = 9999;
    render(0, 0);
    EXPECT_EQ(at(20, 15), 0xFFFFFFu);
    EXPECT_EQ(at(5.1f, 15), 0x00FF00u);
    EXPECT_LT(qRed(at(36, 26)), 250); // the shadow below right
    frame->RefIndex = -1;
}

TEST_F(DocDrawerTest, ElementsAreClippedToTheirPage) {
    makePages(2, 2, 40, 30);
    addFrame(0, 40, 15, 20, 10, addPicture(solid(20, 10, qRgb(0, 0, 200))));
    render(0);
    EXPECT_TRUE(near(at(39, 15), qRgb(0, 0, 200)));
    EXPECT_EQ(at(41, 15), 0x01FF00u);
}

TEST_F(DocDrawerTest, TextShadowIsMadeOnceUntilSizeOrTextChange) {
    makePages(0, 1, 60, 30);
    doc.Pages.Items(0)->Seitenfarbe = 0xFFFFFF;
    TFBPage* page = doc.Pages.Items(0);
    auto* text = TestSupport::placeElement<TFBTextElement>(page, 30, 15, 40, 20);
    text->SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs96 MMMM}");
    text->SetHasShadow(true);
    render(0);
    const TShadowBitmap* first = TextShadow(*text);
    ASSERT_NE(first, nullptr);
    // 42 x 22 mm at 150 dots per inch.
    EXPECT_EQ(first->Width(), 248);
    EXPECT_EQ(first->Height(), 130);
    const qint64 key = first->Image().cacheKey();
    render(0);
    EXPECT_EQ(TextShadow(*text)->Image().cacheKey(), key);
    EXPECT_FALSE(text->Dirty);

    // Grey shows where the shadow lies beside the black letters.
    bool grey = false;
    for (int y = 0; y < bitmap.height() && !grey; ++y)
        for (int x = 0; x < bitmap.width() && !grey; ++x) {
            const QRgb p = bitmap.pixel(x, y) & 0xFFFFFFu;
            grey = qRed(p) > 90 && qRed(p) < 220 && qRed(p) == qBlue(p);
        }
    EXPECT_TRUE(grey);

    text->Width = 50;
    const TShadowBitmap* wider = TextShadow(*text);
    EXPECT_EQ(wider->Width(), 307);
    text->SetRTF("{\\rtf1 anders}");
    EXPECT_TRUE(text->Dirty);
    TextShadow(*text);
    EXPECT_FALSE(text->Dirty);
    text->SetHasShadow(false);
    EXPECT_EQ(TextShadow(*text), nullptr);
}

} // namespace

namespace {

TEST_F(DocDrawerTest, RedrawingAViewDecodesNoPicture) {
    makePages(2, 2, 40, 30);
    // Four photos, each its own entry of the store.
    for (int page = 0; page < 2; ++page)
        for (int i = 0; i < 2; ++i) {
            const QString file =
                QDir::temp().filePath(QStringLiteral("tintaro-drawer-%1%2.jpg").arg(page).arg(i));
            ASSERT_TRUE(solid(300 + i, 200 + page, qRgb(0, 0, 200)).save(file, "JPEG"));
            addFrame(page, 10 + 20 * i, 15, 18, 12)->SetPictureFile(file);
            QFile::remove(file);
        }
    ASSERT_EQ(TBildmanager::Instance().Count(), 4);
    for (int quality : {0, 1})
        render(0, quality); // whatever the store still had to decode, it has now

    int decodes = 0;
    TBildmanager::Instance().SetDecoder([&](const QByteArray& data, const Imaging::TDecodeOptions& options) {
        ++decodes;
        return Imaging::Decode(data, options);
    });
    for (int quality : {0, 1, 0}) {
        render(0, quality);
        EXPECT_TRUE(near(at(50, 15), qRgb(0, 0, 200))) << quality;
    }
    TBildmanager::Instance().SetDecoder(nullptr);
    EXPECT_EQ(decodes, 0);
}

} // namespace
