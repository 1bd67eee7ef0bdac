#include "catalogue/uDateiNeuWizzard.h"
#include "catalogue/uKalenderVorlagen.h"
#include "document/uFotobuchDocument.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

namespace {

using enum TFBLayoutTyp;

void expectFrame(const TFBElement* e, float cx, float cy, float w, float h) {
    ASSERT_NE(e, nullptr);
    EXPECT_NEAR(e->CenterX, cx, 1e-3);
    EXPECT_NEAR(e->CenterY, cy, 1e-3);
    EXPECT_NEAR(e->Width, w, 1e-3);
    EXPECT_NEAR(e->Height, h, 1e-3);
    EXPECT_EQ(e->Angle, 0);
}

void expectPadding(const TPaddingData& p, float left, float top, float right, float bottom) {
    EXPECT_FLOAT_EQ(p.Left, left);
    EXPECT_FLOAT_EQ(p.Top, top);
    EXPECT_FLOAT_EQ(p.Right, right);
    EXPECT_FLOAT_EQ(p.Bottom, bottom);
}

QString presetFontName() {
    return QFontDatabase::hasFamily(QStringLiteral("Trebuchet MS")) ? QStringLiteral("Trebuchet MS")
                                                                    : QStringLiteral("Arial");
}

const TKalenderData& calendarOf(const TFBDocument& doc, int page) {
    return *doc.Pages.Items(page)->Calendar(0)->Data;
}

} // namespace

TEST(ProductCatalogue, PhotoBookTraditionScalesFramesAndMirrorsLeftPages) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 31, 2030, 32));
    ASSERT_EQ(doc.Pages.Count(), 32);
    const float sx = 148.5f / 163.5f;
    EXPECT_EQ(doc.Dokumentname, "Photobook 8:5 - Tradition");
    EXPECT_EQ(doc.ScreenMode, 1);

    const TFBPage* first = doc.Pages.Items(0);
    ASSERT_EQ(first->Pictures.Count(), 1);
    expectFrame(first->Picture(0), (12.75f + 145.25f / 2) * sx, 105, 145.25f * sx, 197);
    for (int i = 1; i < 32; ++i) {
        SCOPED_TRACE(i);
        const TFBPage* page = doc.Pages.Items(i);
        ASSERT_EQ(page->Pictures.Count(), 2);
        const float left = i % 2 == 1 ? 5.5f * sx : 12.75f * sx;
        expectFrame(page->Picture(0), left + 145.25f * sx / 2, 6.5f + 96.5f / 2, 145.25f * sx, 96.5f);
        expectFrame(page->Picture(1), left + 145.25f * sx / 2, 107 + 96.5f / 2, 145.25f * sx, 96.5f);
        EXPECT_EQ(page->Picture(0)->RefIndex, -1);
    }
}

TEST(ProductCatalogue, OnePageBookGetsOnlyTheFirstLayout) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 42, 0, 1));
    ASSERT_EQ(doc.Pages.Count(), 1);
    ASSERT_EQ(doc.Pages.Items(0)->Pictures.Count(), 1); // HorizonR1
    expectFrame(doc.Pages.Items(0)->Picture(0), 72, 32.375f + 145.25f / 2, 144, 145.25f);
}

TEST(ProductCatalogue, WizardPageCounts) {
    EXPECT_EQ(WizardPageCount(1), 32);
    EXPECT_EQ(WizardPageCount(21), 50);
    EXPECT_EQ(WizardPageCount(81), 30);
    EXPECT_EQ(WizardPageCount(101), 30);
    EXPECT_EQ(WizardPageCount(104), 20);
    EXPECT_EQ(WizardPageCount(120), 40);
    EXPECT_EQ(WizardPageCount(131), 32);
    EXPECT_EQ(WizardPageCount(62), 13);
    EXPECT_EQ(WizardPageCount(5), 0);
    EXPECT_EQ(ProductCodes().size(), 36);
    EXPECT_TRUE(IsWizardProduct(44));
    EXPECT_FALSE(IsWizardProduct(22));
    EXPECT_FALSE(IsWizardProduct(3));

    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 104, 0));
    EXPECT_EQ(doc.Pages.Count(), 20);
}

