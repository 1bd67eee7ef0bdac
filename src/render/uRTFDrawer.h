#pragma once

#include "platform/uFont.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TDrawContext;
class TFBTextElement;
class TRTFParser;

// What a rich text is cut into: words, break opportunities, paragraph ends, alignment changes and
// fields, each with the font it is drawn in and measured once in document millimetres.
enum TRTFTokenKind : quint8 {
    rtkWord = 0,
    rtkBreak = 1, // a space, or the empty token after a hyphen
    rtkParagraph = 2,
    rtkAlignment = 4,
    rtkField = 5
};

// Horizontal alignment of alignment tokens and of DrawText.
enum TRTFAlignment : quint8 { rtaLeft = 0, rtaCenter = 1, rtaRight = 2, rtaJustify = 3 };

struct TRTFToken {
    float Width = 0;      // mm; 0 for paragraph and alignment tokens
    float LineHeight = 0; // mm, font height plus external leading
    float Ascent = 0;     // mm
    int DeviceHeight = 0; // px on the target device, filled when drawing
    int DeviceAscent = 0;
    quint8 Kind = rtkWord;
    QByteArray Text; // Windows-1252; "?" for a character outside it
    // The text as drawn when it holds characters outside Windows-1252 that a font can show
    // (empty otherwise, and then Text is drawn).
    QString Wide;
    QByteArray FieldInstruction; // fields only
    // The font in force when the token was made (none for alignment tokens); tokens in the same
    // font share one copy, which keeps long texts small.
    std::shared_ptr<const TFont> FontRef;
    quint8 Alignment = rtaLeft;  // alignment tokens only
    std::vector<float> Advances; // mm, cumulative advance after each character drawn

    const TFont& Font() const;
    // What is drawn: Wide, or Text decoded.
    QString DrawnText() const;
};

struct TRTFLine {
    float Height = 0; // mm, largest LineHeight of its tokens
    float Ascent = 0; // mm, largest Ascent, filled when drawing
    int DeviceAscent = 0;
    float Width = 0; // mm, sum of its tokens' widths
    int SpaceCount = 0;
    bool EndsParagraph = false;
    int FirstToken = 0;         // inclusive
    int LastToken = 0;          // inclusive
    quint8 Alignment = rtaLeft; // in force; drawing follows the element's alignment instead
};

// A font's metrics in font units at its em square, as the drawer measures with them. The width
// table belongs to whoever answers the query and stays valid for the rest of the program.
struct TRTFFontMetrics {
    int EmSize = 2048;
    int Height = 0; // ascent plus descent
    int Ascent = 0;
    int ExternalLeading = 0;
    const qint32* CharWidths = nullptr; // 256 entries, by Windows-1252 code
};

// Where the drawer gets font metrics from. The program measures through the process-wide font
// cache; tests give fixed metrics so that line breaking does not depend on the installed fonts.
class TRTFMeasure {
public:
    virtual ~TRTFMeasure() = default;
    virtual TRTFFontMetrics Metrics(const TFont& font) const = 0;
    // Whether a font of this name can be used for drawing; unknown fonts become "Arial".
    virtual bool IsInstalled(const QString& fontName) const = 0;

    // Characters outside Windows-1252 (\uN escapes). A character that neither the font nor a
    // substitute can show is drawn as "?".
    // Whether the font's own face has the character.
    virtual bool HasCharacter(const TFont&, char16_t) const { return false; }
    // The family of an installed font that shows a character the font lacks, or empty.
    virtual QString SubstituteFamily(const TFont&, char16_t) const { return {}; }
    // The advance of such a character in font units at the font's em size.
    virtual int Advance(const TFont&, char16_t) const { return 0; }
};

// The measure of the program: metrics from the process-wide font cache, installed fonts from the
// platform's font database.
std::shared_ptr<const TRTFMeasure> DefaultRTFMeasure();

// Parses rich text into tokens with their fonts and measures them; knows nothing of lines.
class TRTFBasicDrawer {
public:
    // Without a measure the drawer measures through the process-wide font cache.
    explicit TRTFBasicDrawer(std::shared_ptr<const TRTFMeasure> measure = nullptr);
    virtual ~TRTFBasicDrawer();
    TRTFBasicDrawer(const TRTFBasicDrawer&) = delete;
    TRTFBasicDrawer& operator=(const TRTFBasicDrawer&) = delete;

    // Parses and measures the text, then calls OnChange. A parse error (RTFParseException)
    // propagates; the tokens stay as far as they were built and OnChange is not called.
    virtual void SetRTF(const QByteArray& text);
    const QByteArray& RTF() const { return rtf_; }

    std::function<void()> OnChange;

    // Paragraph marks at the end only add empty lines below the text and are dropped; a reader
    // that edits the text keeps them.
    bool KeepTrailingParagraphs = false;

    int TokenCount() const { return int(tokens_.size()); }
    const TRTFToken& Token(int index) const { return tokens_[size_t(index)]; }

