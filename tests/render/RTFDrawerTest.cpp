#include "render/RTFTestMeasure.h"
#include "render/uRTFDrawer.h"
#include "render/uRTFParser.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// "Kind:Text" of every token, e.g. "0:Hallo 1:_ 0:Welt" (a space shows as "_").
QString tokenList(const TRTFBasicDrawer& drawer) {
    QStringList parts;
    for (int i = 0; i < drawer.TokenCount(); ++i) {
        const TRTFToken& t = drawer.Token(i);
        QString text = QString::fromLatin1(t.Text).replace(' ', '_');
        if (t.Kind == rtkAlignment)
            text = QString::number(t.Alignment);
        parts << QStringLiteral("%1:%2").arg(t.Kind).arg(text);
    }
    return parts.join(' ');
}

// The words of each line, e.g. "aaa_bbb|ccc".
QString lineList(const TRTFDrawer& drawer) {
    QStringList lines;
    for (int l = 0; l < drawer.LineCount(); ++l) {
        QString text;
        for (int i = drawer.Line(l).FirstToken; i <= drawer.Line(l).LastToken; ++i) {
            if (drawer.Token(i).Kind == rtkParagraph)
                text += "¶";
            else if (drawer.Token(i).Kind != rtkAlignment)
                text += QString::fromLatin1(drawer.Token(i).Text).replace(' ', '_');
        }
        lines << text;
    }
    return lines.join('|');
}

class RTFDrawerTest : public ::testing::Test {
protected:
    std::shared_ptr<TestMeasure> measure = std::make_shared<TestMeasure>();
    TRTFDrawer drawer{measure};
};

} // namespace

TEST_F(RTFDrawerTest, BodyTextBecomesWordsBreaksAndHyphenBreaks) {
    drawer.SetRTF("{\\rtf1 Hallo  Welt}");
    EXPECT_EQ(tokenList(drawer), "0:Hallo 1:_ 1:_ 0:Welt");
    drawer.SetRTF("{\\rtf1 Foto-Buch-Seite x-}");
    EXPECT_EQ(tokenList(drawer), "0:Foto- 1: 0:Buch- 1: 0:Seite 1:_ 0:x- 1:");
    // A tab is a break opportunity; line breaks in the source are not text.
    drawer.SetRTF("{a\\tab b\r\nc}");
    EXPECT_EQ(tokenList(drawer), "0:a 1:_ 0:bc");
}

TEST_F(RTFDrawerTest, ParagraphsAlignmentsAndTrailingParagraphMarks) {
    drawer.SetRTF("{\\qc a\\par\\pard b\\qj\\qr\\ql\\par\\par}");
    EXPECT_EQ(tokenList(drawer), "4:1 0:a 2: 4:0 0:b 4:3 4:2 4:0");
    // Trailing paragraph marks are removed only up to the last token of another kind.
    drawer.SetRTF("{a\\par\\par b\\par\\par}");
    EXPECT_EQ(tokenList(drawer), "0:a 2: 2: 0:b");
}

TEST_F(RTFDrawerTest, CharacterFormattingFollowsGroups) {
    drawer.SetRTF("{\\b a{\\i\\ul b\\ulnone c}\\b0\\strike d\\strike0\\fs24 e\\fs7 f}");
    ASSERT_EQ(drawer.TokenCount(), 6);
    EXPECT_EQ(drawer.Token(0).Font().Style(), fsBold);
    EXPECT_EQ(drawer.Token(1).Font().Style(), fsBold | fsItalic | fsUnderline);
    EXPECT_EQ(drawer.Token(2).Font().Style(), fsBold | fsItalic);
    EXPECT_EQ(drawer.Token(3).Font().Style(), fsStrikeOut);
    EXPECT_EQ(drawer.Token(4).Font().Style(), 0);
    EXPECT_EQ(drawer.Token(4).Font().Size(), 12);
    EXPECT_EQ(drawer.Token(5).Font().Size(), 3); // half points, rounded down
    // \plain resets everything to the default font at 10 points.
    drawer.SetRTF("{\\b\\i\\fs40 a\\plain b}");
    EXPECT_EQ(drawer.Token(1).Font().Style(), 0);
    EXPECT_EQ(drawer.Token(1).Font().Size(), 10);
    EXPECT_EQ(drawer.Token(1).Font().Name(), "Arial");
}

