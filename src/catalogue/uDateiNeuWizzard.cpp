#include "catalogue/uDateiNeuWizzard.h"

#include "calendar/uKalender.h"
#include "catalogue/uFotobuchPageTemplate.h"
#include "catalogue/uKalenderVorlagen.h"
#include "document/uFotobuchDocument.h"
#include "i18n/ulocalize.h"
#include "platform/SoftAssert.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

using enum TFBLayoutTyp;

// What a product sets in the document besides its pages.
struct TProduct {
    int Code;
    bool Wizard;      // offered by the new-project wizard
    const char* Name; // Dokumentname; nullptr leaves the name as it was
    bool Translated;  // the name is looked up in the language tables
    float PageWidth, PageHeight;
    const char* PaperName;
    int PaperSize;
    float PaperWidth, PaperHeight;
    uint8_t PrintSetting;
    bool Borderless;
    uint8_t DocType;
    uint8_t ScreenMode;
    bool Shadows;
    uint32_t LayoutTypen; // bits of TFBLayoutTyp
    const char* SubTyp;
    uint8_t Stil;
    bool NurEinLayoutStil;
    int Pages; // page count the wizard passes; 13 = twelve months and the cover
};

constexpr uint32_t bit(TFBLayoutTyp t) {
    return 1u << static_cast<unsigned>(t);
}
constexpr uint32_t kAllTypes = (1u << kLayoutTypCount) - 1;

// Paper of the 10 x 15 products, of A4 sheets and the photo book in Legal and A3.
#define PAPER_10X15 "ID_10x15", -1, 101.6f, 152.4f
#define PAPER_A4 "ID_DINA4", 9, 210, 297

