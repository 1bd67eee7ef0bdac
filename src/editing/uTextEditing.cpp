#include "editing/uTextEditing.h"

#include "document/uFotobuchDocument.h"
#include "editing/uMulticaster.h"
#include "filters/uHSLUtil.h"
#include "render/uRTFTextDocument.h"
#include "widgets/uFontSizeText.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <vector>

TDefaultWerte& TDefaultWerte::Instance() {
    static TDefaultWerte instance;
    return instance;
}

namespace TextEditing {

bool IsAcceptedFontSize(int points) {
    return points >= 1 && points <= kMaxFontSize;
}

bool StoreText(TFBTextElement& element, const QByteArray& rtf, const QObject* source) {
    if (element.RTF() == rtf)
        return false;
    element.SetRTF(rtf);
    if (TFBDocument* document = element.Document())
        document->Modified = true;
    TMulticaster::instance().NotifyElementChanged(source, &element);
    return true;
}

QByteArray PlainTextAsRTF(const QString& text, const TFont& font) {
    QTextDocument document;
    QTextCursor cursor(&document);
    const QTextCharFormat format = RTFText::CharFormatOf(font);
    cursor.setBlockCharFormat(format);
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    const QStringList lines = normalized.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), format);
        cursor.insertText(lines[i], format);
    }
    return RTFText::WriteRTF(document);
}

// --- The toolbar

int StyleBitsOf(TFontStyles styles) {
    return (styles & fsBold ? kStyleBold : 0) | (styles & fsItalic ? kStyleItalic : 0) |
           (styles & fsUnderline ? kStyleUnderline : 0);
}

TCaretAttributes CaretAttributesOf(const QTextCharFormat& format, const QFont& defaultFont) {
    const TFont font = RTFText::FontOf(format, defaultFont);
    TCaretAttributes attributes;
    attributes.FontName = font.Name();
    attributes.Size = font.Size();
    attributes.Color = font.Color() & 0xFFFFFF;
    attributes.StyleBits = StyleBitsOf(font.Style());
    return attributes;
}

QTextCharFormat StyleBitFormat(int bit, bool on) {
    QTextCharFormat format;
    if (bit == kStyleBold)
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (bit == kStyleItalic)
        format.setFontItalic(on);
    else if (bit == kStyleUnderline)
        format.setFontUnderline(on);
    return format;
}

void RememberDefaults(const TCaretAttributes& attributes) {
    TFontStyles style = 0;
    if (attributes.StyleBits & kStyleBold)
        style |= fsBold;
    if (attributes.StyleBits & kStyleItalic)
        style |= fsItalic;
    if (attributes.StyleBits & kStyleUnderline)
        style |= fsUnderline;
    TDefaultWerte::Instance().Font = TFont(attributes.FontName, attributes.Size, style, attributes.Color);
}

// --- The element's own properties

namespace {

void changed(TFBTextElement& element, const QObject* source) {
    if (TFBDocument* document = element.Document())
        document->Modified = true;
    TMulticaster::instance().NotifyElementChanged(source, &element);
}

} // namespace

bool SetHorzAlign(TFBTextElement& element, int alignment, const QObject* source) {
    alignment = std::clamp(alignment, 0, 3);
    if (element.HorzAlign == alignment)
        return false;
    element.SetHorzAlign(uint8_t(alignment));
    changed(element, source);
    return true;
}

bool SetVertAlign(TFBTextElement& element, int alignment, const QObject* source) {
    alignment = std::clamp(alignment, 0, 2);
    if (element.VertAlign == alignment)
        return false;
    element.SetVertAlign(uint8_t(alignment));
    changed(element, source);
    return true;
}

bool SetShadow(TFBTextElement& element, bool on, const QObject* source) {
    TDefaultWerte::Instance().Schatten = on;
    if (element.HasShadow == on)
        return false;
    element.SetHasShadow(on);
    changed(element, source);
    return true;
}

bool TakeNewElement(TFBTextElement& element, const QObject* source) {
    const bool fresh = element.IsNew && element.RTF().isEmpty();
    element.IsNew = false;
    if (!fresh)
        return false;
    const bool shadow = TDefaultWerte::Instance().Schatten;
    if (element.HasShadow != shadow) {
        element.SetHasShadow(shadow);
        changed(element, source);
    }
    return true;
}

// --- Display

QColor DisplayColor(const QColor& stored) {
    const QRgb rgb = stored.rgb();
    TRGBHSL colour(std::int32_t(qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16));
    if (colour.L() <= kDisplayLightnessCap)
        return stored;
    colour.SetL(kDisplayLightnessCap);
    return QColor(colour.R(), colour.G(), colour.B());
}

TLightnessCapHighlighter::TLightnessCapHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void TLightnessCapHighlighter::highlightBlock(const QString&) {
    const QTextBlock block = currentBlock();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat stored = fragment.charFormat();
        // Text without a colour of its own is black.
        if (stored.foreground().style() == Qt::NoBrush)
            continue;
        const QColor colour = stored.foreground().color();
        const QColor shown = DisplayColor(colour);
        if (shown == colour)
            continue;
        QTextCharFormat display;
        display.setForeground(shown);
        setFormat(fragment.position() - block.position(), fragment.length(), display);
    }
}