TEST_F(RTFDrawerTest, HostileFontSizesStayDrawable) {
    drawer.SetRTF("{\\fs2147483647 a\\fs-80 b}");
    EXPECT_LE(drawer.Token(0).Font().Size(), 1638);
    EXPECT_EQ(drawer.Token(1).Font().Size(), 0);
    EXPECT_EQ(drawer.Token(1).Width, 0.0f);
}

TEST_F(RTFDrawerTest, FontTableNamesCharsetsAndUnknownFonts) {
    drawer.SetRTF("{\\rtf1\\deff1{\\fonttbl{\\f0\\fswiss\\fcharset0 Courier New;}"
                  "{\\f1\\froman\\fcharset2{\\*\\panose 02020603050405020304}Times New Roman;}"
                  "{\\f2\\fnil Wingdingsque;}}"
                  "\\f0 a\\f2 b\\f9 c\\plain d}");
    ASSERT_EQ(drawer.FontTable().size(), 3u);
    EXPECT_EQ(drawer.FontTable()[0].Name, "Courier New");
    EXPECT_EQ(drawer.FontTable()[1].Name, "Times New Roman");
    // A font that is not installed becomes Arial when the table is built.
    EXPECT_EQ(drawer.FontTable()[2].Name, "Arial");
    EXPECT_EQ(drawer.CharsetTable()[1].Charset, 2);
    EXPECT_EQ(drawer.CharsetTable()[1].Number, 1);
    ASSERT_EQ(drawer.TokenCount(), 4);
    EXPECT_EQ(drawer.Token(0).Font().Name(), "Courier New");
    EXPECT_EQ(drawer.Token(0).Font().Charset(), 0);
    EXPECT_EQ(drawer.Token(1).Font().Name(), "Arial");
    // Unknown numbers take the first entry; \plain takes the default font (\deff).
    EXPECT_EQ(drawer.Token(2).Font().Name(), "Courier New");
    EXPECT_EQ(drawer.Token(3).Font().Name(), "Times New Roman");
    EXPECT_EQ(drawer.Token(3).Font().Charset(), 2);
    // Without a font table every font is Arial in the default character set.
    drawer.SetRTF("{\\f3 x}");
    EXPECT_EQ(drawer.Token(0).Font().Name(), "Arial");
    EXPECT_EQ(drawer.Token(0).Font().Charset(), kDefaultCharset);
}

TEST_F(RTFDrawerTest, FontNamesSplitAroundGroupsStillComeThrough) {
    drawer.SetRTF("{{\\fonttbl{\\f0\\fnil Courier New{\\*\\falt Courier};}{\\f1 Times New Roman}}\\f1 a}");
    ASSERT_EQ(drawer.FontTable().size(), 2u);
    EXPECT_EQ(drawer.FontTable()[0].Name, "Courier New");
    EXPECT_EQ(drawer.FontTable()[1].Name, "Times New Roman");
    EXPECT_EQ(drawer.Token(0).Font().Name(), "Times New Roman");
}

TEST_F(RTFDrawerTest, ColourTable) {
    drawer.SetRTF(
        "{{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue255;}\\cf1 a\\cf2 b\\cf3 c\\cf0 d"
        "\\cf-1 e}");
    ASSERT_EQ(drawer.ColorTable().size(), 3u);
    // A table that starts with ";" makes colour 0 black.
    EXPECT_EQ(drawer.ColorTable()[0].Text, "0 0 0");
    EXPECT_EQ(drawer.ColorTable()[0].Color, 0);
    EXPECT_EQ(drawer.ColorTable()[1].Text, "255 0 0");
    EXPECT_EQ(drawer.ColorTable()[2].Color, 0xFF8000);
    EXPECT_EQ(drawer.Token(0).Font().Color(), 0x0000FF);
    EXPECT_EQ(drawer.Token(1).Font().Color(), 0xFF8000);
    EXPECT_EQ(drawer.Token(2).Font().Color(), 0); // beyond the table: black
    EXPECT_EQ(drawer.Token(3).Font().Color(), 0);
    EXPECT_EQ(drawer.Token(4).Font().Color(), 0);
    // \plain takes colour 0 of the table.
    drawer.SetRTF("{{\\colortbl\\red0\\green0\\blue255;}\\cf5 a\\plain b}");
    EXPECT_EQ(drawer.Token(1).Font().Color(), 0xFF0000);
}

