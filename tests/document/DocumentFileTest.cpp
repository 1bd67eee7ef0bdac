#include "support/SampleDocument.h"

#include "document/uDataFile.h"
#include "document/uFotobuchBildManager.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/Exception.h"
#include "platform/uInfoausgabe.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using SampleDocument::load;
using SampleDocument::saved;

// A container written item by item, as older versions or damaged files hold them.
QByteArray container(const std::function<void(TCustomDataFile&)>& write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    {
        TMemoryDataFile file(buffer);
        write(file);
    }
    return bytes;
}

// (section, key) of every item in stream order.
QStringList itemNames(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    file.BuildCache();
    QStringList names;
    for (const TDataFileCacheItem& item : file.CacheItems())
        names << item.Section + QLatin1Char('|') + item.Key;
    return names;
}

const QString kDoc = QStringLiteral("Doc");

class DocumentFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

void expectSameElement(const TFBElement& a, const TFBElement& b) {
    EXPECT_EQ(a.ClassName(), b.ClassName());
    EXPECT_EQ(a.CenterX, b.CenterX);
    EXPECT_EQ(a.CenterY, b.CenterY);
    EXPECT_EQ(a.Width, b.Width);
    EXPECT_EQ(a.Height, b.Height);
    EXPECT_EQ(a.Angle, b.Angle);
    if (auto* pa = dynamic_cast<const TFBPictureElement*>(&a)) {
        auto* pb = dynamic_cast<const TFBPictureElement*>(&b);
        ASSERT_NE(pb, nullptr);
        EXPECT_EQ(pa->CanZoomAndTrack, pb->CanZoomAndTrack);
        EXPECT_EQ(pa->Zoom, pb->Zoom);
        EXPECT_EQ(pa->OffsetX, pb->OffsetX);
        EXPECT_EQ(pa->OffsetY, pb->OffsetY);
        EXPECT_EQ(pa->RefIndex, pb->RefIndex);
        EXPECT_EQ(pa->BorderWidth, pb->BorderWidth);
        EXPECT_EQ(pa->BorderColor, pb->BorderColor);
        EXPECT_EQ(pa->Link == nullptr, pb->Link == nullptr);
    }
    if (auto* ta = dynamic_cast<const TFBTextElement*>(&a)) {
        auto* tb = dynamic_cast<const TFBTextElement*>(&b);
        ASSERT_NE(tb, nullptr);
        EXPECT_EQ(ta->RTF(), tb->RTF());
        EXPECT_EQ(ta->HasShadow, tb->HasShadow);
        EXPECT_EQ(ta->HorzAlign, tb->HorzAlign);
        EXPECT_EQ(ta->VertAlign, tb->VertAlign);
    }
    if (auto* ca = dynamic_cast<const TFBClipartElement*>(&a)) {
        auto* cb = dynamic_cast<const TFBClipartElement*>(&b);
        ASSERT_NE(cb, nullptr);
        EXPECT_EQ(ca->RefIndex, cb->RefIndex);
    }
}

} // namespace

