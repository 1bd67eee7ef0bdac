// The editor's reader and writer: what is read, written and read again keeps every format, and the
// page shows the rewritten text exactly as the original.
#include "document/uFotobuchDocument.h"
#include "editing/uTextEditing.h"
#include "render/uBitmapDrawContext.h"
#include "render/uRTFDrawer.h"
#include "render/uRTFParser.h"
#include "render/uRTFTextDocument.h"
#include "support/PageElements.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QString describe(const QTextCharFormat& f) {
    QStringList families = f.fontFamilies().toStringList();
    return QStringLiteral("%1 %2pt%3%4%5%6 #%7%8")
        .arg(families.value(0))
        .arg(f.fontPointSize())
        .arg(f.fontWeight() >= QFont::DemiBold ? " b" : "")
        .arg(f.fontItalic() ? " i" : "")
        .arg(f.fontUnderline() ? " u" : "")
        .arg(f.fontStrikeOut() ? " s" : "")
        .arg(f.foreground().color().rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'))
        .arg(f.property(RTFText::kFieldInstruction).toString());
}

// Paragraphs with their alignment and the format of their mark, then runs of characters in one
// format (however the document cut them into fragments).
QStringList describe(const QTextDocument& document) {
    QStringList out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        out << QStringLiteral("paragraph %1 [%2]")
                   .arg(int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask))
                   .arg(describe(block.charFormat()));
        QString run, format;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString f = describe(it.fragment().charFormat());
            if (f != format && !run.isEmpty()) {
                out << format + ": " + run;
                run.clear();
            }
            format = f;
            run += it.fragment().text();
        }
        if (!run.isEmpty())
            out << format + ": " + run;
    }
    return out;
}

QImage render(const QByteArray& rtf, int horzAlign, int vertAlign) {
    TFBDocument doc;
    TFBPage* page = doc.Pages.Add(std::make_unique<TFBPage>(&doc));
    auto* text = TestSupport::placeElement<TFBTextElement>(page, 50, 30, 80, 50);
    text->SetHorzAlign(uint8_t(horzAlign));
    text->SetVertAlign(uint8_t(vertAlign));
    text->SetRTF(rtf);
    QImage image(400, 240, QImage::Format_ARGB32);
    image.fill(0xFFFFFFFFu);
    TBitmapDrawContext dc(image);
    dc.Transformation.Scale(4);
    DrawTextElementText(dc, *text);
    return image;
}

QByteArray fuzzSample(const char* name) {
    QFile file(QStringLiteral(TINTARO_TEST_DATA "/../fuzz/fuzz_rtfdrawer/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// The texts the program makes itself, and hand-made ones with what editors and other writers put in.
std::vector<QByteArray> samples() {
    std::vector<QByteArray> texts = {
        // A new text element as the panel fills it, and the texts of the sample documents.
        TextEditing::PlainTextAsRTF(QStringLiteral("Neuer Text\nzweite Zeile"),
                                    TDefaultWerte::Instance().Font),
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Sommer am Meer}",
        "{\\rtf1\\ansi Gr\\'fc\\'dfe aus \xe4\xf6\xfc}",
        // Several fonts, sizes, colours, styles, alignments and paragraphs, an empty one among them.
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}{\\f2 Courier "
        "New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\pard\\qc\\f0\\fs40 Gro\\'dfe \\b Fotos\\b0  am {\\i Meer}\\par"
        "\\pard\\ql\\f1\\fs24\\cf1 Zweite \\ul Zeile\\ulnone  mit \\strike Strich\\strike0\\par\\fs60\\par"
        "\\qr\\f2\\fs28\\cf2 Dritte Zeile, rechts\\par\\qj\\f0\\fs20\\cf0 Ein l\\'e4ngerer Absatz im "
        "Blocksatz, "
        "der \\b\\i sicher\\b0\\i0  in mehrere Zeilen umbricht, weil er breiter ist als das Feld.}",
        // Characters outside Windows-1252, next to ones inside it.
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs32 \\u321?\\'f3d\\u378? \\u8364? und "
        "\\u937?\\u956?\\u941?\\u947?\\u945?,"
        " Ti\\u7871?ng Vi\\u7879?t}",
        // A font that is not installed keeps its name; fields; escapes and special characters.
        "{\\rtf1{\\fonttbl{\\f0 Tintaro Missing Face;}}\\f0\\fs30 Ersatzschrift}",
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Seite {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}} von "
        "Foto-Buch}",
        "{\\rtf1 a\\~b a\\_b \\{x\\} back\\\\slash \\ldblquote q\\rdblquote  \\emdash  tab\\tab x "
        "{\\plain\\fs36 "
        "plain}}",
        // Texts of other writers.
        fuzzSample("word-like.rtf"),
        fuzzSample("tables.rtf"),
    };
    return texts;
}

} // namespace

