#include "render/uBitmapDrawContext.h"

#include "render/uPixelLoops.h"
#include "render/uShadowBitmap.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

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

// Bilinear sample of the 2 x 2 block at upper/lower with the weights of the left column (wx) and
// the upper row (wy), in 16-bit lanes: (left * wx + right * (256 - wx)) / 256 per row, then
// (upper * wy + lower * (256 - wy)) / 256. Every sum stays below 65536.
inline uint32_t Bilinear(const uint32_t* upper, const uint32_t* lower, uint32_t wx, uint32_t wy) {
    // p * w + q * (256 - w) is written as q * 256 + (p - q) * w: the product may wrap in 16 bits,
    // but the sum is below 65536, so the wrapped arithmetic gives it exactly.
    const __m128i zero = _mm_setzero_si128();
    const __m128i u = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(upper));
    const __m128i l = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lower));
    const __m128i ul = _mm_unpacklo_epi32(u, l);       // upper-left, lower-left, upper-right, lower-right
    const __m128i left = _mm_unpacklo_epi8(ul, zero);  // upper-left, lower-left as 16-bit lanes
    const __m128i right = _mm_unpackhi_epi8(ul, zero); // upper-right, lower-right
    const __m128i weights = _mm_set_epi16(0, 0, 0, 0, 0, 0, static_cast<short>(wy), static_cast<short>(wx));
    const __m128i wl = _mm_shuffle_epi32(_mm_shufflelo_epi16(weights, 0x00), 0x00);
    const __m128i wu = _mm_shuffle_epi32(_mm_shufflelo_epi16(weights, 0x55), 0x00);
    const __m128i rows = _mm_srli_epi16(
        _mm_add_epi16(_mm_slli_epi16(right, 8), _mm_mullo_epi16(_mm_sub_epi16(left, right), wl)), 8);
    const __m128i lowerRow = _mm_unpackhi_epi64(rows, rows);
    const __m128i mixed = _mm_srli_epi16(
        _mm_add_epi16(_mm_slli_epi16(lowerRow, 8), _mm_mullo_epi16(_mm_sub_epi16(rows, lowerRow), wu)), 8);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(mixed, mixed)));
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

// Source reads of turned pictures jump between rows, which the hardware cannot foresee: the
// pixel loops ask for the source pixel a few steps ahead. A prefetch never faults, so an address
// outside the picture is harmless; it is formed without pointer arithmetic for that reason.
constexpr int kAhead = 32;
// Source coordinate kAhead pixels further on (64-bit: a strong reduction may step far).
inline int Ahead(int32_t accumulator, int32_t step, int shift) {
    return static_cast<int>((accumulator + static_cast<int64_t>(kAhead) * step) >> shift);
}
inline void Prefetch(const uint8_t* scan0, intptr_t stride, int x, int y) {
    __builtin_prefetch(reinterpret_cast<const void*>(
        reinterpret_cast<uintptr_t>(scan0) + static_cast<uintptr_t>(static_cast<intptr_t>(y) * stride) +
        static_cast<uintptr_t>(static_cast<intptr_t>(x) * 4)));
}

// Columns of one device row that map into the source: [First, Last), of which [Inner0, Inner1)
// need no edge handling.
struct TRowSpan {
    int First = 0, Inner0 = 0, Inner1 = 0, Last = 0;
};

// Inverse of a mapping per device pixel, in fixed point: the source x of device pixel (x, y) is
// X[0] * x + X[1] * y + X[2], likewise the source y.
struct TInverseSteps {
    int32_t X[3];
    int32_t Y[3];
};

// Completes t, set up to the frame of the destination, down to source pixels: the rectangle at
// (x, y) of w x h holds sw x sh source pixels from (srcX, srcY) on. Returns its inverse with 12
// or 16 fraction bits.
TInverseSteps MapSource(TTransformation& t, float x, float y, float w, float h, int sw, int sh, int srcX,
                        int srcY, int fractionBits) {
    t.Translate(x, y);
    t.Scale(w / static_cast<float>(sw), h / static_cast<float>(sh));
    t.Translate(static_cast<float>(-srcX), static_cast<float>(-srcY));
    t.Update();
    const int32_t* m = fractionBits == 16 ? t.Inverse1616() : t.Inverse2012();
    return TInverseSteps{{m[0], m[1], m[2]}, {m[3], m[4], m[5]}};
}

// Source positions a run of pixels may fall on: [LoX, HiX) x [LoY, HiY), in fixed point.
struct TSourceBounds {
    int64_t LoX, HiX, LoY, HiY;
};

