#include "render/uRTFDrawer.h"

#include "render/uRTFParser.h"

#include "document/uFotobuchDocument.h"
#include "platform/uCodepage.h"
#include "platform/uDebug.h"
#include "render/uDrawContext.h"
#include "render/uFontCache.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

namespace {

constexpr int kMaxFontPoints = 1638; // the largest size a text editor offers; keeps hostile sizes drawable

// The program's idea of "the default font" is Arial.
QString drawnFontName(const QString& name) {
    return name == QLatin1String("Default") ? QStringLiteral("Arial") : name;
}

// A token's font on a font object; an unchanged font is left alone, so that its owner hears of no
// change.
void applyFont(TFont& target, const TFont& source) {
    const QString name = drawnFontName(source.Name());
    if (target.Name() == name && target.Size() == source.Size() && target.Style() == source.Style() &&
        target.Color() == source.Color() && target.Charset() == source.Charset())
        return;
    target.BeginUpdate();
    target.SetName(name);
    target.SetSize(source.Size());
    target.SetStyle(source.Style());
    target.SetColor(source.Color());
    target.SetCharset(source.Charset());
    target.EndUpdate();
}

// One shared text for every space token: long texts hold hundreds of thousands of them.
const QByteArray& spaceText() {
    static const QByteArray space(" ");
    return space;
}

const TFont& defaultTokenFont() {
    static const TFont font;
    return font;
}

} // namespace

const TFont& TRTFToken::Font() const {
    return FontRef ? *FontRef : defaultTokenFont();
}

QString TRTFToken::DrawnText() const {
    return Wide.isEmpty() ? Codepage::fromAnsi(Text) : Wide;
}

TRTFBasicDrawer::TRTFBasicDrawer(std::shared_ptr<const TRTFMeasure> measure) : measure_(std::move(measure)) {
    if (!measure_)
        measure_ = DefaultRTFMeasure();
}

TRTFBasicDrawer::~TRTFBasicDrawer() = default;

void TRTFBasicDrawer::resetState() {
    tokens_.clear();
    fontTable_.clear();
    charsetTable_.clear();
    colorTable_.clear();
    currentFont_ = TFont();
    sharedFont_.reset();
    red_ = green_ = blue_ = 0;
    currentFontNumber_ = 0;
    currentCharset_ = kDefaultCharset;
    defaultFontNumber_ = 0;
    destination_ = Destination::Body;
    modeDepth_ = 0;
    ignoreDepth_ = 0;
    ignoring_ = false;
    expectFieldInstruction_ = false;
    lastGroupDepth_ = 0;
    fontStack_.clear();
    pendingFontName_.clear();
    runBytes_.clear();
    runWide_.clear();
}

void TRTFBasicDrawer::SetRTF(const QByteArray& text) {
    rtf_ = text;
    resetState();
    {
        TRTFParser parser;
        parser.OnGroup = [this](TRTFParser& sender) { onGroup(sender); };
        parser.OnText = [this](TRTFParser& sender, const QByteArray& run) { onText(sender, run); };
        parser.OnControl = [this](TRTFParser& sender, const QByteArray& word, bool hasParameter,
                                  int parameter) { onControl(sender, word, hasParameter, parameter); };
        parser.OnUnicode = [this](TRTFParser&, char16_t unit, const QByteArray& fallback) {
            onUnicode(unit, fallback);
        };
        try {
            parser.Parse(text);
        } catch (...) {
            flushRun();
            throw;
        }
        flushRun();
    }
    // Paragraph marks at the end would only add empty lines below the text.
    while (!KeepTrailingParagraphs && !tokens_.empty() && tokens_.back().Kind == rtkParagraph)
        tokens_.pop_back();
    fontStack_.clear();
    fontStack_.shrink_to_fit();
    measureTokens();
    if (OnChange)
        OnChange();
}

