#include "render/uBitmapDrawContext.h"

#include "render/uShadowBitmap.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int64_t CeilDiv(int64_t a, int64_t b) {
    return -FloorDiv(-a, b);
}

// The steps t in [0, n) for which lo <= a0 + t * step < hi, as [first, last); a0 is the
// accumulator of the first pixel of the run and step its increment per pixel.
void Span(int64_t a0, int64_t step, int64_t lo, int64_t hi, int n, int& first, int& last) {
    int64_t f, l; // inclusive
    if (step == 0) {
        f = (a0 >= lo && a0 < hi) ? 0 : n;
        l = n - 1;
    } else if (step > 0) {
        f = CeilDiv(lo - a0, step);
        l = FloorDiv(hi - 1 - a0, step);
    } else {
        f = CeilDiv(hi - 1 - a0, step);
        l = FloorDiv(lo - a0, step);
    }
    f = std::max<int64_t>(f, 0);
    l = std::min<int64_t>(l, n - 1);
    if (l < f) {
        first = last = 0;
        return;
    }
    first = static_cast<int>(f);
    last = static_cast<int>(l + 1);
}

// Mixes two pixels per byte as (p * w + q * (256 - w)) / 256; two bytes at once in 16-bit fields
// (each product stays below 65536, so no field carries into the next).
inline uint32_t Mix(uint32_t p, uint32_t q, uint32_t w) {
    const uint32_t v = 256 - w;
    const uint32_t br = (((p & 0x00FF00FFu) * w + (q & 0x00FF00FFu) * v) >> 8) & 0x00FF00FFu;
    const uint32_t ga = ((((p >> 8) & 0x00FF00FFu) * w + ((q >> 8) & 0x00FF00FFu) * v) >> 8) & 0x00FF00FFu;
    return br | (ga << 8);
}

inline void PutPixel(uint32_t* d, uint32_t p) {
    const uint32_t a = p >> 24;
    if (a == 255)
        *d = p;
    else if (a != 0)
        *d = AlphaBlendPixel(p, *d);
}

// Accumulator of a 20.12 or 16.16 row start: x * m1 + y * m2 + m3, kept in 64 bits.
inline int64_t RowStart(int x, int y, const int32_t* m) {
    return static_cast<int64_t>(x) * m[0] + static_cast<int64_t>(y) * m[1] + m[2];
}

} // namespace

TBitmapDrawContext::TBitmapDrawContext(QImage& bitmap)
    : TDrawContext(std::make_unique<TCanvas>(&bitmap)), bitmap_(bitmap) {
    if (bitmap_.format() != QImage::Format_ARGB32 && bitmap_.format() != QImage::Format_RGB32 &&
        !bitmap_.isNull())
        bitmap_.convertTo(QImage::Format_ARGB32);
    RefreshDeviceClip();
}

TBitmapDrawContext::TBitmapDrawContext(QImage& bitmap, TCanvas& canvas)
    : TDrawContext(canvas), bitmap_(bitmap) {
    RefreshDeviceClip();
}

TBitmapDrawContext::TBitmapDrawContext(TShadowBitmap& shadow)
    : TBitmapDrawContext(shadow.Image(), shadow.Canvas()) {}

void TBitmapDrawContext::RefreshDeviceClip() {
    SetDeviceClip(TRect{0, 0, bitmap_.width(), bitmap_.height()});
}

uint32_t* TBitmapDrawContext::PixelRow(int y) const {
    // Direct pixel access next to an active painter: the raster engine draws straight into
    // these bytes, nothing is batched.
    return reinterpret_cast<uint32_t*>(bitmap_.bits() + static_cast<qsizetype>(y) * bitmap_.bytesPerLine());
}

