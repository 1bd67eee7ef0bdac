#include "render/uShadowBitmap.h"

#include <algorithm>
#include <cmath>

namespace {
// The mask is black and opaque while it is drawn on, so that smoothed letter edges mix their grey
// against black in the colour bytes (which Blur reads); Blur rewrites every alpha byte.
constexpr uint32_t kMaskBlack = 0xFF000000u;
} // namespace

void AlphaBlendPixels(const uint32_t* source, uint32_t* destination, int count) {
    for (int i = 0; i < count; ++i)
        destination[i] = AlphaBlendPixel(source[i], destination[i]);
}

void BlendBitmap(QImage& destination, int x, int y, int weight, const QImage& source) {
    if (destination.isNull() || source.isNull())
        return;
    if (destination.format() != QImage::Format_ARGB32 && destination.format() != QImage::Format_RGB32)
        destination.convertTo(QImage::Format_ARGB32);
    const QImage src = (source.format() == QImage::Format_ARGB32 || source.format() == QImage::Format_RGB32)
                           ? source
                           : source.convertToFormat(QImage::Format_ARGB32);
    const int left = std::max(0, x), top = std::max(0, y);
    const int right = std::min(destination.width(), x + src.width());
    const int bottom = std::min(destination.height(), y + src.height());
    if (right <= left || bottom <= top)
        return;
    const int e = static_cast<int>(std::nearbyint(std::clamp(weight, 0, 255) * 128.0 / 255.0));
    for (int row = top; row < bottom; ++row) {
        auto* d = reinterpret_cast<uint32_t*>(destination.scanLine(row));
        const auto* s = reinterpret_cast<const uint32_t*>(src.constScanLine(row - y));
        for (int col = left; col < right; ++col) {
            const uint32_t sv = s[col - x];
            const uint32_t dv = d[col];
            if (sv == dv)
                continue;
            uint32_t out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int sb = static_cast<int>((sv >> shift) & 255);
                const int db = static_cast<int>((dv >> shift) & 255);
                // floor division of a value that is never negative: (d - s + 255) >= 0.
                const int v = sb + (e * (db - sb + 255)) / 128 - 2 * e;
                out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
            }
            d[col] = out;
        }
    }
}

const TBlurKernel& BlurKernel(float sigma) {
    static TBlurKernel kernel;
    if (kernel.Radius != 0 && kernel.Sigma == sigma)
        return kernel;
    float w[201];
    float sum = 0;
    for (int k = -100; k <= 100; ++k) {
        const float q = static_cast<float>(k) / sigma;
        w[k + 100] = std::exp(-q * q / 2);
        sum += w[k + 100];
    }
    for (float& v : w)
        v /= sum;
    int r = 100;
    float tail = 0;
    while (tail < 1.0f / 256 && r >= 2) {
        tail += 2 * w[r + 100];
        --r;
    }
    float inner = 0;
    for (int k = -r; k <= r; ++k)
        inner += w[k + 100];
    kernel.Sigma = sigma;
    kernel.Radius = r;
    kernel.Weights.assign(static_cast<size_t>(2 * r + 1), 0);
    int total = 0;
    for (int k = -r; k <= r; ++k) {
        const int v = static_cast<int>(std::nearbyint(w[k + 100] / inner * 256));
        kernel.Weights[static_cast<size_t>(k + r)] = v;
        total += v;
    }
    kernel.Weights[static_cast<size_t>(r)] += 256 - total;
    return kernel;
}

TShadowBitmap::TShadowBitmap(int width, int height)
    : image_(std::max(0, width), std::max(0, height), QImage::Format_ARGB32), canvas_(&image_) {
    if (!image_.isNull())
        image_.fill(kMaskBlack);
    previousPen_ = canvas_.Pen.OnChange;
    previousBrush_ = canvas_.Brush.OnChange;
    canvas_.Pen.OnChange = [this] {
        if (ForcePen)
            canvas_.Pen.SetColor(RGBColor(shade_, shade_, shade_));
        if (previousPen_)
            previousPen_();
    };
    canvas_.Brush.OnChange = [this] {
        if (ForceBrush && canvas_.Brush.Style() != bsClear)
            canvas_.Brush.SetColor(RGBColor(shade_, shade_, shade_));
        if (previousBrush_)
            previousBrush_();
    };
    canvas_.Font.SetOnChange([this] {
        if (ForceFont)
            canvas_.Font.SetColor(static_cast<qint32>(RGBColor(shade_, shade_, shade_)));
    });
    ForceColours();
}

