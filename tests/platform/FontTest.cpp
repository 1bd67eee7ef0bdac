#include "platform/uFont.h"

#include <gtest/gtest.h>

TEST(Font, SettersNotifyOncePerChangeAndUpdatesGroupThem) {
    TFont font;
    int calls = 0;
    font.SetOnChange([&] { ++calls; });
    font.SetName(QStringLiteral("Arial")); // unchanged: no call
    EXPECT_EQ(calls, 0);
    font.SetSize(12);
    font.SetColor(0xFF);
    EXPECT_EQ(calls, 2);

    font.BeginUpdate();
    font.SetName(QStringLiteral("Courier New"));
    font.SetStyle(fsBold | fsItalic);
    font.SetPitch(TFontPitch::Fixed);
    EXPECT_EQ(calls, 2);
    font.EndUpdate();
    EXPECT_EQ(calls, 3);

    // An update without changes stays silent; an unbalanced EndUpdate is harmless.
    font.BeginUpdate();
    font.EndUpdate();
    font.EndUpdate();
    EXPECT_EQ(calls, 3);
}

TEST(Font, CopiesTakeAttributesButNotTheHandler) {
    TFont source(QStringLiteral("Times New Roman"), 14, fsUnderline | 0xF0, 0x00123456);
    EXPECT_EQ(source.Style(), fsUnderline); // bits beyond the four styles are dropped
    source.SetCharset(0);
    int calls = 0;
    source.SetOnChange([&] { ++calls; });

    TFont copy(source);
    EXPECT_TRUE(copy == source);
    copy.SetSize(20);
    EXPECT_EQ(calls, 0);

    TFont target;
    int targetCalls = 0;
    target.SetOnChange([&] { ++targetCalls; });
    target = source;
    EXPECT_TRUE(target == source);
    EXPECT_EQ(targetCalls, 1);
    target.SetSize(8); // the target keeps its own handler
    EXPECT_EQ(targetCalls, 2);
    EXPECT_EQ(calls, 0);
}

TEST(Font, QFontCarriesNameSizeAndStyle) {
    TFont font(QStringLiteral("DejaVu Sans"), 11, fsBold | fsStrikeOut);
    font.SetPitch(TFontPitch::Fixed);
    const QFont q = font.toQFont();
    EXPECT_EQ(q.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(q.pointSize(), 11);
    EXPECT_TRUE(q.bold());
    EXPECT_FALSE(q.italic());
    EXPECT_TRUE(q.strikeOut());
    EXPECT_TRUE(q.fixedPitch());
    EXPECT_TRUE(TFont::fromQFont(q) == font);
}