void TRTFBasicDrawer::onGroup(TRTFParser& parser) {
    flushRun();
    const int depth = parser.Depth();
    if (depth < ignoreDepth_) {
        ignoreDepth_ = 0;
        ignoring_ = false;
    }
    if (depth < modeDepth_) {
        if (destination_ == Destination::FontTable)
            finishFontName();
        modeDepth_ = 0;
        destination_ = Destination::Body;
    }
    if (depth > lastGroupDepth_) {
        fontStack_.push_back(currentFont_);
    } else if (!fontStack_.empty()) {
        currentFont_ = fontStack_.back();
        fontStack_.pop_back();
        sharedFont_.reset();
    }
    lastGroupDepth_ = depth;
}

void TRTFBasicDrawer::onText(TRTFParser&, const QByteArray& text) {
    runBytes_ += text;
    if (!runWide_.isEmpty())
        runWide_ += Codepage::fromAnsi(text);
}

// A character outside Windows-1252 is drawn as itself when the font or a substitute shows it;
// otherwise, and in font names and field instructions, its fallback stands in for it.
void TRTFBasicDrawer::onUnicode(char16_t unit, const QByteArray& fallback) {
    bool shown = false;
    if (destination_ == Destination::Body && !ignoring_) {
        TFont measured = currentFont_;
        measured.SetName(drawnFontName(currentFont_.Name()));
        shown =
            measure_->HasCharacter(measured, unit) || !measure_->SubstituteFamily(measured, unit).isEmpty();
    }
    if (!shown) {
        runBytes_ += fallback;
        if (!runWide_.isEmpty())
            runWide_ += Codepage::fromAnsi(fallback);
        return;
    }
    if (runWide_.isEmpty())
        runWide_ = Codepage::fromAnsi(runBytes_);
    runWide_ += QChar(unit);
    runBytes_ += '?';
}

void TRTFBasicDrawer::flushRun() {
    if (runBytes_.isEmpty())
        return;
    const QByteArray text = std::move(runBytes_);
    const QString wide = std::move(runWide_);
    runBytes_.clear();
    runWide_.clear();
    handleText(text, wide);
}

void TRTFBasicDrawer::handleText(const QByteArray& text, const QString& wide) {
    if (destination_ == Destination::Field) {
        // A field shows as its instruction in angle brackets; its result text is not shown.
        if (expectFieldInstruction_) {
            expectFieldInstruction_ = false;
            addToken(rtkField, "<" + text + ">");
            tokens_.back().FieldInstruction = text;
        }
        return;
    }
    if (ignoring_)
        return;
    switch (destination_) {
    case Destination::Body:
        if (wide.isEmpty())
            addBodyText(text);
        else
            addWideBodyText(wide);
        break;
    case Destination::FontTable:
        addFontName(text);
        break;
    case Destination::ColorTable:
        // Every ";" closes one entry; a table that starts with ";" makes colour 0 black.
        for (const char c : text) {
            if (c != ';')
                continue;
            const auto channel = [](int v) { return std::clamp(v, 0, 255); };
            colorTable_.push_back(
                ColorEntry{QStringLiteral("%1 %2 %3").arg(red_).arg(green_).arg(blue_),
                           qint32(channel(red_) | channel(green_) << 8 | channel(blue_) << 16)});
            red_ = green_ = blue_ = 0;
        }
        break;
    case Destination::Field:
        break;
    }
}

void TRTFBasicDrawer::addBodyText(const QByteArray& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ' ')
            continue;
        if (i > start)
            addWord(text.mid(start, i - start));
        if (i < text.size())
            addToken(rtkBreak, spaceText());
        start = i + 1;
    }
}

// A hyphen is a break opportunity right after it: "Foto-Buch" becomes "Foto-", an empty break
// token and "Buch".
void TRTFBasicDrawer::addWord(const QByteArray& word) {
    qsizetype start = 0;
    while (start < word.size()) {
        const qsizetype hyphen = word.indexOf('-', start);
        if (hyphen < 0) {
            addToken(rtkWord, word.mid(start));
            return;
        }
        addToken(rtkWord, word.mid(start, hyphen + 1 - start));
        addToken(rtkBreak, QByteArray());
        start = hyphen + 1;
    }
}