// The pixels of the run of n from (x0, y) whose source position lies within the bounds, as
// offsets [first, last) from x0 (first == last: none).
inline std::pair<int, int> SourceRun(const TInverseSteps& s, const TSourceBounds& b, int x0, int y, int n) {
    int f1, l1, f2, l2;
    Span(RowStart(x0, y, s.X), s.X[0], b.LoX, b.HiX, n, f1, l1);
    Span(RowStart(x0, y, s.Y), s.Y[0], b.LoY, b.HiY, n, f2, l2);
    const int first = std::max(f1, f2);
    return {first, std::max(first, std::min(l1, l2))};
}

// A row without edge handling: the pixels of SourceRun, all of them counted interior.
inline TRowSpan PlainSpan(const TInverseSteps& s, const TSourceBounds& b, int x0, int y, int n) {
    const auto [first, last] = SourceRun(s, b, x0, y, n);
    return TRowSpan{x0 + first, x0 + first, x0 + last, x0 + last};
}

// How many bands the rows of a large picture are split into; 0: one per core.
std::atomic<int> gBandThreads{0};

int BandCount(const QRect& r) {
    // Below this many pixels a thread costs more than it saves.
    constexpr int64_t kMinPixelsPerBand = 128 * 1024;
    constexpr int kMinRowsPerBand = 32;
    static const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const int wanted = gBandThreads.load() > 0 ? gBandThreads.load() : cores;
    const int64_t pixels = static_cast<int64_t>(r.width()) * r.height();
    return std::max(
        1, std::min({wanted, static_cast<int>(pixels / kMinPixelsPerBand), r.height() / kMinRowsPerBand}));
}

