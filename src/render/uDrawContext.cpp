#include "render/uDrawContext.h"

#include "platform/Exception.h"
#include "platform/uDebug.h"

#include <QGlyphRun>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace {

// Device coordinates snap to 4 decimals first (so 2.4999999 counts as 2.5), then round to even.
int RoundDevice(float v) {
    const double snapped = std::trunc(static_cast<double>(v) / 0.0001 + 0.5) * 0.0001;
    // Absurd geometry lands far outside any device; a cast beyond int's range would be undefined.
    constexpr double limit = 1 << 30;
    if (!(snapped > -limit))
        return -(1 << 30);
    if (!(snapped < limit))
        return 1 << 30;
    return static_cast<int>(std::nearbyint(snapped));
}

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

constexpr float kBezierArc = 0.2761423749154f;

// Where text of the given extent starts between lo and hi: centred, at the far end, or at lo.
float AlignedStart(float lo, float hi, float extent, bool centre, bool farEnd) {
    if (centre)
        return (lo + hi - extent) / 2;
    if (farEnd)
        return hi - extent;
    return lo;
}

// The source rectangle of a picture operation, cut at the edges of the pixels.
TRect SampledSource(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH) {
    return TRect{SrcX, SrcY, std::min<int>(SrcX + SrcW, static_cast<int>(data.Width)),
                 std::min<int>(SrcY + SrcH, static_cast<int>(data.Height))};
}

// Every pixel of the visible part of the scratch picture takes the source pixel it falls on,
// opaque (blue, green, red only); t maps source pixels to scratch pixels. Pixels that fall
// outside the source rectangle keep what they have.
void SamplePoints(QImage& scratch, const TRect& visible, TTransformation& t, const TBitmapData& data,
                  const TRect& source) {
    const int left = source.Left, top = source.Top, right = source.Right, bottom = source.Bottom;
    const int x0 = visible.Left, x1 = visible.Right;
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        auto* out = reinterpret_cast<uint32_t*>(scratch.scanLine(y));
        for (int x = x0; x < x1; ++x) {
            int32_t sx, sy;
            t.InverseTransformInt(x, y, sx, sy);
            if (sx >= left && sy >= top && sx < right && sy < bottom)
                out[x] = data.Row(sy)[sx] | 0xFF000000u;
        }
    }
}

} // namespace

TLockedBits::TLockedBits(const QImage& image) {
    if (image.isNull())
        return;
    if (image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32) {
        data_ = BitmapData(image);
    } else {
        converted_ = image.convertToFormat(QImage::Format_ARGB32);
        data_ = BitmapData(converted_);
    }
}

TBitmapData BitmapData(const QImage& image) {
    TBitmapData d;
    d.Width = static_cast<uint32_t>(std::max(0, image.width()));
    d.Height = static_cast<uint32_t>(std::max(0, image.height()));
    d.Stride = static_cast<int32_t>(image.bytesPerLine());
    d.PixelFormat = PixelFormat32bppARGB;
    d.Scan0 = image.isNull() ? nullptr : image.constBits();
    return d;
}

TDrawContext::TDrawContext(TCanvas& canvas) : canvas_(canvas) {
    Font.SetName(QStringLiteral("Arial"));
}

TDrawContext::TDrawContext(std::unique_ptr<TCanvas> canvas)
    : ownedCanvas_(std::move(canvas)), canvas_(*ownedCanvas_) {
    Font.SetName(QStringLiteral("Arial"));
}

TDrawContext::~TDrawContext() {
    // Regions left on the clip stack go with it; the canvas keeps whatever clip is in force.
    clipStack_.clear();
}

// --- mapping -------------------------------------------------------------------------------

QPoint TDrawContext::MapPoint(float x, float y) {
    float tx, ty;
    Transformation.Transform(x, y, tx, ty);
    return QPoint(RoundDevice(tx), RoundDevice(ty));
}

