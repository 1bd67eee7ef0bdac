#include "document/uColorList.h"
#include "i18n/ulocalize.h"
#include "support/GuiTest.h"
#include "widgets/uColorChoices.h"
#include "widgets/uFloatText.h"
#include "widgets/uFontSizeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
const QChar comma = QLatin1Char(',');
} // namespace

TEST(FloatText, ReadsTheLanguageSeparatorAndAPointButNothingElse) {
    EXPECT_EQ(ParseFloatText(QStringLiteral("2,5"), comma), 2.5);
    EXPECT_EQ(ParseFloatText(QStringLiteral("2.5"), comma), 2.5);
    EXPECT_EQ(ParseFloatText(QStringLiteral(" -0,125 "), comma), -0.125);
    EXPECT_EQ(ParseFloatText(QStringLiteral(",5"), comma), 0.5);
    EXPECT_EQ(ParseFloatText(QStringLiteral("+3"), comma), 3.0);
    EXPECT_EQ(ParseFloatText(QStringLiteral("7."), QLatin1Char('.')), 7.0);
    // With a point as the language's separator, a comma is not one.
    EXPECT_FALSE(ParseFloatText(QStringLiteral("2,5"), QLatin1Char('.')));
    for (const char* bad :
         {"", "-", ",", "1,2.3", "1.000,5", "abc", "1e5", "inf", "nan", "--1", "1-", "0x10"})
        EXPECT_FALSE(ParseFloatText(QString::fromLatin1(bad), comma)) << bad;
    EXPECT_FALSE(std::signbit(*ParseFloatText(QStringLiteral("-0"), comma)));

    // While typing, a lone sign or separator may stand; a second separator or a letter may not.
    for (const char* prefix : {"", "-", ",", "3,", "-,"})
        EXPECT_TRUE(IsFloatTextPrefix(QString::fromLatin1(prefix), comma)) << prefix;
    for (const char* bad : {"3,,", "3,4.", "a", "3-", "1 2"})
        EXPECT_FALSE(IsFloatTextPrefix(QString::fromLatin1(bad), comma)) << bad;
}

TEST(FloatText, ShowsUpToFifteenSignificantDigitsWithoutExponent) {
    EXPECT_EQ(FormatFloatText(2.5, comma), QStringLiteral("2,5"));
    EXPECT_EQ(FormatFloatText(0.1, comma), QStringLiteral("0,1"));
    EXPECT_EQ(FormatFloatText(1.0 / 3.0, comma), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(FormatFloatText(1234567.890123456789, comma), QStringLiteral("1234567,89012346"));
    EXPECT_EQ(FormatFloatText(-42.0, comma), QStringLiteral("-42"));
    EXPECT_EQ(FormatFloatText(-0.0, comma), QStringLiteral("0"));
    EXPECT_EQ(FormatFloatText(1e-7, comma), QStringLiteral("0,0000001"));
    EXPECT_EQ(FormatFloatText(1e20, comma), QStringLiteral("100000000000000000000"));
    EXPECT_EQ(FormatFloatText(12.75, QLatin1Char('.')), QStringLiteral("12.75"));
    // What the field shows reads back as the same value to 15 digits.
    for (const double value : {0.3, 297.0, 12.345678901234, -1.5e-3, 99999.99})
        EXPECT_NEAR(*ParseFloatText(FormatFloatText(value, comma), comma), value, std::fabs(value) * 1e-14);
}

TEST(FloatText, AcceptsOnlyNumbersInsideTheRange) {
    const TFloatRange range{0.5, 100.0};
    EXPECT_EQ(AcceptFloatText(QStringLiteral("100"), comma, range), 100.0);
    EXPECT_EQ(AcceptFloatText(QStringLiteral("0,5"), comma, range), 0.5);
    EXPECT_FALSE(AcceptFloatText(QStringLiteral("100,0001"), comma, range));
    EXPECT_FALSE(AcceptFloatText(QStringLiteral("0,4"), comma, range));
    EXPECT_FALSE(AcceptFloatText(QStringLiteral("x"), comma, range));
}

TEST(FloatText, TheSeparatorFollowsTheUserInterfaceLanguage) {
    SetCurrentLanguage(1);
    EXPECT_EQ(LanguageLocale().decimalPoint(), QStringLiteral("."));
    SetCurrentLanguage(kLanguageFrench);
    EXPECT_EQ(LanguageLocale().decimalPoint(), QStringLiteral(","));
    SetCurrentLanguage(kLanguageGerman);
    EXPECT_EQ(LanguageLocale().decimalPoint(), QStringLiteral(","));
}

TEST(FontSizeText, TakesDigitsFromOneTo1638Points) {
    EXPECT_EQ(kFontSizes.size(), 17u);
    for (const int size : kFontSizes)
        EXPECT_EQ(AcceptFontSizeText(QString::number(size)), size);
    EXPECT_EQ(AcceptFontSizeText(QStringLiteral("1")), 1);
    EXPECT_EQ(AcceptFontSizeText(QStringLiteral("1638")), 1638);
    for (const char* refused : {"", "0", "00", "1639", "9999", "a", "1a", "-5", "12,5", "12.5", " "})
        EXPECT_FALSE(AcceptFontSizeText(QString::fromLatin1(refused))) << refused;
    EXPECT_TRUE(IsFontSizeTyping(QStringLiteral("")));
    EXPECT_TRUE(IsFontSizeTyping(QStringLiteral("0")));
    EXPECT_FALSE(IsFontSizeTyping(QStringLiteral("12345")));
    EXPECT_FALSE(IsFontSizeTyping(QStringLiteral("1x")));
}

class ColorChoices : public TestSupport::GuiTest {};

TEST_F(ColorChoices, CaptionsComeFromTheirKeysAndCustomColoursFromTheTable) {
    EXPECT_EQ(NoColorCaption(), QStringLiteral("Keine Farbe"));
    EXPECT_EQ(MoreColorCaption(), QStringLiteral("Weitere Farben..."));
    EXPECT_TRUE(IsTextRegistered(QString::fromLatin1(kDefaultSection), QStringLiteral("cCaptionNoColor")));
    // A language table's text for the key is what the pop-up shows.
    SetCurrentLanguage(kLanguageEnglish);
    EXPECT_EQ(MoreColorCaption(), QStringLiteral("More colours..."));
    SetCurrentLanguage(kLanguageGerman);

    TColorList::Instance().SetItem(3, 0x123456);
    const std::vector<std::int32_t> custom = CustomColorChoices();
    ASSERT_EQ(custom.size(), 32u);
    EXPECT_EQ(custom[3], 0x123456);
    EXPECT_EQ(custom[0], -1);

    const auto& standard = StandardColors();
    EXPECT_EQ(std::count(standard.begin(), standard.end(), 0x0000FF), 1); // red once, in 0x00BBGGRR
    EXPECT_EQ(standard.front(), 0x000000);
    EXPECT_EQ(standard.back(), 0xFFFFFF);
}