TEST(ProductCatalogue, CalendarA4ForTheLastYear) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 61, 2500));
    ASSERT_EQ(doc.Pages.Count(), 13);
    EXPECT_EQ(doc.Dokumentname, "Kalender");
    EXPECT_EQ(doc.LayoutStil, 10);
    EXPECT_TRUE(doc.NurEinLayoutStil);
    EXPECT_TRUE(doc.IsCalendar());
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        const TFBPage* page = doc.Pages.Items(m - 1);
        ASSERT_EQ(page->Calendars.Count(), 1);
        expectFrame(page->Calendar(0), 105, 110, 160, 170);
        EXPECT_EQ(page->Calendar(0)->Data->Monat, m);
        EXPECT_EQ(page->Calendar(0)->Data->Jahr, 2500);
        EXPECT_EQ(page->Calendar(0)->Data->Typ, 0);
        ASSERT_EQ(page->Pictures.Count(), 1);
        expectFrame(page->Picture(0), 105, 253, 210, 88);
        EXPECT_EQ(page->CustomLayoutStil, 0);
    }
    const TFBPage* cover = doc.Pages.Items(12);
    EXPECT_EQ(cover->CustomLayoutStil, 14);
    EXPECT_EQ(cover->Calendars.Count(), 0);
    ASSERT_EQ(cover->Pictures.Count(), 1);
    expectFrame(cover->Picture(0), 105, 148.5f, 190, 277);

    const TKalenderData& d = calendarOf(doc, 0);
    EXPECT_FLOAT_EQ(d.MonatJahrSize, 15);
    EXPECT_EQ(d.MonatJahrFont.Name(), presetFontName());
    EXPECT_EQ(d.MonatJahrFont.Style(), fsItalic);
    EXPECT_EQ(d.MonatJahrFont.Color(), 0x333333);
    EXPECT_EQ(d.WochentagFont.Style(), fsBold);
    EXPECT_EQ(d.Font.Name(), presetFontName());
    EXPECT_EQ(d.Font.Style(), 0);
    expectPadding(d.WochentagRowSpacing, 1, 10, 1, 35);
    expectPadding(d.CellSpacing, 7, 7, 7, 7);
    expectPadding(d.CellPadding, 0, 0, 0, 7);
    expectPadding(d.RowSpacing, 0, 0, 0, 0);
    EXPECT_EQ(d.ColorZellen, 0xDDDDDD);
    EXPECT_EQ(d.FTextAlign, 9);
    // Fields the preset does not name keep their reset values.
    EXPECT_EQ(d.Color, NoColor);
    EXPECT_TRUE(d.ShowWochentage);
    EXPECT_FALSE(d.ShowMonatJahrOnBottom);
}

TEST(ProductCatalogue, CalendarYearsAreClamped) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 71, 3000));
    EXPECT_EQ(calendarOf(doc, 0).Jahr, 2500);
    ASSERT_TRUE(CreateProductDocument(doc, 71, 1066));
    EXPECT_EQ(calendarOf(doc, 11).Jahr, 1700);
    EXPECT_EQ(calendarOf(doc, 11).Monat, 12);
    // Calendars ignore the page count.
    ASSERT_TRUE(CreateProductDocument(doc, 73, 2031, 5));
    EXPECT_EQ(doc.Pages.Count(), 13);
}

