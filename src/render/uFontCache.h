#pragma once

#include "platform/uFont.h"

#include <QHash>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <utility>
#include <vector>

// Text metrics of a font at one em height (device units or font units).
struct TTextMetric {
    int Height = 0; // ascent + descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0; // height - em
    int ExternalLeading = 0; // extra line gap recommended by the font
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int Weight = 400;
    bool Italic = false;
    bool Underlined = false;
    bool StruckOut = false;
    int CharSet = 1;
    // Where underline and strike-out strokes go: the top of each stroke relative to the baseline
    // (positive upwards, so an underline's position is negative) and its thickness.
    int UnderscorePosition = 0;
    int UnderscoreSize = 0;
    int StrikeoutPosition = 0;
    int StrikeoutSize = 0;
};

// Metrics of one font face taken from the font file itself at its em size, unhinted, so that
// text measures the same on every device and at every zoom.
class TFontInfo {
public:
    explicit TFontInfo(const TFont& font);

    const TFont& Font() const { return font_; }
    int EmSize() const { return emSize_; }
    // Advance of each Windows-1252 code at EmSize, in font units.
    const std::array<int32_t, 256>& CharWidths() const { return charWidths_; }
    // Text metrics at EmSize, in font units.
    const TTextMetric& Metrics() const { return metrics_; }
    // The metrics scaled to an em of emPx device pixels, rounded like a device would.
    TTextMetric MetricsAt(int emPx) const;

    // CharWidths[code] / EmSize * height; characters outside Windows-1252 use the font's own advance.
    float CharWidthAt(QChar ch, float height) const;
    float CharWidthAt(uint8_t code, float height) const;
    // Advance in font units of any character.
    int AdvanceUnits(QChar ch) const;

    // The face that fontconfig chose for the name (a missing font falls back as it decides).
    const QRawFont& RawFont() const { return raw_; }
    // The same face at a pixel size, for drawing.
    QRawFont RawFontAt(int pixelSize) const;

private:
    TFont font_;
    int emSize_ = 2048;
    std::array<int32_t, 256> charWidths_{};
    TTextMetric metrics_;
    QRawFont raw_;
    mutable QHash<char16_t, int> extraWidths_;
    mutable QHash<int, QRawFont> sized_;
};

// Process-wide cache of font metrics by face name (case-sensitive) and style; size and colour
// are not part of the key. A document uses few faces, but a text from elsewhere can name
// thousands: the cache keeps the most recently used faces up to a bound and finds them by hash.
// A reference stays valid until Capacity() other faces have been asked for.
class TFontCache {
public:
    static TFontCache& instance();

    const TFontInfo& GetFontInfo(const TFont& font);
    int Count() const { return static_cast<int>(order_.size()); }
    static constexpr int Capacity() { return 128; }

private:
    TFontCache() = default;
    using Entries = std::list<std::unique_ptr<TFontInfo>>; // most recently used first
    Entries order_;
    // Name and style: the lookup on every text output builds no string.
    using Key = std::pair<QString, TFontStyles>;
    QHash<Key, Entries::iterator> byKey_;
};

inline TFontCache& FontCache() {
    return TFontCache::instance();
}