std::vector<QPoint> TDrawContext::MapPoints(const std::vector<TPointF>& points) {
    std::vector<QPoint> result;
    result.reserve(points.size());
    for (const TPointF& p : points)
        result.push_back(MapPoint(p.X, p.Y));
    return result;
}

QPoint TDrawContext::MapVector(float dx, float dy) const {
    const float* m = Transformation.Matrix();
    return QPoint(RoundEven(m[0] * dx + m[1] * dy), RoundEven(m[3] * dx + m[4] * dy));
}

TPointF TDrawContext::DeviceToDoc(int x, int y) {
    TPointF p;
    Transformation.InverseTransform(static_cast<float>(x), static_cast<float>(y), p.X, p.Y);
    return p;
}

TPointF TDrawContext::DeviceVectorToDoc(int dx, int dy) {
    float vx, vy;
    Transformation.InverseTransformVector(static_cast<float>(dx), static_cast<float>(dy), vx, vy);
    return TPointF{static_cast<float>(RoundEven(vx)), static_cast<float>(RoundEven(vy))};
}

// --- pen and font ----------------------------------------------------------------------------

void TDrawContext::SetPenColor(TColor color) {
    canvas_.Pen.SetColor(color);
}

void TDrawContext::SetPenStyle(TPenStyle style) {
    canvas_.Pen.SetStyle(style);
}

void TDrawContext::SetPenWidth(float w) {
    PenWidth = w;
    if (w == 0) {
        canvas_.Pen.SetWidth(1);
        return;
    }
    const QPoint v = MapVector(w, 0);
    canvas_.Pen.SetWidth(
        RoundEven(std::sqrt(static_cast<double>(v.x()) * v.x() + static_cast<double>(v.y()) * v.y())));
}

void TDrawContext::SetPenWidthPx(int n) {
    canvas_.Pen.SetWidth(n);
    float vx, vy;
    Transformation.InverseTransformVector(static_cast<float>(n), 0, vx, vy);
    PenWidth = std::sqrt(vx * vx + vy * vy);
}

void TDrawContext::SetFont(const TFont& font) {
    Font.SetName(font.Name());
    Font.SetSize(font.Size());
    Font.SetStyle(font.Style());
    Font.SetColor(font.Color());
}

void TDrawContext::SelectFont() {
    const float s = static_cast<float>(Font.Size()) / 72.0f * 25.4f;
    float vx, vy;
    Transformation.TransformVector(0, s, vx, vy);
    const float h = std::sqrt(vx * vx + vy * vy);
    FontHeightPx = h;
    const int rounded = RoundEven(h);
    fontHeightLogical_ = rounded == 0 ? 1 : rounded;
    escapement_ = RoundEven(VectorAngle(vy, vx) * 10.0);
    // The canvas takes the font (its change hooks run, e.g. forced colours of a shadow mask).
    canvas_.Font = Font;
}

TTextMetric TDrawContext::GetTextMetrics() {
    SelectFont();
    return FontCache().GetFontInfo(Font).MetricsAt(fontHeightLogical_);
}

// --- shapes ----------------------------------------------------------------------------------

QPainter& TDrawContext::PreparedPainter() {
    QPainter& p = canvas_.Painter();
    p.setPen(canvas_.QtPen());
    p.setBrush(canvas_.QtBrush());
    return p;
}

void TDrawContext::Line(float x1, float y1, float x2, float y2) {
    const QPoint a = MapPoint(x1, y1);
    const QPoint b = MapPoint(x2, y2);
    QPainter& p = PreparedPainter();
    p.drawLine(a, b);
}

void TDrawContext::Polyline(const std::vector<TPointF>& points) {
    if (points.empty())
        return;
    const std::vector<QPoint> mapped = MapPoints(points);
    QPainter& p = PreparedPainter();
    p.drawPolyline(mapped.data(), static_cast<int>(mapped.size()));
}

