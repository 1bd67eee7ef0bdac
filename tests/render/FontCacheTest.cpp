#include "render/uFontCache.h"

#include <QRawFont>

#include <gtest/gtest.h>

namespace {
TFont MakeFont(const QString& name, TFontStyles style = 0, int size = 10) {
    TFont f;
    f.SetName(name);
    f.SetStyle(style);
    f.SetSize(size);
    return f;
}
} // namespace

TEST(FontCache, ArialResolvesToMetricCompatibleFaceWithEmSquareWidths) {
    const TFontInfo& info = FontCache().GetFontInfo(MakeFont(QStringLiteral("Arial")));
    ASSERT_TRUE(info.RawFont().isValid());
    EXPECT_EQ(info.EmSize(), 2048);
    // Arial's (and its metric twin's) advances in font units.
    EXPECT_EQ(info.CharWidths()[' '], 569);
    EXPECT_EQ(info.CharWidths()['A'], 1366);
    EXPECT_EQ(info.CharWidths()['i'], 455);
    EXPECT_EQ(info.CharWidths()[0x80], 1139); // the euro sign of Windows-1252
    EXPECT_EQ(info.Metrics().Ascent, 1854);
    EXPECT_EQ(info.Metrics().Descent, 434);
    EXPECT_EQ(info.Metrics().Height, 2288);
    EXPECT_EQ(info.Metrics().ExternalLeading, 67);
    EXPECT_FLOAT_EQ(info.CharWidthAt(uint8_t('A'), 2048), 1366);
    EXPECT_FLOAT_EQ(info.CharWidthAt(QChar(u'A'), 10), 1366.0f / 2048 * 10);
}

TEST(FontCache, KeyIsNameAndStyleNotSizeOrColour) {
    TFontCache& cache = FontCache();
    const TFontInfo& a = cache.GetFontInfo(MakeFont(QStringLiteral("Arial"), 0, 10));
    TFont other = MakeFont(QStringLiteral("Arial"), 0, 48);
    other.SetColor(0xFF);
    EXPECT_EQ(&cache.GetFontInfo(other), &a);
    const TFontInfo& bold = cache.GetFontInfo(MakeFont(QStringLiteral("Arial"), fsBold));
    EXPECT_NE(&bold, &a);
    EXPECT_GT(bold.CharWidths()['a'], 0);
    // Case matters in the name: a differently spelt name is its own entry.
    const int before = cache.Count();
    cache.GetFontInfo(MakeFont(QStringLiteral("arial")));
    EXPECT_EQ(cache.Count(), before + 1);
}

TEST(FontCache, ManyNamesStayWithinTheBoundAndKeepTheFacesInUse) {
    TFontCache& cache = FontCache();
    const TFontInfo* arial = &cache.GetFontInfo(MakeFont(QStringLiteral("Arial")));
    const int widthOfA = arial->CharWidths()['A'];
    for (int i = 0; i < TFontCache::Capacity() + 40; ++i) {
        cache.GetFontInfo(MakeFont(QStringLiteral("Hostile Face %1").arg(i)));
        // The face in use keeps its entry while other names come and go.
        if (i % 16 == 0) {
            EXPECT_EQ(&cache.GetFontInfo(MakeFont(QStringLiteral("Arial"))), arial);
        }
    }
    EXPECT_EQ(cache.Count(), TFontCache::Capacity());
    // The oldest names went; asking again measures them afresh under the same key.
    const TFontInfo& first = cache.GetFontInfo(MakeFont(QStringLiteral("Hostile Face 0")));
    EXPECT_EQ(first.Font().Name(), QStringLiteral("Hostile Face 0"));
    EXPECT_EQ(cache.Count(), TFontCache::Capacity());
    EXPECT_EQ(cache.GetFontInfo(MakeFont(QStringLiteral("Arial"))).CharWidths()['A'], widthOfA);
}

TEST(FontCache, MissingFontFallsBackToAUsableFace) {
    const TFontInfo& info = FontCache().GetFontInfo(MakeFont(QStringLiteral("No Such Face 4711")));
    EXPECT_TRUE(info.RawFont().isValid());
    EXPECT_GT(info.EmSize(), 0);
    EXPECT_GT(info.CharWidths()['m'], 0);
    EXPECT_GT(info.Metrics().Height, 0);
}

TEST(FontCache, CharactersOutsideTheCodePageKeepTheirAdvance) {
    const TFontInfo& info = FontCache().GetFontInfo(MakeFont(QStringLiteral("Arial")));
    // Characters outside the code page still get their own advance.
    EXPECT_GT(info.AdvanceUnits(QChar(0x0100)), 0);
}
