#include "render/uFontCache.h"

#include "platform/uCodepage.h"

#include <QCoreApplication>
#include <QFont>
#include <QtEndian>

#include <cmath>

namespace {

int ReadInt16(const QByteArray& table, int offset) {
    if (offset + 2 > table.size())
        return 0;
    return qFromBigEndian<qint16>(table.constData() + offset);
}

int ReadUInt16(const QByteArray& table, int offset) {
    if (offset + 2 > table.size())
        return 0;
    return qFromBigEndian<quint16>(table.constData() + offset);
}

QFont QtFontFor(const TFont& font, int pixelSize) {
    QFont f(font.Name());
    f.setStyleStrategy(QFont::NoFontMerging);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setBold(font.IsBold());
    f.setItalic(font.IsItalic());
    f.setPixelSize(pixelSize);
    return f;
}

int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

TFontInfo::TFontInfo(const TFont& font) : font_(font) {
    raw_ = QRawFont::fromFont(QtFontFor(font, 2048));
    if (!raw_.isValid()) {
        // No face at all for the name: the default sans face keeps text measurable.
        QFont fallback;
        fallback.setStyleHint(QFont::SansSerif);
        fallback.setPixelSize(2048);
        raw_ = QRawFont::fromFont(fallback);
    }
    emSize_ = raw_.isValid() ? RoundHalfEven(raw_.unitsPerEm()) : 2048;
    if (emSize_ <= 0)
        emSize_ = 2048;
    if (raw_.isValid())
        raw_.setPixelSize(emSize_);

    // All 256 advances in one pass over the face: a text that names many fonts pays for each.
    if (raw_.isValid()) {
        QString codes(256, QChar());
        for (int code = 0; code < 256; ++code)
            codes[code] = QChar(Codepage::unicodeOf(static_cast<unsigned char>(code)));
        const QList<quint32> glyphs = raw_.glyphIndexesForString(codes);
        const QList<QPointF> advances = glyphs.size() == 256
                                            ? raw_.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics)
                                            : QList<QPointF>();
        if (advances.size() == 256) {
            for (int code = 0; code < 256; ++code)
                charWidths_[code] = RoundHalfEven(advances[code].x() * emSize_ / raw_.pixelSize());
        } else {
            for (int code = 0; code < 256; ++code)
                charWidths_[code] = AdvanceUnits(codes[code]);
        }
    }

    // Windows-style metrics from the font tables: ascent and descent from the OS/2 "win" values,
    // the external leading is what the horizontal header's line gap adds beyond them.
    const QByteArray hhea = raw_.isValid() ? raw_.fontTable("hhea") : QByteArray();
    const QByteArray os2 = raw_.isValid() ? raw_.fontTable("OS/2") : QByteArray();
    int ascent, descent;
    if (os2.size() >= 78) {
        ascent = ReadUInt16(os2, 74);
        descent = ReadUInt16(os2, 76);
    } else {
        ascent = RoundHalfEven(raw_.ascent());
        descent = RoundHalfEven(raw_.descent());
    }
    int externalLeading;
    if (hhea.size() >= 12) {
        const int hAscent = ReadInt16(hhea, 4);
        const int hDescent = ReadInt16(hhea, 6);
        const int lineGap = ReadInt16(hhea, 8);
        externalLeading = std::max(0, lineGap - ((ascent + descent) - (hAscent - hDescent)));
        metrics_.MaxCharWidth = ReadUInt16(hhea, 10);
    } else {
        externalLeading = std::max(0, RoundHalfEven(raw_.leading()));
        metrics_.MaxCharWidth = RoundHalfEven(raw_.maxCharWidth());
    }
    metrics_.Ascent = ascent;
    metrics_.Descent = descent;
    metrics_.Height = ascent + descent;
    metrics_.InternalLeading = metrics_.Height - emSize_;
    metrics_.ExternalLeading = externalLeading;
    metrics_.AveCharWidth = os2.size() >= 4 ? ReadInt16(os2, 2) : RoundHalfEven(raw_.averageCharWidth());
    metrics_.Weight = font.IsBold() ? 700 : 400;
    metrics_.Italic = font.IsItalic();
    metrics_.Underlined = font.IsUnderline();
    metrics_.StruckOut = font.IsStrikeOut();
    metrics_.CharSet = font.Charset();