void TDrawContext::Rectangle(float x1, float y1, float x2, float y2) {
    const QPoint pts[4] = {MapPoint(x1, y1), MapPoint(x2, y1), MapPoint(x2, y2), MapPoint(x1, y2)};
    QPainter& p = PreparedPainter();
    p.drawPolygon(pts, 4, Qt::OddEvenFill);
}

void TDrawContext::CenteredRectangle(float cx, float cy, float w, float h) {
    Rectangle(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2);
}

void TDrawContext::RotatedRectangle(float cx, float cy, float w, float h, float angle) {
    TTransformationSaver saved(Transformation);
    Transformation.Translate(cx, cy);
    Transformation.Rotate(angle);
    Rectangle(-w / 2, -h / 2, w / 2, h / 2);
}

void TDrawContext::Ellipse(float cx, float cy, float w, float h) {
    const float kw = kBezierArc * w;
    const float kh = kBezierArc * h;
    const float l = cx - w / 2, r = cx + w / 2, t = cy - h / 2, b = cy + h / 2;
    BeginPath();
    MoveTo(r, cy);
    BezierTo(r, cy + kh, cx + kw, b, cx, b);
    BezierTo(cx - kw, b, l, cy + kh, l, cy);
    BezierTo(l, cy - kh, cx - kw, t, cx, t);
    BezierTo(cx + kw, t, r, cy - kh, r, cy);
    CloseFigure();
    EndPath();
    StrokeAndFillPath();
}

// --- paths -----------------------------------------------------------------------------------

void TDrawContext::BeginPath() {
    path_ = QPainterPath();
    path_.setFillRule(Qt::OddEvenFill);
    pathOpen_ = true;
}

void TDrawContext::EndPath() {
    pathOpen_ = false;
}

void TDrawContext::CloseFigure() {
    path_.closeSubpath();
}

void TDrawContext::MoveTo(float x, float y) {
    path_.moveTo(MapPoint(x, y));
}

void TDrawContext::LineTo(float x, float y) {
    path_.lineTo(MapPoint(x, y));
}

void TDrawContext::BezierTo(float x1, float y1, float x2, float y2, float x3, float y3) {
    path_.cubicTo(MapPoint(x1, y1), MapPoint(x2, y2), MapPoint(x3, y3));
}

void TDrawContext::DrawShapePath(const QPainterPath& path, bool fill, bool stroke) {
    QPainter& p = canvas_.Painter();
    p.setPen(stroke ? canvas_.QtPen() : QPen(Qt::NoPen));
    p.setBrush(fill ? canvas_.QtBrush() : QBrush(Qt::NoBrush));
    p.drawPath(path);
}

void TDrawContext::StrokePath() {
    DrawShapePath(path_, false, true);
    path_ = QPainterPath();
}

void TDrawContext::StrokeAndFillPath() {
    DrawShapePath(path_, true, true);
    path_ = QPainterPath();
}

// --- clipping --------------------------------------------------------------------------------

QRegion TDrawContext::PathRegion() const {
    QRegion region;
    for (const QPolygonF& polygon : path_.toFillPolygons())
        region ^= QRegion(polygon.toPolygon(), Qt::OddEvenFill);
    return region;
}

void TDrawContext::ClipToPath(int mode) {
    const QRegion pathRegion = PathRegion();
    path_ = QPainterPath();
    const std::optional<QRegion>& current = canvas_.ClipRegion();
    if (current)
        clipStack_.push_back(*current);
    QRegion clip;
    const QRegion everything(QRect(QPoint(deviceClip_.Left, deviceClip_.Top),
                                   QPoint(deviceClip_.Right - 1, deviceClip_.Bottom - 1)));
    switch (mode) {
    case cmIntersect:
        clip = current ? (*current & pathRegion) : pathRegion;
        break;
    case cmExclude:
        clip = (current ? *current : everything) - pathRegion;
        break;
    case 2: // union
        clip = current ? (*current | pathRegion) : pathRegion;
        break;
    case 3: // exclusive or
        clip = current ? (*current ^ pathRegion) : pathRegion;
        break;
    default: // replace
        clip = pathRegion;
        break;
    }
    canvas_.SetClipRegion(clip);
}