// The walk goes tile by tile: neighbouring device pixels of a turned or scaled picture read
// neighbouring source rows, so a tile keeps its source reads within a few cached rows and pages.
// Solves the spans once per row, then walks the rectangles tile by tile and hands every row
// piece to segment(d, ax, ay, count, interior): its first destination pixel, the source
// accumulators of that pixel and the number of pixels. A large rectangle is split into bands of
// rows, one per core; each band writes only its own rows, so the pixels are the same as from a
// single walk. (Splitting tiles of one band row over threads was measured slower.)
template <typename Destination, typename SpanFn, typename SegmentFn>
void WalkRows(const std::vector<QRect>& rects, const TInverseSteps& s, const Destination& dest,
              const SpanFn& spanOf, const SegmentFn& segment) {
    constexpr int kTileW = 128, kTileH = 32;
    auto walkBand = [&](const QRect& r, int top, int bottom) {
        std::vector<TRowSpan> spans(static_cast<size_t>(bottom - top));
        for (int y = top; y < bottom; ++y)
            spans[static_cast<size_t>(y - top)] = spanOf(r.left(), r.width(), y);
        for (int ty = top; ty < bottom; ty += kTileH) {
            const int tyEnd = std::min(ty + kTileH, bottom);
            for (int tx = r.left(); tx <= r.right(); tx += kTileW) {
                const int txEnd = std::min(tx + kTileW, r.right() + 1);
                for (int y = ty; y < tyEnd; ++y) {
                    const TRowSpan& sp = spans[static_cast<size_t>(y - top)];
                    const int bounds[4] = {sp.First, sp.Inner0, sp.Inner1, sp.Last};
                    for (int k = 0; k < 3; ++k) {
                        const int a = std::max(bounds[k], tx), b = std::min(bounds[k + 1], txEnd);
                        if (a < b)
                            segment(dest.Row(y) + a, static_cast<int32_t>(RowStart(a, y, s.X)),
                                    static_cast<int32_t>(RowStart(a, y, s.Y)), b - a, k == 1);
                    }
                }
            }
        }
    };
    for (const QRect& r : rects) {
        const int bands = BandCount(r);
        if (bands <= 1) {
            walkBand(r, r.top(), r.bottom() + 1);
            continue;
        }
        // Bands of whole tile rows; this thread walks the last one.
        const int tileRows = (r.height() + kTileH - 1) / kTileH;
        auto bandTop = [&](int i) {
            return std::min(r.bottom() + 1, r.top() + tileRows * i / bands * kTileH);
        };
        std::vector<std::thread> workers;
        workers.reserve(static_cast<size_t>(bands - 1));
        for (int i = 0; i < bands - 1; ++i)
            workers.emplace_back([&, i] { walkBand(r, bandTop(i), bandTop(i + 1)); });
        walkBand(r, bandTop(bands - 1), r.bottom() + 1);
        for (std::thread& w : workers)
            w.join();
    }
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

TBitmapDrawContext::TDestination TBitmapDrawContext::Destination() const {
    // Direct pixel access next to an active painter: the raster engine draws straight into
    // these bytes, nothing is batched. Taken once, before any worker runs.
    return TDestination{bitmap_.bits(), bitmap_.bytesPerLine()};
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
    scratch_.Assign(Transformation);
    scratch_.RotateAt(CX, CY, Angle);
    const TInverseSteps steps = MapSource(scratch_, CX - W / 2, CY - H / 2, W, H, sw, sh, SrcX, SrcY, 12);
    const std::vector<QRect> rects = WalkRects(box);
    if (rects.empty())
        return;
    TLockedBits bits(picture);
    if (!bits.Ok())
        return;
    const TBitmapData& data = bits.Data();
    // A source rectangle reaching past the picture is cut at its edge.
    const int srcRight = std::min(SrcX + SrcW, static_cast<int>(data.Width));
    const int srcBottom = std::min(SrcY + SrcH, static_cast<int>(data.Height));
    const TSourceBounds bounds{static_cast<int64_t>(SrcX) << 12, static_cast<int64_t>(srcRight) << 12,
                               static_cast<int64_t>(SrcY) << 12, static_cast<int64_t>(srcBottom) << 12};
    const uint8_t* scan0 = data.Scan0;
    const intptr_t stride = data.Stride;
    WalkRows(
        rects, steps, Destination(), [&](int x0, int n, int y) { return PlainSpan(steps, bounds, x0, y, n); },
        [&](uint32_t* d, int32_t ax, int32_t ay, int count, bool) {
            // Point sampling: the source pixel that contains the mapped position (truncation).
            for (int i = 0; i < count; ++i, ++d, ax += steps.X[0], ay += steps.Y[0]) {
                Prefetch(scan0, stride, Ahead(ax, steps.X[0], 12), Ahead(ay, steps.Y[0], 12));
                PutPixel(d, reinterpret_cast<const uint32_t*>(scan0 + static_cast<intptr_t>(ay >> 12) *
                                                                          stride)[ax >> 12]);
            }
        });
}

void TBitmapDrawContext::DrawBitmap(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X,
                                    float Y, float W, float H) {
    RefreshDeviceClip();
    const int sw = std::max(1, SrcW), sh = std::max(1, SrcH);
    if (!data.Scan0 || SrcX < 0 || SrcY < 0 || sw > static_cast<int>(data.Width) ||
        sh > static_cast<int>(data.Height) || bitmap_.isNull())
        return;
    const TRect box = ClippedBox(Transformation.BoundingRect(X, Y, X + W, Y + H), 1, 1, 0);
    if (box.IsEmpty())
        return;
    scratch_.Assign(Transformation);
    const TInverseSteps steps = MapSource(scratch_, X, Y, W, H, sw, sh, SrcX, SrcY, 12);
    // Positions one below the first or equal to one past the last column or row count as the edge.
    const TSourceBounds bounds{
        static_cast<int64_t>(SrcX - 1) << 12, static_cast<int64_t>(SrcX + sw + 1) << 12,
        static_cast<int64_t>(SrcY - 1) << 12, static_cast<int64_t>(SrcY + sh + 1) << 12};
    const int lastCol = std::min(SrcX + sw, static_cast<int>(data.Width)) - 1;
    const int lastRow = std::min(SrcY + sh, static_cast<int>(data.Height)) - 1;
    WalkRows(
        WalkRects(box), steps, Destination(),
        [&](int x0, int n, int y) { return PlainSpan(steps, bounds, x0, y, n); },
        [&](uint32_t* d, int32_t ax, int32_t ay, int count, bool) {
            for (int i = 0; i < count; ++i, ++d, ax += steps.X[0], ay += steps.Y[0]) {
                const int sx = std::clamp(ax >> 12, SrcX, lastCol);
                const int sy = std::clamp(ay >> 12, SrcY, lastRow);
                *d = data.Row(sy)[sx];
            }
        });
}

void TBitmapDrawContext::DrawImageAlpha(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH,
                                        float X, float Y, float W, float H) {
    RefreshDeviceClip();
    if (!data.Scan0 || SrcX < 0 || SrcY < 0 || SrcW > static_cast<int>(data.Width) ||
        SrcH > static_cast<int>(data.Height) || SrcW <= 0 || SrcH <= 0 || bitmap_.isNull())
        return;
    const TRect box = ClippedBox(Transformation.BoundingRect(X, Y, X + W, Y + H), 1, 1, 0);
    if (box.IsEmpty())
        return;
    scratch_.Assign(Transformation);
    const TInverseSteps steps = MapSource(scratch_, X, Y, W, H, SrcW, SrcH, SrcX, SrcY, 16);
    const int32_t left = SrcX << 16, right = std::min(SrcX + SrcW, static_cast<int>(data.Width)) << 16;
    const int32_t top = SrcY << 16, bottom = std::min(SrcY + SrcH, static_cast<int>(data.Height)) << 16;
    if (right <= left || bottom <= top)
        return;
    const int width = static_cast<int>(data.Width), height = static_cast<int>(data.Height);
    const bool single = width == 1 || height == 1;
    // One unit below the first bound and the right bound itself are pulled inside.
    const TSourceBounds edges{static_cast<int64_t>(left) - 1, static_cast<int64_t>(right) + 1,
                              static_cast<int64_t>(top) - 1, static_cast<int64_t>(bottom) + 1};
    // The interior: no pulling inside, and the 2 x 2 block starts at the sampled pixel.
    const TSourceBounds interior{left, std::min<int64_t>(right, static_cast<int64_t>(width - 1) << 16), top,
                                 std::min<int64_t>(bottom, static_cast<int64_t>(height - 1) << 16)};
    auto spanOf = [&](int x0, int n, int y) {
        // (x * 65536) * j / 65536 is x * j: the 16.16 row walks by whole matrix elements.
        const auto [first, last] = SourceRun(steps, edges, x0, y, n);
        int inner0 = last, inner1 = last;
        if (!single) {
            const auto [innerFirst, innerLast] = SourceRun(steps, interior, x0, y, n);
            inner0 = std::max(innerFirst, first);
            inner1 = std::min(innerLast, last);
            if (inner0 >= inner1)
                inner0 = inner1 = last;
        }
        return TRowSpan{x0 + first, x0 + inner0, x0 + inner1, x0 + last};
    };
    const uint8_t* scan0 = data.Scan0;
    const intptr_t stride = data.Stride;
    WalkRows(WalkRects(box), steps, Destination(), spanOf,
             [&](uint32_t* d, int32_t ax, int32_t ay, int count, bool inside) {
                 if (inside) {
                     for (int i = 0; i < count; ++i, ++d, ax += steps.X[0], ay += steps.Y[0]) {
                         const int px = Ahead(ax, steps.X[0], 16), py = Ahead(ay, steps.Y[0], 16);
                         Prefetch(scan0, stride, px, py);
                         Prefetch(scan0, stride, px, py + 1);
                         const auto* upper = reinterpret_cast<const uint32_t*>(
                                                 scan0 + static_cast<intptr_t>(ay >> 16) * stride) +
                                             (ax >> 16);
                         const auto* lower = reinterpret_cast<const uint32_t*>(
                             reinterpret_cast<const uint8_t*>(upper) + stride);
                         PutPixel(d, Bilinear(upper, lower, 255 - ((static_cast<uint32_t>(ax) >> 8) & 255),
                                              255 - ((static_cast<uint32_t>(ay) >> 8) & 255)));
                     }
                     return;
                 }
                 // Edge pixels: pulled inside, or their 2 x 2 block starts one column or row earlier.
                 for (int i = 0; i < count; ++i, ++d, ax += steps.X[0], ay += steps.Y[0]) {
                     const int32_t fx = std::clamp(ax, left, right - 1);
                     const int32_t fy = std::clamp(ay, top, bottom - 1);
                     int sx = fx >> 16, sy = fy >> 16;
                     uint32_t p;
                     if (single) {
                         p = data.Row(sy)[sx];
                     } else {
                         if (sx == width - 1)
                             --sx;
                         if (sy == height - 1)
                             --sy;
                         const uint32_t wx = 255 - ((static_cast<uint32_t>(fx) >> 8) & 255);
                         const uint32_t wy = 255 - ((static_cast<uint32_t>(fy) >> 8) & 255);
                         p = Bilinear(data.Row(sy) + sx, data.Row(sy + 1) + sx, wx, wy);
                     }
                     PutPixel(d, p);
                 }
             });
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
    scratch_.Assign(Transformation);
    scratch_.RotateAt(cxDest, cyDest, angle);
    const TInverseSteps steps =
        MapSource(scratch_, cxDest - wDest / 2, cyDest - hDest / 2, wDest, hDest, wp, hp, 0, 0, 12);
    // Blend factor per distance into the fade band (75 % grey core fading to nothing).
    auto fade = [b](int s, int size) {
        if (s < b)
            return b - s;
        if (s > size - b)
            return s - (size - b);
        return 0;
    };
    // Cell -1 counts as 0 and cell Wp (Hp) as the last one.
    const TSourceBounds bounds{-(int64_t{1} << 12), static_cast<int64_t>(wp + 1) << 12, -(int64_t{1} << 12),
                               static_cast<int64_t>(hp + 1) << 12};
    WalkRows(
        WalkRects(box), steps, Destination(),
        [&](int x0, int n, int y) { return PlainSpan(steps, bounds, x0, y, n); },
        [&](uint32_t* d, int32_t ax, int32_t ay, int count, bool) {
            for (int i = 0; i < count; ++i, ++d, ax += steps.X[0], ay += steps.Y[0]) {
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
        });
}

void SetPixelLoopBands(int bands) {
    gBandThreads.store(std::max(0, bands));
}