void TRTFBasicDrawer::addWideBodyText(const QString& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ')
            continue;
        if (i > start)
            addWideWord(text.mid(start, i - start));
        if (i < text.size())
            addToken(rtkBreak, spaceText());
        start = i + 1;
    }
}

void TRTFBasicDrawer::addWideWord(const QString& word) {
    qsizetype start = 0;
    while (start < word.size()) {
        const qsizetype hyphen = word.indexOf(u'-', start);
        if (hyphen < 0) {
            addWidePiece(word.mid(start));
            return;
        }
        addWidePiece(word.mid(start, hyphen + 1 - start));
        addToken(rtkBreak, QByteArray());
        start = hyphen + 1;
    }
}

// A word with characters outside Windows-1252: those the font lacks go into tokens of a
// substitute font that shows them; one that no font shows becomes "?".
void TRTFBasicDrawer::addWidePiece(const QString& piece) {
    TFont measured = currentFont_;
    measured.SetName(drawnFontName(currentFont_.Name()));
    QString shown;     // the characters in the current segment
    QString family;    // its substitute family, empty for the current font
    bool wide = false; // the segment holds a character outside Windows-1252
    const auto flush = [&] {
        if (shown.isEmpty())
            return;
        if (family.isEmpty()) {
            addToken(rtkWord, Codepage::toAnsi(shown));
        } else {
            const TFont saved = currentFont_;
            currentFont_.SetName(family);
            sharedFont_.reset();
            addToken(rtkWord, Codepage::toAnsi(shown));
            currentFont_ = saved;
            sharedFont_.reset();
        }
        if (wide)
            tokens_.back().Wide = shown;
        shown.clear();
        wide = false;
    };
    for (const QChar ch : piece) {
        QString chFamily;
        QChar drawn = ch;
        bool outside = false;
        if (Codepage::ansiOf(ch.unicode()) < 0) {
            outside = true;
            if (!measure_->HasCharacter(measured, ch.unicode())) {
                chFamily = measure_->SubstituteFamily(measured, ch.unicode());
                if (chFamily.isEmpty()) {
                    drawn = u'?';
                    outside = false;
                }
            }
        }
        if (chFamily != family) {
            flush();
            family = chFamily;
        }
        shown += drawn;
        wide = wide || outside;
    }
    flush();
}

void TRTFBasicDrawer::addToken(quint8 kind, const QByteArray& text) {
    if (!sharedFont_)
        sharedFont_ = std::make_shared<const TFont>(currentFont_);
    TRTFToken token;
    token.Kind = kind;
    token.Text = text;
    token.FontRef = sharedFont_;
    tokens_.push_back(std::move(token));
}

void TRTFBasicDrawer::addAlignment(quint8 alignment) {
    TRTFToken token;
    token.Kind = rtkAlignment;
    token.Alignment = alignment;
    tokens_.push_back(std::move(token));
}

// Font names end with ";". Writers may split a name around nested groups ("Courier{\*\falt
// ...};"), so the pieces are collected until the ";" arrives.
void TRTFBasicDrawer::addFontName(const QByteArray& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != ';')
            continue;
        pendingFontName_ += text.mid(start, i - start);
        finishFontName();
        start = i + 1;
    }
    pendingFontName_ += text.mid(start);
}

void TRTFBasicDrawer::finishFontName() {
    const QByteArray raw = pendingFontName_.trimmed();
    pendingFontName_.clear();
    if (raw.isEmpty())
        return;
    QString name = QString::fromLatin1(raw);
    if (!measure_->IsInstalled(name))
        name = QStringLiteral("Arial");
    fontTable_.push_back(FontEntry{name, currentFontNumber_});
    charsetTable_.push_back(CharsetEntry{currentCharset_, currentFontNumber_});
}

bool TRTFBasicDrawer::ignoresStarGroup(const TRTFParser& parser, const QByteArray& word) {
    if (word != "*")
        return false;
    ignoreDepth_ = parser.Depth();
    ignoring_ = true;
    return true;
}