TEST(ProductCatalogue, CalendarA6LayoutOneKeepsItsTypeThroughThePreset) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 141, 2031));
    const TKalenderData& d = calendarOf(doc, 4);
    EXPECT_EQ(d.Typ, 4);
    EXPECT_EQ(d.Monat, 5);
    EXPECT_FALSE(d.ShowWochentage);
    EXPECT_TRUE(d.ShowMonatJahrOnBottom);
    EXPECT_TRUE(d.MonatJahrZweizeilig);
    EXPECT_EQ(d.MonatJahrColorZeile, 0x606060);
    EXPECT_EQ(d.MonatJahrFont.Color(), 0xFFFFFF);
    EXPECT_FLOAT_EQ(d.MonatJahrSize, 14.3f);
    expectPadding(d.MonatJahrRowPadding, 0, 0, 4.9f, 0);
    expectPadding(d.MonatJahrRowSpacing, -349.6f, 0, 0, 0);
    expectPadding(d.RowPadding, 0, 4, 22, 4);
    EXPECT_EQ(d.Font.Style(), fsBold);
    EXPECT_EQ(d.Color, 0xCCCCCC);
    expectFrame(doc.Pages.Items(4)->Calendar(0), 90.3f, 93, 22.6f, 140);
    expectFrame(doc.Pages.Items(4)->Picture(0), 39.5f, 83, 79, 120);
    expectFrame(doc.Pages.Items(12)->Picture(0), 50.8f, 86.8f, 91.6f, 142.4f);
    EXPECT_EQ(doc.PrintSetting, 16);
}

TEST(ProductCatalogue, CalendarGeometryAndPresetsOfTheOtherLayouts) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 72, 2031));
    const TFBPage* page = doc.Pages.Items(0);
    ASSERT_EQ(page->Pictures.Count(), 7);
    expectFrame(page->Picture(6), 195, 133.5f, 30, 30);
    expectFrame(doc.Pages.Items(12)->Picture(0), 105, 74.25f, 190, 128.5f);
    EXPECT_EQ(calendarOf(doc, 0).WochentagFont.Color(), 0xFFFFFF);
    EXPECT_EQ(calendarOf(doc, 0).MonatJahrFont.Color(), 0); // italic, colour untouched
    EXPECT_EQ(calendarOf(doc, 0).WochentagColorZeile, 0x808080);

    ASSERT_TRUE(CreateProductDocument(doc, 144, 2031));
    page = doc.Pages.Items(0);
    ASSERT_EQ(page->Pictures.Count(), 3);
    expectFrame(page->Picture(2), 5 * 50.8f / 3, 143.5f, 101.6f / 3, 39);
    EXPECT_EQ(calendarOf(doc, 0).Typ, 0);
    expectPadding(calendarOf(doc, 0).WochentagRowSpacing, 5, 10, 5, 35);
    expectPadding(calendarOf(doc, 0).RowSpacing, 5, 0, 5, 0);
    EXPECT_EQ(doc.LayoutStil, 13);

    ASSERT_TRUE(CreateProductDocument(doc, 64, 2031));
    EXPECT_EQ(calendarOf(doc, 0).Typ, 2);
    EXPECT_FLOAT_EQ(calendarOf(doc, 0).MonatJahrSize, 6.7f);
    expectFrame(doc.Pages.Items(0)->Picture(0), 82, 148.5f, 164, 297);

    ASSERT_TRUE(CreateProductDocument(doc, 143, 2031));
    const TKalenderData& d = calendarOf(doc, 0);
    EXPECT_EQ(d.WochentagFont.Name(), presetFontName());
    EXPECT_EQ(d.WochentagFont.Style(), 0); // the style stays as the reset left it
    expectPadding(d.WochentagRowPadding, 6, 25, 6, 0);
    EXPECT_EQ(d.Color, 0xF0F0F0);

    ASSERT_TRUE(CreateProductDocument(doc, 63, 2031));
    EXPECT_EQ(calendarOf(doc, 0).Typ, 1);
    EXPECT_EQ(calendarOf(doc, 0).MonatJahrTextAlign, 6);
    EXPECT_FALSE(calendarOf(doc, 0).ShowWochentage);
}

TEST(ProductCatalogue, PresetsResetTheRestButKeepMonthYearAndType) {
    TKalenderData d;
    d.SetMonat(7);
    d.SetJahr(2040);
    d.Typ = 3;
    d.TextColorSonntag = 0x123456;
    d.ShowSondertage = true;
    ASSERT_TRUE(ApplyKalenderPreset(d, 62));
    EXPECT_EQ(d.Monat, 7);
    EXPECT_EQ(d.Jahr, 2040);
    EXPECT_EQ(d.Typ, 3);
    EXPECT_EQ(d.TextColorSonntag, 0x0000FF);
    EXPECT_TRUE(d.ShowMonatJahrOnBottom);
    EXPECT_EQ(d.ColorZeilen, 0xF0F0F0);
    EXPECT_FALSE(ApplyKalenderPreset(d, 31));
    EXPECT_EQ(d.ColorZeilen, 0xF0F0F0);
}