TEST_F(DocumentFile, SaveAndLoadReproduceEveryKey) {
    TFBDocument original;
    SampleDocument::fill(original, dir.path());
    // What the picture store held at save time (the load below replaces it).
    std::vector<TBildManagerListItem> pictures;
    for (const auto& item : TBildmanager::Instance().Entries) {
        TBildManagerListItem copy;
        copy.RefCount = item->RefCount;
        copy.RefIndex = item->RefIndex;
        copy.FileName = item->FileName;
        copy.FileSize = item->FileSize;
        copy.FileDate = item->FileDate;
        copy.PicWidth = item->PicWidth;
        copy.PicHeight = item->PicHeight;
        copy.FileData = item->FileData;
        pictures.push_back(copy);
    }
    ASSERT_EQ(pictures.size(), 3u);

    const QByteArray bytes = saved(original);
    EXPECT_FALSE(original.Modified);

    TFBDocument copy;
    copy.Modified = true;
    load(copy, bytes);
    EXPECT_FALSE(copy.Modified);
    EXPECT_EQ(copy.DocVersion, 5);
    EXPECT_EQ(copy.Dokumentname, original.Dokumentname);
    EXPECT_EQ(copy.ScreenMode, original.ScreenMode);
    EXPECT_EQ(copy.DocType, original.DocType);
    EXPECT_EQ(copy.PageWidth, original.PageWidth);
    EXPECT_EQ(copy.PageHeight, original.PageHeight);
    EXPECT_EQ(copy.Stegbreite, original.Stegbreite);
    EXPECT_EQ(copy.Umschlagbreite, original.Umschlagbreite);
    EXPECT_EQ(copy.PrintPaperName, original.PrintPaperName);
    EXPECT_EQ(copy.PrintPaperSize, original.PrintPaperSize);
    EXPECT_EQ(copy.PrintPaperWidth, original.PrintPaperWidth);
    EXPECT_EQ(copy.PrintPaperHeight, original.PrintPaperHeight);
    EXPECT_EQ(copy.PrintPaperType, original.PrintPaperType);
    EXPECT_EQ(copy.PicturesHaveShadows, original.PicturesHaveShadows);
    EXPECT_EQ(copy.PrintBorderless, original.PrintBorderless);
    EXPECT_EQ(copy.PictureShadowsAllowed, original.PictureShadowsAllowed);
    EXPECT_EQ(copy.PrintSetting, original.PrintSetting);
    EXPECT_EQ(copy.Layouttypen, original.Layouttypen);
    EXPECT_EQ(copy.LayoutSubTyp, original.LayoutSubTyp);
    EXPECT_EQ(copy.LayoutStil, original.LayoutStil);
    EXPECT_EQ(copy.ScreenQuerformatWinkel, original.ScreenQuerformatWinkel);
    EXPECT_EQ(copy.NurEinLayoutStil, original.NurEinLayoutStil);

    ASSERT_EQ(copy.Pages.Count(), original.Pages.Count());
    for (int i = 0; i < copy.Pages.Count(); ++i) {
        SCOPED_TRACE(i);
        const TFBPage* a = original.Pages.Items(i);
        const TFBPage* b = copy.Pages.Items(i);
        EXPECT_EQ(b->Document, &copy);
        EXPECT_EQ(a->Seitenausrichtung, b->Seitenausrichtung);
        EXPECT_EQ(a->Seitenfarbe, b->Seitenfarbe);
        EXPECT_EQ(a->CustomLayoutStil, b->CustomLayoutStil);
        const TFBElementList* listsA[] = {&a->Pictures, &a->Calendars, &a->Sizeables};
        const TFBElementList* listsB[] = {&b->Pictures, &b->Calendars, &b->Sizeables};
        for (int l = 0; l < 3; ++l) {
            ASSERT_EQ(listsA[l]->Count(), listsB[l]->Count());
            for (int j = 0; j < listsA[l]->Count(); ++j) {
                expectSameElement(*listsA[l]->Items(j), *listsB[l]->Items(j));
                EXPECT_EQ(listsB[l]->Items(j)->Page, b);
            }
        }
    }

    // The panorama link joins the same two frames again.
    ASSERT_EQ(copy.PictureLinks.size(), 1u);
    const TFBPictureLink& link = *copy.PictureLinks.front();
    ASSERT_EQ(link.Members.size(), 2u);
    EXPECT_EQ(link.Members[0], copy.Pages.Items(1)->Picture(0));
    EXPECT_EQ(link.Members[1], copy.Pages.Items(2)->Picture(0));
    EXPECT_EQ(link.Members[0]->Link, &link);

    // The picture store comes back in the same order with the same references and use counts.
    const TBildmanager& store = TBildmanager::Instance();
    ASSERT_EQ(store.Count(), 3);
    for (int k = 0; k < store.Count(); ++k) {
        SCOPED_TRACE(k);
        const TBildManagerListItem& item = store.Item(k);
        EXPECT_EQ(item.RefIndex, pictures[k].RefIndex);
        EXPECT_EQ(item.RefCount, pictures[k].RefCount);
        EXPECT_EQ(item.FileName, pictures[k].FileName);
        EXPECT_EQ(item.FileSize, pictures[k].FileSize);
        EXPECT_EQ(item.FileDate, pictures[k].FileDate);
        EXPECT_EQ(item.PicWidth, pictures[k].PicWidth);
        EXPECT_EQ(item.PicHeight, pictures[k].PicHeight);
        EXPECT_EQ(item.FileData, pictures[k].FileData);
    }
    // Loading took no extra uses: the frames' pictures are usable and freed with the document.
    EXPECT_FALSE(copy.Pages.Items(0)->Picture(0)->GetBitmap().isNull());
}

TEST_F(DocumentFile, ResavingALoadedFileWritesTheSameItemsInTheSameOrder) {
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    const QByteArray first = saved(doc);
    TFBDocument loaded;
    load(loaded, first);
    const QByteArray second = saved(loaded);
    EXPECT_EQ(itemNames(second), itemNames(first));
    EXPECT_EQ(second, first);
}