void TRTFBasicDrawer::onControl(TRTFParser& parser, const QByteArray& word, bool hasParameter,
                                int parameter) {
    flushRun();
    switch (destination_) {
    case Destination::Field:
        // The instruction counts even inside the ignored group that usually holds it.
        if (word == "fldinst")
            expectFieldInstruction_ = true;
        return;
    case Destination::FontTable:
        // Writers put "\\*" groups into the font table too ({\\*\\panose ...}, {\\*\\falt ...}):
        // their text is no font name.
        if (ignoring_ || ignoresStarGroup(parser, word))
            return;
        if (word == "f") {
            // A name without its ";" ends where the next font starts.
            finishFontName();
            currentFontNumber_ = parameter;
        } else if (word == "fcharset") {
            currentCharset_ = parameter;
        }
        return;
    case Destination::ColorTable:
        if (ignoring_ || ignoresStarGroup(parser, word))
            return;
        if (word == "red")
            red_ = parameter;
        else if (word == "green")
            green_ = parameter;
        else if (word == "blue")
            blue_ = parameter;
        return;
    case Destination::Body:
        if (ignoring_ || ignoresStarGroup(parser, word))
            return;
        bodyControl(parser, word, hasParameter, parameter);
        return;
    }
}

void TRTFBasicDrawer::bodyControl(TRTFParser& parser, const QByteArray& word, bool hasParameter,
                                  int parameter) {
    const bool on = !hasParameter || parameter != 0;
    if (word == "i") {
        setStyle(fsItalic, on);
    } else if (word == "b") {
        setStyle(fsBold, on);
    } else if (word == "ul") {
        setStyle(fsUnderline, on);
    } else if (word == "ulnone") {
        setStyle(fsUnderline, false);
    } else if (word == "strike") {
        setStyle(fsStrikeOut, on);
    } else if (word == "f") {
        currentFont_.SetName(fontNameOf(parameter));
        currentFont_.SetCharset(quint8(charsetOf(parameter)));
        sharedFont_.reset();
    } else if (word == "fs") {
        // Half points; hostile sizes are kept within what can still be drawn.
        currentFont_.SetSize(std::clamp(parameter / 2, 0, kMaxFontPoints));
        sharedFont_.reset();
    } else if (word == "cf") {
        currentFont_.SetColor(colorOf(parameter));
        sharedFont_.reset();
    } else if (word == "plain") {
        applyPlain();
    } else if (word == "pard") {
        applyPlain();
        addAlignment(rtaLeft);
    } else if (word == "par") {
        addToken(rtkParagraph, QByteArray());
    } else if (word == "qc") {
        addAlignment(rtaCenter);
    } else if (word == "qj") {
        addAlignment(rtaJustify);
    } else if (word == "ql") {
        addAlignment(rtaLeft);
    } else if (word == "qr") {
        addAlignment(rtaRight);
    } else if (word == "tab") {
        addBodyText(QByteArray(" "));
    } else if (word == "~") {
        // Non-breaking space and hyphen of other writers: shown, but no break opportunity.
        addToken(rtkWord, QByteArray("\xA0"));
    } else if (word == "_") {
        addToken(rtkWord, QByteArray("-"));
    } else if (word == "fonttbl") {
        destination_ = Destination::FontTable;
        modeDepth_ = parser.Depth();
    } else if (word == "colortbl") {
        destination_ = Destination::ColorTable;
        modeDepth_ = parser.Depth();
    } else if (word == "deff") {
        defaultFontNumber_ = parameter;
    } else if (word == "field") {
        destination_ = Destination::Field;
        modeDepth_ = parser.Depth();
    }
}

void TRTFBasicDrawer::applyPlain() {
    currentFont_.SetName(fontNameOf(defaultFontNumber_));
    currentFont_.SetCharset(quint8(charsetOf(defaultFontNumber_)));
    currentFont_.SetStyle(0);
    currentFont_.SetSize(10);
    currentFont_.SetColor(colorOf(0));
    sharedFont_.reset();
}