void TBitmapDrawContext::DrawImage(const QImage& picture, int SrcX, int SrcY, int SrcW, int SrcH, float CX,
                                   float CY, float W, float H, float Angle) {
    RefreshDeviceClip();
    const int sw = std::max(1, SrcW), sh = std::max(1, SrcH);
    if (SrcX < 0 || SrcY < 0 || picture.width() < sw || picture.height() < sh || bitmap_.isNull())
        return;
    TRect box;
    {
        TTransformationSaver saved(Transformation);
        Transformation.RotateAt(CX, CY, Angle);
        box = Transformation.BoundingRect(CX - W / 2, CY - H / 2, CX + W / 2, CY + H / 2);
    }
    box = ClippedBox(box, 1, 1, 1);
    if (box.IsEmpty())
        return;
    TTransformation& t = scratch_;
    t.Assign(Transformation);
    t.RotateAt(CX, CY, Angle);
    t.Translate(CX - W / 2, CY - H / 2);
    t.Scale(W / static_cast<float>(sw), H / static_cast<float>(sh));
    t.Translate(static_cast<float>(-SrcX), static_cast<float>(-SrcY));
    t.Update();
    const std::vector<QRect> rects = WalkRects(box);
    if (rects.empty())
        return;
    TLockedBits bits(picture);
    if (!bits.Ok())
        return;
    const TBitmapData& data = bits.Data();
    const int32_t* m = t.Inverse2012();
    const int32_t mx[3] = {m[0], m[1], m[2]};
    const int32_t my[3] = {m[3], m[4], m[5]};
    // A source rectangle reaching past the picture is cut at its edge.
    const int srcRight = std::min(SrcX + SrcW, static_cast<int>(data.Width));
    const int srcBottom = std::min(SrcY + SrcH, static_cast<int>(data.Height));
    const int64_t loX = static_cast<int64_t>(SrcX) << 12, hiX = static_cast<int64_t>(srcRight) << 12;
    const int64_t loY = static_cast<int64_t>(SrcY) << 12, hiY = static_cast<int64_t>(srcBottom) << 12;
    const uint8_t* scan0 = data.Scan0;
    const intptr_t stride = data.Stride;
    for (const QRect& r : rects) {
        const int n = r.width();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const int64_t ax0 = RowStart(r.left(), y, mx);
            const int64_t ay0 = RowStart(r.left(), y, my);
            int f1, l1, f2, l2;
            Span(ax0, mx[0], loX, hiX, n, f1, l1);
            Span(ay0, my[0], loY, hiY, n, f2, l2);
            const int first = std::max(f1, f2), last = std::min(l1, l2);
            if (first >= last)
                continue;
            // Point sampling: the source pixel that contains the mapped position (truncation).
            auto ax = static_cast<int32_t>(ax0 + static_cast<int64_t>(first) * mx[0]);
            auto ay = static_cast<int32_t>(ay0 + static_cast<int64_t>(first) * my[0]);
            uint32_t* d = PixelRow(y) + r.left() + first;
            for (int i = first; i < last; ++i, ++d) {
                const uint32_t p = reinterpret_cast<const uint32_t*>(scan0 + static_cast<intptr_t>(ay >> 12) *
                                                                                 stride)[ax >> 12];
                PutPixel(d, p);
                ax += mx[0];
                ay += my[0];
            }
        }
    }
}

void TBitmapDrawContext::DrawBitmap(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X,
                                    float Y, float W, float H) {
    RefreshDeviceClip();
    const int sw = std::max(1, SrcW), sh = std::max(1, SrcH);
    if (!data.Scan0 || SrcX < 0 || SrcY < 0 || sw > static_cast<int>(data.Width) ||
        sh > static_cast<int>(data.Height) || bitmap_.isNull())
        return;
    TRect box = ClippedBox(Transformation.BoundingRect(X, Y, X + W, Y + H), 1, 1, 0);
    if (box.IsEmpty())
        return;
    TTransformation& t = scratch_;
    t.Assign(Transformation);
    t.Translate(X, Y);
    t.Scale(W / static_cast<float>(sw), H / static_cast<float>(sh));
    t.Translate(static_cast<float>(-SrcX), static_cast<float>(-SrcY));
    t.Update();
    const int32_t* m = t.Inverse2012();
    const int32_t mx[3] = {m[0], m[1], m[2]};
    const int32_t my[3] = {m[3], m[4], m[5]};
    // Positions one below the first or equal to one past the last column or row count as the edge.
    const int64_t loX = static_cast<int64_t>(SrcX - 1) << 12, hiX = static_cast<int64_t>(SrcX + sw + 1) << 12;
    const int64_t loY = static_cast<int64_t>(SrcY - 1) << 12, hiY = static_cast<int64_t>(SrcY + sh + 1) << 12;
    const int lastCol = std::min(SrcX + sw, static_cast<int>(data.Width)) - 1;
    const int lastRow = std::min(SrcY + sh, static_cast<int>(data.Height)) - 1;
    for (const QRect& r : WalkRects(box)) {
        const int n = r.width();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const int64_t ax0 = RowStart(r.left(), y, mx);
            const int64_t ay0 = RowStart(r.left(), y, my);
            int f1, l1, f2, l2;
            Span(ax0, mx[0], loX, hiX, n, f1, l1);
            Span(ay0, my[0], loY, hiY, n, f2, l2);
            const int first = std::max(f1, f2), last = std::min(l1, l2);
            if (first >= last)
                continue;
            auto ax = static_cast<int32_t>(ax0 + static_cast<int64_t>(first) * mx[0]);
            auto ay = static_cast<int32_t>(ay0 + static_cast<int64_t>(first) * my[0]);
            uint32_t* d = PixelRow(y) + r.left() + first;
            for (int i = first; i < last; ++i, ++d) {
                const int sx = std::clamp(ax >> 12, SrcX, lastCol);
                const int sy = std::clamp(ay >> 12, SrcY, lastRow);
                *d = data.Row(sy)[sx];
                ax += mx[0];
                ay += my[0];
            }
        }
    }
}

