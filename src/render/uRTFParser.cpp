#include "render/uRTFParser.h"

#include "platform/uCodepage.h"

#include <QBuffer>
#include <QIODevice>

#include <climits>

namespace {

constexpr quint8 kHexNormal = 0;
constexpr quint8 kHexExpectDigits = 2;

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The Windows-1252 byte of a code point, or -1 when the code page has no such character. A NUL
// would end the text for some receivers, so it counts as missing.
int toWindows1252(int codePoint) {
    if (codePoint <= 0 || codePoint > 0xFFFF)
        return -1;
    return Codepage::ansiOf(char16_t(codePoint));
}

} // namespace

TRTFParser::TRTFParser() = default;

const QStringList& TRTFParser::IgnoredDestinations() {
    static const QStringList names = {
        "bin",     "author",  "buptim",     "comment",  "creatim",  "doccomm", "footer",  "footerf",
        "footerl", "footerr", "footnote",   "ftncn",    "ftnsep",   "ftnspec", "header",  "headerf",
        "headerl", "headerr", "info",       "keywords", "operator", "pict",    "printim", "private1",
        "revtim",  "rxe",     "stylesheet", "subject",  "tc",       "title",   "txe",     "xe"};
    return names;
}

void TRTFParser::Parse(QIODevice& stream) {
    Parse(stream.readAll());
}

void TRTFParser::Parse(const QByteArray& text) {
    input_ = text;
    pos_ = 0;
    while (!atEnd()) {
        const char c = input_[pos_++];
        if (c == '\n' || c == '\r')
            continue;
        if (c == '\\') {
            controlSequence();
        } else if (c == '{') {
            openGroup();
        } else if (c == '}') {
            closeGroup();
        } else if (hexState_ == kHexExpectDigits) {
            while (!atEnd() && (input_[pos_] == '\n' || input_[pos_] == '\r'))
                ++pos_;
            // A truncated escape at the very end is dropped like any unfinished sequence.
            if (atEnd())
                break;
            const char second = input_[pos_++];
            const int high = hexValue(c);
            const int low = hexValue(second);
            if (high < 0 || low < 0) {
                throw RTFParseException(QStringLiteral("'$%1' ist kein gültiger Integerwert")
                                            .arg(QString::fromLatin1(QByteArray(1, c).append(second))));
            }
            hexState_ = kHexNormal;
            addOrSkip(char(high * 16 + low));
        } else {
            addOrSkip(c);
        }
    }
    // A fallback cut off by the end of the input belongs to text that is never reported.
    unicodePending_ = false;
    // Text after the last closing brace is never reported.
    pendingText_.clear();
    if (depth_ < 0)
        throw RTFParseException(QStringLiteral("StackUnderflow"));
    if (depth_ > 0)
        throw RTFParseException(QStringLiteral("Unmatched Brace"));
}

void TRTFParser::openGroup() {
    endFallback();
    reportText();
    stateStack_.push_back(GroupState{hexState_, skipping_, unicodeSkip_});
    hexState_ = kHexNormal;
    ++depth_;
    if (OnGroup)
        OnGroup(*this);
}

void TRTFParser::closeGroup() {
    endFallback();
    reportText();
    if (stateStack_.empty())
        throw RTFParseException(QStringLiteral("StackUnderflow"));
    const GroupState outer = stateStack_.back();
    stateStack_.pop_back();
    hexState_ = outer.hexState;
    skipping_ = outer.skipping;
    unicodeSkip_ = outer.unicodeSkip;
    --depth_;
    if (OnGroup)
        OnGroup(*this);
}