TEST(ProductCatalogue, FontsFallBackToArial) {
    TFont font(QStringLiteral("Courier"), 12, fsBold);
    SetFontIfInstalled(font, QStringLiteral("Keine Schrift dieses Namens"));
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Style(), fsBold);
    const QString installed = QFontDatabase::families().value(0);
    ASSERT_FALSE(installed.isEmpty());
    SetFontIfInstalled(font, installed);
    EXPECT_EQ(font.Name(), installed);
}

TEST(ProductCatalogue, ProductsWithFramesOfTheirOwn) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 11, 0));
    EXPECT_FLOAT_EQ(doc.ScreenQuerformatWinkel, -90);
    EXPECT_EQ(doc.Pages.Items(3)->Seitenausrichtung, 1);
    expectFrame(doc.Pages.Items(3)->Picture(0), 50.8f, 86.8f, 101.6f, 152.4f);

    ASSERT_TRUE(CreateProductDocument(doc, 22, 0, 2));
    EXPECT_EQ(doc.Dokumentname, "13x18 Singles");
    EXPECT_EQ(doc.PrintPaperName, "13x18 cm");
    EXPECT_EQ(doc.PrintPaperSize, -2);
    EXPECT_FLOAT_EQ(doc.ScreenQuerformatWinkel, 90);
    EXPECT_EQ(doc.Pages.Items(1)->Seitenausrichtung, 1);
    expectFrame(doc.Pages.Items(1)->Picture(0), 65, 90, 130, 180);

    ASSERT_TRUE(CreateProductDocument(doc, 103, 0, 2));
    ASSERT_EQ(doc.Pages.Items(1)->Pictures.Count(), 4);
    expectFrame(doc.Pages.Items(1)->Picture(3), 155, 217, 92, 132);
    EXPECT_TRUE(doc.Layouttypen.IsEmpty());
    EXPECT_EQ(doc.Pages.Items(1)->Seitenausrichtung, 0);

    ASSERT_TRUE(CreateProductDocument(doc, 102, 0, 1));
    expectFrame(doc.Pages.Items(0)->Picture(1), 105, 222.75f, 152, 102);

    ASSERT_TRUE(CreateProductDocument(doc, 81, 0, 3));
    expectFrame(doc.Pages.Items(2)->Picture(0), 105, 148.5f, 190, 277);
    EXPECT_TRUE(doc.PicturesHaveShadows);
    EXPECT_EQ(doc.Dokumentname, "DIN A4");
}

TEST(ProductCatalogue, ProductsThatApplyOneLayoutToEveryPage) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 121, 0, 4));
    EXPECT_EQ(doc.PrintPaperName, "DIN A3");
    EXPECT_EQ(doc.PrintPaperSize, 8);
    EXPECT_EQ(doc.PrintSetting, 14);
    for (int i = 0; i < 4; ++i)
        expectFrame(doc.Pages.Items(i)->Picture(0), 105, 105, 210, 210);

    ASSERT_TRUE(CreateProductDocument(doc, 2, 0, 3));
    EXPECT_TRUE(doc.PicturesHaveShadows);
    EXPECT_TRUE(doc.PictureShadowsAllowed);
    for (int i = 0; i < 3; ++i)
        expectFrame(doc.Pages.Items(i)->Picture(0), 38.1f, 50.8f, 66.2f, 91.6f);

    // Test layout 1 is drawn for the page size itself; left pages mirror its margins.
    ASSERT_TRUE(CreateProductDocument(doc, 130, 0, 2));
    EXPECT_EQ(doc.Layouttypen, TFBLayoutTypen::All());
    expectFrame(doc.Pages.Items(0)->Picture(0), 14 + 133.5f / 2, 57, 133.5f, 100);
    expectFrame(doc.Pages.Items(1)->Picture(0), 4.9f + 133.5f / 2, 57, 133.5f, 100);
}