void TDrawContext::RestoreClip() {
    if (clipStack_.empty()) {
        canvas_.SetClipRegion(std::nullopt);
        return;
    }
    QRegion saved = std::move(clipStack_.back());
    clipStack_.pop_back();
    canvas_.SetClipRegion(std::move(saved));
}

void TDrawContext::ClipToRect(int mode, float x1, float y1, float x2, float y2) {
    BeginPath();
    MoveTo(x1, y1);
    LineTo(x2, y1);
    LineTo(x2, y2);
    LineTo(x1, y2);
    LineTo(x1, y1);
    CloseFigure();
    EndPath();
    ClipToPath(mode);
}

void TDrawContext::ClipRotatedRect(int mode, float cx, float cy, float w, float h, float angle) {
    TTransformationSaver saved(Transformation);
    Transformation.RotateAt(cx, cy, angle);
    ClipToRect(mode, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2);
}

// --- text ------------------------------------------------------------------------------------

std::vector<int> TDrawContext::TextAdvances(const QString& text) {
    SelectFont();
    const TFontInfo& info = FontCache().GetFontInfo(Font);
    const float height = std::fabs(FontHeightPx);
    std::vector<int> steps;
    steps.reserve(static_cast<size_t>(text.size()));
    float sum = 0;
    int previous = 0;
    for (QChar ch : text) {
        sum += info.CharWidthAt(ch, height);
        const int position = static_cast<int>(std::trunc(sum + 0.5f));
        steps.push_back(position - previous);
        previous = position;
    }
    return steps;
}

void TDrawContext::TextOut(const QString& text, int alignment, float x, float y) {
    canvas_.Brush.SetStyle(bsClear);
    const std::vector<int> steps = TextAdvances(text); // selects the font
    QPoint p = MapPoint(x, y);
    int total = 0;
    for (int s : steps)
        total += s;
    if (alignment == 2) {
        const TPointF v = DeviceVectorToDoc(total, 0);
        const float length = VectorLength(v);
        p = MapPoint(x - length, y);
    }
    if (!text.isEmpty()) {
        const TFontInfo& info = FontCache().GetFontInfo(Font);
        const QRawFont raw = info.RawFontAt(fontHeightLogical_);
        if (raw.isValid()) {
            QList<quint32> glyphs = raw.glyphIndexesForString(text);
            if (glyphs.size() != text.size()) {
                glyphs.clear();
                for (QChar ch : text) {
                    const QList<quint32> one = raw.glyphIndexesForString(QString(ch));
                    glyphs.append(one.isEmpty() ? 0 : one.first());
                }
            }
            const TTextMetric metrics = info.MetricsAt(fontHeightLogical_);
            const int ascent = metrics.Ascent;
            QList<QPointF> positions;
            positions.reserve(glyphs.size());
            int pos = 0;
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                positions.append(QPointF(pos, ascent));
                pos += steps[static_cast<size_t>(i)];
            }
            QGlyphRun run;
            run.setRawFont(raw);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            QPainter& painter = canvas_.Painter();
            painter.save();
            const QColor color = ToQColor(static_cast<TColor>(canvas_.Font.Color()));
            painter.setPen(color);
            painter.translate(p);
            if (escapement_ != 0)
                painter.rotate(-escapement_ / 10.0);
            painter.drawGlyphRun(QPointF(0, 0), run);
            // The strokes are drawn here, not by the glyph run: a run's own decoration is placed
            // from glyph positions the raster engine has already moved into device space, so it
            // would land at twice the distance from the origin.
            if (canvas_.Font.IsUnderline())
                painter.fillRect(QRect(0, ascent - metrics.UnderscorePosition, total, metrics.UnderscoreSize),
                                 color);
            if (canvas_.Font.IsStrikeOut())
                painter.fillRect(QRect(0, ascent - metrics.StrikeoutPosition, total, metrics.StrikeoutSize),
                                 color);
            painter.restore();
        }
    }
    canvas_.Brush.SetStyle(bsSolid);
}

