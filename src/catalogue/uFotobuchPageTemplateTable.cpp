// The built-in page layouts, in the order the layout list shows them. Frames are given as left,
// top, width and height in millimetres of the layout's own page size, unless centred.
#include "catalogue/uFotobuchPageTemplate.h"

#include <initializer_list>

namespace {

using enum TFBLayoutTyp;

struct TFrameRect {
    float Left, Top, Width, Height;
};

class TCatalogueBuilder {
public:
    explicit TCatalogueBuilder(TFBPageTemplateList& list) : list_(list) {}

    // Appends a layout with its frames.
    TFBPageTemplate& add(const char* id, const char* name, uint8_t style,
                         std::initializer_list<TFBLayoutTyp> types, bool panorama, float width, float height,
                         std::initializer_list<TFrameRect> frames = {}) {
        auto t = std::make_unique<TFBPageTemplate>();
        t->ID = QString::fromLatin1(id);
        t->Name = QString::fromLatin1(name);
        t->Stil = style;
        for (const TFBLayoutTyp type : types)
            t->LayoutTypen.Include(type);
        t->Panorama = panorama;
        t->Width = width;
        t->Height = height;
        for (const TFrameRect& f : frames)
            t->AddFrame(f.Left, f.Top, f.Width, f.Height);
        return *list_.Add(std::move(t));
    }