TEST_F(DocumentFile, DocumentKeysComeFirstInTheirOrderAndCountsMatch) {
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    const QByteArray bytes = saved(doc);
    const QStringList names = itemNames(bytes);
    const QStringList docKeys = {"DocVersion",
                                 "PageWidth",
                                 "PageHeight",
                                 "Stegbreite",
                                 "Umschlagbreite",
                                 "PrintPaperName",
                                 "PrintPaperSize",
                                 "PrintPaperWidth",
                                 "PrintPaperHeight",
                                 "PrintPaperType",
                                 "Dokumentname",
                                 "PicturesHaveShadows",
                                 "PrintBorderless",
                                 "PictureShadowsAllowed",
                                 "ScreenMode",
                                 "DocType",
                                 "PrintSetting",
                                 "Layouttypen",
                                 "LayoutSubTyp",
                                 "LayoutStil",
                                 "ScreenQuerformatWinkel",
                                 "NurEinLayoutStil"};
    ASSERT_GE(names.size(), docKeys.size());
    for (qsizetype i = 0; i < docKeys.size(); ++i)
        EXPECT_EQ(names[i], QStringLiteral("Doc|") + docKeys[i]);

    // Page 0: its keys, then the three lists (frames, calendars, sizeables), each count first.
    const qsizetype page0 = names.indexOf(QStringLiteral("Doc/Pages/Page0|Seitenausrichtung"));
    ASSERT_GT(page0, 0);
    EXPECT_EQ(names[page0 - 1], QStringLiteral("Doc/Pages|Anzahl"));
    EXPECT_EQ(names.mid(page0, 5),
              (QStringList{"Doc/Pages/Page0|Seitenausrichtung", "Doc/Pages/Page0|Seitenfarbe",
                           "Doc/Pages/Page0|CustomLayoutStil", "Doc/Pages/Page0/Piclist|Anzahl",
                           "Doc/Pages/Page0/Piclist/Pic0|Classname"}));
    EXPECT_EQ(
        names.mid(page0 + 4, 14),
        (QStringList{"Doc/Pages/Page0/Piclist/Pic0|Classname", "Doc/Pages/Page0/Piclist/Pic0|CenterX",
                     "Doc/Pages/Page0/Piclist/Pic0|CenterY", "Doc/Pages/Page0/Piclist/Pic0|Width",
                     "Doc/Pages/Page0/Piclist/Pic0|Height", "Doc/Pages/Page0/Piclist/Pic0|Angle",
                     "Doc/Pages/Page0/Piclist/Pic0|CanZoomAndTrack", "Doc/Pages/Page0/Piclist/Pic0|Zoom",
                     "Doc/Pages/Page0/Piclist/Pic0|OffsetX", "Doc/Pages/Page0/Piclist/Pic0|OffsetY",
                     "Doc/Pages/Page0/Piclist/Pic0|RefIndex", "Doc/Pages/Page0/Piclist/Pic0|BorderWidth",
                     "Doc/Pages/Page0/Piclist/Pic0|BorderColor", "Doc/Pages/Page0/Kalenderlist|Anzahl"}));
    // The calendar's settings follow its element keys; its last padding ends the calendar list.
    EXPECT_EQ(names.indexOf(QStringLiteral("Doc/Pages/Page0/Kalenderlist/Kalender0/KalenderData|Typ")),
              names.indexOf(QStringLiteral("Doc/Pages/Page0/Kalenderlist/Kalender0|Angle")) + 1);
    EXPECT_EQ(names.indexOf(QStringLiteral("Doc/Pages/Page0/Elementlist|Anzahl")),
              names.indexOf(QStringLiteral(
                  "Doc/Pages/Page0/Kalenderlist/Kalender0/KalenderDataSondertagRowPadding|Bottom")) +
                  1);
    // The link list follows the pages, the picture store follows the links.
    const qsizetype links = names.indexOf(QStringLiteral("Doc/PictureLinkList|Anzahl"));
    EXPECT_GT(links, names.indexOf(QStringLiteral("Doc/Pages/Page2/Elementlist/Element0|RefIndex")));
    EXPECT_EQ(names.mid(links, 6),
              (QStringList{"Doc/PictureLinkList|Anzahl", "Doc/PictureLinkList/Link0/List|Anzahl",
                           "Doc/PictureLinkList/Link0/List/Pic0|PageIndex",
                           "Doc/PictureLinkList/Link0/List/Pic0|PicIndex",
                           "Doc/PictureLinkList/Link0/List/Pic1|PageIndex",
                           "Doc/PictureLinkList/Link0/List/Pic1|PicIndex"}));
    EXPECT_EQ(names[links + 6], QStringLiteral("BildManager|Anzahl"));
    EXPECT_EQ(
        names.mid(links + 7, 9),
        (QStringList{"BildManager/Bild0|FileName", "BildManager/Bild0|Age", "BildManager/Bild0|FileSize",
                     "BildManager/Bild0|RefCount", "BildManager/Bild0|FileDate", "BildManager/Bild0|RefIndex",
                     "BildManager/Bild0|PicWidth", "BildManager/Bild0|PicHeight", "BildManager/Bild0|File"}));

    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    EXPECT_EQ(file.ReadInteger(kDoc, QStringLiteral("DocVersion"), -1), 5);
    EXPECT_EQ(file.ReadInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), -1), 3);
    EXPECT_EQ(file.ReadInteger(QStringLiteral("BildManager"), QStringLiteral("Anzahl"), -1), 3);
    EXPECT_EQ(file.ReadString(kDoc, QStringLiteral("Layouttypen"), {}),
              QStringLiteral("[ltPhotoBook85,ltKalenderA6]"));
    // Geometry is stored as doubles widened from the fields.
    EXPECT_EQ(file.ReadFloat(kDoc, QStringLiteral("PageHeight"), 0), 210.25);
}