// One row per product, in the order of the codes.
// clang-format off
constexpr TProduct kProducts[] = {
    {1, true, "PocketBooklet", true, 76.2f, 101.6f, PAPER_10X15, 1, true, 1, 1, false, bit(ltPhotoBooklet43), "", 0, false, 32},
    {2, true, "PocketBooklet", true, 76.2f, 101.6f, PAPER_10X15, 1, true, 1, 1, true, bit(ltPhotoBooklet43), "", 0, false, 32},
    {11, true, "Photobook 4:6", true, 101.6f, 163, PAPER_10X15, 4, true, 0, 0, false, bit(ltPhotoBook46), "", 0, false, 32},
    {21, true, "10x15 Singles", true, 101.6f, 152.4f, PAPER_10X15, 3, true, 0, 0, false, bit(ltSingles10x15), "", 0, false, 50},
    {22, false, "13x18 Singles", true, 130, 180, "13x18 cm", -2, 130, 180, 11, true, 0, 0, false, bit(ltSingles13x18), "", 0, false, 50},
    {31, true, "Photobook 8:5 - Tradition", true, 148.5f, 210, PAPER_A4, 6, false, 1, 1, true, bit(ltPhotoBook85), "Tradition", 1, false, 32},
    {32, true, "Photobook 8:5 - Horizon", true, 148.5f, 210, PAPER_A4, 6, false, 1, 1, true, bit(ltPhotoBook85), "Horizon", 2, false, 32},
    {33, true, "Photobook 8:5 - Verticon", true, 148.5f, 210, PAPER_A4, 6, false, 1, 1, true, bit(ltPhotoBook85), "Verticon", 3, false, 32},
    {41, true, "Photobook 8:5 - Tradition", true, 148.5f, 210, PAPER_A4, 5, true, 1, 1, false, bit(ltPhotoBook85Randlos), "Tradition", 5, false, 32},
    {42, true, "Photobook 8:5 - Horizon", true, 148.5f, 210, PAPER_A4, 5, true, 1, 1, false, bit(ltPhotoBook85Randlos), "Horizon", 6, false, 32},
    {43, true, "Photobook 8:5 - Verticon", true, 148.5f, 210, PAPER_A4, 5, true, 1, 1, false, bit(ltPhotoBook85Randlos), "Verticon", 7, false, 32},
    {44, true, "Photobook 8:5 - Vollfläche", true, 148.5f, 210, PAPER_A4, 5, true, 1, 1, false, bit(ltPhotoBook85Randlos), "Fullpage", 4, false, 32},
    {51, false, nullptr, false, 162.5f, 210, "ID_Legal", 5, 210, 325, 2, false, 1, 1, true, bit(ltPhotoBook86), "Tradition", 1, false, 32},
    {52, false, nullptr, false, 162.5f, 210, "ID_Legal", 5, 210, 325, 2, false, 1, 1, true, bit(ltPhotoBook86), "Horizon", 2, false, 32},
    {53, false, nullptr, false, 162.5f, 210, "ID_Legal", 5, 210, 325, 2, false, 1, 1, true, bit(ltPhotoBook86), "Verticon", 3, false, 32},
    {61, true, "Kalender", true, 210, 297, PAPER_A4, 7, true, 0, 0, false, bit(ltKalenderA4), "", 10, true, 13},
    {62, true, "Kalender", true, 210, 297, PAPER_A4, 7, true, 0, 0, false, bit(ltKalenderA4), "", 11, true, 13},
    {63, true, "Kalender", true, 210, 297, PAPER_A4, 7, true, 0, 0, false, bit(ltKalenderA4), "", 12, true, 13},
    {64, true, "Kalender", true, 210, 297, PAPER_A4, 7, true, 0, 0, false, bit(ltKalenderA4), "", 13, true, 13},
    {71, true, "Kalender", true, 210, 148.5f, PAPER_A4, 8, true, 0, 0, false, bit(ltKalenderA5), "", 10, true, 13},
    {72, true, "Kalender", true, 210, 148.5f, PAPER_A4, 8, true, 0, 0, false, bit(ltKalenderA5), "", 11, true, 13},
    {73, true, "Kalender", true, 210, 148.5f, PAPER_A4, 8, true, 0, 0, false, bit(ltKalenderA5), "", 12, true, 13},
    {81, false, "DIN A4", false, 210, 297, PAPER_A4, 9, false, 0, 0, true, bit(ltDINA4), "", 0, false, 30},
    {82, false, "DIN A4 Randlos", false, 210, 297, PAPER_A4, 10, true, 0, 0, false, bit(ltDINA4Randlos), "", 0, false, 30},
    {101, false, "Photobuch 10x15", false, 101.6f, 152.4f, PAPER_10X15, 12, true, 0, 0, false, bit(ltSingles10x15), "", 0, false, 30},
    {102, false, "3C 10x15", false, 210, 297, PAPER_A4, 9, false, 0, 0, false, 0, "", 0, false, 20},
    {103, false, "3C 9x13", false, 210, 297, PAPER_A4, 9, false, 0, 0, false, 0, "", 0, false, 20},
    {104, false, "Varenko Flaschenetikett", false, 210, 297, PAPER_A4, 9, false, 0, 0, false, 0, "", 0, false, 20},
    {120, false, "Photobook Pro", false, 210, 210, "DIN A3", 8, 297, 420, 13, false, 1, 1, true, bit(ltPhotoBookPro), "Horizon", 2, false, 40},
    {121, false, "Photobook Pro", false, 210, 210, "DIN A3", 8, 297, 420, 14, true, 1, 1, false, bit(ltPhotoBookProRandlos), "Horizon", 2, false, 40},
    {130, false, "6\"x4,5\" (152.4 x 114.3 mm)", false, 152.4f, 114.3f, "DIN A4", 9, 210, 297, 15, false, 1, 1, true, kAllTypes, "", 0, false, 32},
    {131, false, "5,8\"x4,5\" (152.4 x 114.3 mm)", false, 148.5f, 114.3f, "DIN A4", 9, 210, 297, 15, false, 1, 1, true, kAllTypes, "", 0, false, 32},
    {141, true, "Kalender", true, 101.6f, 163, PAPER_10X15, 16, true, 0, 0, false, bit(ltKalenderA6), "", 10, true, 13},
    {142, true, "Kalender", true, 101.6f, 163, PAPER_10X15, 16, true, 0, 0, false, bit(ltKalenderA6), "", 11, true, 13},
    {143, true, "Kalender", true, 101.6f, 163, PAPER_10X15, 16, true, 0, 0, false, bit(ltKalenderA6), "", 12, true, 13},
    {144, true, "Kalender", true, 101.6f, 163, PAPER_10X15, 16, true, 0, 0, false, bit(ltKalenderA6), "", 13, true, 13},
};
// clang-format on

#undef PAPER_10X15
#undef PAPER_A4

// The row of a table keyed by product code, or nullptr.
template <typename Row, std::size_t N>
const Row* findByCode(const Row (&rows)[N], int code) {
    for (const Row& row : rows)
        if (row.Code == code)
            return &row;
    return nullptr;
}