    // Strokes from the font's own tables ("post" for the underline, OS/2 for the strike-out);
    // a face without them gets the proportions common to text faces.
    const QByteArray post = raw_.isValid() ? raw_.fontTable("post") : QByteArray();
    metrics_.UnderscorePosition = post.size() >= 12 ? ReadInt16(post, 8) : 0;
    metrics_.UnderscoreSize = post.size() >= 12 ? ReadInt16(post, 10) : 0;
    if (metrics_.UnderscoreSize <= 0 || metrics_.UnderscorePosition >= 0) {
        metrics_.UnderscoreSize = std::max(1, emSize_ / 14);
        metrics_.UnderscorePosition = -std::max(1, descent / 2);
    }
    metrics_.StrikeoutSize = os2.size() >= 30 ? ReadInt16(os2, 26) : 0;
    metrics_.StrikeoutPosition = os2.size() >= 30 ? ReadInt16(os2, 28) : 0;
    if (metrics_.StrikeoutSize <= 0 || metrics_.StrikeoutPosition <= 0) {
        metrics_.StrikeoutSize = metrics_.UnderscoreSize;
        metrics_.StrikeoutPosition = ascent * 3 / 10;
    }
}

int TFontInfo::AdvanceUnits(QChar ch) const {
    const int code = Codepage::ansiOf(ch.unicode());
    if (code >= 0 && charWidths_[code] != 0)
        return charWidths_[code];
    if (!raw_.isValid())
        return 0;
    auto it = extraWidths_.constFind(ch.unicode());
    if (it != extraWidths_.constEnd())
        return *it;
    const QList<quint32> glyphs = raw_.glyphIndexesForString(QString(ch));
    int width = 0;
    if (!glyphs.isEmpty()) {
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
        if (!advances.isEmpty())
            width = RoundHalfEven(advances.first().x() * emSize_ / raw_.pixelSize());
    }
    extraWidths_.insert(ch.unicode(), width);
    return width;
}

float TFontInfo::CharWidthAt(QChar ch, float height) const {
    return static_cast<float>(AdvanceUnits(ch)) / static_cast<float>(emSize_) * height;
}

float TFontInfo::CharWidthAt(uint8_t code, float height) const {
    return static_cast<float>(charWidths_[code]) / static_cast<float>(emSize_) * height;
}

TTextMetric TFontInfo::MetricsAt(int emPx) const {
    TTextMetric m = metrics_;
    const double k = static_cast<double>(emPx) / emSize_;
    m.Ascent = RoundHalfEven(metrics_.Ascent * k);
    m.Descent = RoundHalfEven(metrics_.Descent * k);
    m.Height = m.Ascent + m.Descent;
    m.InternalLeading = m.Height - emPx;
    m.ExternalLeading = RoundHalfEven(metrics_.ExternalLeading * k);
    m.AveCharWidth = RoundHalfEven(metrics_.AveCharWidth * k);
    m.MaxCharWidth = RoundHalfEven(metrics_.MaxCharWidth * k);
    m.UnderscorePosition = RoundHalfEven(metrics_.UnderscorePosition * k);
    m.UnderscoreSize = std::max(1, RoundHalfEven(metrics_.UnderscoreSize * k));
    m.StrikeoutPosition = RoundHalfEven(metrics_.StrikeoutPosition * k);
    m.StrikeoutSize = std::max(1, RoundHalfEven(metrics_.StrikeoutSize * k));
    return m;
}

QRawFont TFontInfo::RawFontAt(int pixelSize) const {
    pixelSize = std::max(1, pixelSize);
    auto it = sized_.constFind(pixelSize);
    if (it != sized_.constEnd())
        return *it;
    // Each size is a font engine with its own glyph cache: keep the sizes in use (a zoom level,
    // thumbnails, print) instead of building a new one per line.
    if (sized_.size() >= 24)
        sized_.clear();
    QRawFont raw = raw_;
    if (raw.isValid())
        raw.setPixelSize(pixelSize);
    sized_.insert(pixelSize, raw);
    return raw;
}

TFontCache& TFontCache::instance() {
    static TFontCache* cache = [] {
        auto* created = new TFontCache;
        // Raw fonts must go while the application object (and its font database) still exists.
        qAddPostRoutine([] {
            TFontCache& cache = TFontCache::instance();
            cache.byKey_.clear();
            cache.order_.clear();
        });
        return created;
    }();
    return *cache;
}

const TFontInfo& TFontCache::GetFontInfo(const TFont& font) {
    const Key key{font.Name(), font.Style()};
    const auto found = byKey_.constFind(key);
    if (found != byKey_.cend()) {
        order_.splice(order_.begin(), order_, *found);
        return *order_.front();
    }
    if (static_cast<int>(order_.size()) >= Capacity()) {
        const TFont& oldest = order_.back()->Font();
        byKey_.remove(Key{oldest.Name(), oldest.Style()});
        order_.pop_back();
    }
    order_.push_front(std::make_unique<TFontInfo>(font));
    byKey_.insert(key, order_.begin());
    return *order_.front();
}
