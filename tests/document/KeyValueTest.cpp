#include "document/uDataFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

const QString S = QStringLiteral("Sec");

// The data bytes of the last item in a memory container.
QByteArray lastItemData(const QBuffer& stream, int dataSize) {
    return stream.data().right(dataSize);
}

} // namespace

TEST(TypedValues, StringsAreAnsiBytesWithATerminatingZero) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    file.WriteString(S, QStringLiteral("Leer"), QString());
    EXPECT_EQ(lastItemData(stream, 1), QByteArray(1, '\0'));
    EXPECT_EQ(file.ReadString(S, QStringLiteral("Leer"), QStringLiteral("default")), QString());

    file.WriteString(S, QStringLiteral("Text"), QStringLiteral("Größe €"));
    EXPECT_EQ(lastItemData(stream, 8), QByteArray("Gr\xF6\xDF"
                                                  "e \x80\0",
                                                  8));
    EXPECT_EQ(file.ReadString(S, QStringLiteral("text"), {}), QStringLiteral("Größe €"));

    // A zero inside the value ends it.
    file.WriteString(S, QStringLiteral("Null"), QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    EXPECT_EQ(lastItemData(stream, 3), QByteArray("ab\0", 3));
    EXPECT_EQ(file.ReadString(S, QStringLiteral("Null"), {}), QStringLiteral("ab"));
    EXPECT_EQ(file.ReadString(S, QStringLiteral("Fehlt"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST(TypedValues, ScalarsRoundTripAndTooShortItemsGiveTheDefault) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    file.WriteInteger(S, QStringLiteral("Int"), -123456);
    file.WriteFloat(S, QStringLiteral("Float"), 0.1f); // a 32-bit field widened
    file.WriteBool(S, QStringLiteral("True"), true);
    file.WriteBool(S, QStringLiteral("False"), false);
    file.WriteInteger(S, QStringLiteral("256"), 256);
    file.WriteBuffer(S, QStringLiteral("Empty"), QByteArray());

    EXPECT_EQ(file.ReadInteger(S, QStringLiteral("Int"), 0), -123456);
    EXPECT_EQ(float(file.ReadFloat(S, QStringLiteral("Float"), 0)), 0.1f);
    EXPECT_EQ(file.ReadFloat(S, QStringLiteral("Float"), 0), double(0.1f));
    EXPECT_TRUE(file.ReadBool(S, QStringLiteral("True"), false));
    EXPECT_FALSE(file.ReadBool(S, QStringLiteral("False"), true));
    EXPECT_EQ(file.ReadInteger(S, QStringLiteral("True"), 42), 42); // a 1-byte item is too short
    EXPECT_FALSE(file.ReadBool(S, QStringLiteral("256"), true));    // first byte is 0
    EXPECT_TRUE(file.ReadBool(S, QStringLiteral("Int"), false));
    EXPECT_TRUE(file.ReadBool(S, QStringLiteral("Empty"), true));
    EXPECT_EQ(file.ReadFloat(S, QStringLiteral("Int"), 1.5), 1.5);
    // An 8-byte double read as an integer gives its first four bytes.
    file.WriteFloat(S, QStringLiteral("Eins"), 1.0);
    EXPECT_EQ(lastItemData(stream, 8), QByteArray("\0\0\0\0\0\0\xF0\x3F", 8));
    EXPECT_EQ(file.ReadInteger(S, QStringLiteral("Eins"), 7), 0);
}

TEST(TypedValues, DateTimesCountDaysFromDecember30th1899) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    const QDateTime noon(QDate(2024, 2, 29), QTime(12, 0));
    file.WriteDateTime(S, QStringLiteral("DT"), noon);
    EXPECT_EQ(file.ReadFloat(S, QStringLiteral("DT"), 0), 45351.5);
    EXPECT_EQ(file.ReadDateTime(S, QStringLiteral("DT"), {}), noon);

    EXPECT_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    // Before day zero the time of day still runs forward.
    EXPECT_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(DaysToDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(DaysToDateTime(1.0 / 86400.0), QDateTime(QDate(1899, 12, 30), QTime(0, 0, 1)));

    const QDateTime fallback(QDate(2000, 1, 1), QTime(0, 0));
    file.WriteFloat(S, QStringLiteral("NaN"), std::numeric_limits<double>::quiet_NaN());
    file.WriteFloat(S, QStringLiteral("Huge"), 1e300);
    EXPECT_EQ(file.ReadDateTime(S, QStringLiteral("NaN"), fallback), fallback);
    EXPECT_EQ(file.ReadDateTime(S, QStringLiteral("Huge"), fallback), fallback);
    EXPECT_EQ(file.ReadDateTime(S, QStringLiteral("Fehlt"), fallback), fallback);
}

TEST(TypedValues, FontRecordIsByteExactAndReadsWithOneNotification) {
    QBuffer stream;
    TMemoryDataFile file(stream);
    TFont arial(QStringLiteral("Arial"), 12, fsBold, 0x000000FF);
    arial.SetCharset(1);
    file.WriteFont(S, QStringLiteral("Font"), arial);
    const QByteArray record("\x01\xFF\0\0\0\0\x0C\0\x01"
                            "Arial\0",
                            15);
    EXPECT_EQ(lastItemData(stream, 19), QByteArray("\x0F\0\0\0", 4) + record); // size field, then record

    TFont read(QStringLiteral("Times New Roman"), 8, fsItalic, 0);
    read.SetPitch(TFontPitch::Fixed);
    int calls = 0;
    read.SetOnChange([&] { ++calls; });
    file.ReadFont(S, QStringLiteral("font"), read);
    EXPECT_TRUE(read == arial);
    EXPECT_EQ(calls, 1);

    // Too short or missing: the font stays as it is.
    file.WriteBuffer(S, QStringLiteral("Kurz"), QByteArray("\x01\xFF\0\0\0\0\x0C\0\x01", 9));
    TFont untouched(QStringLiteral("Verdana"), 9);
    untouched.SetOnChange([&] { ++calls; });
    file.ReadFont(S, QStringLiteral("Kurz"), untouched);
    file.ReadFont(S, QStringLiteral("Fehlt"), untouched);
    EXPECT_EQ(untouched, TFont(QStringLiteral("Verdana"), 9));
    EXPECT_EQ(calls, 1);

    // A record without the closing zero and with stray bits still reads sensibly.
    file.WriteBuffer(S, QStringLiteral("Roh"),
                     QByteArray("\x00\x10\x20\x30\x00\x07\xF4\xFF\xFF"
                                "Ab",
                                11));
    file.ReadFont(S, QStringLiteral("Roh"), untouched);
    EXPECT_EQ(untouched.Name(), QStringLiteral("Ab"));
    EXPECT_EQ(untouched.Size(), -12);
    EXPECT_EQ(untouched.Color(), 0x00302010);
    EXPECT_EQ(untouched.Pitch(), TFontPitch::Default);
    EXPECT_EQ(untouched.Style(), kAllFontStyles);
    EXPECT_EQ(untouched.Charset(), 0);
}