const TProduct* findProduct(int code) {
    return findByCode(kProducts, code);
}

// A rectangle given by its centre and size.
struct TCentredRect {
    float CenterX, CenterY, Width, Height;
};

TFBPictureElement* addFrame(TFBPage& page, const TCentredRect& r) {
    auto frame = std::make_unique<TFBPictureElement>(&page);
    frame->CenterX = r.CenterX;
    frame->CenterY = r.CenterY;
    frame->Width = r.Width;
    frame->Height = r.Height;
    return static_cast<TFBPictureElement*>(page.Pictures.Add(std::move(frame)));
}

void applyLayout(TFBPage& page, const char* id) {
    // A layout the catalogue does not hold leaves the page without frames.
    if (const TFBPageTemplate* layout = FindPageTemplate(QString::fromLatin1(id)))
        layout->ApplyToPage(page);
}

void setProductFields(TFBDocument& document, const TProduct& p) {
    if (p.Name) {
        const QString name = QString::fromUtf8(p.Name);
        document.Dokumentname = p.Translated ? Translate(name) : name;
    }
    document.PageWidth = p.PageWidth;
    document.PageHeight = p.PageHeight;
    document.PrintPaperName = QString::fromLatin1(p.PaperName);
    document.PrintPaperSize = p.PaperSize;
    document.PrintPaperWidth = p.PaperWidth;
    document.PrintPaperHeight = p.PaperHeight;
    document.PrintSetting = p.PrintSetting;
    document.PrintBorderless = p.Borderless;
    document.DocType = p.DocType;
    document.ScreenMode = p.ScreenMode;
    document.SetShadows(p.Shadows);
    document.Layouttypen = TFBLayoutTypen::FromBits(p.LayoutTypen);
    document.LayoutSubTyp = QString::fromLatin1(p.SubTyp);
    document.LayoutStil = p.Stil;
    document.NurEinLayoutStil = p.NurEinLayoutStil;
    if (p.Code == 11)
        document.ScreenQuerformatWinkel = -90;
}

TFBPage* appendPage(TFBDocument& document) {
    return document.Pages.Add(std::make_unique<TFBPage>(&document));
}

// The layouts of the first page and of all others of the photo books.
struct TBookLayouts {
    int Code;
    const char* First;
    const char* Others;
};

constexpr TBookLayouts kBookLayouts[] = {
    {2, "BorderBooklet1", "BorderBooklet1"},
    {31, "Tradition2", "Tradition1"},
    {32, "Horizon1", "Horizon2"},
    {33, "Verticon1", "Verticon2"},
    {41, "TraditionR2", "TraditionR1"},
    {42, "HorizonR1", "HorizonR2"},
    {43, "VerticonR1", "VerticonR2"},
    {44, "FullSize1", "FullSize3"},
    {51, "Tradition2", "Tradition1"},
    {52, "Horizon1", "Horizon2"},
    {53, "Verticon1", "Verticon2"},
    {120, "ProBorderLayout1", "ProBorderLayout1"},
    {121, "ProFullLayout1", "ProFullLayout1"},
    {130, "TestLayout1", "TestLayout1"},
    {131, "TestLayout2", "TestLayout2"},
};

// The frames each page of the products without layouts gets; empty when the product uses layouts.
std::vector<TCentredRect> directFrames(const TProduct& p) {
    const TCentredRect wholePage{p.PageWidth / 2, p.PageHeight / 2, p.PageWidth, p.PageHeight};
    switch (p.Code) {
    case 1:
    case 21:
    case 22:
    case 82:
    case 101:
        return {wholePage};
    case 11:
        return {{50.8f, 86.8f, 101.6f, 152.4f}};
    case 81:
        return {{105, 148.5f, 190, 277}};
    case 102:
        return {{105, 74.25f, 152, 102}, {105, 222.75f, 152, 102}};
    case 103:
        return {{55, 80, 92, 132}, {155, 80, 92, 132}, {55, 217, 92, 132}, {155, 217, 92, 132}};
    case 104:
        return {{55, 80, 82, 122}, {155, 80, 82, 122}, {55, 217, 82, 122}, {155, 217, 82, 122}};
    default:
        return {};
    }
}

