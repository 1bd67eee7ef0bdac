#include "catalogue/uFotobuchPageTemplate.h"
#include "document/uFotobuchBildManager.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "support/PageElements.h"

#include <QBuffer>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using enum TFBLayoutTyp;

const TFBPageTemplate& at(int position) {
    return *LayoutCatalogue().Items(position - 1);
}

struct TExpectedFrame {
    float Left, Top, Width, Height;
};

void expectFrames(const TFBPageTemplate& t, std::initializer_list<TExpectedFrame> frames) {
    ASSERT_EQ(t.Frames.Count(), static_cast<int>(frames.size())) << t.ID.toStdString();
    int i = 0;
    for (const TExpectedFrame& e : frames) {
        const TFBPictureElement* f = t.Frames.Items(i++);
        EXPECT_NEAR(f->Left(), e.Left, 0.01) << t.ID.toStdString() << " frame " << i;
        EXPECT_NEAR(f->Top(), e.Top, 0.01) << t.ID.toStdString() << " frame " << i;
        EXPECT_NEAR(f->Width, e.Width, 0.01) << t.ID.toStdString() << " frame " << i;
        EXPECT_NEAR(f->Height, e.Height, 0.01) << t.ID.toStdString() << " frame " << i;
        EXPECT_EQ(f->Angle, 0);
    }
}

TFBLayoutTypen typesOf(std::initializer_list<TFBLayoutTyp> types) {
    TFBLayoutTypen set;
    for (const TFBLayoutTyp t : types)
        set.Include(t);
    return set;
}

int newPicture() {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return TBildmanager::Instance().AddBitmap(image);
}

TFBPictureElement* addFrame(TFBPage* page, int ref) {
    auto* f = TestSupport::placeElement<TFBPictureElement>(page, 30, 40, 20, 10, 15);
    f->RefIndex = ref;
    return f;
}

// A photo book 8:5 with borders in book mode, with empty pages.
class ApplyTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        doc.Reset();
        doc.ScreenMode = 1;
        doc.PageWidth = 148.5f;
        doc.PageHeight = 210;
        TestSupport::addPages(doc, 5);
    }
    TFBPage* page(int index) const { return doc.Pages.Items(index); }
    TFBPictureElement* frame(int pageIndex, int i) const { return page(pageIndex)->Picture(i); }

    TFBDocument doc;
    const float sx = 148.5f / 163.5f;
};

QByteArray streamOf(const TFBPageTemplate& t) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    t.SaveToStream(buffer);
    return bytes;
}

void loadFrom(TFBPageTemplate& t, const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    t.LoadFromStream(buffer);
}

