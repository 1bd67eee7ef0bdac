// Characters outside Windows-1252 written as \uN are drawn as themselves where a font shows them,
// and only a character that no installed font shows falls back to the writer's stand-in.
#include "render/uBitmapDrawContext.h"
#include "render/uFontCache.h"
#include "render/uRTFDrawer.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QString drawnWords(const TRTFDrawer& drawer) {
    QString out;
    for (int i = 0; i < drawer.TokenCount(); ++i)
        out += drawer.Token(i).DrawnText() + u'|';
    return out;
}

QImage draw(const QByteArray& rtf) {
    TRTFDrawer drawer;
    drawer.SetRTF(rtf);
    QImage image(300, 60, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFFu);
    TBitmapDrawContext dc(image);
    dc.Transformation.Scale(4);
    drawer.DrawText(dc, 0, 37.5f, 7.5f, 75, 15, 0);
    return image;
}

} // namespace

TEST(RTFUnicodeDraw, CharactersTheFontHasAreDrawnWithinTheirWord) {
    TRTFDrawer drawer;
    drawer.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Ti\\u7871?ng Vi\\u7879?t \\u321?\\'f3d\\u378?}");
    // One word each, as typed: the escapes do not cut the words.
    EXPECT_EQ(drawnWords(drawer), QStringLiteral("Ti\u1EBFng| |Vi\u1EC7t| |\u0141\u00F3d\u017A|"));
    const TRTFToken& word = drawer.Token(0);
    EXPECT_EQ(word.Text, QByteArray("Ti?ng"));
    // Measured from the font: the advance of the character itself, not of "?".
    const TFontInfo& info = FontCache().GetFontInfo(word.Font());
    const float mm = 20 / 72.0f * 25.4f / float(info.EmSize());
    EXPECT_NEAR(word.Advances[2] - word.Advances[1], info.AdvanceUnits(QChar(0x1EBF)) * mm, 1e-4);
    TRTFDrawer omega;
    omega.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 \\u937?}");
    EXPECT_NEAR(omega.Token(0).Width, info.AdvanceUnits(QChar(0x3A9)) * mm, 1e-4);
    EXPECT_NE(info.AdvanceUnits(QChar(0x3A9)), info.AdvanceUnits(QChar(u'?')));

    // On the page the character shows instead of its fallback.
    const QByteArray shown = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Ti\\u7871?ng}";
    EXPECT_FALSE(draw(shown) == draw("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Ti?ng}"));
    EXPECT_TRUE(draw(shown) == draw(shown));
}

TEST(RTFUnicodeDraw, ACharacterNoFontShowsKeepsItsFallback) {
    TRTFDrawer drawer;
    // U+0378 is unassigned: no font has it, so the writer's stand-in "X" is drawn.
    drawer.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a\\u888Xb c\\uc0\\u888 d}");
    EXPECT_EQ(drawnWords(drawer), QStringLiteral("aXb| |cd|"));
    EXPECT_TRUE(drawer.Token(0).Wide.isEmpty());

    // A script without an installed font: text layout falls back to an engine that draws boxes and
    // has no face behind it. That is no substitute; asking it for its family used to crash.
    TRTFDrawer gurmukhi;
    gurmukhi.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 a\\u2586Yb}");
    const QString drawn = drawnWords(gurmukhi);
    EXPECT_TRUE(drawn == QStringLiteral("aYb|") || drawn == QStringLiteral("a\u0A1Ab|"))
        << drawn.toStdString();
}

TEST(RTFUnicodeDraw, ACharacterTheFontLacksIsDrawnInASubstitute) {
    TRTFDrawer drawer;
    drawer.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs30 Foto\\u26085?\\u26412?}");
    if (drawer.TokenCount() < 2)
        GTEST_SKIP() << "no installed font shows these characters";
    ASSERT_EQ(drawer.TokenCount(), 2);
    EXPECT_EQ(drawer.Token(0).DrawnText(), QStringLiteral("Foto"));
    EXPECT_EQ(drawer.Token(1).DrawnText(), QStringLiteral("\u65E5\u672C"));
    const TFont& substitute = drawer.Token(1).Font();
    EXPECT_NE(substitute.Name(), QStringLiteral("Arial"));
    EXPECT_EQ(substitute.Size(), 15);
    EXPECT_TRUE(FontCache().GetFontInfo(substitute).RawFont().supportsCharacter(QChar(0x65E5)));
    EXPECT_GT(drawer.Token(1).Width, 0);
}
