#include "render/uRTFTextDocument.h"

#include "platform/uCodepage.h"
#include "platform/uFont.h"
#include "render/uRTFDrawer.h"
#include "render/uRTFParser.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace RTFText {

namespace {

constexpr int kMaxHalfPoints = 2 * 1638; // the drawer's largest size

// The reader takes the drawer's tokens as they are: every font name counts as installed (the
// editor keeps the name; the drawer substitutes when it draws), every character as showable, and
// nothing needs measuring.
class TReaderMeasure : public TRTFMeasure {
public:
    TRTFFontMetrics Metrics(const TFont&) const override { return TRTFFontMetrics{}; }
    bool IsInstalled(const QString&) const override { return true; }
    bool HasCharacter(const TFont&, char16_t) const override { return true; }
};

Qt::Alignment qtAlignment(quint8 alignment) {
    switch (alignment) {
    case rtaCenter:
        return Qt::AlignHCenter;
    case rtaRight:
        return Qt::AlignRight;
    case rtaJustify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

QColor qtColor(qint32 color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// What the writer writes of a character format.
struct TRunFormat {
    QString Name;
    int HalfPoints = -1;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QRgb Color = 0; // 0xRRGGBB, alpha dropped

    bool operator==(const TRunFormat&) const = default;
};

QString familyOf(const QTextCharFormat& format, const QFont& defaultFont) {
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    if (format.hasProperty(QTextFormat::FontFamily)) {
        const QString family = format.stringProperty(QTextFormat::FontFamily);
        if (!family.isEmpty())
            return family;
    }
    return defaultFont.family();
}

TRunFormat runFormatOf(const QTextCharFormat& format, const QFont& defaultFont) {
    TRunFormat run;
    // A ";" would end the name in the font table.
    run.Name = familyOf(format, defaultFont).remove(u';').trimmed();
    if (run.Name.isEmpty())
        run.Name = QStringLiteral("Arial");
    const double points =
        format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : defaultFont.pointSizeF();
    run.HalfPoints = std::clamp(int(std::lround(points * 2)), 0, kMaxHalfPoints);
    run.Bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                           : defaultFont.weight() >= QFont::DemiBold;
    run.Italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : defaultFont.italic();
    run.Underline = format.fontUnderline();
    run.StrikeOut = format.fontStrikeOut();
    const QBrush brush = format.foreground();
    run.Color = brush.style() == Qt::NoBrush ? 0 : (brush.color().rgb() & 0xFFFFFF);
    return run;
}

// Builds the document from the drawer's tokens. Runs of the same font go in as one piece: long
// texts have a token for every word and every space.
class TDocumentBuilder {
public:
    explicit TDocumentBuilder(QTextDocument& document) : cursor_(&document) {}

    void Build(const TRTFBasicDrawer& tokens) {
        QTextCharFormat start = CharFormatOf(TFont());
        cursor_.setBlockFormat(block_);
        cursor_.setBlockCharFormat(start);
        cursor_.setCharFormat(start);
        for (int i = 0; i < tokens.TokenCount(); ++i) {
            const TRTFToken& token = tokens.Token(i);
            switch (token.Kind) {
            case rtkWord:
            case rtkBreak: {
                if (token.Text.isEmpty())
                    continue;
                QString text = token.DrawnText();
                // "\_" (a hyphen that is no break opportunity) is the only lone hyphen not
                // followed by the empty break the drawer puts after every other hyphen.
                if (token.Kind == rtkWord && token.Text == "-" && !followedByHyphenBreak(tokens, i))
                    text = QString(QChar(0x2011));
                append(token, text);
                break;
            }
            case rtkField: {
                flush();
                QTextCharFormat format = CharFormatOf(token.Font());
                format.setProperty(kFieldInstruction, Codepage::fromAnsi(token.FieldInstruction));
                cursor_.insertText(Codepage::fromAnsi(token.Text), format);
                break;
            }
            case rtkParagraph:
                flush();
                cursor_.insertBlock(block_, CharFormatOf(token.Font()));
                break;
            case rtkAlignment:
                flush();
                block_.setAlignment(qtAlignment(token.Alignment));
                cursor_.setBlockFormat(block_);
                break;
            }
        }
        flush();
    }

private:
    static bool followedByHyphenBreak(const TRTFBasicDrawer& tokens, int i) {
        if (i + 1 >= tokens.TokenCount())
            return false;
        const TRTFToken& next = tokens.Token(i + 1);
        return next.Kind == rtkBreak && next.Text.isEmpty();
    }

    void append(const TRTFToken& token, const QString& text) {
        if (token.FontRef.get() != runFont_)
            flush();
        if (!runFont_) {
            runFont_ = token.FontRef.get();
            runFormat_ = CharFormatOf(token.Font());
        }
        run_ += text;
    }

    void flush() {
        if (!run_.isEmpty())
            cursor_.insertText(run_, runFormat_);
        run_.clear();
        runFont_ = nullptr;
    }

    QTextCursor cursor_;
    QTextBlockFormat block_;
    QString run_;
    const TFont* runFont_ = nullptr;
    QTextCharFormat runFormat_;
};

// Writes the document, keeping track of what the drawer has in force so that only changes are
// written: a control word splits the text where the format changes and nowhere else.
class TWriter {
public:
    explicit TWriter(const QTextDocument& document)
        : document_(document), defaultFont_(document.defaultFont()) {}

    QByteArray Write() {
        collectTables();
        QByteArray body;
        body += "\\pard";
        // The state after \pard: the first font, 10 points, no style, colour 0. Name and size are
        // written for the first run in any case, for readers with other defaults.
        state_ = TRunFormat{QString(), -1, false, false, false, false, 0};
        Qt::Alignment alignment = Qt::AlignLeft;
        bool first = true;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            if (!first) {
                // The paragraph mark has the format that the next paragraph starts with.
                writeFormat(body, runFormatOf(block.charFormat(), defaultFont_));
                body += "\\par";
                pendingSpace_ = true;
            }
            const Qt::Alignment blockAlignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            if (blockAlignment != alignment ||
                (first && blockAlignment != Qt::AlignLeft && blockAlignment != Qt::AlignLeading)) {
                alignment = blockAlignment;
                body += alignmentWord(alignment);
                pendingSpace_ = true;
            }
            first = false;
            writeBlock(body, block);
        }
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i)
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 " + escaped(fonts_[i]) + ";}";
        out += "}\r\n{\\colortbl ;";
        for (qsizetype i = 1; i < colors_.size(); ++i) {
            const QRgb c = colors_[i];
            out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
                   "\\blue" + QByteArray::number(qBlue(c)) + ";";
        }
        out += "}\r\n";
        out += body;
        out += "}\r\n";
        return out;
    }

private:
    static QByteArray alignmentWord(Qt::Alignment alignment) {
        if (alignment & Qt::AlignHCenter)
            return "\\qc";
        if (alignment & Qt::AlignRight)
            return "\\qr";
        if (alignment & Qt::AlignJustify)
            return "\\qj";
        return "\\ql";
    }

    void collectTables() {
        // Colour 0 is black: the table starts with ";".
        colors_ = {0};
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            addToTables(runFormatOf(block.charFormat(), defaultFont_));
            for (auto it = block.begin(); !it.atEnd(); ++it)
                addToTables(runFormatOf(it.fragment().charFormat(), defaultFont_));
        }
        if (fonts_.isEmpty())
            fonts_ << QStringLiteral("Arial");
    }