TEST_F(RTFDrawerTest, FieldsShowTheirInstructionAndStarGroupsAreIgnored) {
    drawer.SetRTF("{a {\\field{\\*\\fldinst PAGE}{\\fldrslt\\b 7}} b{\\*\\generator Writer 1.0;}c}");
    EXPECT_EQ(tokenList(drawer), "0:a 1:_ 5:<PAGE> 1:_ 0:b 0:c");
    EXPECT_EQ(drawer.Token(2).FieldInstruction, "PAGE");
    EXPECT_EQ(drawer.Token(2).Font().Style(), 0);
    // The group after an ignored one is shown again.
    drawer.SetRTF("{{\\*\\x hidden{nested}}shown}");
    EXPECT_EQ(tokenList(drawer), "0:shown");
}

TEST_F(RTFDrawerTest, UnicodeEscapesOfOtherWriters) {
    drawer.SetRTF("{\\rtf1\\ansi\\uc1 Preis: 5\\u8364\\'80, \\u1078?}");
    EXPECT_EQ(tokenList(drawer), QString::fromLatin1("0:Preis: 1:_ 0:5\x80, 1:_ 0:?"));
    // Non-breaking spaces and hyphens show without offering a break.
    drawer.SetRTF("{10\\~kg Nord\\_Ost}");
    EXPECT_EQ(tokenList(drawer), QString::fromLatin1("0:10 0:\xA0 0:kg 1:_ 0:Nord 0:- 0:Ost"));
}

TEST_F(RTFDrawerTest, OnChangeOnlyAfterSuccessfulParsing) {
    int changes = 0;
    drawer.OnChange = [&changes] { ++changes; };
    drawer.SetRTF("{a b}");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(drawer.RTF(), "{a b}");
    EXPECT_THROW(drawer.SetRTF("{x y}}"), RTFParseException);
    EXPECT_EQ(changes, 1);
    // The tokens stay as far as they were built.
    EXPECT_EQ(tokenList(drawer), "0:x 1:_ 0:y");
    EXPECT_THROW(drawer.SetRTF("{x"), RTFParseException);
    EXPECT_EQ(changes, 1);
}

TEST_F(RTFDrawerTest, MeasuresInMillimetresFromEmMetrics) {
    drawer.SetRTF("{\\fs20 ab c\\par\\fs40 d}");
    const double em10 = 10 / 72.0 * 25.4; // em of 10 points in mm
    ASSERT_EQ(drawer.TokenCount(), 5);
    const TRTFToken& ab = drawer.Token(0);
    ASSERT_EQ(ab.Advances.size(), 2u);
    EXPECT_NEAR(ab.Advances[0], TestMeasure::kWidthA / 1000.0 * em10, 1e-5);
    EXPECT_NEAR(ab.Advances[1], 2 * TestMeasure::kWidthA / 1000.0 * em10, 1e-5);
    EXPECT_FLOAT_EQ(ab.Width, ab.Advances[1]);
    EXPECT_NEAR(drawer.Token(1).Width, TestMeasure::kWidthSpace / 1000.0 * em10, 1e-5);
    EXPECT_NEAR(ab.LineHeight, (TestMeasure::kHeight + TestMeasure::kLeading) / 1000.0 * em10, 1e-5);
    EXPECT_NEAR(ab.Ascent, TestMeasure::kAscent / 1000.0 * em10, 1e-5);
    // Paragraph tokens have a height but no width; a font twice the size measures twice as wide.
    EXPECT_EQ(drawer.Token(3).Kind, rtkParagraph);
    EXPECT_EQ(drawer.Token(3).Width, 0.0f);
    EXPECT_GT(drawer.Token(3).LineHeight, 0.0f);
    EXPECT_NEAR(drawer.Token(4).Width, 2 * drawer.Token(2).Width, 1e-5);
    // Alignment tokens never make a line taller.
    drawer.SetRTF("{\\qc\\fs4 x}");
    EXPECT_EQ(drawer.Token(0).LineHeight, 0.0f);
}