    struct FontEntry {
        QString Name;
        int Number;
    };
    struct CharsetEntry {
        int Charset;
        int Number;
    };
    struct ColorEntry {
        QString Text; // "%d %d %d" of red, green, blue
        qint32 Color; // 0x00BBGGRR
    };
    const std::vector<FontEntry>& FontTable() const { return fontTable_; }
    const std::vector<CharsetEntry>& CharsetTable() const { return charsetTable_; }
    const std::vector<ColorEntry>& ColorTable() const { return colorTable_; }

    const TRTFMeasure& Measure() const { return *measure_; }

protected:
    std::vector<TRTFToken> tokens_;

private:
    enum class Destination { Body, FontTable, ColorTable, Field };

    void resetState();
    void onGroup(TRTFParser& parser);
    void onText(TRTFParser& parser, const QByteArray& text);
    void onUnicode(char16_t unit, const QByteArray& fallback);
    // Text runs collect until the next group or control word, so that a character reported on
    // its own (onUnicode) stays within its word.
    void flushRun();
    void handleText(const QByteArray& text, const QString& wide);
    void onControl(TRTFParser& parser, const QByteArray& word, bool hasParameter, int parameter);
    void bodyControl(TRTFParser& parser, const QByteArray& word, bool hasParameter, int parameter);
    // "\\*" marks a group whose words this drawer does not know: it is skipped up to its end.
    bool ignoresStarGroup(const TRTFParser& parser, const QByteArray& word);
    void addBodyText(const QByteArray& text);
    void addWord(const QByteArray& word);
    void addWideBodyText(const QString& text);
    void addWideWord(const QString& word);
    void addWidePiece(const QString& piece);
    void addToken(quint8 kind, const QByteArray& text);
    void addAlignment(quint8 alignment);
    void addFontName(const QByteArray& text);
    void finishFontName();
    void applyPlain();
    void setStyle(TFontStyles bit, bool on);
    QString fontNameOf(int number) const;
    int charsetOf(int number) const;
    qint32 colorOf(int index) const;
    void measureTokens();

    std::shared_ptr<const TRTFMeasure> measure_;
    QByteArray rtf_;
    std::vector<FontEntry> fontTable_;
    std::vector<CharsetEntry> charsetTable_;
    std::vector<ColorEntry> colorTable_;

    TFont currentFont_;
    std::shared_ptr<const TFont> sharedFont_; // copy of currentFont_ for the next tokens
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    int currentFontNumber_ = 0;
    int currentCharset_ = kDefaultCharset;
    int defaultFontNumber_ = 0;
    Destination destination_ = Destination::Body;
    int modeDepth_ = 0;
    int ignoreDepth_ = 0;
    bool ignoring_ = false;
    bool expectFieldInstruction_ = false;
    int lastGroupDepth_ = 0;
    std::vector<TFont> fontStack_;
    QByteArray pendingFontName_;
    QByteArray runBytes_;
    QString runWide_; // the run decoded, once it holds a character outside Windows-1252
};

// Where a token is drawn: its left end and the baseline of its line, in mm.
struct TRTFPlacement {
    int Token = 0;
    float X = 0;
    float Baseline = 0;
};

// Breaks the tokens into lines for a width and draws them with the element's alignment.
class TRTFDrawer : public TRTFBasicDrawer {
public:
    using TRTFBasicDrawer::TRTFBasicDrawer;

    // The visible tokens of the text in the box of size width x height centred at (cx, cy):
    // lines that do not fit below the box are left out (the first line always shows), text taller
    // than the box starts at its top. Lays out anew when the width changed. HorzAlign: 0 left,
    // 1 centre, 2 right, 3 justify; VertAlign: 0 top, 1 centre, 2 bottom.
    std::vector<TRTFPlacement> Place(int horzAlign, float cx, float cy, float width, float height,
                                     int vertAlign);

    // Draws the visible tokens through the context, each on its line's common baseline even
    // where the device rounds font sizes. Changes the context's font and brush.
    void DrawText(TDrawContext& context, int horzAlign, float cx, float cy, float width, float height,
                  int vertAlign);

    void SetRTF(const QByteArray& text) override;

    // Builds the lines for a width in mm; a negative width builds none.
    void Layout(double width);
    double LayoutWidth() const { return layoutWidth_; }

    int LineCount() const { return int(lines_.size()); }
    const TRTFLine& Line(int index) const { return lines_[size_t(index)]; }
    float TotalHeight() const { return totalHeight_; }

private:
    void addLine(int first, int last, bool endsParagraph, quint8 alignment);

    std::vector<TRTFLine> lines_;
    double layoutWidth_ = -1;
    float totalHeight_ = 0;
};

// The rich-text drawer a text element keeps (its `Drawer`), made from the element's text when the
// element has none (at first use and after every change of the text). Its changes mark the
// element's shadow image out of date. Text that does not parse is shown as far as it was read.
TRTFDrawer& TextElementDrawer(TFBTextElement& element);

// Draws a text element's text in its box centred at the origin of the current frame, clipped to
// the box, with its alignment; leaves the brush solid.
void DrawTextInBox(TDrawContext& context, TFBTextElement& element);

// Draws a text element's text in page coordinates: turned with the element, clipped to its box,
// with its alignment. Leaves transformation and clip as they were, also when drawing fails.
void DrawTextElementText(TDrawContext& context, TFBTextElement& element);