TEST_F(DocumentFile, AFileWithOnlyTheNameLoadsAsVersion0WithTheDefaults) {
    const QByteArray bytes = container([](TCustomDataFile& f) {
        f.WriteString(QStringLiteral("Doc"), QStringLiteral("Dokumentname"), QStringLiteral("Mein Album"));
    });
    TFBDocument doc;
    load(doc, bytes);
    EXPECT_EQ(doc.Dokumentname, QStringLiteral("Mein Album"));
    EXPECT_EQ(doc.DocVersion, 5); // brought up to date
    EXPECT_EQ(doc.PageWidth, 148.5f);
    EXPECT_EQ(doc.PageHeight, 210.0f);
    EXPECT_EQ(doc.Stegbreite, 2.0f);
    EXPECT_EQ(doc.Umschlagbreite, 4.0f);
    EXPECT_EQ(doc.PrintPaperName, QStringLiteral("ID_DINA4"));
    EXPECT_EQ(doc.PrintPaperSize, 9);
    EXPECT_EQ(doc.PrintPaperWidth, 210.0f);
    EXPECT_EQ(doc.PrintPaperHeight, 297.0f);
    EXPECT_EQ(doc.PrintPaperType,
              TFBDocument::DisplayNameOfPaperKey(QStringLiteral("ID_Photopapier_glänzend")));
    EXPECT_TRUE(doc.PicturesHaveShadows);
    EXPECT_FALSE(doc.PrintBorderless);
    EXPECT_TRUE(doc.PictureShadowsAllowed);
    EXPECT_EQ(doc.ScreenMode, 1);
    EXPECT_EQ(doc.DocType, 1);
    EXPECT_EQ(doc.PrintSetting, 0); // the name holds none of the product words
    EXPECT_EQ(doc.Layouttypen, TFBLayoutTypen::All());
    EXPECT_TRUE(doc.LayoutSubTyp.isEmpty());
    EXPECT_EQ(doc.LayoutStil, 0);
    EXPECT_EQ(doc.ScreenQuerformatWinkel, 90.0f);
    EXPECT_FALSE(doc.NurEinLayoutStil); // the one page has no frame
    ASSERT_EQ(doc.Pages.Count(), 1);
    const TFBPage* page = doc.Pages.Items(0);
    EXPECT_EQ(page->Seitenfarbe, 0xFFFFFF);
    EXPECT_EQ(page->Seitenausrichtung, 0);
    EXPECT_EQ(page->Pictures.Count() + page->Calendars.Count() + page->Sizeables.Count(), 0);
    EXPECT_TRUE(doc.PictureLinks.empty());
    EXPECT_EQ(TBildmanager::Instance().Count(), 0);
    EXPECT_EQ(doc.ViewCount(), 1);
}

