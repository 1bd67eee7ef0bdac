#pragma once

// The rules of the text panel that do not need its widgets: the remembered text defaults, what a
// store of the editor's text does to the element, and the text set from plain text the way the
// panel would (also used by tintaro-cli).

#include "platform/uFont.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QMimeData;
class QObject;
class QTextDocument;
class TFBTextElement;

// The remembered text defaults: what a new empty text element starts with. The text panel keeps
// them up to date whenever the user picks a font name, size, colour, style or the shadow.
struct TDefaultWerte {
    TFont Font{QStringLiteral("Arial"), 12};
    bool Schatten = true;

    static TDefaultWerte& Instance();
};

namespace TextEditing {

// Font sizes the panel accepts: whole points from 1 to the drawer's largest size (kMaxFontSize).
bool IsAcceptedFontSize(int points);

// Stores rich text into the element as the panel does after every change of the editor: the text
// is set, the document marked modified and the element announced (source: the control). Text equal
// to what the element holds changes nothing and announces nothing. Returns whether it changed.
bool StoreText(TFBTextElement& element, const QByteArray& rtf, const QObject* source);

// The rich text of a plain text in one font: lines become paragraphs.
QByteArray PlainTextAsRTF(const QString& text, const TFont& font);

// --- The toolbar

// The editor's style bits of the character attributes.
constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 0x200;
int StyleBitsOf(TFontStyles styles);

// What the toolbar shows for the characters at the caret.
struct TCaretAttributes {
    QString FontName;
    int Size = 12;     // points
    qint32 Color = 0;  // 0x00BBGGRR
    int StyleBits = 0; // kStyleBold | kStyleItalic | kStyleUnderline
    bool operator==(const TCaretAttributes&) const = default;
};
// Properties the format lacks come from the editor's default font.
TCaretAttributes CaretAttributesOf(const QTextCharFormat& format, const QFont& defaultFont);

// The format a style button merges into the selection (or into what is typed next); an unknown
// bit gives an empty format.
QTextCharFormat StyleBitFormat(int bit, bool on);

// The remembered defaults after the user set an attribute: the attributes at the caret.
void RememberDefaults(const TCaretAttributes& attributes);

// --- The element's own properties, set by the toolbar: the element changes, the document is
// marked modified and the element announced, when the value differs. Nothing goes on the undo
// history: the panel's edits are undone by the editor's own undo.
bool SetHorzAlign(TFBTextElement& element, int alignment, const QObject* source);
bool SetVertAlign(TFBTextElement& element, int alignment, const QObject* source);
// The shadow is also remembered for the next new element.
bool SetShadow(TFBTextElement& element, bool on, const QObject* source);

// Takes the new mark of an element the panel shows. For a new element whose text is empty the
// remembered shadow is applied (announced when that changes it) and true returned: the editor
// then starts with the remembered font. Any other element: false, nothing changes.
bool TakeNewElement(TFBTextElement& element, const QObject* source);

// --- Display

// Very light text would vanish on the editor's white background: above this lightness it is shown
// at this lightness. The stored colour stays as it is.
constexpr double kDisplayLightnessCap = 0.86;
QColor DisplayColor(const QColor& stored);

// Shows the characters of a document in DisplayColor: a format of the display only, which the
// document neither stores nor writes.
class TLightnessCapHighlighter : public QSyntaxHighlighter {
public:
    explicit TLightnessCapHighlighter(QTextDocument* document);

protected:
    void highlightBlock(const QString& text) override;
};

// --- Paste

// The longest text a paste inserts; more would make every later keystroke store megabytes and the
// page lay them out, which no text box of a page can show anyway.
constexpr int kMaxPasteLength = 20000;

// What a paste brings, ready to insert: rich text through our reader first, then HTML, then plain
// text (typed in `typing`, the attributes at the caret). The paste rule is applied; pictures and
// tables of HTML are dropped. False when the data holds none of these.
struct TPaste {
    bool Truncated = false; // the text was cut at kMaxPasteLength characters
};
bool BuildPaste(const QMimeData& source, const QTextCharFormat& typing, QTextDocument& pasted,
                TPaste* outcome = nullptr);
bool CanPaste(const QMimeData& source);
// The MIME types of rich text, best first.
const QStringList& RichTextMimeTypes();

// The paste rule: highlights are cleared; underlined characters in pure blue (links) lose the
// colour and the underline. Link anchors go too.
void ApplyPasteRule(QTextDocument& pasted);

} // namespace TextEditing