TEST_F(RTFDrawerTest, LineBreaking) {
    // With the test metrics at 10 points every letter is 1.7639 mm wide, a space 0.8819 mm.
    drawer.SetRTF("{aaa bbb ccc}");
    const float word = drawer.Token(0).Width;
    const float space = drawer.Token(1).Width;
    drawer.Layout(2 * word + space + 0.001);
    EXPECT_EQ(lineList(drawer), "aaa_bbb|ccc");
    EXPECT_FALSE(drawer.Line(0).EndsParagraph);
    EXPECT_TRUE(drawer.Line(1).EndsParagraph);
    EXPECT_EQ(drawer.Line(0).SpaceCount, 1);
    EXPECT_NEAR(drawer.Line(0).Width, 2 * word + space, 1e-4);
    EXPECT_NEAR(drawer.TotalHeight(), 2 * drawer.Token(0).LineHeight, 1e-4);
    // A word that does not fit goes back to the last break, which is dropped.
    drawer.Layout(2 * word + space * 0.5f);
    EXPECT_EQ(lineList(drawer), "aaa|bbb|ccc");
    drawer.Layout(1000);
    EXPECT_EQ(lineList(drawer), "aaa_bbb_ccc");
    // A word wider than the line stands alone and overflows.
    drawer.Layout(word * 0.5);
    EXPECT_EQ(lineList(drawer), "aaa|bbb|ccc");
    drawer.Layout(-1);
    EXPECT_EQ(drawer.LineCount(), 0);
    EXPECT_EQ(drawer.TotalHeight(), 0.0f);
}

TEST_F(RTFDrawerTest, BreaksRightAfterAHyphen) {
    drawer.SetRTF("{Foto-Buch}");
    const float foto = drawer.Token(0).Width;
    drawer.Layout(foto + 0.1);
    EXPECT_EQ(lineList(drawer), "Foto-|Buch");
    drawer.Layout(drawer.Token(0).Width + drawer.Token(2).Width + 0.001);
    EXPECT_EQ(lineList(drawer), "Foto-Buch");
}

TEST_F(RTFDrawerTest, ParagraphsEndLinesAndTrailingMarksAddNothing) {
    drawer.SetRTF("{a\\par\\par b\\par\\par}");
    drawer.Layout(100);
    EXPECT_EQ(lineList(drawer), "a¶|¶|b");
    EXPECT_TRUE(drawer.Line(0).EndsParagraph);
    EXPECT_TRUE(drawer.Line(1).EndsParagraph);
    EXPECT_TRUE(drawer.Line(2).EndsParagraph);
    const float withMarks = drawer.TotalHeight();
    drawer.SetRTF("{a\\par\\par b}");
    drawer.Layout(100);
    EXPECT_EQ(drawer.TotalHeight(), withMarks);
    // A line of alignment tokens only is no line.
    drawer.SetRTF("{a\\par\\qc}");
    drawer.Layout(100);
    EXPECT_EQ(lineList(drawer), "a¶");
}

TEST_F(RTFDrawerTest, LineHeightIsTheTallestTokenAndBreaksResumeAfterTheLastBreak) {
    drawer.SetRTF("{aa {\\fs40 bb} cc dd}");
    const float aa = drawer.Token(0).Width;
    const float space = drawer.Token(1).Width;
    const float bb = drawer.Token(2).Width;
    // "aa bb" fits, "cc" goes back to the break before it.
    drawer.Layout(aa + space + bb + space + 0.5 * aa);
    EXPECT_EQ(lineList(drawer), "aa_bb|cc_dd");
    EXPECT_FLOAT_EQ(drawer.Line(0).Height, drawer.Token(2).LineHeight);
    EXPECT_FLOAT_EQ(drawer.Line(1).Height, drawer.Token(0).LineHeight);
    EXPECT_FLOAT_EQ(drawer.TotalHeight(), drawer.Line(0).Height + drawer.Line(1).Height);
    EXPECT_EQ(drawer.LayoutWidth(), aa + space + bb + space + 0.5 * aa);
    // A new text needs a new layout.
    drawer.SetRTF("{x}");
    EXPECT_EQ(drawer.LayoutWidth(), -1);
    EXPECT_EQ(drawer.LineCount(), 0);
}

