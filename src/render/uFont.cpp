#include "render/uFont.h"

TFont& TFont::operator=(const TFont& other) {
    if (&other != this) {
        CopyValues(other);
        Changed();
    }
    return *this;
}

void TFont::CopyValues(const TFont& other) {
    name_ = other.name_;
    size_ = other.size_;
    style_ = other.style_;
    color_ = other.color_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
}

void TFont::Changed() const {
    if (OnChange)
        OnChange();
}

void TFont::SetName(const QString& name) {
    if (name_ == name)
        return;
    name_ = name;
    Changed();
}

void TFont::SetSize(int points) {
    if (size_ == points)
        return;
    size_ = points;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style_ == style)
        return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset_ == charset)
        return;
    charset_ = charset;
    Changed();
}

void TFont::SetPitch(int pitch) {
    if (pitch_ == pitch)
        return;
    pitch_ = pitch;
    Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && size_ == other.size_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_;
}