    void addToTables(const TRunFormat& run) {
        if (!fonts_.contains(run.Name))
            fonts_ << run.Name;
        if (!colors_.contains(run.Color))
            colors_ << run.Color;
    }

    void writeBlock(QByteArray& body, const QTextBlock& block) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            writeFormat(body, runFormatOf(format, defaultFont_));
            const QVariant field = format.property(kFieldInstruction);
            if (field.isValid() && !field.toString().isEmpty()) {
                writeField(body, field.toString(), fragment.text());
                continue;
            }
            writeText(body, fragment.text());
        }
    }

    // A field is written once for its text (which shows its instruction); neighbouring fields
    // with the same instruction stay one.
    void writeField(QByteArray& body, const QString& instruction, const QString&) {
        body += "{\\field{\\*\\fldinst ";
        body += escaped(instruction);
        body += "}{\\fldrslt }}";
        pendingSpace_ = false;
    }

    void writeFormat(QByteArray& body, const TRunFormat& run) {
        const auto word = [&](const QByteArray& w) {
            body += w;
            pendingSpace_ = true;
        };
        if (run.Name != state_.Name)
            word("\\f" + QByteArray::number(fonts_.indexOf(run.Name)));
        if (run.HalfPoints != state_.HalfPoints)
            word("\\fs" + QByteArray::number(run.HalfPoints));
        if (run.Bold != state_.Bold)
            word(run.Bold ? "\\b" : "\\b0");
        if (run.Italic != state_.Italic)
            word(run.Italic ? "\\i" : "\\i0");
        if (run.Underline != state_.Underline)
            word(run.Underline ? "\\ul" : "\\ulnone");
        if (run.StrikeOut != state_.StrikeOut)
            word(run.StrikeOut ? "\\strike" : "\\strike0");
        if (run.Color != state_.Color)
            word("\\cf" + QByteArray::number(colors_.indexOf(run.Color)));
        state_ = run;
    }

    void writeText(QByteArray& body, const QString& text) {
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u == u'\t') {
                body += "\\tab";
                pendingSpace_ = true;
                continue;
            }
            if (u == 0x2028 || u == QChar::ParagraphSeparator) {
                // A line break within a paragraph: the drawer knows paragraph marks only.
                body += "\\par";
                pendingSpace_ = true;
                continue;
            }
            if (u == 0xA0) {
                body += "\\~";
                pendingSpace_ = false;
                continue;
            }
            if (u == 0x2011) {
                body += "\\_";
                pendingSpace_ = false;
                continue;
            }
            if (u < 0x20 || (u >= 0xFDD0 && u <= 0xFDEF) || u == QChar::ObjectReplacementCharacter)
                continue;
            const int code = Codepage::ansiOf(u);
            if (code < 0) {
                // The fallback "?" follows the number directly, so no delimiter is needed.
                body += "\\u" + QByteArray::number(int(qint16(u))) + "?";
                pendingSpace_ = false;
                continue;
            }
            if (pendingSpace_) {
                body += ' ';
                pendingSpace_ = false;
            }
            if (code == '\\' || code == '{' || code == '}') {
                body += '\\';
                body += char(code);
            } else if (code >= 0x80) {
                body += "\\'";
                body += QByteArray::number(code, 16).rightJustified(2, '0');
            } else {
                body += char(code);
            }
        }
    }

    static QByteArray escaped(const QString& text) {
        QByteArray out;
        for (const QChar ch : text) {
            const int code = Codepage::ansiOf(ch.unicode());
            if (code < 0) {
                out += '?';
            } else if (code == '\\' || code == '{' || code == '}') {
                out += '\\';
                out += char(code);
            } else if (code >= 0x80) {
                out += "\\'" + QByteArray::number(code, 16).rightJustified(2, '0');
            } else if (code >= 0x20) {
                out += char(code);
            }
        }
        return out;
    }

    const QTextDocument& document_;
    const QFont defaultFont_;
    QStringList fonts_;
    QList<QRgb> colors_;
    TRunFormat state_;
    bool pendingSpace_ = false; // a control word was written last: text needs its delimiter
};

} // namespace