// A hand-made payload; each part in the stream's own encoding.
class Payload {
public:
    Payload& single(float v) {
        append(&v, 4);
        return *this;
    }
    Payload& int32(int32_t v) {
        append(&v, 4);
        return *this;
    }
    Payload& byte(uint8_t v) {
        append(&v, 1);
        return *this;
    }
    Payload& string(const QByteArray& s) {
        int32(static_cast<int32_t>(s.size()));
        bytes_.append(s);
        return *this;
    }
    Payload& frame(float cx, float cy, float w, float h, float angle) {
        return single(cx).single(cy).single(w).single(h).single(angle);
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    void append(const void* p, int n) { bytes_.append(static_cast<const char*>(p), n); }
    QByteArray bytes_;
};

Payload headerWithTypes(const QByteArray& types) {
    Payload p;
    p.single(100).single(50).string("Probe").byte(0).string(types).int32(3);
    return p;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The catalogue

TEST(LayoutCatalogue, Holds114LayoutsWithTheKnownSharedIDs) {
    const TFBPageTemplateList& catalogue = LayoutCatalogue();
    ASSERT_EQ(catalogue.Count(), 114);
    QSet<QString> seen;
    QStringList repeated;
    for (const TFBPageTemplate* t : catalogue) {
        if (seen.contains(t->ID.toLower()))
            repeated << t->ID;
        seen.insert(t->ID.toLower());
    }
    EXPECT_EQ(repeated, (QStringList{"FullSize3", "FullSize3", "ProFullLayout4", "KalA4Lay3Stil3"}));
    EXPECT_EQ(at(76).Name, "Layout 3");
    EXPECT_EQ(at(77).Name, "Layout 3");
}

TEST(LayoutCatalogue, EveryLayoutHasAPageAndFramesInsideIt) {
    for (const TFBPageTemplate* t : LayoutCatalogue()) {
        SCOPED_TRACE(t->ID.toStdString() + " " + t->Name.toStdString());
        EXPECT_GT(t->Width, 0);
        EXPECT_GT(t->Height, 0);
        EXPECT_GE(t->Frames.Count(), 1);
        EXPECT_EQ(t->LeftFrames.Count(), 0);
        EXPECT_FALSE(t->LayoutTypen.IsEmpty());
        EXPECT_LE(t->Stil, 14);
        for (const TFBPictureElement* f : t->Frames) {
            EXPECT_GE(f->Left(), -0.01f);
            EXPECT_GE(f->Top(), -0.01f);
            EXPECT_LE(f->Right(), t->Width + 0.01f);
            EXPECT_LE(f->Bottom(), t->Height + 0.01f);
            EXPECT_GT(f->Width, 0);
            EXPECT_GT(f->Height, 0);
        }
    }
}

TEST(LayoutCatalogue, LayoutsPerTypeAndStyle) {
    const auto count = [](TFBLayoutTyp type, int style) {
        int n = 0;
        for (const TFBPageTemplate* t : LayoutCatalogue())
            if (t->LayoutTypen.Contains(type) && (style < 0 || t->Stil == style))
                ++n;
        return n;
    };
    EXPECT_EQ(count(ltPhotoBooklet43, -1), 4);
    EXPECT_EQ(count(ltPhotoBook85, -1), 16);
    EXPECT_EQ(count(ltPhotoBook86, -1), 16);
    EXPECT_EQ(count(ltPhotoBook85Randlos, -1), 21);
    EXPECT_EQ(count(ltPhotoBook85Randlos, 4), 5);
    EXPECT_EQ(count(ltPhotoBookPro, -1), 11);
    EXPECT_EQ(count(ltPhotoBookProRandlos, -1), 5);
    EXPECT_EQ(count(ltKalenderA4, -1), 20);
    EXPECT_EQ(count(ltKalenderA5, -1), 17);
    EXPECT_EQ(count(ltKalenderA6, -1), 18);
    EXPECT_EQ(count(ltKalenderA6, 14), 2);
    EXPECT_EQ(count(ltDINA4, -1), 0);
}

TEST(LayoutCatalogue, SampleEntriesFieldByField) {
    const TFBPageTemplate& booklet = at(2);
    EXPECT_EQ(booklet.ID, "FullsizeBooklet2");
    EXPECT_EQ(booklet.Name, "Fullsize Panorama");
    EXPECT_EQ(booklet.Stil, 4);
    EXPECT_EQ(booklet.LayoutTypen, typesOf({ltPhotoBooklet43}));
    EXPECT_TRUE(booklet.Panorama);
    EXPECT_FLOAT_EQ(booklet.Width, 76.2f);
    EXPECT_FLOAT_EQ(booklet.Height, 101.6f);
    expectFrames(booklet, {{0, 0, 76.2f, 101.6f}});

    const TFBPageTemplate& tradition = at(7);
    EXPECT_EQ(tradition.ID, "Tradition3");
    EXPECT_EQ(tradition.Name, "Tradition C");
    EXPECT_EQ(tradition.Stil, 1);
    EXPECT_EQ(tradition.LayoutTypen, typesOf({ltPhotoBook86, ltPhotoBook85}));
    EXPECT_FALSE(tradition.Panorama);
    EXPECT_FLOAT_EQ(tradition.Width, 163.5f);
    expectFrames(tradition,
                 {{12.75f, 6.5f, 69.5f, 96.5f}, {88.5f, 6.5f, 69.5f, 96.5f}, {12.75f, 107, 145.25f, 96.5f}});

    const TFBPageTemplate& horizon = at(13);
    EXPECT_EQ(horizon.ID, "Horizon4");
    EXPECT_EQ(horizon.Name, "Horizon D");
    EXPECT_EQ(horizon.Stil, 2);
    expectFrames(
        horizon,
        {{12.75f, 32.375f, 69.5f, 145.25f}, {88.5f, 32.375f, 69.5f, 70.625f}, {88.5f, 107, 69.5f, 70.625f}});

    const TFBPageTemplate& traditionR = at(24);
    EXPECT_EQ(traditionR.ID, "TraditionR4");
    EXPECT_EQ(traditionR.Stil, 5);
    EXPECT_EQ(traditionR.LayoutTypen, typesOf({ltPhotoBook85Randlos}));
    EXPECT_FLOAT_EQ(traditionR.Width, 148.5f);
    expectFrames(traditionR,
                 {{0, 6.5f, 69, 96.5f}, {76, 6.5f, 68, 96.5f}, {0, 107, 69, 96.5f}, {76, 107, 68, 96.5f}});

    EXPECT_EQ(at(36).ID, "VerticonR5");
    EXPECT_EQ(at(36).Name, "Verticon Panorama");
    EXPECT_EQ(at(36).Stil, 7);
    EXPECT_TRUE(at(36).Panorama);

    const TFBPageTemplate& fullC = at(39);
    EXPECT_EQ(fullC.ID, "FullSize3");
    EXPECT_EQ(fullC.Name, "Fullsize C");
    expectFrames(fullC, {{0, 0, 72.8f, 103.5f}, {75.7f, 0, 72.8f, 103.5f}, {0, 106.5f, 148.5f, 103.5f}});

    const TFBPageTemplate& test2 = at(43);
    EXPECT_EQ(test2.ID, "TestLayout2");
    EXPECT_EQ(test2.Name, "Layout 1");
    EXPECT_EQ(test2.LayoutTypen, typesOf({ltPhotobook10x15B}));
    EXPECT_FLOAT_EQ(test2.Width, 148.5f);
    EXPECT_FLOAT_EQ(test2.Height, 114.3f);
    expectFrames(test2, {{14, 8.5f, 129.5f, 97}});

    const TFBPageTemplate& pro = at(51);
    EXPECT_EQ(pro.ID, "ProBorderLayout6");
    EXPECT_EQ(pro.LayoutTypen, typesOf({ltPhotoBookPro}));
    expectFrames(pro, {{10, 5, 95, 98}, {10, 108, 95, 98}, {110, 5, 95, 98}, {110, 107, 95, 98}});

    EXPECT_EQ(at(56).ID, "ProFullLayout2");
    EXPECT_EQ(at(56).Name, "Layout Panorama");
    EXPECT_TRUE(at(56).Panorama);
    EXPECT_EQ(at(59).ID, "ProFullLayout4");
    EXPECT_EQ(at(59).Frames.Count(), 4);

    const TFBPageTemplate& a4three = at(76);
    EXPECT_EQ(a4three.ID, "KalA4Lay4Stil3");
    EXPECT_EQ(a4three.Stil, 13);
    ASSERT_EQ(a4three.Frames.Count(), 3);
    EXPECT_FLOAT_EQ(a4three.Frames.Items(2)->CenterX, 82);
    EXPECT_FLOAT_EQ(a4three.Frames.Items(2)->CenterY, 248.83f);
    EXPECT_FLOAT_EQ(a4three.Frames.Items(2)->Height, 96.33f);
    EXPECT_FLOAT_EQ(at(77).Frames.Items(1)->CenterY, 198.67f);
    EXPECT_FLOAT_EQ(at(77).Frames.Items(1)->Height, 196.67f);

    const TFBPageTemplate& a5row = at(86);
    EXPECT_EQ(a5row.ID, "KalA5Lay2Stil1");
    EXPECT_EQ(a5row.Stil, 11);
    EXPECT_EQ(a5row.LayoutTypen, typesOf({ltKalenderA5}));
    EXPECT_FLOAT_EQ(a5row.Height, 148.5f);
    ASSERT_EQ(a5row.Frames.Count(), 7);
    EXPECT_FLOAT_EQ(a5row.Frames.Items(6)->Left(), 180);
    EXPECT_FLOAT_EQ(a5row.Frames.Items(6)->Top(), 118.5f);
    EXPECT_EQ(at(90).Frames.Count(), 6);
    EXPECT_FLOAT_EQ(at(90).Frames.Items(5)->Left(), 175);

    const TFBPageTemplate& a6row = at(109);
    EXPECT_EQ(a6row.ID, "KalA6Lay4Stil1");
    ASSERT_EQ(a6row.Frames.Count(), 3);
    EXPECT_NEAR(a6row.Frames.Items(2)->Left(), 101.6 * 2 / 3, 1e-4);
    EXPECT_NEAR(a6row.Frames.Items(2)->Right(), 101.6, 1e-4);

    const TFBPageTemplate& last = at(114);
    EXPECT_EQ(last.ID, "KalA6Deckblatt2");
    EXPECT_EQ(last.Name, "Layout 2");
    EXPECT_EQ(last.Stil, 14);
    EXPECT_EQ(last.LayoutTypen, typesOf({ltKalenderA6}));
    EXPECT_FLOAT_EQ(last.Width, 101.6f);
    EXPECT_FLOAT_EQ(last.Height, 163);
    expectFrames(last, {{0, 10.6f, 101.6f, 152.4f}});
}

TEST(LayoutCatalogue, FindReturnsTheFirstMatchIgnoringCase) {
    EXPECT_EQ(FindPageTemplate("fullsize3"), &at(37));
    EXPECT_EQ(FindPageTemplate("PROFULLLAYOUT4"), &at(58));
    EXPECT_EQ(FindPageTemplate("KalA4Lay3Stil3"), &at(72));
    EXPECT_EQ(FindPageTemplate("Tradition1"), &at(5));
    EXPECT_EQ(FindPageTemplate("Tradition"), nullptr);
    EXPECT_EQ(FindPageTemplate(""), nullptr);
}

TEST(LayoutCatalogue, StyleColoursAndNames) {
    EXPECT_EQ(TFBPageTemplate::StyleColor(0), 0xFFFFFF);
    EXPECT_EQ(TFBPageTemplate::StyleColor(7), 0xC0E0E0);
    EXPECT_EQ(TFBPageTemplate::StyleColor(9), 0x80FF80);
    EXPECT_EQ(TFBPageTemplate::StyleColor(14), 0xE0FFE0);
    EXPECT_EQ(TFBPageTemplate::StyleColor(15), 0xFFFFFF);
    EXPECT_EQ(at(21).PreviewColor(), 0xE0FFE0); // style 5
    EXPECT_EQ(LayoutStyleName(5), "Tradition R");
    EXPECT_EQ(LayoutStyleName(14), "Deckblatt");
    EXPECT_EQ(LayoutStyleName(15), "");
}

// ---------------------------------------------------------------------------------------------
// BuildPageTemplates

TEST(BuildPageTemplates, StyleFirstThenTheOthersInCatalogueOrder) {
    TFBPageTemplateList list;
    BuildPageTemplates(list, typesOf({ltPhotoBook85Randlos}), 5, false);
    ASSERT_EQ(list.Count(), 21);
    QStringList ids;
    for (const TFBPageTemplate* t : list)
        ids << t->ID;
    EXPECT_EQ(ids.mid(0, 6), (QStringList{"TraditionR1", "TraditionR2", "TraditionR3", "TraditionR4",
                                          "TraditionR5", "HorizonR2"}));
    EXPECT_EQ(ids.last(), "FullSize2");
    // Fresh copies: the catalogue is not handed out.
    EXPECT_NE(list.Items(0), &at(21));
}

TEST(BuildPageTemplates, OnlyThisStyleAndTypeFilter) {
    TFBPageTemplateList list;
    BuildPageTemplates(list, typesOf({ltKalenderA4, ltKalenderA6}), 14, true);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Items(0)->ID, "KalA4Deckblatt1");
    EXPECT_EQ(list.Items(3)->ID, "KalA6Deckblatt2");

    BuildPageTemplates(list, TFBLayoutTypen::All(), 0, false);
    ASSERT_EQ(list.Count(), 114);
    for (int i = 0; i < 114; ++i)
        EXPECT_EQ(list.Items(i)->Name, at(i + 1).Name);

    BuildPageTemplates(list, TFBLayoutTypen(), 0, false);
    EXPECT_EQ(list.Count(), 0);
    BuildPageTemplates(list, typesOf({ltDINA4Randlos}), 0, false);
    EXPECT_EQ(list.Count(), 0);
}

TEST(BuildPageTemplates, FrenchSaysPleinePageAndTheCatalogueKeepsItsNames) {
    SetCurrentLanguage(kLanguageFrench);
    TFBPageTemplateList list;
    BuildPageTemplates(list, typesOf({ltPhotoBooklet43, ltPhotoBook85Randlos}), 4, true);
    SetCurrentLanguage(kLanguageGerman);
    ASSERT_EQ(list.Count(), 7);
    EXPECT_EQ(list.Items(0)->Name, "Pleine page Single");
    EXPECT_EQ(list.Items(1)->Name, "Pleine page Panorama");
    EXPECT_EQ(list.Items(2)->Name, "Pleine page A");
    EXPECT_EQ(at(1).Name, "Fullsize Single");

    BuildPageTemplates(list, typesOf({ltPhotoBooklet43}), 0, false);
    EXPECT_EQ(list.Items(0)->Name, "Fullsize Single");
}

// ---------------------------------------------------------------------------------------------
// ApplyToPage

TEST_F(ApplyTemplate, KeepsPicturesInOrderDropsEmptyFramesAndExtraPictures) {
    const int a = newPicture(), b = newPicture(), c = newPicture();
    TFBPage* p = page(2); // a right page
    addFrame(p, a)->Zoom = 2;
    addFrame(p, -1);
    addFrame(p, b);
    addFrame(p, c);
    FindPageTemplate("Tradition1")->ApplyToPage(*p);

    ASSERT_EQ(p->Pictures.Count(), 2);
    EXPECT_EQ(frame(2, 0)->RefIndex, a);
    EXPECT_EQ(frame(2, 1)->RefIndex, b);
    EXPECT_FLOAT_EQ(frame(2, 0)->Zoom, 2);                // picture settings stay
    EXPECT_EQ(TBildmanager::Instance().Find(c), nullptr); // the dropped picture is released
    for (int i = 0; i < 2; ++i) {
        EXPECT_FLOAT_EQ(frame(2, i)->Width, 145.25f * sx);
        EXPECT_FLOAT_EQ(frame(2, i)->Left(), 12.75f * sx);
        EXPECT_FLOAT_EQ(frame(2, i)->Height, 96.5f);
        EXPECT_EQ(frame(2, i)->Angle, 0);
    }
    EXPECT_FLOAT_EQ(frame(2, 1)->Top(), 107);
}

TEST_F(ApplyTemplate, LeftPagesMirrorTheMargins) {
    FindPageTemplate("Tradition1")->ApplyToPage(*page(1));
    ASSERT_EQ(page(1)->Pictures.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(frame(1, i)->Left(), 5.5f * sx, 1e-4);
        EXPECT_NEAR(148.5f - frame(1, i)->Right(), 12.75f * sx, 1e-4);
    }
    // Single pages never count as left pages.
    doc.ScreenMode = 0;
    FindPageTemplate("Tradition1")->ApplyToPage(*page(1));
    EXPECT_NEAR(frame(1, 0)->Left(), 12.75f * sx, 1e-4);
}

TEST_F(ApplyTemplate, PanoramaLinksBothPagesOfTheSpread) {
    const int p = newPicture(), q = newPicture();
    addFrame(page(1), p)->OffsetX = 0.25f;
    addFrame(page(2), q);
    addFrame(page(2), -1);
    FindPageTemplate("Tradition5")->ApplyToPage(*page(2));

    ASSERT_EQ(page(1)->Pictures.Count(), 1);
    ASSERT_EQ(page(2)->Pictures.Count(), 1);
    ASSERT_EQ(doc.PictureLinks.size(), 1u);
    const TFBPictureLink* link = doc.PictureLinks.front().get();
    EXPECT_EQ(link->Members, (std::vector<TFBPictureElement*>{frame(1, 0), frame(2, 0)}));
    EXPECT_EQ(frame(2, 0)->RefIndex, p);
    EXPECT_FLOAT_EQ(frame(2, 0)->OffsetX, 0.25f);
    EXPECT_EQ(TBildmanager::Instance().Find(q), nullptr);
    EXPECT_NEAR(frame(1, 0)->Left(), 5.5f * sx, 1e-4);
    EXPECT_NEAR(frame(2, 0)->Width, 152.5f * sx, 1e-4);

    // Applying any layout to one of the pages dissolves the whole link.
    FindPageTemplate("Tradition2")->ApplyToPage(*page(1));
    EXPECT_TRUE(doc.PictureLinks.empty());
    EXPECT_EQ(frame(2, 0)->Link, nullptr);
    EXPECT_EQ(frame(1, 0)->RefIndex, p);
}

TEST_F(ApplyTemplate, PanoramaWithoutPartnerCoversThePageAlone) {
    FindPageTemplate("Tradition5")->ApplyToPage(*page(0)); // the first page stands alone
    EXPECT_EQ(page(0)->Pictures.Count(), 1);
    EXPECT_EQ(page(1)->Pictures.Count(), 0);
    EXPECT_TRUE(doc.PictureLinks.empty());

    doc.ScreenMode = 0;
    FindPageTemplate("Tradition5")->ApplyToPage(*page(3));
    EXPECT_EQ(page(3)->Pictures.Count(), 1);
    EXPECT_EQ(page(4)->Pictures.Count(), 0);
    EXPECT_TRUE(doc.PictureLinks.empty());
}

TEST_F(ApplyTemplate, LeftFramesOfAStreamedPanoramaGoOnTheLeftPageUnmirrored) {
    TFBPageTemplate t;
    t.Width = 148.5f;
    t.Height = 210;
    t.Panorama = true;
    t.AddFrame(0, 0, 100, 100);
    auto left = std::make_unique<TFBPictureElement>(nullptr);
    left->CenterX = 120;
    left->CenterY = 60;
    left->Width = 40;
    left->Height = 30;
    t.LeftFrames.Add(std::move(left));
    t.ApplyToPage(*page(4));
    ASSERT_EQ(page(3)->Pictures.Count(), 1);
    EXPECT_FLOAT_EQ(frame(3, 0)->CenterX, 120);
    EXPECT_FLOAT_EQ(frame(4, 0)->CenterX, 50);
    EXPECT_EQ(doc.PictureLinks.size(), 1u);
}

TEST_F(ApplyTemplate, TouchesOnlyThePictureList) {
    TFBPage* p = page(2);
    p->Sizeables.Add(std::make_unique<TFBTextElement>(p));
    p->Calendars.Add(std::make_unique<TFBKalenderElement>(p));
    addFrame(p, newPicture());
    TFBPageTemplate empty;
    empty.Width = 10;
    empty.Height = 10;
    empty.ApplyToPage(*p);
    EXPECT_EQ(p->Pictures.Count(), 0);
    EXPECT_EQ(p->Sizeables.Count(), 1);
    EXPECT_EQ(p->Calendars.Count(), 1);
}

TEST_F(ApplyTemplate, ScalesToThePageAndKeepsTheFrameAngle) {
    TFBPageTemplate t;
    t.Width = 100;
    t.Height = 100;
    t.AddFrameCentered(50, 25, 20, 10, 30);
    t.ApplyToPage(*page(0));
    const TFBPictureElement* f = frame(0, 0);
    EXPECT_FLOAT_EQ(f->CenterX, 74.25f);
    EXPECT_FLOAT_EQ(f->CenterY, 52.5f);
    EXPECT_FLOAT_EQ(f->Width, 29.7f);
    EXPECT_FLOAT_EQ(f->Height, 21);
    EXPECT_FLOAT_EQ(f->Angle, 30);
}

// ---------------------------------------------------------------------------------------------
// Stream form

TEST(PageTemplateStream, RoundTripWithoutTheID) {
    auto original = at(40).Clone();
    original->AddFrameCentered(1, 2, 3, 4, 45);
    auto left = std::make_unique<TFBPictureElement>(nullptr);
    left->CenterX = 7;
    left->Width = 8;
    original->LeftFrames.Add(std::move(left));
    original->Name = QStringLiteral("Größe");

    TFBPageTemplate copy;
    copy.ID = QStringLiteral("bleibt");
    copy.AddFrame(0, 0, 1, 1);
    loadFrom(copy, streamOf(*original));
    EXPECT_EQ(copy.ID, "bleibt");
    EXPECT_EQ(copy.Name, "Größe");
    EXPECT_EQ(copy.Stil, 4);
    EXPECT_EQ(copy.LayoutTypen, typesOf({ltPhotoBook85Randlos}));
    EXPECT_FALSE(copy.Panorama);
    EXPECT_FLOAT_EQ(copy.Width, 148.5f);
    ASSERT_EQ(copy.Frames.Count(), 5);
    EXPECT_FLOAT_EQ(copy.Frames.Items(4)->Angle, 45);
    EXPECT_FLOAT_EQ(copy.Frames.Items(3)->Left(), 75.7f);
    ASSERT_EQ(copy.LeftFrames.Count(), 1);
    EXPECT_FLOAT_EQ(copy.LeftFrames.Items(0)->CenterX, 7);
}

TEST(PageTemplateStream, ByteLayout) {
    const QByteArray bytes = streamOf(at(3));
    Payload expected;
    expected.single(76.2f)
        .single(101.6f)
        .string("Border Single")
        .byte(0)
        .string("[ltPhotoBooklet43]")
        .int32(1);
    expected.int32(1).frame(38.1f, 50.8f, 66.2f, 91.6f, 0).int32(0);
    EXPECT_EQ(bytes, expected.bytes());
}

TEST(PageTemplateStream, EmptyTypeTextGivesALayoutThatFitsNoProduct) {
    TFBPageTemplate t;
    t.LayoutTypen = TFBLayoutTypen::All();
    loadFrom(t, headerWithTypes("").int32(1).frame(50, 25, 100, 50, 0).int32(0).bytes());
    EXPECT_TRUE(t.LayoutTypen.IsEmpty());
    EXPECT_EQ(t.Stil, 3);
    EXPECT_EQ(t.Frames.Count(), 1);
}

TEST(PageTemplateStream, ShortPayloadsAreRejectedAndChangeNothing) {
    const QByteArray bytes = streamOf(at(8));
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        TFBPageTemplate t;
        t.Name = QStringLiteral("vorher");
        t.AddFrame(1, 2, 3, 4);
        EXPECT_THROW(loadFrom(t, bytes.left(n)), Exception) << n;
        EXPECT_EQ(t.Name, "vorher");
        EXPECT_EQ(t.Frames.Count(), 1);
        EXPECT_EQ(t.Width, 0);
    }
}

