#pragma once

#include <QFont>
#include <QString>

#include <functional>

// Font styles as bits, the same values the font record of project files stores.
enum TFontStyle : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = quint8; // a set of TFontStyle bits
constexpr TFontStyles kAllFontStyles = fsBold | fsItalic | fsUnderline | fsStrikeOut;

enum class TFontPitch : quint8 { Default = 0, Variable = 1, Fixed = 2 };

// The character set numbers that matter to us; any byte is kept as it is.
constexpr quint8 kAnsiCharset = 0;
constexpr quint8 kDefaultCharset = 1;

// A font as the designer keeps it: what QFont holds (name, size, style) plus the colour, the
// character set and the pitch that drawing, calendar fonts and project files carry along.
//
// A font may have an owner that wants to hear about changes (a draw context, a calendar setting):
// every setter calls OnChange once. BeginUpdate/EndUpdate group several changes into one call.
// Copies take the attributes only; the handler belongs to the object it was set on.
class TFont {
public:
    using ChangeHandler = std::function<void()>;

    TFont() = default;
    TFont(const QString& name, int size, TFontStyles style = 0, qint32 color = 0);
    TFont(const TFont& other);
    TFont& operator=(const TFont& other); // one change notification

    const QString& Name() const { return name_; }
    int Size() const { return size_; } // points
    TFontStyles Style() const { return style_; }
    qint32 Color() const { return color_; } // 0x00BBGGRR
    quint8 Charset() const { return charset_; }
    TFontPitch Pitch() const { return pitch_; }

    bool IsBold() const { return style_ & fsBold; }
    bool IsItalic() const { return style_ & fsItalic; }
    bool IsUnderline() const { return style_ & fsUnderline; }
    bool IsStrikeOut() const { return style_ & fsStrikeOut; }

    void SetName(const QString& name);
    void SetSize(int points);
    void SetStyle(TFontStyles style);
    void SetColor(qint32 color);
    void SetCharset(quint8 charset);
    void SetPitch(TFontPitch pitch);

    void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }
    void BeginUpdate() { ++updateDepth_; }
    void EndUpdate(); // notifies once if anything changed while suspended

    // The attributes only (not the handler).
    bool operator==(const TFont& other) const;

    // A QFont with name, point size and style; the pitch becomes the fixed-pitch hint.
    QFont toQFont() const;
    // Name, size and style of a QFont (colour black, default character set and pitch otherwise).
    static TFont fromQFont(const QFont& font);

private:
    // Takes the value and reports the change, unless the attribute has it already.
    template <typename T>
    void Change(T& attribute, const T& value);
    void changed();

    QString name_ = QStringLiteral("Arial");
    int size_ = 10;
    TFontStyles style_ = 0;
    qint32 color_ = 0;
    quint8 charset_ = kDefaultCharset;
    TFontPitch pitch_ = TFontPitch::Default;

    ChangeHandler onChange_;
    int updateDepth_ = 0;
    bool changedWhileSuspended_ = false;
};