void TRTFBasicDrawer::setStyle(TFontStyles bit, bool on) {
    currentFont_.SetStyle(on ? TFontStyles(currentFont_.Style() | bit)
                             : TFontStyles(currentFont_.Style() & ~bit));
    sharedFont_.reset();
}

QString TRTFBasicDrawer::fontNameOf(int number) const {
    if (fontTable_.empty())
        return QStringLiteral("Arial");
    for (const FontEntry& entry : fontTable_) {
        if (entry.Number == number)
            return entry.Name;
    }
    return fontTable_.front().Name;
}

int TRTFBasicDrawer::charsetOf(int number) const {
    if (charsetTable_.empty())
        return kDefaultCharset;
    for (const CharsetEntry& entry : charsetTable_) {
        if (entry.Number == number)
            return entry.Charset;
    }
    return charsetTable_.front().Charset;
}

qint32 TRTFBasicDrawer::colorOf(int index) const {
    if (index < 0 || size_t(index) >= colorTable_.size())
        return 0;
    return colorTable_[size_t(index)].Color;
}

// Measured once per text, in millimetres from the em-square metrics, so that the lines come out
// the same on every device and at every zoom.
void TRTFBasicDrawer::measureTokens() {
    const TFont* lastFont = nullptr;
    TRTFFontMetrics metrics;
    for (TRTFToken& token : tokens_) {
        token.Advances.clear();
        token.Width = 0;
        if (token.Kind == rtkAlignment) {
            // Alignment tokens carry no font; they must not make their line taller.
            token.LineHeight = token.Ascent = 0;
            continue;
        }
        const TFont& font = token.Font();
        if (lastFont != &font) {
            TFont measured = font;
            measured.SetName(drawnFontName(font.Name()));
            metrics = measure_->Metrics(measured);
            lastFont = &font;
        }
        const double emSize = metrics.EmSize > 0 ? metrics.EmSize : 2048;
        const double scale = font.Size() / 72.0 * 25.4 / emSize;
        const auto mm = [scale](double fontUnits) { return float(fontUnits * scale); };
        token.LineHeight = mm(double(metrics.Height) + metrics.ExternalLeading);
        token.Ascent = mm(metrics.Ascent);
        if (token.Kind == rtkParagraph)
            continue;
        float advance = 0;
        if (token.Wide.isEmpty()) {
            token.Advances.resize(size_t(token.Text.size()));
            for (qsizetype i = 0; i < token.Text.size(); ++i) {
                const int code = static_cast<unsigned char>(token.Text[i]);
                advance += metrics.CharWidths ? mm(metrics.CharWidths[code]) : 0.0f;
                token.Advances[size_t(i)] = advance;
            }
        } else {
            TFont measured = font;
            measured.SetName(drawnFontName(font.Name()));
            token.Advances.resize(size_t(token.Wide.size()));
            for (qsizetype i = 0; i < token.Wide.size(); ++i) {
                const char16_t ch = token.Wide[i].unicode();
                const int code = Codepage::ansiOf(ch);
                if (code >= 0)
                    advance += metrics.CharWidths ? mm(metrics.CharWidths[code]) : 0.0f;
                else
                    advance += mm(measure_->Advance(measured, ch));
                token.Advances[size_t(i)] = advance;
            }
        }
        token.Width = advance;
    }
}

// ---------------------------------------------------------------------------------------------

void TRTFDrawer::SetRTF(const QByteArray& text) {
    layoutWidth_ = -1;
    lines_.clear();
    totalHeight_ = 0;
    TRTFBasicDrawer::SetRTF(text);
}