TEST_F(DocumentFile, OlderVersionsAreConverted) {
    struct Case {
        int version;
        QString name;
        QString subTyp;
        int storedStil;
        int storedSetting;
        int wantSetting;
        int wantStil;
    };
    const Case cases[] = {
        {1, QStringLiteral("Photobook 8:5"), {}, 0, 0, 2, 0},
        {1, QStringLiteral("PocketBooklet Photobook"), {}, 0, 0, 2, 0}, // "Photobook" is tested first
        {1, QStringLiteral("PocketBooklet"), {}, 0, 0, 1, 0},
        {0, QStringLiteral("Abzüge 10x15"), {}, 0, 5, 3, 0},
        {1, QStringLiteral("photobook"), {}, 0, 4, 4, 0}, // case-sensitive
        {2, QStringLiteral("Photobook 8:5"), QStringLiteral("Horizon R"), 0, 0, 0, 2},
        {2, QStringLiteral("x"), QStringLiteral("Tradition R"), 0, 0, 0, 1},
        {2, QStringLiteral("x"), QStringLiteral("Kalender Deckblatt"), 3, 0, 0, 14},
        {2, QStringLiteral("x"), QStringLiteral("Verticon R"), 0, 0, 0, 3},
        {2, QStringLiteral("x"), QStringLiteral("Layout 3"), 0, 0, 0, 12},
        {2, QStringLiteral("x"), QStringLiteral("Eigenes"), 7, 0, 0, 7}, // no name found: kept
        {3, QStringLiteral("x"), QStringLiteral("Horizon R"), 6, 0, 0, 6},
        {5, QStringLiteral("Photobook"), QStringLiteral("Horizon"), 9, 1, 1, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(QStringLiteral("%1 %2 %3").arg(c.version).arg(c.name, c.subTyp)));
        const QByteArray bytes = container([&](TCustomDataFile& f) {
            if (c.version > 0)
                f.WriteInteger(kDoc, QStringLiteral("DocVersion"), c.version);
            f.WriteString(kDoc, QStringLiteral("Dokumentname"), c.name);
            f.WriteInteger(kDoc, QStringLiteral("PrintSetting"), c.storedSetting);
            f.WriteString(kDoc, QStringLiteral("LayoutSubTyp"), c.subTyp);
            f.WriteInteger(kDoc, QStringLiteral("LayoutStil"), c.storedStil);
        });
        TFBDocument doc;
        load(doc, bytes);
        EXPECT_EQ(doc.PrintSetting, c.wantSetting);
        EXPECT_EQ(doc.LayoutStil, c.wantStil);
        EXPECT_EQ(doc.DocVersion, 5);
    }
}

TEST_F(DocumentFile, Version4WithAFrameOnTheFirstPageOffersOnlyItsOwnStyle) {
    const auto withFrame = [](int version) {
        return container([version](TCustomDataFile& f) {
            f.WriteInteger(kDoc, QStringLiteral("DocVersion"), version);
            f.WriteBool(kDoc, QStringLiteral("NurEinLayoutStil"), false);
            f.WriteInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), 1);
            f.WriteInteger(QStringLiteral("Doc/Pages/Page0/Piclist"), QStringLiteral("Anzahl"), 1);
            f.WriteString(QStringLiteral("Doc/Pages/Page0/Piclist/Pic0"), QStringLiteral("Classname"),
                          QStringLiteral("TFBPictureElement"));
        });
    };
    TFBDocument doc;
    load(doc, withFrame(4));
    EXPECT_TRUE(doc.NurEinLayoutStil);
    ASSERT_EQ(doc.Pages.Items(0)->Pictures.Count(), 1);
    // A frame without keys gets the element defaults.
    const TFBPictureElement* frame = doc.Pages.Items(0)->Picture(0);
    EXPECT_EQ(frame->CenterX, 10.0f);
    EXPECT_EQ(frame->Width, 10.0f);
    EXPECT_EQ(frame->Angle, 0.0f);
    EXPECT_TRUE(frame->CanZoomAndTrack);
    EXPECT_EQ(frame->Zoom, 1.0f);
    EXPECT_EQ(frame->OffsetX, 0.5f);
    EXPECT_EQ(frame->RefIndex, -1);

    load(doc, withFrame(5));
    EXPECT_FALSE(doc.NurEinLayoutStil);
}

TEST_F(DocumentFile, LayoutTypesKeepTheMembersBeforeAMisspeltNameAndAllForAnEmptyText) {
    const auto withTypes = [](const QString& text) {
        return container([&](TCustomDataFile& f) {
            f.WriteInteger(kDoc, QStringLiteral("DocVersion"), 5);
            f.WriteString(kDoc, QStringLiteral("Layouttypen"), text);
        });
    };
    TFBDocument doc;
    load(doc, withTypes(QStringLiteral("[ltPhotoBook86,ltDINA4,ltFotobuch,ltKalenderA4]")));
    TFBLayoutTypen want;
    want.Include(TFBLayoutTyp::ltPhotoBook86);
    want.Include(TFBLayoutTyp::ltDINA4);
    EXPECT_EQ(doc.Layouttypen, want);

    load(doc, withTypes(QString()));
    EXPECT_EQ(doc.Layouttypen, TFBLayoutTypen::All());

    load(doc, withTypes(QStringLiteral("[]")));
    EXPECT_TRUE(doc.Layouttypen.IsEmpty());
}

