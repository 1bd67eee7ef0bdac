#include "platform/uCodepage.h"

#include <gtest/gtest.h>

using namespace Codepage;

TEST(Codepage, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
}

TEST(Codepage, HighPositionsMapToTheirUnicodeCharacters) {
    EXPECT_EQ(fromAnsi("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(fromAnsi("\x9F"), QString(QChar(0x0178)));
    EXPECT_EQ(fromAnsi("\xE4\xF6\xFC\xDF"), QStringLiteral(u"äöüß"));
    // Undefined positions keep their value as C1 controls.
    EXPECT_EQ(fromAnsi("\x81\x8D\x8F\x90\x9D"), QStringLiteral(u"\u0081\u008D\u008F\u0090\u009D"));
    EXPECT_EQ(toAnsi(QStringLiteral(u"€„…Ÿ")), QByteArray("\x80\x84\x85\x9F"));
}

TEST(Codepage, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
    EXPECT_EQ(toAnsi(QStringLiteral(u"aŁb")), QByteArray("a?b"));
    // U+0080 is a C1 control that the code page does not hold (0x80 is the euro sign).
    EXPECT_EQ(toAnsi(QStringLiteral(u"\u0080")), QByteArray("?"));
    // A character outside the basic plane is a surrogate pair: one '?', not two.
    EXPECT_EQ(toAnsi(QString::fromUcs4(U"x\U0001F600y")), QByteArray("x?y"));
    // A lone surrogate is one '?' as well.
    EXPECT_EQ(toAnsi(QString(QChar(0xD800))), QByteArray("?"));
    EXPECT_EQ(ansiRoundTrip(QStringLiteral(u"Grüße Łódź")), QStringLiteral(u"Grüße ?ód?"));
}