    // The same layout with n frames of one size side by side in a row, starting at the left edge.
    TFBPageTemplate& addRow(const char* id, const char* name, uint8_t style, TFBLayoutTyp type, float width,
                            float height, int n, float frameWidth, float frameHeight, float top) {
        TFBPageTemplate& t = add(id, name, style, {type}, false, width, height);
        for (int i = 0; i < n; ++i)
            t.AddFrame(frameWidth * static_cast<float>(i), top, frameWidth, frameHeight);
        return t;
    }

private:
    TFBPageTemplateList& list_;
};

void addBooklets(TCatalogueBuilder& b) {
    b.add("FullsizeBooklet1", "Fullsize Single", 4, {ltPhotoBooklet43}, false, 76.2f, 101.6f,
          {{0, 0, 76.2f, 101.6f}});
    b.add("FullsizeBooklet2", "Fullsize Panorama", 4, {ltPhotoBooklet43}, true, 76.2f, 101.6f,
          {{0, 0, 76.2f, 101.6f}});
    b.add("BorderBooklet1", "Border Single", 1, {ltPhotoBooklet43}, false, 76.2f, 101.6f,
          {{5, 5, 66.2f, 91.6f}});
    b.add("BorderBooklet2", "Border Panorama", 1, {ltPhotoBooklet43}, true, 76.2f, 101.6f,
          {{0, 5, 71.2f, 91.6f}});
}

// Books 8:6 and 8:5 with borders: drawn for 163.5 x 210.
void addBorderBooks(TCatalogueBuilder& b) {
    const float w = 163.5f, h = 210;
    const auto types = {ltPhotoBook86, ltPhotoBook85};
    b.add("Tradition1", "Tradition A", 1, types, false, w, h,
          {{12.75f, 6.5f, 145.25f, 96.5f}, {12.75f, 107, 145.25f, 96.5f}});
    b.add("Tradition2", "Tradition B", 1, types, false, w, h, {{12.75f, 6.5f, 145.25f, 197}});
    b.add("Tradition3", "Tradition C", 1, types, false, w, h,
          {{12.75f, 6.5f, 69.5f, 96.5f}, {88.5f, 6.5f, 69.5f, 96.5f}, {12.75f, 107, 145.25f, 96.5f}});
    b.add("Tradition4", "Tradition D", 1, types, false, w, h,
          {{12.75f, 6.5f, 69.5f, 96.5f},
           {88.5f, 6.5f, 69.5f, 96.5f},
           {12.75f, 107, 69.5f, 96.5f},
           {88.5f, 107, 69.5f, 96.5f}});
    b.add("Tradition5", "Tradition Panorama", 1, types, true, w, h, {{5.5f, 6.5f, 152.5f, 197}});

    b.add("Horizon2", "Horizon A", 2, types, false, w, h,
          {{12.75f, 32.375f, 145.25f, 70.625f}, {12.75f, 107, 145.25f, 70.625f}});
    b.add("Horizon1", "Horizon B", 2, types, false, w, h, {{12.75f, 32.375f, 145.25f, 145.25f}});
    b.add("Horizon3", "Horizon C", 2, types, false, w, h,
          {{12.75f, 32.375f, 69.5f, 70.625f},
           {88.5f, 32.375f, 69.5f, 70.625f},
           {12.75f, 107, 145.25f, 70.625f}});
    b.add(
        "Horizon4", "Horizon D", 2, types, false, w, h,
        {{12.75f, 32.375f, 69.5f, 145.25f}, {88.5f, 32.375f, 69.5f, 70.625f}, {88.5f, 107, 69.5f, 70.625f}});
    b.add("Horizon5", "Horizon E", 2, types, false, w, h,
          {{12.75f, 32.375f, 69.5f, 70.625f},
           {88.5f, 32.375f, 69.5f, 70.625f},
           {12.75f, 107, 69.5f, 70.625f},
           {88.5f, 107, 69.5f, 70.625f}});
    b.add("Horizon6", "Horizon Panorama", 2, types, true, w, h, {{12.75f, 32.375f, 145.25f, 145.25f}});

    b.add("Verticon2", "Verticon A", 3, types, false, w, h,
          {{12.75f, 6.5f, 112.75f, 96.5f}, {12.75f, 107, 112.75f, 96.5f}});
    b.add("Verticon1", "Verticon B", 3, types, false, w, h, {{12.75f, 6.5f, 112.75f, 197}});
    b.add("Verticon4", "Verticon C", 3, types, false, w, h,
          {{12.75f, 6.5f, 112.75f, 63}, {12.75f, 73.5f, 112.75f, 130}});
    b.add("Verticon3", "Verticon D", 3, types, false, w, h,
          {{12.75f, 6.5f, 112.75f, 63}, {12.75f, 73.5f, 112.75f, 63}, {12.75f, 140.5f, 112.75f, 63}});
    b.add("Verticon5", "Verticon Panorama", 3, types, true, w, h, {{12.75f, 6.5f, 112.75f, 197}});
}

// Book 8:5 borderless: drawn for 148.5 x 210.
void addBorderlessBooks(TCatalogueBuilder& b) {
    const float w = 148.5f, h = 210;
    const auto types = {ltPhotoBook85Randlos};
    b.add("TraditionR1", "Tradition A", 5, types, false, w, h, {{0, 6.5f, 144, 96.5f}, {0, 107, 144, 96.5f}});
    b.add("TraditionR2", "Tradition B", 5, types, false, w, h, {{0, 6.5f, 144, 197}});
    b.add("TraditionR3", "Tradition C", 5, types, false, w, h,
          {{0, 6.5f, 69.5f, 96.5f}, {76, 6.5f, 68, 96.5f}, {0, 107, 144, 96.5f}});
    b.add("TraditionR4", "Tradition D", 5, types, false, w, h,
          {{0, 6.5f, 69, 96.5f}, {76, 6.5f, 68, 96.5f}, {0, 107, 69, 96.5f}, {76, 107, 68, 96.5f}});
    b.add("TraditionR5", "Tradition Panorama", 5, types, true, w, h, {{0, 6.5f, 144, 197}});

    b.add("HorizonR2", "Horizon A", 6, types, false, w, h,
          {{0, 32.375f, 144, 70.625f}, {0, 107, 144, 70.625f}});
    b.add("HorizonR1", "Horizon B", 6, types, false, w, h, {{0, 32.375f, 144, 145.25f}});
    b.add("HorizonR3", "Horizon C", 6, types, false, w, h,
          {{0, 32.375f, 69.5f, 70.625f}, {74.5f, 32.375f, 69.5f, 70.625f}, {0, 107, 144, 70.625f}});
    b.add("HorizonR4", "Horizon D", 6, types, false, w, h,
          {{0, 32.375f, 69.5f, 145.25f}, {74.5f, 32.375f, 69.5f, 70.625f}, {74.5f, 107, 69.5f, 70.625f}});
    b.add("HorizonR5", "Horizon E", 6, types, false, w, h,
          {{0, 32.375f, 69.5f, 70.625f},
           {74.5f, 32.375f, 69.5f, 70.625f},
           {0, 107, 69.5f, 70.625f},
           {74.5f, 107, 69.5f, 70.625f}});
    b.add("HorizonR6", "Horizon Panorama", 6, types, true, w, h, {{0, 32.375f, 144, 145.25f}});

    b.add("VerticonR2", "Verticon A", 7, types, false, w, h,
          {{0, 6.5f, 112.75f, 96.5f}, {0, 107, 112.75f, 96.5f}});
    b.add("VerticonR1", "Verticon B", 7, types, false, w, h, {{0, 6.5f, 112.75f, 197}});
    b.add("VerticonR4", "Verticon C", 7, types, false, w, h,
          {{0, 6.5f, 112.75f, 63}, {0, 73.5f, 112.75f, 130}});
    b.add("VerticonR3", "Verticon D", 7, types, false, w, h,
          {{0, 6.5f, 112.75f, 63}, {0, 73.5f, 112.75f, 63}, {0, 140.5f, 112.75f, 63}});
    b.add("VerticonR5", "Verticon Panorama", 7, types, true, w, h, {{0, 6.5f, 112.75f, 197}});

    // Three of the full-page layouts share one ID; the catalogue finds the first.
    b.add("FullSize3", "Fullsize A", 4, types, false, w, h,
          {{0, 0, 148.5f, 103.5f}, {0, 106.5f, 148.5f, 103.5f}});
    b.add("FullSize1", "Fullsize B", 4, types, false, w, h, {{0, 0, 148.5f, 210}});
    b.add("FullSize3", "Fullsize C", 4, types, false, w, h,
          {{0, 0, 72.8f, 103.5f}, {75.7f, 0, 72.8f, 103.5f}, {0, 106.5f, 148.5f, 103.5f}});
    b.add("FullSize3", "Fullsize D", 4, types, false, w, h,
          {{0, 0, 72.8f, 103.5f},
           {75.7f, 0, 72.8f, 103.5f},
           {0, 106.5f, 72.8f, 103.5f},
           {75.7f, 106.5f, 72.8f, 103.5f}});
    b.add("FullSize2", "Fullsize Panorama", 4, types, true, w, h, {{0, 0, 148.5f, 210}});
}

void addTestAndProBooks(TCatalogueBuilder& b) {
    b.add("TestLayout1", "Layout 1", 1, {ltPhotobook10x15A}, false, 152.4f, 114.3f, {{14, 7, 133.5f, 100}});
    b.add("TestLayout2", "Layout 1", 1, {ltPhotobook10x15B}, false, 148.5f, 114.3f, {{14, 8.5f, 129.5f, 97}});

    const float s = 210;
    const auto pro = {ltPhotoBookPro};
    b.add("ProBorderLayout1", "Layout 1", 1, pro, false, s, s, {{10, 5, 195, 200}});
    b.add("ProBorderLayout2", "Layout 2", 1, pro, false, s, s, {{10, 40, 195, 130}});
    b.add("ProBorderLayout2a", "Layout 2a", 1, pro, false, s, s, {{10, 40, 95, 130}, {110, 40, 95, 130}});
    b.add("ProBorderLayout3", "Layout 3", 1, pro, false, s, s, {{45, 5, 130, 200}});
    b.add("ProBorderLayout3a", "Layout 3a", 1, pro, false, s, s,
          {{45, 5, 130, 97.5f}, {45, 107.5f, 130, 97.5f}});
    b.add("ProBorderLayout4", "Layout 4", 1, pro, false, s, s, {{10, 5, 130, 200}});
    b.add("ProBorderLayout5", "Layout Panorama", 1, pro, true, s, s, {{10, 5, 195, 200}});
    b.add("ProBorderLayout6", "Layout 6", 1, pro, false, s, s,
          {{10, 5, 95, 98}, {10, 108, 95, 98}, {110, 5, 95, 98}, {110, 107, 95, 98}});
    b.add("ProBorderLayout7", "Layout 7", 1, pro, false, s, s, {{10, 5, 195, 98}, {10, 107, 195, 98}});
    b.add("ProBorderLayout8", "Layout 8", 1, pro, false, s, s,
          {{10, 5, 95, 98}, {110, 5, 95, 98}, {10, 107, 195, 98}});
    b.add("ProBorderLayout9", "Layout 9", 1, pro, false, s, s,
          {{10, 5, 95, 200}, {110, 5, 95, 98}, {110, 107, 95, 98}});

    const auto full = {ltPhotoBookProRandlos};
    b.add("ProFullLayout1", "Layout 1", 1, full, false, s, s, {{0, 0, 210, 210}});
    b.add("ProFullLayout2", "Layout Panorama", 1, full, true, s, s, {{0, 0, 210, 210}});
    b.add("ProFullLayout3", "Layout 3", 1, full, false, s, s, {{0, 0, 210, 103}, {0, 107, 210, 103}});
    b.add("ProFullLayout4", "Layout 4", 1, full, false, s, s,
          {{0, 0, 102.5f, 103}, {107.5f, 0, 102.5f, 103}, {0, 107, 210, 103}});
    b.add("ProFullLayout4", "Layout 4", 1, full, false, s, s,
          {{0, 0, 102.5f, 103}, {107.5f, 0, 102.5f, 103}, {0, 107, 102.5f, 103}, {107.5f, 107, 102.5f, 103}});
}

void addCalendarsA4(TCatalogueBuilder& b) {
    const float w = 210, h = 297;
    const auto a4 = {ltKalenderA4};
    b.add("KalA4Lay1Stil1", "Layout 1", 10, a4, false, w, h, {{0, 209, 210, 88}});
    b.add("KalA4Lay1Stil2", "Layout 2", 10, a4, false, w, h, {{0, 209, 105, 88}, {105, 209, 105, 88}});
    b.add("KalA4Lay1Stil3", "Layout 3", 10, a4, false, w, h,
          {{0, 209, 70, 88}, {70, 209, 70, 88}, {140, 209, 70, 88}});
    b.add("KalA4Lay1Stil4", "Layout 4", 10, a4, false, w, h, {{0, 209, 140, 88}, {140, 209, 70, 88}});

    b.add("KalA4Lay2Stil1", "Layout 1", 11, a4, false, w, h, {{11, 20, 188, 186}});
    b.add("KalA4Lay2Stil2", "Layout 2", 11, a4, false, w, h,
          {{11, 20, 91, 91}, {108, 20, 91, 91}, {11, 115, 91, 91}, {108, 115, 91, 91}});
    b.add("KalA4Lay2Stil3", "Layout 3", 11, a4, false, w, h, {{11, 50.5f, 188, 125}});
    b.add("KalA4Lay2Stil4", "Layout 4", 11, a4, false, w, h, {{43, 20, 124, 186}});
    b.add("KalA4Lay2Stil5", "Layout 5", 11, a4, false, w, h, {{11, 20, 188, 91}, {11, 115, 188, 91}});
    b.add("KalA4Lay2Stil6", "Layout 6", 11, a4, false, w, h,
          {{11, 20, 91, 91}, {108, 20, 91, 91}, {11, 115, 188, 91}});

    b.add("KalA4Lay3Stil1", "Layout 1", 12, a4, false, w, h, {{0, 0, 210, 263}});
    b.add("KalA4Lay3Stil2", "Layout 2", 12, a4, false, w, h, {{0, 0, 210, 129.5f}, {0, 133.5f, 210, 129.5f}});
    b.add("KalA4Lay3Stil3", "Layout 3", 12, a4, false, w, h,
          {{0, 0, 102, 129.5f}, {108, 0, 102, 129.5f}, {0, 133.5f, 210, 129.5f}});
    b.add("KalA4Lay3Stil3", "Layout 4", 12, a4, false, w, h,
          {{0, 0, 102, 129.5f}, {108, 0, 102, 129.5f}, {0, 133.5f, 102, 129.5f}, {108, 133.5f, 102, 129.5f}});

    b.add("KalA4Lay4Stil1", "Layout 1", 13, a4, false, w, h, {{0, 0, 164, 297}});
    b.add("KalA4Lay4Stil2", "Layout 2", 13, a4, false, w, h, {{0, 0, 164, 146.5f}, {0, 150.5f, 164, 146.5f}});
    TFBPageTemplate& three = b.add("KalA4Lay4Stil3", "Layout 3", 13, a4, false, w, h);
    three.AddFrameCentered(82, 48.17f, 164, 96.33f, 0);
    three.AddFrameCentered(82, 148.5f, 164, 96.33f, 0);
    three.AddFrameCentered(82, 248.83f, 164, 96.33f, 0);
    TFBPageTemplate& two = b.add("KalA4Lay4Stil4", "Layout 3", 13, a4, false, w, h);
    two.AddFrameCentered(82, 48.17f, 164, 96.33f, 0);
    two.AddFrameCentered(82, 198.67f, 164, 196.67f, 0);

    b.add("KalA4Deckblatt1", "Layout 1", 14, a4, false, w, h, {{10, 10, 190, 277}});
    b.add("KalA4Deckblatt2", "Layout 2", 14, a4, false, w, h, {{0, 0, 210, 297}});
}

void addCalendarsA5(TCatalogueBuilder& b) {
    const float w = 210, h = 148.5f;
    const auto a5 = {ltKalenderA5};
    b.add("KalA5Lay1Stil1", "Layout 1", 10, a5, false, w, h, {{10.5f, 14.5f, 123, 123}});
    b.add("KalA5Lay1Stil2", "Layout 2", 10, a5, false, w, h,
          {{10.5f, 14.5f, 58.5f, 59.5f},
           {75, 14.5f, 58.5f, 59.5f},
           {10.5f, 78, 58.5f, 59.5f},
           {75, 78, 58.5f, 59.5f}});
    b.add("KalA5Lay1Stil3", "Layout 3", 10, a5, false, w, h,
          {{10.5f, 14.5f, 58.5f, 59.5f}, {75, 14.5f, 58.5f, 59.5f}, {10.5f, 78, 123, 59.5f}});
    b.add("KalA5Lay1Stil4", "Layout 4", 10, a5, false, w, h, {{10.5f, 35, 123, 82}});
    b.add("KalA5Lay1Stil5", "Layout 5", 10, a5, false, w, h, {{31, 14.5f, 82, 123}});
    b.add("KalA5Lay1Stil6", "Layout 6", 10, a5, false, w, h,
          {{10.5f, 14.5f, 123, 59.5f}, {10.5f, 78, 123, 59.5f}});

    b.addRow("KalA5Lay2Stil1", "Layout 1", 11, ltKalenderA5, w, h, 7, 30, 30, 118.5f);
    b.addRow("KalA5Lay2Stil2", "Layout 2", 11, ltKalenderA5, w, h, 3, 70, 30, 118.5f);
    b.addRow("KalA5Lay2Stil3", "Layout 3", 11, ltKalenderA5, w, h, 4, 52.5f, 30, 118.5f);
    b.addRow("KalA5Lay2Stil4", "Layout 4", 11, ltKalenderA5, w, h, 5, 42, 30, 118.5f);
    b.addRow("KalA5Lay2Stil5", "Layout 5", 11, ltKalenderA5, w, h, 6, 35, 30, 118.5f);

    b.add("KalA5Lay3Stil1", "Layout 1", 12, a5, false, w, h, {{0, 19, 210, 98}});
    b.add("KalA5Lay3Stil2", "Layout 2", 12, a5, false, w, h, {{0, 19, 102, 98}, {108, 19, 102, 98}});
    b.add("KalA5Lay3Stil3", "Layout 3", 12, a5, false, w, h,
          {{0, 19, 66, 98}, {72, 19, 66, 98}, {144, 19, 66, 98}});
    b.add("KalA5Lay3Stil4", "Layout 4", 12, a5, false, w, h,
          {{0, 19, 102, 47}, {0, 70, 48, 47}, {54, 70, 48, 47}, {108, 19, 102, 98}});

    b.add("KalA5Deckblatt1", "Layout 1", 14, a5, false, w, h, {{10, 10, 190, 128.5f}});
    b.add("KalA5Deckblatt2", "Layout 2", 14, a5, false, w, h, {{0, 0, 210, 148.5f}});
}

void addCalendarsA6(TCatalogueBuilder& b) {
    const float w = 101.6f, h = 163;
    const auto a6 = {ltKalenderA6};
    b.add("KalA6Lay1Stil1", "Layout 1", 10, a6, false, w, h, {{0, 23, 79, 120}});
    b.add("KalA6Lay1Stil2", "Layout 2", 10, a6, false, w, h, {{0, 23, 79, 58}, {0, 85, 79, 58}});
    b.add("KalA6Lay1Stil3", "Layout 3", 10, a6, false, w, h,
          {{0, 23, 79, 58}, {0, 85, 36.5f, 58}, {42.5f, 85, 36.5f, 58}});
    b.add("KalA6Lay1Stil4", "Layout 4", 10, a6, false, w, h,
          {{0, 23, 36.5f, 58}, {42.5f, 23, 36.5f, 58}, {0, 85, 36.5f, 58}, {42.5f, 85, 36.5f, 58}});

    b.add("KalA6Lay2Stil1", "Layout 1", 11, a6, false, w, h, {{5, 16, 91.6f, 110}});
    b.add("KalA6Lay2Stil2", "Layout 2", 11, a6, false, w, h, {{5, 16, 91.6f, 53}, {5, 73, 91.6f, 53}});
    b.add("KalA6Lay2Stil3", "Layout 3", 11, a6, false, w, h,
          {{5, 16, 42.8f, 53}, {53.8f, 16, 42.8f, 53}, {5, 73, 91.6f, 53}});
    b.add("KalA6Lay2Stil4", "Layout 4", 11, a6, false, w, h,
          {{5, 16, 42.8f, 53}, {53.8f, 16, 42.8f, 53}, {5, 73, 42.8f, 53}, {53.8f, 73, 42.8f, 53}});

    b.add("KalA6Lay3Stil1", "Layout 1", 12, a6, false, w, h, {{0, 12, 101.6f, 75}});
    b.add("KalA6Lay3Stil2", "Layout 2", 12, a6, false, w, h, {{0, 12, 47.8f, 75}, {53.8f, 12, 47.8f, 75}});
    b.add("KalA6Lay3Stil3", "Layout 3", 12, a6, false, w, h,
          {{0, 12, 47.8f, 75}, {53.8f, 12, 47.8f, 35.5f}, {53.8f, 51.5f, 47.8f, 35.5f}});
    b.add("KalA6Lay3Stil4", "Layout 4", 12, a6, false, w, h,
          {{0, 12, 47.8f, 35.5f},
           {0, 51.5f, 47.8f, 35.5f},
           {53.8f, 12, 47.8f, 35.5f},
           {53.8f, 51.5f, 47.8f, 35.5f}});

    b.addRow("KalA6Lay4Stil1", "Layout 1", 13, ltKalenderA6, w, h, 3, 101.6f / 3, 39, 124);
    b.add("KalA6Lay4Stil2", "Layout 2", 13, a6, false, w, h, {{0, 124, 101.6f, 39}});
    b.addRow("KalA6Lay4Stil3", "Layout 3", 13, ltKalenderA6, w, h, 2, 50.8f, 39, 124);
    b.addRow("KalA6Lay4Stil4", "Layout 4", 13, ltKalenderA6, w, h, 4, 25.4f, 39, 124);

    b.add("KalA6Deckblatt1", "Layout 1", 14, a6, false, w, h, {{5, 15.6f, 91.6f, 142.4f}});
    b.add("KalA6Deckblatt2", "Layout 2", 14, a6, false, w, h, {{0, 10.6f, 101.6f, 152.4f}});
}

} // namespace

void AddBuiltInPageTemplates(TFBPageTemplateList& list) {
    TCatalogueBuilder builder(list);
    addBooklets(builder);
    addBorderBooks(builder);
    addBorderlessBooks(builder);
    addTestAndProBooks(builder);
    addCalendarsA4(builder);
    addCalendarsA5(builder);
    addCalendarsA6(builder);
}