void buildPages(TFBDocument& document, const TProduct& p, int pageCount) {
    // Prints and the photo book 4:6 are shown in landscape.
    const bool landscape = p.Code == 11 || p.Code == 21 || p.Code == 22 || p.Code == 101;
    const std::vector<TCentredRect> frames = directFrames(p);
    for (int i = 0; i < pageCount; ++i) {
        TFBPage* page = appendPage(document);
        if (landscape)
            page->Seitenausrichtung = 1;
        for (const TCentredRect& r : frames)
            addFrame(*page, r);
    }
    if (const TBookLayouts* layouts = findByCode(kBookLayouts, p.Code)) {
        applyLayout(*document.Pages.Items(0), layouts->First);
        for (int i = 1; i < document.Pages.Count(); ++i)
            applyLayout(*document.Pages.Items(i), layouts->Others);
    }
}

// Where the calendar and the picture frames of a month page sit, and the cover frame.
struct TCalendarGeometry {
    int Code;
    TCentredRect Calendar;
    uint8_t Typ;
    TCentredRect Cover;
};

constexpr TCentredRect kCoverA4{105, 148.5f, 190, 277};
constexpr TCentredRect kCoverA5{105, 74.25f, 190, 128.5f};
constexpr TCentredRect kCoverA6{50.8f, 86.8f, 91.6f, 142.4f};

constexpr TCalendarGeometry kCalendars[] = {
    {61, {105, 110, 160, 170}, 0, kCoverA4},      {62, {105, 245, 188, 70}, 0, kCoverA4},
    {63, {105, 282, 194, 20}, 1, kCoverA4},       {64, {187, 148.5f, 46, 297}, 2, kCoverA4},
    {71, {169, 76, 60, 123}, 0, kCoverA5},        {72, {105, 60, 210, 105}, 0, kCoverA5},
    {73, {105, 133, 190, 20}, 1, kCoverA5},       {141, {90.3f, 93, 22.6f, 140}, 4, kCoverA6},
    {142, {50.8f, 142, 91.6f, 32}, 3, kCoverA6},  {143, {50.8f, 125.5f, 101.6f, 75}, 0, kCoverA6},
    {144, {50.8f, 65, 101.6f, 108}, 0, kCoverA6},
};

bool isCalendar(int code) {
    return findByCode(kCalendars, code) != nullptr;
}

// n frames of one size side by side across the width of the page, centred at y.
std::vector<TCentredRect> frameRow(int n, float pageWidth, float y, float height) {
    const float count = static_cast<float>(n);
    std::vector<TCentredRect> frames;
    for (int i = 0; i < n; ++i)
        frames.push_back(
            {(2 * static_cast<float>(i) + 1) * (pageWidth / 2) / count, y, pageWidth / count, height});
    return frames;
}

std::vector<TCentredRect> monthFrames(int code) {
    switch (code) {
    case 61:
        return {{105, 253, 210, 88}};
    case 62:
        return {{105, 113, 188, 186}};
    case 63:
        return {{105, 131.5f, 210, 263}};
    case 64:
        return {{82, 148.5f, 164, 297}};
    case 71:
        return {{72, 76, 123, 123}};
    case 72:
        return frameRow(7, 210, 133.5f, 30);
    case 73:
        return {{105, 68, 210, 98}};
    case 141:
        return {{39.5f, 83, 79, 120}};
    case 142:
        return {{50.8f, 71, 91.6f, 110}};
    case 143:
        return {{50.8f, 50.5f, 101.6f, 75}};
    case 144:
        return frameRow(3, 101.6f, 143.5f, 39);
    default:
        return {};
    }
}

void buildCalendarPages(TFBDocument& document, int code, int year) {
    const TCalendarGeometry* geometry = findByCode(kCalendars, code);
    TT_ASSERT(geometry, return );
    const std::vector<TCentredRect> frames = monthFrames(code);

    for (int month = 1; month <= 12; ++month) {
        TFBPage* page = appendPage(document);
        auto calendar = std::make_unique<TFBKalenderElement>(page);
        calendar->CenterX = geometry->Calendar.CenterX;
        calendar->CenterY = geometry->Calendar.CenterY;
        calendar->Width = geometry->Calendar.Width;
        calendar->Height = geometry->Calendar.Height;
        TKalenderData& data = *calendar->Data;
        data.SetMonat(month);
        data.SetJahr(year);
        // The preset's reset keeps the type.
        data.Typ = geometry->Typ;
        ApplyKalenderPreset(data, code);
        page->Calendars.Add(std::move(calendar));
        for (const TCentredRect& r : frames)
            addFrame(*page, r);
    }
    TFBPage* cover = appendPage(document);
    cover->CustomLayoutStil = 14;
    addFrame(*cover, geometry->Cover);
}

} // namespace