void TRTFDrawer::Layout(double width) {
    lines_.clear();
    totalHeight_ = 0;
    layoutWidth_ = width;
    const int count = TokenCount();
    if (count == 0 || width < 0)
        return;

    int lineStart = 0;
    int lastBreak = -1;
    double used = 0;
    quint8 alignment = rtaLeft;
    for (int i = 0; i < count; ++i) {
        const TRTFToken& token = tokens_[size_t(i)];
        switch (token.Kind) {
        case rtkParagraph:
            addLine(lineStart, i, true, alignment);
            lineStart = i + 1;
            lastBreak = -1;
            used = 0;
            break;
        case rtkAlignment:
            alignment = token.Alignment;
            break;
        case rtkBreak:
            if (used + token.Width > width) {
                // The space at which the line breaks is dropped.
                addLine(lineStart, i - 1, false, alignment);
                lineStart = i + 1;
                lastBreak = -1;
                used = 0;
            } else {
                lastBreak = i;
                used += token.Width;
            }
            break;
        default: // words and fields
            if (used + token.Width <= width) {
                used += token.Width;
            } else if (lastBreak < 0) {
                // No break on this line yet: the word starts the next one (and overflows when it
                // is wider than the whole line).
                addLine(lineStart, i - 1, false, alignment);
                lineStart = i;
                used = token.Width;
            } else {
                // Back to the last break: the words after it move to the next line.
                addLine(lineStart, lastBreak - 1, false, alignment);
                lineStart = lastBreak + 1;
                lastBreak = -1;
                i = lineStart;
                const TRTFToken& first = tokens_[size_t(i)];
                if (first.Kind == rtkAlignment)
                    alignment = first.Alignment;
                used = first.Width;
            }
            break;
        }
    }
    addLine(lineStart, count - 1, false, alignment);
    if (!lines_.empty())
        lines_.back().EndsParagraph = true;
}

std::vector<TRTFPlacement> TRTFDrawer::Place(int horzAlign, float cx, float cy, float width, float height,
                                             int vertAlign) {
    if (layoutWidth_ != double(width))
        Layout(width);
    std::vector<TRTFPlacement> placements;
    const float top = cy - height / 2;
    const float bottom = cy + height / 2;
    const float left = cx - width / 2;

    float y = top;
    if (vertAlign == 1)
        y = cy - totalHeight_ / 2;
    else if (vertAlign == 2)
        y = bottom - totalHeight_;
    // Text taller than the box starts at its top.
    y = std::max(top, y);

    for (size_t l = 0; l < lines_.size(); ++l) {
        TRTFLine& line = lines_[l];
        // The first line always shows; the others only when they end within the box.
        if (l > 0 && y + line.Height > bottom + 0.05f)
            break;
        line.Ascent = 0;
        for (int i = line.FirstToken; i <= line.LastToken; ++i)
            line.Ascent = std::max(line.Ascent, tokens_[size_t(i)].Ascent);

        float x = left;
        if (horzAlign == rtaCenter)
            x = cx - line.Width / 2;
        else if (horzAlign == rtaRight)
            x = cx + width / 2 - line.Width;
        x = std::max(left, x);
        const bool stretch = horzAlign == rtaJustify && !line.EndsParagraph && line.SpaceCount > 0;
        const float extra = stretch ? (width - line.Width) / float(line.SpaceCount) : 0.0f;
        for (int i = line.FirstToken; i <= line.LastToken; ++i) {
            const TRTFToken& token = tokens_[size_t(i)];
            if (token.Kind == rtkParagraph || token.Kind == rtkAlignment)
                continue;
            placements.push_back(TRTFPlacement{i, x, y + line.Ascent});
            x += token.Width;
            if (token.Kind == rtkBreak)
                x += extra;
        }
        y += line.Height;
    }
    return placements;
}

