#include "document/uSetText.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {
const TSetType& layout() {
    return LayoutTypenSetType();
}
constexpr quint64 kPhotoBook86 = 1 << 0;
constexpr quint64 kDINA4 = 1 << 7;
} // namespace

TEST(SetText, WritesMembersInOrdinalOrder) {
    EXPECT_EQ(SetToString(layout(), 0), QStringLiteral("[]"));
    EXPECT_EQ(SetToString(layout(), kDINA4 | kPhotoBook86), QStringLiteral("[ltPhotoBook86,ltDINA4]"));
    EXPECT_EQ(SetToString(layout(), 0x1FFFF),
              QStringLiteral("[ltPhotoBook86,ltPhotoBook85,ltPhotoBook46,ltPhotoBooklet43,ltSingles10x15,"
                             "ltPhotoBook88,ltPhotoBook85Randlos,ltDINA4,ltDINA4Randlos,ltSingles13x18,"
                             "ltPhotoBookPro,ltPhotoBookProRandlos,ltPhotobook10x15A,ltPhotobook10x15B,"
                             "ltKalenderA4,ltKalenderA5,ltKalenderA6]"));
    // Bits beyond the enumeration are not members.
    EXPECT_EQ(SetToString(layout(), 0x20000 | kDINA4), QStringLiteral("[ltDINA4]"));
}

TEST(SetText, ParsingIgnoresSeparatorsBlanksAndCase) {
    for (const char* text : {"[ltPhotoBook86, ltDINA4]", "ltPhotoBook86,ltDINA4", "[ltphotobook86,ltdina4]",
                             " [ ltDINA4 ]\t,\n ltPhotoBook86 ", "[[ltDINA4]],,ltPhotoBook86"})
        EXPECT_EQ(StringToSet(QString::fromLatin1(text), layout()), kDINA4 | kPhotoBook86) << text;
    EXPECT_EQ(StringToSet(QStringLiteral("[]"), layout()), 0u);
    EXPECT_EQ(StringToSet(QString(), layout()), 0u);
    EXPECT_EQ(StringToSet(SetToString(layout(), 0x1FFFF), layout()), 0x1FFFFu);
}

TEST(SetText, UnknownMembersRaiseAfterSettingTheEarlierOnes) {
    quint64 value = 0x1FFFF;
    try {
        StringToSet(QStringLiteral("[ltDINA4,ltUnbekannt,ltPhotoBook86]"), layout(), value);
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("StringToSet: 'ltUnbekannt' is not a valid literal for the set type"));
    }
    EXPECT_EQ(value, kDINA4);

    // A member of the enumeration that the set type cannot hold.
    const TSetType narrow{
        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}, 0, 2};
    try {
        StringToSet(QStringLiteral("[a,d]"), narrow, value);
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("StringToSet: 3 is out of range [0..2]"));
    }
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(SetToString(narrow, 0xF), QStringLiteral("[a,b,c]"));
}