TEST(RTFTextDocument, ReadWriteReadKeepsEveryFormatAndThePageShowsTheSame) {
    int index = 0;
    for (const QByteArray& original : samples()) {
        SCOPED_TRACE(index++);
        SCOPED_TRACE(original.toStdString());
        QTextDocument first;
        ASSERT_TRUE(RTFText::ReadRTF(original, first).Complete);
        const QByteArray written = RTFText::WriteRTF(first);
        QTextDocument second;
        ASSERT_TRUE(RTFText::ReadRTF(written, second).Complete) << written.toStdString();
        EXPECT_EQ(describe(first), describe(second)) << written.toStdString();
        // Writing is stable: the editor's own text comes back unchanged.
        EXPECT_EQ(RTFText::WriteRTF(second), written);
        for (const auto& [h, v] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{3, 2}}) {
            const QImage before = render(original, h, v);
            const QImage after = render(written, h, v);
            QImage blank(before.size(), before.format());
            blank.fill(0xFFFFFFFFu);
            // One sample's huge font puts its baseline far below the box.
            if (!original.contains("\\fs2147483647")) {
                EXPECT_FALSE(before == blank) << "nothing drawn";
            }
            EXPECT_TRUE(before == after) << "alignment " << h << "/" << v << "\n" << written.toStdString();
        }
    }
}

TEST(RTFTextDocument, ReadsWhatTheDrawerDraws) {
    QTextDocument doc;
    RTFText::ReadRTF(
        "{\\rtf1{\\fonttbl{\\f0 Tintaro Missing Face;}{\\f1 Arial;}}{\\colortbl;\\red0\\green128\\blue0;}"
        "\\f0\\fs41 Ab {\\b\\cf1\\f1 cd}\\u937? e\\par\\par}",
        doc);
    const QStringList expected = {
        "paragraph 1 [Arial 10pt #000000]",
        "Tintaro Missing Face 20pt #000000: Ab ",
        "Arial 20pt b #008000: cd",
        QStringLiteral("Tintaro Missing Face 20pt #000000: \u03A9 e"),
        "paragraph 1 [Tintaro Missing Face 20pt #000000]",
        "paragraph 1 [Tintaro Missing Face 20pt #000000]",
    };
    EXPECT_EQ(describe(doc), expected);
    EXPECT_EQ(RTFText::PlainTextRTF("{\\rtf1 Eins\\par Zwei {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}}"),
              QStringLiteral("Eins\nZwei <PAGE>"));
}

TEST(RTFTextDocument, WritesCharactersOutsideTheCodePageAsUnicodeWithAFallback) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("\u0141\u00f3d\u017a \u20ac {x} \U0001F600"));
    const QByteArray rtf = RTFText::WriteRTF(doc);
    EXPECT_NE(rtf.indexOf("\\u321?\\'f3d\\u378? \\'80 \\{x\\} \\u-10179?\\u-8704?"), -1) << rtf.toStdString();
    QTextDocument back;
    RTFText::ReadRTF(rtf, back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
}

TEST(RTFTextDocument, TextThatDoesNotParseFillsWhatWasReadAndReportsTheError) {
    QTextDocument doc;
    const RTFText::TReadResult result = RTFText::ReadRTF("{\\rtf1 {\\b fett} und mehr", doc);
    EXPECT_FALSE(result.Complete);
    EXPECT_EQ(result.Error, QStringLiteral("Unmatched Brace"));
    // Text after the last brace is never reported.
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("fett"));
    EXPECT_THROW(RTFText::NormalizeRTF("}"), RTFParseException);
}