TEST_F(DocumentFile, ClampedValuesGoThroughTheSettersOnLoading) {
    const QByteArray bytes = container([](TCustomDataFile& f) {
        f.WriteInteger(kDoc, QStringLiteral("DocVersion"), 5);
        const QString e = QStringLiteral("Doc/Pages/Page0/Piclist/Pic0");
        f.WriteInteger(QStringLiteral("Doc/Pages/Page0/Piclist"), QStringLiteral("Anzahl"), 1);
        f.WriteString(e, QStringLiteral("Classname"), QStringLiteral("TFBPictureElement"));
        f.WriteFloat(e, QStringLiteral("Zoom"), 9.0);
        f.WriteFloat(e, QStringLiteral("OffsetX"), -0.5);
        f.WriteFloat(e, QStringLiteral("OffsetY"), 1.5);
        const QString t = QStringLiteral("Doc/Pages/Page0/Elementlist/Element0");
        f.WriteInteger(QStringLiteral("Doc/Pages/Page0/Elementlist"), QStringLiteral("Anzahl"), 1);
        f.WriteString(t, QStringLiteral("Classname"), QStringLiteral("TFBTextElement"));
        f.WriteBool(t, QStringLiteral("HasShadow"), true);
    });
    TFBDocument doc;
    load(doc, bytes);
    const TFBPictureElement* frame = doc.Pages.Items(0)->Picture(0);
    EXPECT_EQ(frame->Zoom, 4.0f);
    EXPECT_EQ(frame->OffsetX, 0.0f);
    EXPECT_EQ(frame->OffsetY, 1.0f);
    const auto* text = dynamic_cast<const TFBTextElement*>(doc.Pages.Items(0)->Sizeables.Items(0));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->HasShadow);
    EXPECT_TRUE(text->Dirty);
}

TEST_F(DocumentFile, UnknownOrMissingClassesAndForeignKindsAreSkippedTheRestIsRead) {
    const QByteArray bytes = container([](TCustomDataFile& f) {
        const QString s = QStringLiteral("Doc/Pages/Page0/Piclist");
        f.WriteInteger(s, QStringLiteral("Anzahl"), 5);
        f.WriteString(s + QStringLiteral("/Pic0"), QStringLiteral("Classname"),
                      QStringLiteral("TFBPictureElement"));
        f.WriteFloat(s + QStringLiteral("/Pic1"), QStringLiteral("CenterX"), 5); // no class name
        f.WriteString(s + QStringLiteral("/Pic2"), QStringLiteral("Classname"), QStringLiteral("TFBBild"));
        f.WriteString(s + QStringLiteral("/Pic3"), QStringLiteral("Classname"),
                      QStringLiteral("TFBTextElement"));
        f.WriteString(s + QStringLiteral("/Pic4"), QStringLiteral("Classname"),
                      QStringLiteral("TFBPictureElement"));
        f.WriteFloat(s + QStringLiteral("/Pic4"), QStringLiteral("CenterX"), 44);
        const QString k = QStringLiteral("Doc/Pages/Page0/Kalenderlist");
        f.WriteInteger(k, QStringLiteral("Anzahl"), 1);
        f.WriteString(k + QStringLiteral("/Kalender0"), QStringLiteral("Classname"),
                      QStringLiteral("tfbkalenderelement")); // class names compare exactly
    });
    TFBDocument doc;
    load(doc, bytes);
    const TFBPage* page = doc.Pages.Items(0);
    ASSERT_EQ(page->Pictures.Count(), 2);
    EXPECT_EQ(page->Picture(1)->CenterX, 44.0f);
    EXPECT_EQ(page->Calendars.Count(), 0);
    EXPECT_EQ(page->Sizeables.Count(), 0);
}