TEST_F(RTFDrawerTest, EmptyTextHasNoLines) {
    drawer.SetRTF("");
    drawer.Layout(50);
    EXPECT_EQ(drawer.LineCount(), 0);
    drawer.SetRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\par\\par}");
    EXPECT_EQ(drawer.TokenCount(), 0);
    drawer.Layout(50);
    EXPECT_EQ(drawer.LineCount(), 0);
}

TEST_F(RTFDrawerTest, HostileTextNeverCrashes) {
    // Deep nesting with a font change in every group.
    const int depth = 100000;
    drawer.SetRTF(QByteArray(depth, '{').append("\\b x").append(QByteArray(depth, '}')));
    EXPECT_EQ(tokenList(drawer), "0:x");
    // Megabytes of words and hyphens.
    QByteArray text = "{";
    while (text.size() < 2 * 1024 * 1024)
        text += "Foto-Buch Seite ";
    text += "}";
    drawer.SetRTF(text);
    EXPECT_EQ(drawer.TokenCount(), 2 * 1024 * 1024 / 16 * 6);
    drawer.Layout(80);
    EXPECT_GT(drawer.LineCount(), 1000);
    // Unknown control words, odd tables and truncated escapes fall back quietly.
    drawer.SetRTF("{{\\fonttbl;;\\f}{\\colortbl\\red999\\green-5;}\\cf0\\f-7\\zzz\\fs x}");
    EXPECT_EQ(drawer.Token(0).Font().Color(), 0x0000FF);
    EXPECT_EQ(drawer.Token(0).Font().Name(), "Arial");
    EXPECT_EQ(drawer.Token(0).Font().Size(), 0);
    EXPECT_THROW(drawer.SetRTF("{\\'4}"), RTFParseException);
}

TEST(RTFDrawerFonts, WindowsFontNamesWithSubstitutesCountAsInstalled) {
    const auto measure = DefaultRTFMeasure();
    EXPECT_TRUE(measure->IsInstalled("Arial"));
    EXPECT_TRUE(measure->IsInstalled("Times New Roman"));
    EXPECT_TRUE(measure->IsInstalled("DejaVu Sans"));
    EXPECT_FALSE(measure->IsInstalled("Tintaro Surely Missing Font"));
    EXPECT_FALSE(measure->IsInstalled(""));
    // The real measure replaces unknown fonts with Arial at table-building time.
    TRTFDrawer drawer;
    drawer.SetRTF("{{\\fonttbl{\\f0 Gibt Es Nicht;}{\\f1 Times New Roman;}}\\f0 a\\f1 b}");
    EXPECT_EQ(drawer.Token(0).Font().Name(), "Arial");
    EXPECT_EQ(drawer.Token(1).Font().Name(), "Times New Roman");
}

namespace {

// Line height and ascent of 10-point text with the test metrics, in mm.
const float kEm10 = 10 / 72.0f * 25.4f;
const float kLineHeight = (TestMeasure::kHeight + TestMeasure::kLeading) / 1000.0f * kEm10;
const float kAscent = TestMeasure::kAscent / 1000.0f * kEm10;

QString placedText(const TRTFDrawer& drawer, const std::vector<TRTFPlacement>& placed) {
    QString text;
    for (const TRTFPlacement& p : placed)
        text += QString::fromLatin1(drawer.Token(p.Token).Text);
    return text;
}

} // namespace

TEST_F(RTFDrawerTest, VerticalAlignmentPutsTheBlockAtTopCentreOrBottom) {
    drawer.SetRTF("{a}");
    // Box 60 x 20 mm centred at (50, 40): top 30, bottom 50.
    EXPECT_NEAR(drawer.Place(0, 50, 40, 60, 20, 0).at(0).Baseline, 30 + kAscent, 1e-4);
    EXPECT_NEAR(drawer.Place(0, 50, 40, 60, 20, 1).at(0).Baseline, 40 - kLineHeight / 2 + kAscent, 1e-4);
    EXPECT_NEAR(drawer.Place(0, 50, 40, 60, 20, 2).at(0).Baseline, 50 - kLineHeight + kAscent, 1e-4);
}