void TRTFParser::controlSequence() {
    if (atEnd())
        return;
    const char first = input_[pos_++];
    // A sequence cut off by the end of the input is dropped.
    if (atEnd())
        return;
    if (!isLetter(first)) {
        if (first != '\'')
            endFallback();
        dispatch(QByteArray(1, first), false, 0);
        return;
    }

    const qsizetype wordStart = pos_ - 1;
    while (!atEnd() && isLetter(input_[pos_]))
        ++pos_;
    const QByteArray word = input_.mid(wordStart, pos_ - wordStart);

    bool hasParameter = false;
    long long value = 0;
    bool negative = false;
    if (!atEnd() && input_[pos_] == '-' && pos_ + 1 < input_.size() && isDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    while (!atEnd() && isDigit(input_[pos_])) {
        hasParameter = true;
        // Hostile input may carry thousands of digits: the value saturates instead of overflowing.
        if (value <= INT_MAX)
            value = value * 10 + (input_[pos_] - '0');
        ++pos_;
    }
    int parameter = 0;
    if (hasParameter) {
        if (negative)
            parameter = value > -(long long)INT_MIN ? INT_MIN : int(-value);
        else
            parameter = value > INT_MAX ? INT_MAX : int(value);
    }
    // A space delimiter belongs to the control word; anything else is read again as input.
    if (!atEnd() && input_[pos_] == ' ')
        ++pos_;

    if (unicodeEscape(word, hasParameter, parameter))
        return;
    endFallback();
    dispatch(word, hasParameter, parameter);
}

// \ucN and \uN: the Unicode character is shown when Windows-1252 has it, and the N fallback
// characters that follow are dropped then; otherwise the fallback characters stand in for it.
bool TRTFParser::unicodeEscape(const QByteArray& word, bool hasParameter, int parameter) {
    if (!hasParameter)
        return false;
    if (word == "uc") {
        endFallback();
        unicodeSkip_ = qBound(0, parameter, 16);
        return true;
    }
    if (word != "u")
        return false;
    // Code points above 32767 are written as negative 16-bit numbers.
    const int codePoint = parameter < 0 && parameter >= -32768 ? parameter + 65536 : parameter;
    const int byte = toWindows1252(codePoint);
    endFallback();
    if (byte >= 0) {
        addText(char(byte));
        fallbackLeft_ = unicodeSkip_;
    } else if (OnUnicode && codePoint > 0 && codePoint <= 0xFFFF) {
        reportText();
        unicodePending_ = true;
        unicodeUnit_ = char16_t(codePoint);
        unicodeFallback_.clear();
        fallbackLeft_ = unicodeSkip_;
        if (fallbackLeft_ == 0)
            endFallback();
    }
    return true;
}

void TRTFParser::dispatch(const QByteArray& word, bool hasParameter, int parameter) {
    if (word == "'") {
        hexState_ = kHexExpectDigits;
    } else if (word == "lquote") {
        addText(char(145));
    } else if (word == "rquote") {
        addText(char(146));
    } else if (word.compare("ldblquote", Qt::CaseInsensitive) == 0) {
        addText(char(147));
    } else if (word.compare("rdblquote", Qt::CaseInsensitive) == 0) {
        addText(char(148));
    } else if (word == "bullet") {
        addText(char(149));
    } else if (word == "endash") {
        addText(char(150));
    } else if (word == "emdash") {
        addText(char(151));
    } else if (word == "{" || word == "}" || word == "\\") {
        addText(word[0]);
    } else {
        reportText();
        const QByteArray lower = word.toLower();
        if (IgnoredDestinations().contains(QString::fromLatin1(lower)))
            skipping_ = true;
        else if (!skipping_ && OnControl)
            OnControl(*this, lower, hasParameter, parameter);
    }
}

void TRTFParser::addOrSkip(char c) {
    if (fallbackLeft_ <= 0) {
        addText(c);
        return;
    }
    if (unicodePending_)
        unicodeFallback_.append(c);
    if (--fallbackLeft_ == 0)
        endFallback();
}

void TRTFParser::endFallback() {
    fallbackLeft_ = 0;
    if (!unicodePending_)
        return;
    unicodePending_ = false;
    if (!skipping_ && OnUnicode)
        OnUnicode(*this, unicodeUnit_, unicodeFallback_);
}

void TRTFParser::addText(char c) {
    if (!skipping_)
        pendingText_.append(c);
}

void TRTFParser::reportText() {
    if (!pendingText_.isEmpty() && OnText) {
        // The receiver may be anything; hand it a copy so that clearing cannot pull the rug.
        const QByteArray text = pendingText_;
        pendingText_.clear();
        OnText(*this, text);
        return;
    }
    pendingText_.clear();
}