TEST_F(DocumentFile, LinkMembersOutsideTheDocumentAreSkipped) {
    const QByteArray bytes = container([](TCustomDataFile& f) {
        f.WriteInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), 2);
        for (int p = 0; p < 2; ++p) {
            const QString s = QStringLiteral("Doc/Pages/Page%1/Piclist").arg(p);
            f.WriteInteger(s, QStringLiteral("Anzahl"), 1);
            f.WriteString(s + QStringLiteral("/Pic0"), QStringLiteral("Classname"),
                          QStringLiteral("TFBPictureElement"));
        }
        f.WriteInteger(QStringLiteral("Doc/PictureLinkList"), QStringLiteral("Anzahl"), 2);
        const QString l = QStringLiteral("Doc/PictureLinkList/Link0/List");
        const int members[][2] = {{0, 0}, {2, 0}, {1, 1}, {-1, 0}, {1, -1}, {1, 0}};
        f.WriteInteger(l, QStringLiteral("Anzahl"), 7); // the last member has no keys at all
        for (int j = 0; j < 6; ++j) {
            f.WriteInteger(l + QStringLiteral("/Pic%1").arg(j), QStringLiteral("PageIndex"), members[j][0]);
            f.WriteInteger(l + QStringLiteral("/Pic%1").arg(j), QStringLiteral("PicIndex"), members[j][1]);
        }
        // A damaged second link claims a frame of the first one.
        const QString l2 = QStringLiteral("Doc/PictureLinkList/Link1/List");
        f.WriteInteger(l2, QStringLiteral("Anzahl"), 1);
        f.WriteInteger(l2 + QStringLiteral("/Pic0"), QStringLiteral("PageIndex"), 0);
        f.WriteInteger(l2 + QStringLiteral("/Pic0"), QStringLiteral("PicIndex"), 0);
    });
    auto doc = std::make_unique<TFBDocument>();
    load(*doc, bytes);
    ASSERT_EQ(doc->PictureLinks.size(), 2u);
    const TFBPictureLink& link = *doc->PictureLinks[0];
    ASSERT_EQ(link.Members.size(), 2u);
    EXPECT_EQ(link.Members[0], doc->Pages.Items(0)->Picture(0));
    EXPECT_EQ(link.Members[1], doc->Pages.Items(1)->Picture(0));
    EXPECT_TRUE(doc->PictureLinks[1]->Members.empty());
    // Deleting a linked frame dissolves its link; nothing is left pointing at it.
    doc->Pages.Items(0)->Pictures.Delete(0);
    EXPECT_EQ(doc->Pages.Items(1)->Picture(0)->Link, nullptr);
    doc.reset();
}

TEST_F(DocumentFile, ProgressIsReportedInOrder) {
    struct Recorder : TInfoTarget {
        QStringList texts;
        void SetStatusText(const QString&) override {}
        void ShowProgress(const QString& text) override { texts << text; }
        void HideProgress() override { texts << QStringLiteral("<hide>"); }
    } recorder;
    InfoAusgabe().SetTarget(&recorder);
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    recorder.texts.clear();
    const QByteArray bytes = saved(doc);
    EXPECT_EQ(recorder.texts, (QStringList{"Dokument wird gespeichert", "Seite 1 wird gespeichert",
                                           "Seite 2 wird gespeichert", "Seite 3 wird gespeichert",
                                           "Picturelinks werden gespeichert", "Bilder werden gespeichert",
                                           "Bild 1 wird gespeichert", "Bild 2 wird gespeichert",
                                           "Bild 3 wird gespeichert", "<hide>"}));
    recorder.texts.clear();
    load(doc, bytes);
    EXPECT_EQ(
        recorder.texts,
        (QStringList{"Dokument wird geladen", "Seitenlayout 1 wird geladen", "Seitenlayout 2 wird geladen",
                     "Seitenlayout 3 wird geladen", "Picturelinks werden geladen", "Bilder werden geladen",
                     "Bild 1 wird geladen", "Bild 2 wird geladen", "Bild 3 wird geladen", "<hide>"}));
    InfoAusgabe().SetTarget(nullptr);
}

TEST_F(DocumentFile, SavingIntoAReadOnlyContainerStopsAtTheFirstItem) {
    QByteArray bytes = container([](TCustomDataFile&) {});
    const QByteArray before = bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    try {
        SaveDocument(doc, file);
        ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Die Datei ist schreibgeschützt"));
    }
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(bytes, before);
}

TEST_F(DocumentFile, DamagedCountsAndTruncatedFilesGiveAnErrorOrAPartialDocumentNeverACrash) {
    // A count far beyond what the file could hold is refused instead of looping.
    const QByteArray huge = container([](TCustomDataFile& f) {
        f.WriteInteger(QStringLiteral("Doc/Pages"), QStringLiteral("Anzahl"), 2000000000);
    });
    TFBDocument doc;
    try {
        load(doc, huge);
        ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Invalid file format."));
    }

    // Every prefix of a sound file either loads or fails with a message.
    TFBDocument sample;
    SampleDocument::fill(sample, dir.path());
    const QByteArray full = saved(sample);
    int loaded = 0;
    for (qsizetype length = 0; length < full.size(); length += 97) {
        try {
            load(doc, full.left(length));
            ++loaded;
        } catch (const Exception& error) {
            EXPECT_FALSE(error.message().isEmpty());
        }
    }
    EXPECT_GT(loaded, 0);
    // A damaged marker in the middle is reported as such.
    QByteArray damaged = full;
    // The fourth item: three items of the int32 and float keys lie before it.
    damaged[20 + 172 + 176 + 176] = 7;
    EXPECT_THROW(load(doc, damaged), Exception);
    // The document is usable afterwards.
    load(doc, full);
    EXPECT_EQ(doc.Pages.Count(), 3);
}