void TRTFDrawer::DrawText(TDrawContext& context, int horzAlign, float cx, float cy, float width, float height,
                          int vertAlign) {
    if (layoutWidth_ != double(width))
        Layout(width);

    // Device metrics of the lines that can show: the font sizes the device really uses.
    float sum = 0;
    for (TRTFLine& line : lines_) {
        line.DeviceAscent = 0;
        line.Ascent = 0;
        for (int i = line.FirstToken; i <= line.LastToken; ++i) {
            TRTFToken& token = tokens_[size_t(i)];
            if (token.Kind != rtkWord && token.Kind != rtkBreak && token.Kind != rtkField)
                continue;
            applyFont(context.Font, token.Font());
            const TTextMetric metric = context.GetTextMetrics();
            token.DeviceHeight = metric.Height;
            token.DeviceAscent = metric.Ascent;
            line.DeviceAscent = std::max(line.DeviceAscent, token.DeviceAscent);
            line.Ascent = std::max(line.Ascent, token.Ascent);
        }
        sum += line.Height;
        if (sum > height)
            break;
    }

    context.Brush().SetStyle(bsClear);
    for (const TRTFPlacement& placed : Place(horzAlign, cx, cy, width, height, vertAlign)) {
        const TRTFToken& token = tokens_[size_t(placed.Token)];
        if (token.Text.isEmpty())
            continue;
        applyFont(context.Font, token.Font());
        // TextOut places the top of the text; the device ascent, taken back to millimetres, puts
        // every token's baseline on the line's baseline.
        float ax = 0;
        float ay = 0;
        context.Transformation.InverseTransformVector(0, float(token.DeviceAscent), ax, ay);
        const float a = VectorLength(PointF(ax, ay));
        context.TextOut(token.DrawnText(), 0, placed.X, placed.Baseline - a);
    }
}

void TRTFDrawer::addLine(int first, int last, bool endsParagraph, quint8 alignment) {
    if (first > last)
        return;
    TRTFLine line;
    line.FirstToken = first;
    line.LastToken = last;
    line.EndsParagraph = endsParagraph;
    line.Alignment = alignment;
    bool holdsText = false;
    for (int i = first; i <= last; ++i) {
        const TRTFToken& token = tokens_[size_t(i)];
        if (token.Kind == rtkAlignment)
            continue;
        holdsText = true;
        line.Width += token.Width;
        line.Height = std::max(line.Height, token.LineHeight);
        if (token.Kind == rtkBreak)
            ++line.SpaceCount;
    }
    if (!holdsText)
        return;
    totalHeight_ += line.Height;
    lines_.push_back(line);
}

namespace {

// A font name counts as installed when the font database knows the family, or when fontconfig
// substitutes a metric-compatible family for it (Arial, Times New Roman, Courier New); a name that
// only reaches the general fallback family is not installed.
bool fontIsInstalled(const QString& name) {
    if (name.trimmed().isEmpty())
        return false;
    static QHash<QString, bool> known;
    const auto it = known.constFind(name);
    if (it != known.cend())
        return *it;
    // A text from elsewhere can name any number of fonts; the answers are cheap to find again.
    if (known.size() >= 4096)
        known.clear();
    static const QString fallback = QFontInfo(QFont(QStringLiteral("Tintaro No Such Font"))).family();
    const bool installed = QFontDatabase::hasFamily(name) || QFontInfo(QFont(name)).family() != fallback;
    known.insert(name, installed);
    return installed;
}

class TFontCacheMeasure : public TRTFMeasure {
public:
    TRTFFontMetrics Metrics(const TFont& font) const override {
        const TFontInfo& info = FontCache().GetFontInfo(font);
        return TRTFFontMetrics{info.EmSize(), info.Metrics().Height, info.Metrics().Ascent,
                               info.Metrics().ExternalLeading, info.CharWidths().data()};
    }
    bool IsInstalled(const QString& fontName) const override { return fontIsInstalled(fontName); }

    bool HasCharacter(const TFont& font, char16_t ch) const override {
        if (QChar::isSurrogate(ch))
            return false;
        const QRawFont& raw = FontCache().GetFontInfo(font).RawFont();
        return raw.isValid() && raw.supportsCharacter(QChar(ch));
    }