// ---------------------------------------------------------------------------------------------

QList<int> ProductCodes() {
    QList<int> codes;
    for (const TProduct& p : kProducts)
        codes.append(p.Code);
    return codes;
}

bool IsProductCode(int productCode) {
    return findProduct(productCode) != nullptr;
}

bool IsWizardProduct(int productCode) {
    const TProduct* p = findProduct(productCode);
    return p && p->Wizard;
}

int WizardPageCount(int productCode) {
    const TProduct* p = findProduct(productCode);
    return p ? p->Pages : 0;
}

bool CreateProductDocument(TFBDocument& document, int productCode, int year) {
    return CreateProductDocument(document, productCode, year, WizardPageCount(productCode));
}

bool CreateProductDocument(TFBDocument& document, int productCode, int year, int pageCount) {
    const TProduct* product = findProduct(productCode);
    if (!product)
        return false;
    TT_ASSERT(pageCount >= 1, pageCount = 1);

    document.Reset();
    setProductFields(document, *product);
    if (isCalendar(productCode))
        buildCalendarPages(document, productCode, year);
    else
        buildPages(document, *product, pageCount);
    return true;
}

void ResetToEmptyDocument(TFBDocument& document) {
    CreateProductDocument(document, 82, 0, 1);
    document.Dokumentname.clear();
}

namespace {

struct TNamedColor {
    const char* Name;
    int R, G, B;
};

constexpr TNamedColor kFillColors[] = {
    {"hellgrau", 233, 233, 233}, {"grau", 177, 177, 177},     {"dunkelgrau", 93, 93, 93},
    {"schwarz", 0, 0, 0},        {"hellgelb", 255, 240, 184}, {"gelb", 255, 231, 121},
    {"orange", 255, 190, 104},   {"rosa", 255, 199, 203},     {"lila", 231, 201, 255},
    {"blau", 208, 220, 255},     {"hellblau", 231, 251, 255}, {"hellgrün", 231, 244, 216},
    {"grün", 231, 244, 153},
};
constexpr const char* kOwnColor = "Eigene Farbe";

} // namespace

void FillColorList(TFBColorObjectList& list) {
    list.Clear();
    for (const TNamedColor& c : kFillColors) {
        const int32_t color = c.R | (c.G << 8) | (c.B << 16);
        list.Add(std::make_unique<TFBColor>(Translate(QString::fromUtf8(c.Name)), color));
    }
    list.Add(std::make_unique<TFBColor>(Translate(QString::fromUtf8(kOwnColor)), -1));
}

QString PrintSettingName(int printSetting) {
    static const char* const names[] = {"PocketBooklet",
                                        "PhotoBook86",
                                        "10x15",
                                        "PhotoBook46",
                                        "PhotoBook85Randlos",
                                        "PhotoBook85Normal",
                                        "KalenderA4Randlos",
                                        "KalenderA5Randlos",
                                        "DINA4",
                                        "DINA4Randlos",
                                        "13x18",
                                        "Photobinding10x15",
                                        "PhotobookPro",
                                        "PhotobookProRandlos",
                                        "PhotoBook46Beidseitig",
                                        "KalenderA6Randlos",
                                        "KalenderA6"};
    if (printSetting < 1 || printSetting > static_cast<int>(std::size(names)))
        return QString();
    return QString::fromLatin1(names[printSetting - 1]);
}

void RegisterCatalogueTexts() {
    for (const char* text :
         {"PocketBooklet", "Photobook 8:6 - Tradition", "Photobook 8:6 - Horizon", "Photobook 8:6 - Verticon",
          "Photobook 8:8 - Tradition", "10x15 Singles", "Photobook 4:6", "Photobook 8:5",
          "Photobook 8:5 - Tradition", "Photobook 8:5 - Horizon", "Photobook 8:5 - Verticon",
          "Photobook 8:5 - Standard", "Photobook 8:5 - Vollfläche", "10x15 cm (4x6 Zoll)", "Legal", "DIN A4"})
        RegisterText(QString::fromUtf8(text));
    for (const TNamedColor& c : kFillColors)
        RegisterText(QString::fromUtf8(c.Name));
    RegisterText(QString::fromUtf8(kOwnColor));
}

void InitProductCatalogue() {
    RegisterCatalogueTexts();
    LayoutCatalogue();
}