// --- Paste

const QStringList& RichTextMimeTypes() {
    static const QStringList types = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                      QStringLiteral("text/richtext")};
    return types;
}

bool CanPaste(const QMimeData& source) {
    for (const QString& type : RichTextMimeTypes()) {
        if (source.hasFormat(type))
            return true;
    }
    return source.hasHtml() || source.hasText();
}

namespace {

// The outermost tables of the frame (an inner table goes with its outer one).
void collectTables(QTextFrame* frame, std::vector<QTextTable*>& tables) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables.push_back(table);
        else
            collectTables(child, tables);
    }
}

void dropTablesAndPictures(QTextDocument& pasted) {
    std::vector<QTextTable*> tables;
    collectTables(pasted.rootFrame(), tables);
    for (auto it = tables.rbegin(); it != tables.rend(); ++it)
        (*it)->removeRows(0, (*it)->rows()); // all rows: the table goes
    std::vector<std::pair<int, int>> pictures;
    for (QTextBlock block = pasted.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                pictures.emplace_back(it.fragment().position(), it.fragment().length());
        }
    }
    QTextCursor cursor(&pasted);
    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

// What HTML leaves open takes the attributes at the caret.
void underlay(QTextDocument& pasted, const QTextCharFormat& typing) {
    struct TRun {
        int Start, Length;
        QTextCharFormat Format;
    };
    std::vector<TRun> runs;
    for (QTextBlock block = pasted.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextCharFormat format = typing;
            format.merge(it.fragment().charFormat());
            runs.push_back({it.fragment().position(), it.fragment().length(), format});
        }
    }
    QTextCursor cursor(&pasted);
    for (const TRun& run : runs) {
        cursor.setPosition(run.Start);
        cursor.setPosition(run.Start + run.Length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.Format);
    }
}

bool truncate(QTextDocument& pasted) {
    // characterCount counts the closing paragraph separator too.
    const int length = pasted.characterCount() - 1;
    if (length <= kMaxPasteLength)
        return false;
    QTextCursor cursor(&pasted);
    cursor.setPosition(kMaxPasteLength);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    return true;
}

} // namespace

bool BuildPaste(const QMimeData& source, const QTextCharFormat& typing, QTextDocument& pasted,
                TPaste* outcome) {
    TPaste result;
    const bool undo = pasted.isUndoRedoEnabled();
    pasted.setUndoRedoEnabled(false);
    QString rtfType;
    for (const QString& type : RichTextMimeTypes()) {
        if (source.hasFormat(type)) {
            rtfType = type;
            break;
        }
    }
    if (!rtfType.isEmpty()) {
        // Text that does not parse to its end pastes what could be read.
        RTFText::ReadRTF(source.data(rtfType), pasted);
        result.Truncated = truncate(pasted);
    } else if (source.hasHtml()) {
        pasted.setHtml(source.html());
        dropTablesAndPictures(pasted);
        result.Truncated = truncate(pasted);
        underlay(pasted, typing);
    } else if (source.hasText()) {
        QString text = source.text();
        if (text.size() > kMaxPasteLength) {
            text.truncate(kMaxPasteLength);
            result.Truncated = true;
        }
        pasted.clear();
        QTextCursor cursor(&pasted);
        cursor.setBlockCharFormat(typing);
        cursor.insertText(text, typing);
    } else {
        pasted.setUndoRedoEnabled(undo);
        return false;
    }
    ApplyPasteRule(pasted);
    pasted.setUndoRedoEnabled(undo);
    if (outcome)
        *outcome = result;
    return true;
}

void ApplyPasteRule(QTextDocument& pasted) {
    struct TRun {
        int Start, Length;
        QTextCharFormat Format;
    };
    std::vector<TRun> runs;
    for (QTextBlock block = pasted.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            bool change = false;
            if (format.hasProperty(QTextFormat::BackgroundBrush)) {
                format.clearBackground();
                change = true;
            }
            const QBrush brush = format.foreground();
            if (format.fontUnderline() && brush.style() != Qt::NoBrush &&
                (brush.color().rgb() & 0xFFFFFF) == 0x0000FF) {
                format.clearForeground();
                // Both the style and the older flag: either one underlines.
                format.setFontUnderline(false);
                format.clearProperty(QTextFormat::FontUnderline);
                change = true;
            }
            if (format.isAnchor() || format.hasProperty(QTextFormat::AnchorHref)) {
                format.setAnchor(false);
                format.clearProperty(QTextFormat::AnchorHref);
                format.clearProperty(QTextFormat::AnchorName);
                change = true;
            }
            if (change)
                runs.push_back({fragment.position(), fragment.length(), format});
        }
    }
    QTextCursor cursor(&pasted);
    for (const TRun& run : runs) {
        cursor.setPosition(run.Start);
        cursor.setPosition(run.Start + run.Length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(run.Format);
    }
}

} // namespace TextEditing