void TBitmapDrawContext::DrawImageAlpha(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH,
                                        float X, float Y, float W, float H) {
    RefreshDeviceClip();
    if (!data.Scan0 || SrcX < 0 || SrcY < 0 || SrcW > static_cast<int>(data.Width) ||
        SrcH > static_cast<int>(data.Height) || SrcW <= 0 || SrcH <= 0 || bitmap_.isNull())
        return;
    TRect box = ClippedBox(Transformation.BoundingRect(X, Y, X + W, Y + H), 1, 1, 0);
    if (box.IsEmpty())
        return;
    TTransformation& t = scratch_;
    t.Assign(Transformation);
    t.Translate(X, Y);
    t.Scale(W / static_cast<float>(SrcW), H / static_cast<float>(SrcH));
    t.Translate(static_cast<float>(-SrcX), static_cast<float>(-SrcY));
    t.Update();
    const int32_t* m = t.Inverse1616();
    const int32_t mx[3] = {m[0], m[1], m[2]};
    const int32_t my[3] = {m[3], m[4], m[5]};
    const int32_t left = SrcX << 16, right = std::min(SrcX + SrcW, static_cast<int>(data.Width)) << 16;
    const int32_t top = SrcY << 16, bottom = std::min(SrcY + SrcH, static_cast<int>(data.Height)) << 16;
    if (right <= left || bottom <= top)
        return;
    const int width = static_cast<int>(data.Width), height = static_cast<int>(data.Height);
    const bool single = width == 1 || height == 1;
    for (const QRect& r : WalkRects(box)) {
        const int n = r.width();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            // (x * 65536) * j / 65536 is x * j: the 16.16 row walks by whole matrix elements.
            const int64_t ax0 = RowStart(r.left(), y, mx);
            const int64_t ay0 = RowStart(r.left(), y, my);
            int f1, l1, f2, l2;
            // One unit below the first bound and the right bound itself are pulled inside.
            Span(ax0, mx[0], static_cast<int64_t>(left) - 1, static_cast<int64_t>(right) + 1, n, f1, l1);
            Span(ay0, my[0], static_cast<int64_t>(top) - 1, static_cast<int64_t>(bottom) + 1, n, f2, l2);
            const int first = std::max(f1, f2), last = std::min(l1, l2);
            if (first >= last)
                continue;
            auto ax = static_cast<int32_t>(ax0 + static_cast<int64_t>(first) * mx[0]);
            auto ay = static_cast<int32_t>(ay0 + static_cast<int64_t>(first) * my[0]);
            uint32_t* d = PixelRow(y) + r.left() + first;
            for (int i = first; i < last; ++i, ++d, ax += mx[0], ay += my[0]) {
                const int32_t fx = std::clamp(ax, left, right - 1);
                const int32_t fy = std::clamp(ay, top, bottom - 1);
                int x0 = fx >> 16, y0 = fy >> 16;
                uint32_t p;
                if (single) {
                    p = data.Row(y0)[x0];
                } else {
                    if (x0 == width - 1)
                        --x0;
                    if (y0 == height - 1)
                        --y0;
                    const uint32_t wx = 255 - ((static_cast<uint32_t>(fx) >> 8) & 255);
                    const uint32_t wy = 255 - ((static_cast<uint32_t>(fy) >> 8) & 255);
                    const uint32_t* upper = data.Row(y0) + x0;
                    const uint32_t* lower = data.Row(y0 + 1) + x0;
                    p = Mix(Mix(upper[0], upper[1], wx), Mix(lower[0], lower[1], wx), wy);
                }
                PutPixel(d, p);
            }
        }
    }
}

