#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// Colour in 0x00BBGGRR order.
using TColor = uint32_t;

inline TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
inline int RedOf(TColor c) {
    return static_cast<int>(c & 255);
}
inline int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 255);
}
inline int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 255);
}

// Font style bits, as stored in the font record.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// A font description: face name, size in points, style, colour, character set and pitch.
// Setting a property fires OnChange when the value changes. Copies take the values, not the
// change handler; assigning one font to another fires the target's handler once.
class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) { CopyValues(other); }
    TFont& operator=(const TFont& other);

    const QString& Name() const { return name_; }
    int Size() const { return size_; }
    TFontStyles Style() const { return style_; }
    TColor Color() const { return color_; }
    int Charset() const { return charset_; }
    int Pitch() const { return pitch_; }

    bool Bold() const { return style_ & fsBold; }
    bool Italic() const { return style_ & fsItalic; }
    bool Underline() const { return style_ & fsUnderline; }
    bool StrikeOut() const { return style_ & fsStrikeOut; }

    void SetName(const QString& name);
    void SetSize(int points);
    void SetStyle(TFontStyles style);
    void SetColor(TColor color);
    void SetCharset(int charset);
    void SetPitch(int pitch);

    // Same name, size, style, colour and character set.
    bool SameAs(const TFont& other) const;

    std::function<void()> OnChange;

private:
    void CopyValues(const TFont& other);
    void Changed() const;

    QString name_ = QStringLiteral("Arial");
    int size_ = 8;
    TFontStyles style_ = 0;
    TColor color_ = 0;
    int charset_ = 1;
    int pitch_ = 0;
};
