#include "render/uRTFParser.h"

#include <QBuffer>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Writes every event as one line: "G1" (group, new depth), "C rtf 1" / "C b -" (control word with
// or without parameter), "T Hello" (text; bytes above 127 as <hex>).
QStringList events(const QByteArray& input, bool unicodeEvents = false) {
    QStringList log;
    TRTFParser parser;
    if (unicodeEvents) {
        parser.OnUnicode = [&log](TRTFParser&, char16_t unit, const QByteArray& fallback) {
            log << QStringLiteral("U %1 %2").arg(int(unit), 0, 16).arg(QString::fromLatin1(fallback.toHex()));
        };
    }
    parser.OnGroup = [&log](TRTFParser& sender) { log << QStringLiteral("G%1").arg(sender.Depth()); };
    parser.OnControl = [&log](TRTFParser&, const QByteArray& word, bool hasParameter, int parameter) {
        log << QStringLiteral("C %1 %2").arg(QString::fromLatin1(word),
                                             hasParameter ? QString::number(parameter) : "-");
    };
    parser.OnText = [&log](TRTFParser&, const QByteArray& text) {
        QString shown;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            shown += byte < 128 ? QString(QChar(byte)) : QStringLiteral("<%1>").arg(byte, 2, 16);
        }
        log << QStringLiteral("T ") + shown;
    };
    parser.Parse(input);
    return log;
}