void TBitmapDrawContext::DrawShadowRect(float cxDest, float cyDest, float wDest, float hDest, float angle,
                                        float BlurWidth) {
    RefreshDeviceClip();
    if (bitmap_.isNull())
        return;
    TRect box;
    {
        TTransformationSaver saved(Transformation);
        Transformation.RotateAt(cxDest, cyDest, angle);
        box = Transformation.BoundingRect(cxDest - wDest / 2, cyDest - hDest / 2, cxDest + wDest / 2,
                                          cyDest + hDest / 2);
    }
    box = ClippedBox(box, 1, 1, 0);
    if (box.IsEmpty())
        return;
    auto mappedLength = [this](float v) {
        float vx, vy;
        Transformation.TransformVector(0, v, vx, vy);
        return std::sqrt(vx * vx + vy * vy);
    };
    const int wp = static_cast<int>(std::nearbyint(mappedLength(wDest)));
    const int hp = static_cast<int>(std::nearbyint(mappedLength(hDest)));
    const int b = std::max(1, static_cast<int>(std::nearbyint(mappedLength(BlurWidth))));
    if (wp <= 0 || hp <= 0)
        return;
    TTransformation& t = scratch_;
    t.Assign(Transformation);
    t.RotateAt(cxDest, cyDest, angle);
    t.Translate(cxDest - wDest / 2, cyDest - hDest / 2);
    t.Scale(wDest / static_cast<float>(wp), hDest / static_cast<float>(hp));
    t.Update();
    const int32_t* m = t.Inverse2012();
    const int32_t mx[3] = {m[0], m[1], m[2]};
    const int32_t my[3] = {m[3], m[4], m[5]};
    // Blend factor per distance into the fade band (75 % grey core fading to nothing).
    auto fade = [b](int s, int size) {
        if (s < b)
            return b - s;
        if (s > size - b)
            return s - (size - b);
        return 0;
    };
    for (const QRect& r : WalkRects(box)) {
        const int n = r.width();
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const int64_t ax0 = RowStart(r.left(), y, mx);
            const int64_t ay0 = RowStart(r.left(), y, my);
            int f1, l1, f2, l2;
            // Cell -1 counts as 0 and cell Wp (Hp) as the last one.
            Span(ax0, mx[0], -(int64_t{1} << 12), static_cast<int64_t>(wp + 1) << 12, n, f1, l1);
            Span(ay0, my[0], -(int64_t{1} << 12), static_cast<int64_t>(hp + 1) << 12, n, f2, l2);
            const int first = std::max(f1, f2), last = std::min(l1, l2);
            if (first >= last)
                continue;
            auto ax = static_cast<int32_t>(ax0 + static_cast<int64_t>(first) * mx[0]);
            auto ay = static_cast<int32_t>(ay0 + static_cast<int64_t>(first) * my[0]);
            uint32_t* d = PixelRow(y) + r.left() + first;
            for (int i = first; i < last; ++i, ++d, ax += mx[0], ay += my[0]) {
                const int sx = std::clamp(ax >> 12, 0, wp - 1);
                const int sy = std::clamp(ay >> 12, 0, hp - 1);
                const int dx = fade(sx, wp), dy = fade(sy, hp);
                float dist;
                if (dx == 0 && dy == 0)
                    dist = 0;
                else if (dx != 0 && dy != 0)
                    dist = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                else
                    dist = static_cast<float>(dx != 0 ? dx : dy);
                const int mm = std::clamp(
                    static_cast<int>(std::nearbyint(dist / static_cast<float>(b) * 192.0f)), 0, 192);
                if (mm < 192) {
                    const uint32_t src = (static_cast<uint32_t>(192 - mm) << 24) | 0x00606060u;
                    *d = AlphaBlendPixel(src, *d);
                }
            }
        }
    }
}