TEST(ProductCatalogue, LegalBooksKeepTheNameTheyHad) {
    TFBDocument doc;
    doc.Dokumentname = QStringLiteral("Altes Album");
    ASSERT_TRUE(CreateProductDocument(doc, 52, 0, 4));
    EXPECT_EQ(doc.Dokumentname, "Altes Album");
    EXPECT_EQ(doc.PrintPaperName, "ID_Legal");
    EXPECT_FLOAT_EQ(doc.PrintPaperHeight, 325);
    EXPECT_EQ(doc.Layouttypen, TFBLayoutTypen::FromBits(1));
    // Horizon layouts drawn for 163.5 mm on a 162.5 mm page.
    expectFrame(doc.Pages.Items(0)->Picture(0), (12.75f + 145.25f / 2) * 162.5f / 163.5f, 105,
                145.25f * 162.5f / 163.5f, 145.25f);
}

TEST(ProductCatalogue, UnknownCodesLeaveTheDocumentAlone) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 33, 0, 3));
    doc.Dokumentname = QStringLiteral("Mein Buch");
    for (const int code : {0, -1, 3, 45, 54, 60, 65, 74, 100, 105, 122, 140, 145, 1000}) {
        EXPECT_FALSE(CreateProductDocument(doc, code, 2030)) << code;
        EXPECT_FALSE(IsProductCode(code));
    }
    EXPECT_EQ(doc.Pages.Count(), 3);
    EXPECT_EQ(doc.Dokumentname, "Mein Buch");
    EXPECT_EQ(doc.LayoutStil, 3);
}

TEST(ProductCatalogue, EmptyDocumentIsOneBorderlessA4Page) {
    TFBDocument doc;
    ASSERT_TRUE(CreateProductDocument(doc, 61, 2030));
    doc.Dokumentname = QStringLiteral("Kalender");
    ResetToEmptyDocument(doc);
    ASSERT_EQ(doc.Pages.Count(), 1);
    ASSERT_EQ(doc.Pages.Items(0)->Pictures.Count(), 1);
    EXPECT_EQ(doc.Pages.Items(0)->Calendars.Count(), 0);
    expectFrame(doc.Pages.Items(0)->Picture(0), 105, 148.5f, 210, 297);
    EXPECT_TRUE(doc.PrintBorderless);
    EXPECT_EQ(doc.PrintSetting, 10);
    EXPECT_TRUE(doc.Dokumentname.isEmpty());
    EXPECT_EQ(doc.Layouttypen, TFBLayoutTypen::FromBits(0x100));
    EXPECT_FALSE(doc.PicturesHaveShadows);
    EXPECT_FALSE(doc.NurEinLayoutStil);
    EXPECT_EQ(doc.LayoutStil, 0);
}

TEST(ProductCatalogue, FillColourListEndsWithTheOwnColour) {
    TFBColorObjectList list;
    list.Add(std::make_unique<TFBColor>(QStringLiteral("alt"), 5));
    FillColorList(list);
    ASSERT_EQ(list.Count(), 14);
    EXPECT_EQ(list.Items(0)->Name, "hellgrau");
    EXPECT_EQ(list.Items(0)->Color, 0xE9E9E9);
    EXPECT_EQ(list.Items(4)->Name, "hellgelb");
    EXPECT_EQ(list.Items(4)->Color, 0xB8F0FF); // RGB(255, 240, 184)
    EXPECT_EQ(list.Items(12)->Name, "grün");
    EXPECT_EQ(list.Items(13)->Name, "Eigene Farbe");
    EXPECT_EQ(list.Items(13)->Color, -1);
    FillColorList(list);
    EXPECT_EQ(list.Count(), 14);
}

TEST(ProductCatalogue, PrintSettingNames) {
    EXPECT_EQ(PrintSettingName(1), "PocketBooklet");
    EXPECT_EQ(PrintSettingName(6), "PhotoBook85Normal");
    EXPECT_EQ(PrintSettingName(12), "Photobinding10x15");
    EXPECT_EQ(PrintSettingName(17), "KalenderA6");
    EXPECT_EQ(PrintSettingName(0), "");
    EXPECT_EQ(PrintSettingName(18), "");
}
