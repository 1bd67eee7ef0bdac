#pragma once

// The rich text of text elements as the editor holds it: a QTextDocument. Reading follows the
// drawer's own interpretation of the format (the same parser and the same rules), so that what the
// editor shows is what the page shows; writing produces text the drawer draws with the editor's
// fonts, sizes, styles, colours and paragraphs.

#include <QByteArray>
#include <QString>
#include <QTextFormat>

class QTextDocument;
class QTextCharFormat;
class TFont;

namespace RTFText {

// Character format property holding the instruction of a field: the field shows as
// "<instruction>" and is written back as a field.
constexpr int kFieldInstruction = QTextFormat::UserProperty + 1;

struct TReadResult {
    bool Complete = true; // false: the text did not parse to its end
    QString Error;        // the parser's message then
};

// Replaces the document's content with the rich text. Text that does not parse fills the document
// with what could be read and reports the error instead of raising it. Font names stay as written,
// also those of fonts that are not installed.
TReadResult ReadRTF(const QByteArray& rtf, QTextDocument& document);

// The document as rich text: a font table and a colour table of what is used, then the
// paragraphs with their alignment and the runs with font, size, bold, italic, underline,
// strike-out and colour; characters outside Windows-1252 as \uN with "?" as the fallback.
QByteArray WriteRTF(const QTextDocument& document);

// Read and written again: the editor's form of any rich text. Raises RTFParseException for text
// that does not parse.
QByteArray NormalizeRTF(const QByteArray& rtf);

// The text without formats, paragraphs separated by "\n" (fields as "<instruction>"). Raises
// RTFParseException for text that does not parse.
QString PlainTextRTF(const QByteArray& rtf);

// The character format of a font as the reader makes it, and the font of a character format as
// the writer takes it (missing properties from the document's default font).
QTextCharFormat CharFormatOf(const TFont& font);
TFont FontOf(const QTextCharFormat& format, const QFont& defaultFont);

} // namespace RTFText