TShadowBitmap::~TShadowBitmap() {
    canvas_.EndPaint();
    canvas_.Pen.OnChange = previousPen_;
    canvas_.Brush.OnChange = previousBrush_;
    canvas_.Font.SetOnChange({});
}

void TShadowBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == image_.width() && height == image_.height())
        return;
    canvas_.EndPaint();
    image_ = QImage(width, height, QImage::Format_ARGB32);
    if (!image_.isNull())
        image_.fill(kMaskBlack);
}

void TShadowBitmap::ForceColours() {
    const TColor grey = RGBColor(shade_, shade_, shade_);
    canvas_.Pen.SetColor(grey);
    if (canvas_.Brush.Style() != bsClear)
        canvas_.Brush.SetColor(grey);
    canvas_.Font.SetColor(static_cast<qint32>(grey));
}

void TShadowBitmap::Clear() {
    ForceBrush = false;
    // The painter lets go of the pixels while they are overwritten directly.
    canvas_.EndPaint();
    if (!image_.isNull())
        image_.fill(kMaskBlack);
    ForceBrush = true;
}

void TShadowBitmap::SetTransparency(float percent) {
    const float p = std::clamp(percent, 0.0f, 100.0f);
    shade_ = static_cast<uint8_t>(std::nearbyint((100 - p) / 100 * 255));
    ForceColours();
}

void TShadowBitmap::Blur(TColor colour, float sigma) {
    if (image_.isNull())
        return;
    canvas_.EndPaint();
    const TBlurKernel& kernel = BlurKernel(sigma);
    const int r = kernel.Radius;
    const int* weights = kernel.Weights.data() + r; // weights[-r .. r]
    const int w = image_.width(), h = image_.height();
    const int n = std::max(w, h);
    std::vector<int> line(static_cast<size_t>(n + 2 * r));
    std::vector<uint8_t> out(static_cast<size_t>(n));

    auto blurLine = [&](int count) {
        const int* src = line.data() + r;
        for (int i = 0; i < count; ++i) {
            int s = 0;
            for (int k = -r; k <= r; ++k)
                s += weights[k] * src[i + k];
            out[static_cast<size_t>(i)] = s < 65536 ? static_cast<uint8_t>(s >> 8) : 255;
        }
    };

    // Horizontal pass: the mask sits in the red byte; the result goes to red and alpha.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        for (int i = -r; i < w + r; ++i)
            line[static_cast<size_t>(i + r)] = static_cast<int>((row[std::clamp(i, 0, w - 1)] >> 16) & 255);
        blurLine(w);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = out[static_cast<size_t>(x)];
            row[x] = (row[x] & 0x0000FFFFu) | (v << 16) | (v << 24);
        }
    }
    // Vertical pass over the red bytes of the first.
    const qsizetype stride = image_.bytesPerLine() / 4;
    auto* base = reinterpret_cast<uint32_t*>(image_.bits());
    for (int x = 0; x < w; ++x) {
        for (int i = -r; i < h + r; ++i)
            line[static_cast<size_t>(i + r)] =
                static_cast<int>((base[std::clamp(i, 0, h - 1) * stride + x] >> 16) & 255);
        blurLine(h);
        for (int y = 0; y < h; ++y) {
            uint32_t& p = base[y * stride + x];
            const uint32_t v = out[static_cast<size_t>(y)];
            p = (p & 0x0000FFFFu) | (v << 16) | (v << 24);
        }
    }
    // Every pixel takes the colour; alpha keeps the blurred mask.
    const uint32_t rgb = (static_cast<uint32_t>(RedOf(colour)) << 16) |
                         (static_cast<uint32_t>(GreenOf(colour)) << 8) |
                         static_cast<uint32_t>(BlueOf(colour));
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image_.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = (row[x] & 0xFF000000u) | rgb;
    }
}
