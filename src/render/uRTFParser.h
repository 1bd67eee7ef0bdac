#pragma once

#include "platform/Exception.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <vector>

class QIODevice;

// Raised by TRTFParser on structural errors: "StackUnderflow", "Unmatched Brace" and hexadecimal
// escapes that are not a number.
class RTFParseException : public Exception {
public:
    using Exception::Exception;
};

// An event-driven reader of Rich Text Format. It splits the byte stream into runs of plain text,
// control words and group boundaries and reports them to its owner, which interprets them; the
// parser itself knows no formatting. Text is reported in Windows-1252 bytes, as the format stores it.
//
// Use once per text: create, assign the events, Parse, discard.
class TRTFParser {
public:
    using TextEvent = std::function<void(TRTFParser& sender, const QByteArray& text)>;
    using ControlEvent =
        std::function<void(TRTFParser& sender, const QByteArray& word, bool hasParameter, int parameter)>;
    using GroupEvent = std::function<void(TRTFParser& sender)>;
    using UnicodeEvent = std::function<void(TRTFParser& sender, char16_t unit, const QByteArray& fallback)>;

    TRTFParser();

    // A run of plain text (never empty).
    TextEvent OnText;
    // A control word or control symbol, lower-cased, with its optional numeric parameter.
    ControlEvent OnControl;
    // Told after every group opening and closing; Depth() already has its new value.
    GroupEvent OnGroup;
    // A \uN escape of a character that Windows-1252 lacks, one UTF-16 unit per escape (a
    // character beyond the first plane comes as two), with the fallback characters that follow
    // it (in Windows-1252 bytes), which are then not reported as text. The text before the escape
    // is reported first. Left unassigned, the fallback characters stand in as text.
    UnicodeEvent OnUnicode;

    // Reads the stream from its current position to its end. Raises RTFParseException on
    // structural errors; whatever was reported before stays reported.
    void Parse(QIODevice& stream);
    void Parse(const QByteArray& text);

    // Current group nesting depth, 0 outside all groups.
    int Depth() const { return depth_; }

    // The destinations whose content is neither reported as text nor as control words.
    static const QStringList& IgnoredDestinations();

private:
    // What an enclosing group had in force when a nested group opened.
    struct GroupState {
        quint8 hexState;
        bool skipping;
        int unicodeSkip;
    };

    void openGroup();
    void closeGroup();
    void controlSequence();
    void dispatch(const QByteArray& word, bool hasParameter, int parameter);
    bool unicodeEscape(const QByteArray& word, bool hasParameter, int parameter);
    void addText(char c);
    // A character that the fallback of a \uN escape may swallow.
    void addOrSkip(char c);
    // The fallback ends (all its characters read, or a group or control word came first).
    void endFallback();
    void reportText();
    bool atEnd() const { return pos_ >= input_.size(); }

    QByteArray input_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    quint8 hexState_ = 0;
    bool skipping_ = false;
    QByteArray pendingText_;
    std::vector<GroupState> stateStack_;
    // Unicode escapes: how many fallback characters follow each \uN in this group (\ucN), and how
    // many of them are still to be dropped after the last \uN that was shown as itself.
    int unicodeSkip_ = 1;
    int fallbackLeft_ = 0;
    // A \uN for OnUnicode waits for its fallback characters.
    bool unicodePending_ = false;
    char16_t unicodeUnit_ = 0;
    QByteArray unicodeFallback_;
};