    // The face fontconfig falls back to for the character, as text layout would choose it.
    QString SubstituteFamily(const TFont& font, char16_t ch) const override {
        if (QChar::isSurrogate(ch))
            return {};
        const QString key = font.Name() + QChar(u'\x1f') + QString::number(font.Style()) + QChar(ch);
        const auto it = substitutes_.constFind(key);
        if (it != substitutes_.cend())
            return *it;
        if (substitutes_.size() >= 4096)
            substitutes_.clear();
        QFont wanted(font.Name());
        wanted.setBold(font.IsBold());
        wanted.setItalic(font.IsItalic());
        QTextLayout layout(QString(QChar(ch)), wanted);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QString family;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QRawFont raw = run.rawFont();
            // For a script no installed font covers, layout draws boxes with an engine that has no
            // face (no font tables) and no family name to ask for.
            if (!raw.isValid() || raw.fontTable("head").isEmpty())
                continue;
            if (raw.supportsCharacter(QChar(ch)) && raw.familyName() != font.Name()) {
                family = raw.familyName();
                break;
            }
        }
        // The substitute must show the character once it is looked up under its own name.
        if (!family.isEmpty()) {
            TFont substitute = font;
            substitute.SetName(family);
            if (!HasCharacter(substitute, ch))
                family.clear();
        }
        substitutes_.insert(key, family);
        return family;
    }

    int Advance(const TFont& font, char16_t ch) const override {
        return FontCache().GetFontInfo(font).AdvanceUnits(QChar(ch));
    }

private:
    mutable QHash<QString, QString> substitutes_;
};

} // namespace

std::shared_ptr<const TRTFMeasure> DefaultRTFMeasure() {
    static const auto measure = std::make_shared<const TFontCacheMeasure>();
    return measure;
}

namespace {

// The drawer as the element keeps it: the model knows only the cache base class.
class TTextElementDrawCache : public TElementDrawCache {
public:
    TRTFDrawer Drawer;
};

} // namespace

TRTFDrawer& TextElementDrawer(TFBTextElement& element) {
    if (auto* cache = dynamic_cast<TTextElementDrawCache*>(element.Drawer.get()))
        return cache->Drawer;
    auto cache = std::make_unique<TTextElementDrawCache>();
    TRTFDrawer& drawer = cache->Drawer;
    drawer.OnChange = [&element] { element.Dirty = true; };
    // The cache is in place before parsing, so a text that fails to parse is not parsed again on
    // every repaint; what was read before the error is shown.
    element.Drawer = std::move(cache);
    try {
        drawer.SetRTF(element.RTF());
    } catch (const RTFParseException& e) {
        Debug().Trace(QStringLiteral("Text element: rich text not readable: ") + e.message());
        element.Dirty = true;
    }
    return drawer;
}

void DrawTextInBox(TDrawContext& context, TFBTextElement& element) {
    TRTFDrawer& drawer = TextElementDrawer(element);
    const float w = element.Width;
    const float h = element.Height;
    context.Brush().SetStyle(bsClear);
    context.ClipToRect(TDrawContext::cmIntersect, -w / 2, -h / 2, w / 2, h / 2);
    {
        TClipRestorer restorer(context);
        drawer.DrawText(context, element.HorzAlign, 0, 0, w, h, element.VertAlign);
    }
    context.Brush().SetStyle(bsSolid);
}

void DrawTextElementText(TDrawContext& context, TFBTextElement& element) {
    // The drawer is made (the text parsed) also while the box is off screen; the brush ends solid.
    TextElementDrawer(element);
    context.Brush().SetStyle(bsClear);
    {
        TTransformationSaver saver(context.Transformation);
        context.Transformation.Translate(element.CenterX, element.CenterY);
        context.Transformation.Rotate(element.Angle);
        const float w = element.Width;
        const float h = element.Height;
        const TRect box = context.Transformation.BoundingRect(-w / 2, -h / 2, w / 2, h / 2);
        // Bounding boxes are inclusive, the clip rectangle is exclusive.
        const TRect exclusive{box.Left, box.Top, box.Right + 1, box.Bottom + 1};
        if (!IntersectRect(exclusive, context.ClipRect).IsEmpty())
            DrawTextInBox(context, element);
    }
    context.Brush().SetStyle(bsSolid);
}