TEST_F(DocumentFile, TransferFormCarriesTheElementWithoutItsDocumentPlace) {
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    const auto transfer = [](const TFBElement& element) {
        return container([&](TCustomDataFile& f) { element.SaveWithPicture(f, QStringLiteral("E")); });
    };
    // A text element carries its geometry, its page side and its text.
    const TFBTextElement* text = dynamic_cast<const TFBTextElement*>(doc.Pages.Items(1)->Sizeables.Items(0));
    const QByteArray textBytes = transfer(*text);
    QStringList names = itemNames(textBytes);
    EXPECT_EQ(names, (QStringList{"E|Classname", "E|CenterX", "E|CenterY", "E|Width", "E|Height", "E|Angle",
                                  "E|IsLeftPage", "E|RTF", "E|HasShadow", "E|HorzAlign", "E|VertAlign"}));
    {
        QByteArray copy = textBytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        TMemoryDataFile file(buffer);
        EXPECT_TRUE(
            file.ReadBool(QStringLiteral("E"), QStringLiteral("IsLeftPage"), false)); // page 1 in mode 1
        TFBTextElement pasted(doc.Pages.Items(0));
        pasted.LoadWithPicture(file, QStringLiteral("E"));
        expectSameElement(*text, pasted);
    }
    // A picture frame carries no geometry; the receiving frame keeps its place.
    const TFBPictureElement* frame = doc.Pages.Items(0)->Picture(0);
    names = itemNames(transfer(*frame));
    EXPECT_FALSE(names.contains(QStringLiteral("E|CenterX")));
    EXPECT_EQ(names.mid(0, 8), (QStringList{"E|Classname", "E|CanZoomAndTrack", "E|Zoom", "E|OffsetX",
                                            "E|OffsetY", "E|RefIndex", "E|BorderWidth", "E|BorderColor"}));
    // A calendar carries only its class name and its settings.
    names = itemNames(transfer(*doc.Pages.Items(0)->Calendar(0)));
    EXPECT_EQ(names.first(), QStringLiteral("E|Classname"));
    EXPECT_FALSE(names.contains(QStringLiteral("E|CenterX")));
}

TEST_F(DocumentFile, PagesAndElementsSaveAndLoadOnTheirOwn) {
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    const TFBPage* source = doc.Pages.Items(1);
    const QByteArray bytes =
        container([&](TCustomDataFile& f) { SavePage(*source, f, QStringLiteral("U")); });
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    TFBPage* target = doc.Pages.Items(2);
    LoadPage(*target, file, QStringLiteral("U"));
    EXPECT_EQ(target->Seitenausrichtung, source->Seitenausrichtung);
    ASSERT_EQ(target->Pictures.Count(), 1);
    ASSERT_EQ(target->Sizeables.Count(), 1);
    expectSameElement(*source->Sizeables.Items(0), *target->Sizeables.Items(0));

    EXPECT_EQ(ReadElement(file, QStringLiteral("U/Piclist/Pic7"), target), nullptr);
    std::unique_ptr<TFBElement> element = ReadElement(file, QStringLiteral("U/Elementlist/Element0"), target);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->Page, target);
    EXPECT_EQ(element->IndexInList(), -1); // not in any list yet
}

// The progress window lets the page view repaint while saving; drawing a picture moved it to the
// front of the store's list, so one picture was saved twice and another one lost.
TEST_F(DocumentFile, RepaintingDuringTheSaveLosesNoPicture) {
    TFBDocument doc;
    SampleDocument::fill(doc, dir.path());
    struct Painter : TInfoTarget {
        void SetStatusText(const QString&) override {}
        void ShowProgress(const QString&) override {
            // What a repaint does: use the least recently used picture.
            TBildmanager& store = TBildmanager::Instance();
            if (store.Count() > 0)
                store.GetBitmap(store.Item(store.Count() - 1).RefIndex);
        }
        void HideProgress() override {}
    } painter;
    QList<int> before;
    for (const auto& item : TBildmanager::Instance().Entries)
        before << item->RefIndex;
    InfoAusgabe().SetTarget(&painter);
    const QByteArray bytes = saved(doc);
    InfoAusgabe().SetTarget(nullptr);

    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TMemoryDataFile file(buffer);
    QList<int> stored;
    for (int k = 0; k < 3; ++k)
        stored << file.ReadInteger(QStringLiteral("BildManager/Bild%1").arg(k), QStringLiteral("RefIndex"),
                                   -1);
    EXPECT_EQ(stored, before);
}