TEST_F(RTFDrawerTest, TextTallerThanTheBoxStartsAtTheTopAndLinesBelowAreCut) {
    drawer.SetRTF("{a\\par b\\par c\\par d\\par e\\par f}");
    for (const int vertAlign : {0, 1, 2}) {
        const auto placed = drawer.Place(0, 50, 40, 60, 10, vertAlign);
        EXPECT_EQ(placedText(drawer, placed), "ab") << vertAlign;
        EXPECT_NEAR(placed.at(0).Baseline, 35 + kAscent, 1e-4) << vertAlign;
        EXPECT_NEAR(placed.at(1).Baseline, 35 + kLineHeight + kAscent, 1e-4) << vertAlign;
    }
    // A line may end up to 0.05 mm below the box and still show.
    EXPECT_EQ(placedText(drawer, drawer.Place(0, 50, 40, 60, 2 * kLineHeight - 0.04f, 1)), "ab");
    EXPECT_EQ(placedText(drawer, drawer.Place(0, 50, 40, 60, 2 * kLineHeight - 0.06f, 1)), "a");
    // The first line shows even in a box too low for it.
    EXPECT_EQ(placedText(drawer, drawer.Place(0, 50, 40, 60, 1, 0)), "a");
}

TEST_F(RTFDrawerTest, HorizontalAlignmentAndOverflowingLines) {
    drawer.SetRTF("{ab}");
    const float w = drawer.Token(0).Width;
    EXPECT_NEAR(drawer.Place(0, 50, 40, 60, 20, 0).at(0).X, 20, 1e-4);
    EXPECT_NEAR(drawer.Place(1, 50, 40, 60, 20, 0).at(0).X, 50 - w / 2, 1e-4);
    EXPECT_NEAR(drawer.Place(2, 50, 40, 60, 20, 0).at(0).X, 80 - w, 1e-4);
    // A line wider than the box starts at its left edge whatever the alignment.
    for (const int horzAlign : {0, 1, 2, 3})
        EXPECT_NEAR(drawer.Place(horzAlign, 50, 40, w / 2, 20, 0).at(0).X, 50 - w / 4, 1e-4) << horzAlign;
}

TEST_F(RTFDrawerTest, JustificationStretchesAllButParagraphEndsAndTheLastLine) {
    drawer.SetRTF("{aaa bbb ccc ddd\\par eee fff}");
    const float word = drawer.Token(0).Width;
    const float space = drawer.Token(1).Width;
    const float box = 2 * word + 2 * space; // two words per line, room left over
    const auto placed = drawer.Place(3, 50, 40, box, 40, 0);
    ASSERT_EQ(placedText(drawer, placed), "aaa bbbccc dddeee fff");
    const float left = 50 - box / 2;
    // Line 1 ends inside the paragraph: stretched to the full width.
    EXPECT_NEAR(placed[2].X, left + word + space + (box - (2 * word + space)), 1e-4);
    EXPECT_NEAR(placed[2].X + word, left + box, 1e-4);
    // Line 2 ends the paragraph, line 3 ends the text: neither is stretched.
    EXPECT_NEAR(placed[5].X, left + word + space, 1e-4);
    EXPECT_NEAR(placed[8].X, left + word + space, 1e-4);
}

TEST_F(RTFDrawerTest, LaysOutOncePerWidthChange) {
    drawer.SetRTF("{aaa bbb ccc ddd eee}");
    const float word = drawer.Token(0).Width;
    drawer.Place(0, 0, 0, 50, 50, 0);
    EXPECT_EQ(drawer.LayoutWidth(), 50.0);
    drawer.Place(0, 0, 0, 50.0001f, 50, 0);
    EXPECT_EQ(drawer.LayoutWidth(), double(50.0001f));
    drawer.Place(0, 0, 0, 2 * word, 50, 0);
    EXPECT_EQ(drawer.LineCount(), 5);
}