TEST(PageTemplateStream, DamagedPayloadsAreRejected) {
    const auto rejects = [](const QByteArray& bytes) {
        TFBPageTemplate t;
        try {
            loadFrom(t, bytes);
        } catch (const Exception&) {
            return t.Frames.Count() == 0 && t.Width == 0;
        }
        return false;
    };
    EXPECT_TRUE(rejects(headerWithTypes("[ltNichts]").int32(0).int32(0).bytes()));
    EXPECT_TRUE(rejects(headerWithTypes("").int32(-1).int32(0).bytes()));
    EXPECT_TRUE(rejects(headerWithTypes("").int32(0x7FFFFFFF).frame(1, 1, 1, 1, 0).int32(0).bytes()));
    EXPECT_TRUE(rejects(headerWithTypes("").int32(0).int32(2).frame(1, 1, 1, 1, 0).bytes()));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(rejects(headerWithTypes("").int32(1).frame(1, nan, 1, 1, 0).int32(0).bytes()));
    Payload badStyle;
    badStyle.single(100).single(50).string("x").byte(0).string("").int32(300).int32(0).int32(0);
    EXPECT_TRUE(rejects(badStyle.bytes()));
    Payload noArea;
    noArea.single(0).single(50).string("x").byte(0).string("").int32(1).int32(0).int32(0);
    EXPECT_TRUE(rejects(noArea.bytes()));
    EXPECT_TRUE(rejects(headerWithTypes("").int32(1).frame(1, 1, 1e9f, 1, 0).int32(0).bytes()));
    Payload tinyPage;
    tinyPage.single(0.5f).single(50).string("x").byte(0).string("").int32(1).int32(0).int32(0);
    EXPECT_TRUE(rejects(tinyPage.bytes()));
    Payload hugeName;
    hugeName.single(100).single(50).int32(0x7FFFFFF0);
    EXPECT_TRUE(rejects(hugeName.bytes()));
}