QTextCharFormat CharFormatOf(const TFont& font) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{font.Name()});
    // A size of 0 (the drawer draws nothing then) stays below a point in the editor.
    format.setFontPointSize(font.Size() > 0 ? font.Size() : 0.5);
    format.setFontWeight(font.IsBold() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font.IsItalic());
    format.setFontUnderline(font.IsUnderline());
    format.setFontStrikeOut(font.IsStrikeOut());
    format.setForeground(qtColor(font.Color()));
    return format;
}

TFont FontOf(const QTextCharFormat& format, const QFont& defaultFont) {
    const TRunFormat run = runFormatOf(format, defaultFont);
    TFontStyles style = 0;
    if (run.Bold)
        style |= fsBold;
    if (run.Italic)
        style |= fsItalic;
    if (run.Underline)
        style |= fsUnderline;
    if (run.StrikeOut)
        style |= fsStrikeOut;
    const qint32 color = qint32(qRed(run.Color) | qGreen(run.Color) << 8 | qBlue(run.Color) << 16);
    return TFont(run.Name, run.HalfPoints / 2, style, color);
}

TReadResult ReadRTF(const QByteArray& rtf, QTextDocument& document) {
    static const auto measure = std::make_shared<const TReaderMeasure>();
    TRTFBasicDrawer tokens(measure);
    tokens.KeepTrailingParagraphs = true;
    TReadResult result;
    try {
        tokens.SetRTF(rtf);
    } catch (const RTFParseException& e) {
        result.Complete = false;
        result.Error = e.message();
    }
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    TDocumentBuilder(document).Build(tokens);
    document.setUndoRedoEnabled(undo);
    return result;
}

QByteArray WriteRTF(const QTextDocument& document) {
    return TWriter(document).Write();
}

namespace {

void readOrRaise(const QByteArray& rtf, QTextDocument& document) {
    const TReadResult result = ReadRTF(rtf, document);
    if (!result.Complete)
        throw RTFParseException(result.Error);
}

} // namespace

QByteArray NormalizeRTF(const QByteArray& rtf) {
    QTextDocument document;
    readOrRaise(rtf, document);
    return WriteRTF(document);
}

QString PlainTextRTF(const QByteArray& rtf) {
    QTextDocument document;
    readOrRaise(rtf, document);
    return document.toPlainText();
}

} // namespace RTFText