QString parseError(const QByteArray& input) {
    try {
        events(input);
    } catch (const RTFParseException& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(RTFParser, ReportsGroupsControlWordsAndTextInOrder) {
    EXPECT_EQ(events("{\\rtf1 Hello}"), (QStringList{"G1", "C rtf 1", "T Hello", "G0"}));
    EXPECT_EQ(events("{a{b}c}"), (QStringList{"G1", "T a", "G2", "T b", "G1", "T c", "G0"}));
}

TEST(RTFParser, ControlWordParametersAndDelimiters) {
    EXPECT_EQ(events("{\\b0 x}"), (QStringList{"G1", "C b 0", "T x", "G0"}));
    // The space after a word without parameter is consumed too.
    EXPECT_EQ(events("{\\b x}"), (QStringList{"G1", "C b -", "T x", "G0"}));
    EXPECT_EQ(events("{\\fs-4 y}"), (QStringList{"G1", "C fs -4", "T y", "G0"}));
    // A delimiter other than a space is read again as text; only one space is consumed.
    EXPECT_EQ(events("{\\b;x}"), (QStringList{"G1", "C b -", "T ;x", "G0"}));
    EXPECT_EQ(events("{\\b1  x}"), (QStringList{"G1", "C b 1", "T  x", "G0"}));
    // A hyphen that is not followed by digits is no sign.
    EXPECT_EQ(events("{\\b-x}"), (QStringList{"G1", "C b -", "T -x", "G0"}));
    // Words run into the next control word or group directly.
    EXPECT_EQ(events("{\\b\\i2{}}"), (QStringList{"G1", "C b -", "C i 2", "G2", "G1", "G0"}));
}

TEST(RTFParser, WordsAreLowerCasedButMatchedCaseSensitively) {
    EXPECT_EQ(events("{\\B x}"), (QStringList{"G1", "C b -", "T x", "G0"}));
    // \LQUOTE is no quote: it is reported as an ordinary word.
    EXPECT_EQ(events("{\\LQUOTE x}"), (QStringList{"G1", "C lquote -", "T x", "G0"}));
    // The double quotes are recognised in any letter case.
    EXPECT_EQ(events("{\\LDBLQUOTE x\\RdblQuote}"), (QStringList{"G1", "T <93>x<94>", "G0"}));
}

TEST(RTFParser, HugeParametersSaturate) {
    EXPECT_EQ(events("{\\fs99999999999999999999 x}"), (QStringList{"G1", "C fs 2147483647", "T x", "G0"}));
    EXPECT_EQ(events("{\\fs-99999999999999999999 x}"), (QStringList{"G1", "C fs -2147483648", "T x", "G0"}));
}

TEST(RTFParser, HexEscapesAndSpecialCharacters) {
    EXPECT_EQ(events("{\\'e4}"), (QStringList{"G1", "T <e4>", "G0"}));
    EXPECT_EQ(events("{a\\'C4\\'3b}"), (QStringList{"G1", "T a<c4>;", "G0"}));
    EXPECT_EQ(events("{\\{\\}\\\\}"), (QStringList{"G1", "T {}\\", "G0"}));
    EXPECT_EQ(events("{\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash}"),
              (QStringList{"G1", "T <91><92><93><94><95><96><97>", "G0"}));
    // Other control symbols reach the owner as one-character words.
    EXPECT_EQ(events("{\\*\\~\\-x}"), (QStringList{"G1", "C * -", "C ~ -", "C - -", "T x", "G0"}));
    EXPECT_EQ(parseError("{\\'zz}"), QStringLiteral("'$zz' ist kein gültiger Integerwert"));
}

TEST(RTFParser, LineBreaksAreSkippedEverywhere) {
    EXPECT_EQ(events("{a\r\nb\\'e\r\n4\\b\n}"), (QStringList{"G1", "T ab<e4>", "C b -", "G0"}));
}

TEST(RTFParser, IgnoredDestinationsHideTheirGroup) {
    EXPECT_EQ(TRTFParser::IgnoredDestinations().size(), 32);
    // The nested group inherits skipping; x after the last brace is never reported.
    EXPECT_EQ(events("{\\info{\\title T}}x"), (QStringList{"G1", "G2", "G1", "G0"}));
    EXPECT_EQ(events("{{\\info T}x}"), (QStringList{"G1", "G2", "G1", "T x", "G0"}));
    // Text before the destination word is still reported; words after it are not.
    EXPECT_EQ(events("{{a\\pict\\b b}c}"), (QStringList{"G1", "G2", "T a", "G1", "T c", "G0"}));
    // The check ignores letter case; every destination of the list is honoured.
    for (const QString& name : TRTFParser::IgnoredDestinations()) {
        // A control word ends at its first digit: "\\private1" reads as "private" with parameter 1.
        if (name == "private1")
            continue;
        const QByteArray input = "{{\\" + name.toUpper().toLatin1() + " hidden\\b}shown}";
        EXPECT_EQ(events(input), (QStringList{"G1", "G2", "G1", "T shown", "G0"})) << name.toStdString();
    }
}

TEST(RTFParser, StructuralErrors) {
    EXPECT_EQ(parseError("}"), QStringLiteral("StackUnderflow"));
    EXPECT_EQ(parseError("{a}}"), QStringLiteral("StackUnderflow"));
    EXPECT_EQ(parseError("{text"), QStringLiteral("Unmatched Brace"));
    EXPECT_EQ(parseError("{{a}"), QStringLiteral("Unmatched Brace"));
    EXPECT_EQ(parseError("{a}"), QString());

    // What was reported before the error stays reported.
    QStringList log;
    TRTFParser parser;
    parser.OnText = [&log](TRTFParser&, const QByteArray& text) { log << QString::fromLatin1(text); };
    EXPECT_THROW(parser.Parse(QByteArray("{a}{b}}")), RTFParseException);
    EXPECT_EQ(log, (QStringList{"a", "b"}));
}

TEST(RTFParser, StopsSafelyAtTheEndOfTruncatedInput) {
    EXPECT_EQ(events("{a}\\"), (QStringList{"G1", "T a", "G0"}));
    EXPECT_EQ(events("{a}\\b"), (QStringList{"G1", "T a", "G0"}));
    // A number that ends the input is complete.
    EXPECT_EQ(events("{a}\\fs12"), (QStringList{"G1", "T a", "G0", "C fs 12"}));
    EXPECT_EQ(events("{a}\\'"), (QStringList{"G1", "T a", "G0"}));
    EXPECT_EQ(events("{a}\\'e"), (QStringList{"G1", "T a", "G0"}));
    EXPECT_EQ(parseError("{\\'e"), QStringLiteral("Unmatched Brace"));
    EXPECT_EQ(parseError("{\\fs-"), QStringLiteral("Unmatched Brace"));
    EXPECT_EQ(events(""), QStringList());
}

TEST(RTFParser, UnassignedEventsAreNotCalled) {
    TRTFParser parser;
    EXPECT_NO_THROW(parser.Parse(QByteArray("{\\rtf1 {\\b x}}")));
    EXPECT_EQ(parser.Depth(), 0);
}

TEST(RTFParser, ReadsAStreamFromItsCurrentPosition) {
    QByteArray bytes("garbage}{\\b x}");
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    buffer.seek(7);
    QStringList log;
    TRTFParser parser;
    parser.OnText = [&log](TRTFParser&, const QByteArray& text) { log << QString::fromLatin1(text); };
    EXPECT_THROW(parser.Parse(buffer), RTFParseException);
    buffer.seek(8);
    TRTFParser second;
    second.OnText = parser.OnText;
    second.Parse(buffer);
    EXPECT_TRUE(buffer.atEnd());
    EXPECT_EQ(log, QStringList{"x"});
}

TEST(RTFParser, DeepNestingAndLongInputStayLinear) {
    const int depth = 200000;
    QByteArray deep = QByteArray(depth, '{') + "x" + QByteArray(depth, '}');
    int maxDepth = 0;
    TRTFParser parser;
    parser.OnGroup = [&maxDepth](TRTFParser& sender) { maxDepth = std::max(maxDepth, sender.Depth()); };
    parser.Parse(deep);
    EXPECT_EQ(maxDepth, depth);

    QByteArray big = "{" + QByteArray(4 * 1024 * 1024, 'a') + "\\" + QByteArray(100000, 'z') + " b}";
    qsizetype textBytes = 0;
    TRTFParser second;
    second.OnText = [&textBytes](TRTFParser&, const QByteArray& text) { textBytes += text.size(); };
    second.Parse(big);
    EXPECT_EQ(textBytes, 4 * 1024 * 1024 + 1);
}

// Text written by other programs: Unicode escapes with their fallback characters.
TEST(RTFParser, UnicodeEscapesShowWindows1252CharactersAndDropTheirFallback) {
    // The euro sign exists in Windows-1252 (0x80); its fallback \'80 is dropped.
    EXPECT_EQ(events("{a\\u8364\\'80b}"), (QStringList{"G1", "T a<80>b", "G0"}));
    EXPECT_EQ(events("{\\u228 ?x}"), (QStringList{"G1", "T <e4>x", "G0"}));
    // A character outside Windows-1252 shows its fallback instead.
    EXPECT_EQ(events("{\\u12354?x}"), (QStringList{"G1", "T ?x", "G0"}));
    // Negative parameters stand for code points above 32767; \uc2 means two fallback characters.
    EXPECT_EQ(events("{\\uc2\\u-1 ab\\u233 ??c}"), (QStringList{"G1", "T ab<e9>c", "G0"}));
    // \uc is scoped to its group; a group boundary ends the fallback.
    EXPECT_EQ(events("{{\\uc0\\u233 x}\\u233 yz}"),
              (QStringList{"G1", "G2", "T <e9>x", "G1", "T <e9>z", "G0"}));
    EXPECT_EQ(events("{\\u233{x}}"), (QStringList{"G1", "T <e9>", "G2", "T x", "G1", "G0"}));
    // Without a parameter \u is an ordinary word.
    EXPECT_EQ(events("{\\u x}"), (QStringList{"G1", "C u -", "T x", "G0"}));
}

TEST(RTFParser, UnicodeEventsTakeCharactersOutsideWindows1252WithTheirFallback) {
    // The text before comes first; the fallback goes with the character, not into the text.
    EXPECT_EQ(events("{Ti\\u7871?ng}", true), (QStringList{"G1", "T Ti", "U 1ebf 3f", "T ng", "G0"}));
    // A hexadecimal fallback counts as one character; after \uc0 there is none.
    EXPECT_EQ(events("{\\u321\\'a3\\uc0\\u937 x\\u228 ?}", true),
              (QStringList{"G1", "U 141 a3", "U 3a9 ", "T x<e4>?", "G0"}));
    // A character beyond the first plane comes as two units; a group cuts a fallback short.
    EXPECT_EQ(events("{\\uc2\\u-10179 ??\\u-8704 ?{x}}", true),
              (QStringList{"G1", "U d83d 3f3f", "U de00 3f", "G2", "T x", "G1", "G0"}));
    // Nothing from an ignored destination.
    EXPECT_EQ(events("{{\\info\\u937?}a}", true), (QStringList{"G1", "G2", "G1", "T a", "G0"}));
}