// ---------------------------------------------------------------------------------------------
// Preview

namespace {
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF808080;

QImage blackBitmap(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(kBlack);
    return image;
}

int greyInRow(const QImage& image, int y, int x0, int x1) {
    int n = 0;
    for (int x = x0; x <= x1; ++x)
        n += image.pixel(x, y) == kGrey;
    return n;
}
} // namespace

TEST(PageTemplatePreview, PageFittedAndCentredWithFrameOutlines) {
    QImage image = blackBitmap(100, 100);
    at(6).DrawPreview(image, QRect(0, 0, 100, 100)); // Tradition2, 163.5 x 210
    // 100 high, 78 wide, from x = 11.
    EXPECT_EQ(image.pixel(5, 50), kBlack);
    EXPECT_EQ(image.pixel(95, 50), kBlack);
    EXPECT_EQ(image.pixel(11, 50), kGrey);
    EXPECT_EQ(image.pixel(14, 50), kWhite);
    EXPECT_EQ(image.pixel(50, 1), kWhite);      // above the frame (top 6.5 mm = 3 px)
    EXPECT_EQ(image.pixel(50, 50), kWhite);     // inside the frame
    EXPECT_GE(greyInRow(image, 50, 15, 19), 1); // the frame's left edge at 12.75 mm
}

TEST(PageTemplatePreview, PanoramaShowsTheSpreadWithMirroredFrames) {
    QImage image = blackBitmap(200, 100);
    at(4).DrawPreview(image, QRect(0, 0, 200, 100)); // BorderBooklet2: frame at the left edge
    // Two pages of 76.2 x 101.6: 100 high, 150 wide, from x = 25.
    EXPECT_EQ(image.pixel(20, 50), kBlack);
    EXPECT_EQ(image.pixel(180, 50), kBlack);
    EXPECT_EQ(image.pixel(25, 50), kGrey);
    // The right page's frame touches the spine; on the left page it is mirrored to the spine too.
    EXPECT_GE(greyInRow(image, 50, 96, 104), 1);
    EXPECT_EQ(image.pixel(70, 2), kWhite);
    EXPECT_EQ(image.pixel(130, 2), kWhite);
    // The outer edges keep their 5 mm white margin.
    EXPECT_EQ(image.pixel(28, 50), kWhite);
    EXPECT_EQ(image.pixel(171, 50), kWhite);
}