int TDrawContext::MeasureWidthPx(const QString& text) const {
    const TFontInfo& info = FontCache().GetFontInfo(Font);
    const int em = Font.Size() * 10; // 720 pixels per inch
    int width = 0;
    for (QChar ch : text)
        width += MulDiv(info.AdvanceUnits(ch), em, info.EmSize());
    return width;
}

int TDrawContext::MeasureHeightPx() const {
    const TFontInfo& info = FontCache().GetFontInfo(Font);
    return info.MetricsAt(Font.Size() * 10).Height;
}

float TDrawContext::TextWidth(const QString& text) {
    return static_cast<float>(MeasureWidthPx(text)) / 720.0f * 25.4f;
}

float TDrawContext::TextHeight(const QString& text) {
    return static_cast<float>(MeasureHeightPx()) / 720.0f * 25.4f;
}

void TDrawContext::WrapText(const QString& text, TWrappedLines& lines, float width) {
    lines.clear();
    const int limit = RoundEven(width / 25.4 * 720.0);
    const qsizetype n = text.size();
    qsizetype lineStart = 0;
    qsizetype lastSpace = -1;
    qsizetype scan = 0;
    while (true) {
        qsizetype j = scan;
        while (j < n && text[j] != u' ' && text[j] != u'\r' && text[j] != u'\n')
            ++j;
        const QString piece = text.mid(lineStart, j - lineStart);
        if (MeasureWidthPx(piece) <= limit) {
            if (j == n) {
                // A text ending with a line break gets no extra empty line.
                if (j > lineStart)
                    lines.push_back({piece, true});
                break;
            }
            const QChar ch = text[j];
            if (ch == u' ') {
                lastSpace = j;
                scan = j + 1;
                continue;
            }
            lines.push_back({piece, true});
            ++j;
            if (ch == u'\r' && j < n && text[j] == u'\n')
                ++j;
            lineStart = scan = j;
            lastSpace = -1;
            if (j == n)
                break;
            continue;
        }
        if (lastSpace >= 0) {
            lines.push_back({text.mid(lineStart, lastSpace - lineStart), false});
            lineStart = scan = lastSpace + 1;
            lastSpace = -1;
            continue;
        }
        // One word longer than the line: split it, at least one character per line.
        qsizetype len = j - lineStart;
        while (len > 1 && MeasureWidthPx(text.mid(lineStart, len)) > limit)
            --len;
        lines.push_back({text.mid(lineStart, len), false});
        lineStart = scan = lineStart + len;
    }
}

float TDrawContext::TextRect(const QString& text, int flags, float left, float top, float right,
                             float bottom) {
    if (text.isEmpty())
        return 0;
    if (!(flags & tfWordBreak)) {
        const float w = TextWidth(text);
        const float h = TextHeight(text);
        if (!(flags & tfCalcRect))
            TextOut(text, 0, AlignedStart(left, right, w, flags & tfCenter, flags & tfRight),
                    AlignedStart(top, bottom, h, flags & tfVCenter, flags & tfBottom));
        return h;
    }
    TWrappedLines lines;
    WrapText(text, lines, right - left);
    const float lineHeight = TextHeight(QStringLiteral("Xy"));
    const float blockHeight = static_cast<float>(lines.size()) * lineHeight;
    if (!(flags & tfCalcRect)) {
        float y = std::max(top, AlignedStart(top, bottom, blockHeight, flags & tfVCenter, flags & tfBottom));
        for (const TWrappedLine& line : lines) {
            const float w = TextWidth(line.Text);
            TextOut(line.Text, 0, AlignedStart(left, right, w, flags & tfCenter, flags & tfRight), y);
            y += lineHeight;
        }
    }
    return blockHeight;
}

