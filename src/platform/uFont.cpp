#include "platform/uFont.h"

TFont::TFont(const QString& name, int size, TFontStyles style, qint32 color)
    : name_(name), size_(size), style_(TFontStyles(style & kAllFontStyles)), color_(color) {}

TFont::TFont(const TFont& other)
    : name_(other.name_), size_(other.size_), style_(other.style_), color_(other.color_),
      charset_(other.charset_), pitch_(other.pitch_) {}

TFont& TFont::operator=(const TFont& other) {
    if (this == &other)
        return *this;
    name_ = other.name_;
    size_ = other.size_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
    changed();
    return *this;
}

template <typename T>
void TFont::Change(T& attribute, const T& value) {
    if (attribute == value)
        return;
    attribute = value;
    changed();
}

void TFont::SetName(const QString& name) {
    Change(name_, name);
}

void TFont::SetSize(int points) {
    Change(size_, points);
}

void TFont::SetStyle(TFontStyles style) {
    Change(style_, TFontStyles(style & kAllFontStyles));
}

void TFont::SetColor(qint32 color) {
    Change(color_, color);
}

void TFont::SetCharset(quint8 charset) {
    Change(charset_, charset);
}

void TFont::SetPitch(TFontPitch pitch) {
    Change(pitch_, pitch);
}

void TFont::EndUpdate() {
    if (updateDepth_ == 0)
        return;
    if (--updateDepth_ == 0 && changedWhileSuspended_) {
        changedWhileSuspended_ = false;
        if (onChange_)
            onChange_();
    }
}

bool TFont::operator==(const TFont& other) const {
    return name_ == other.name_ && size_ == other.size_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_ && pitch_ == other.pitch_;
}

QFont TFont::toQFont() const {
    QFont font(name_);
    if (size_ > 0)
        font.setPointSize(size_);
    font.setBold(IsBold());
    font.setItalic(IsItalic());
    font.setUnderline(IsUnderline());
    font.setStrikeOut(IsStrikeOut());
    if (pitch_ == TFontPitch::Fixed)
        font.setFixedPitch(true);
    return font;
}

void TFont::changed() {
    if (updateDepth_ > 0) {
        changedWhileSuspended_ = true;
        return;
    }
    if (onChange_)
        onChange_();
}

TFont TFont::fromQFont(const QFont& font) {
    TFontStyles style = 0;
    if (font.bold())
        style |= fsBold;
    if (font.italic())
        style |= fsItalic;
    if (font.underline())
        style |= fsUnderline;
    if (font.strikeOut())
        style |= fsStrikeOut;
    TFont result(font.family(), font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF()), style);
    if (font.fixedPitch())
        result.SetPitch(TFontPitch::Fixed);
    return result;
}