// --- pictures (base: resampling into scratch bitmaps, then blits) ----------------------------

int TDrawContext::DeviceDpiY() const {
    QPaintDevice* device = canvas_.Device();
    return device ? device->logicalDpiY() : 96;
}

int TDrawContext::ReductionFactor() const {
    const int dpi = DeviceDpiY();
    int k = 1;
    while (dpi / k > 360)
        ++k;
    return k;
}

TRect TDrawContext::ClippedBox(const TRect& box, int growRight, int growBottom, int inflate) const {
    TRect r{box.Left - inflate, box.Top - inflate, box.Right + growRight + inflate,
            box.Bottom + growBottom + inflate};
    r = IntersectRect(r, deviceClip_);
    return IntersectRect(r, ClipRect);
}

std::vector<QRect> TDrawContext::WalkRects(const TRect& box) const {
    std::vector<QRect> rects;
    if (box.IsEmpty())
        return rects;
    const QRect qbox(box.Left, box.Top, box.Width(), box.Height());
    const std::optional<QRegion>& clip = canvas_.ClipRegion();
    if (!clip) {
        rects.push_back(qbox);
        return rects;
    }
    const QRegion cut = *clip & QRegion(qbox);
    for (const QRect& r : cut)
        rects.push_back(r);
    return rects;
}

void TDrawContext::BlitImage(const QImage& image, const QRect& target, bool smooth) {
    QPainter& p = canvas_.Painter();
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    p.drawImage(target, image);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

template <typename PixelsFn>
void TDrawContext::DrawPointSampled(const TPointSampling& sampling, float X, float Y, float W, float H,
                                    const PixelsFn& pixels) {
    const int k = ReductionFactor();
    const TRect box = Transformation.BoundingRect(X, Y, X + W, Y + H);
    const TRect full{box.Left, box.Top, box.Right + 1, box.Bottom + 1};
    const TRect clipped = ClippedBox(box, 1, 1, 0);
    if (clipped.IsEmpty())
        return;
    const int sw = (full.Width() + k - 1) / k;
    const int sh = (full.Height() + k - 1) / k;
    QImage scratch(sw, sh, sampling.Format);
    scratch.fill(sampling.Background);
    if (const TBitmapData* data = pixels()) {
        TTransformation t;
        t.Scale(1.0f / static_cast<float>(k));
        t.Translate(static_cast<float>(-full.Left), static_cast<float>(-full.Top));
        t.MultiplyBy(Transformation);
        t.Translate(X, Y);
        t.Scale(W / sampling.SpanX, H / sampling.SpanY);
        t.Translate(static_cast<float>(-sampling.Source.Left), static_cast<float>(-sampling.Source.Top));
        t.Update();
        const TRect visible{(clipped.Left - full.Left) / k, (clipped.Top - full.Top) / k,
                            std::min((clipped.Right - full.Left + k - 1) / k, sw),
                            std::min((clipped.Bottom - full.Top + k - 1) / k, sh)};
        SamplePoints(scratch, visible, t, *data, sampling.Source);
    }
    BlitImage(scratch, QRect(full.Left, full.Top, sw * k, sh * k), false);
}

void TDrawContext::DrawImageOrthogonalBlt(const QImage& picture, float X, float Y, float W, float H) {
    // Locked only once the picture turns out to be visible; unreadable pixels leave it black.
    std::optional<TLockedBits> bits;
    const auto pixels = [&]() -> const TBitmapData* {
        bits.emplace(picture);
        if (!bits->Ok()) {
            Debug().TraceFmt("DrawImageOrthogonalBlt: Lockbits failed %d", 2);
            return nullptr;
        }
        return &bits->Data();
    };
    const TPointSampling sampling{
        TRect{0, 0, picture.width(), picture.height()}, static_cast<float>(picture.width() + 1),
        static_cast<float>(picture.height() + 1), QImage::Format_RGB32, 0xFF000000u};
    DrawPointSampled(sampling, X, Y, W, H, pixels);
}

void TDrawContext::DrawBitmapOrthogonal(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH,
                                        float X, float Y, float W, float H) {
    if (!data.Scan0 || SrcW <= 0 || SrcH <= 0)
        return;
    // A one-pixel source would divide by zero; it stretches over the whole rectangle instead.
    // Scratch pixels no source pixel falls on show purple.
    const TPointSampling sampling{
        SampledSource(data, SrcX, SrcY, SrcW, SrcH), static_cast<float>(std::max(1, SrcW - 1)),
        static_cast<float>(std::max(1, SrcH - 1)), QImage::Format_RGB32, 0xFF800080u};
    DrawPointSampled(sampling, X, Y, W, H, [&data] { return &data; });
}

void TDrawContext::DrawImage(const QImage& picture, int SrcX, int SrcY, int SrcW, int SrcH, float CX,
                             float CY, float W, float H, float Angle) {
    if (picture.isNull() || SrcW <= 0 || SrcH <= 0)
        return;
    float ulx, uly, urx, ury, llx, lly;
    {
        TTransformationSaver saved(Transformation);
        Transformation.Translate(CX, CY);
        Transformation.Rotate(Angle);
        Transformation.Transform(-W / 2, -H / 2, ulx, uly);
        Transformation.Transform(W / 2, -H / 2, urx, ury);
        Transformation.Transform(-W / 2, H / 2, llx, lly);
    }
    // Map the source rectangle (pixels) onto the parallelogram upper-left, upper-right, lower-left.
    const qreal m11 = (urx - ulx) / SrcW, m12 = (ury - uly) / SrcW;
    const qreal m21 = (llx - ulx) / SrcH, m22 = (lly - uly) / SrcH;
    const QTransform transform(m11, m12, m21, m22, ulx - SrcX * m11 - SrcY * m21,
                               uly - SrcX * m12 - SrcY * m22);
    QPainter& p = canvas_.Painter();
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setTransform(transform);
    p.drawImage(QRectF(SrcX, SrcY, SrcW, SrcH), picture, QRectF(SrcX, SrcY, SrcW, SrcH));
    p.restore();
}

void TDrawContext::DrawBitmap(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X,
                              float Y, float W, float H) {
    if (!data.Scan0 || SrcX < 0 || SrcY < 0 || SrcW > static_cast<int>(data.Width) ||
        SrcH > static_cast<int>(data.Height) || SrcW <= 0 || SrcH <= 0)
        return;
    const float* m = Transformation.Matrix();
    if ((IsZero(m[0]) && IsZero(m[4])) || (IsZero(m[3]) && IsZero(m[1]))) {
        DrawBitmapOrthogonal(data, SrcX, SrcY, SrcW, SrcH, X, Y, W, H);
        return;
    }
    // The covered runs of every row go into one transparent scratch picture, blitted once: the
    // same pixels as one stretched blit per run, without one picture per row on a printer.
    const TPointSampling sampling{SampledSource(data, SrcX, SrcY, SrcW, SrcH), static_cast<float>(SrcW + 1),
                                  static_cast<float>(SrcH + 1), QImage::Format_ARGB32, 0u};
    DrawPointSampled(sampling, X, Y, W, H, [&data] { return &data; });
}

void TDrawContext::DrawImageAlpha(const TBitmapData&, int, int, int, int, float, float, float, float) {
    throw Exception(QStringLiteral("TDrawContext.DrawImageAlpha ist nicht implementiert"));
}

void TDrawContext::DrawShadowRect(float, float, float, float, float, float) {
    // Soft shadows need pixel access; surfaces without it draw none.
    Debug().Trace(QStringLiteral("DrawShadowRect(cxDest, cyDest, wDest, hDest, angle, BlurWidth: single) in "
                                 "TDrawContext noch nicht implementiert"));
}
