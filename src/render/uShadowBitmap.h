#pragma once

#include "render/uCanvas.h"
#include "render/uDrawContext.h"

#include <QImage>

#include <cstdint>
#include <vector>

// Blends one source pixel onto a destination pixel (blue, green, red, alpha bytes):
// with a := source alpha >> 1, every byte moves floor(a * (source - destination) / 128) of the way.
// Two bytes are worked at once in 16-bit fields; no field can carry into the next.
inline uint32_t AlphaBlendPixel(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 25;
    const uint32_t twoA = (2 * a) * 0x00010001u;
    const uint32_t sBR = src & 0x00FF00FFu, dBR = dst & 0x00FF00FFu;
    const uint32_t sGA = (src >> 8) & 0x00FF00FFu, dGA = (dst >> 8) & 0x00FF00FFu;
    const uint32_t br = ((((sBR + 0x01000100u - dBR) * a) >> 7) & 0x01FF01FFu) + dBR - twoA;
    const uint32_t ga = ((((sGA + 0x01000100u - dGA) * a) >> 7) & 0x01FF01FFu) + dGA - twoA;
    return (br & 0x00FF00FFu) | ((ga & 0x00FF00FFu) << 8);
}

// AlphaBlendPixel over count pixel pairs, destination in place.
void AlphaBlendPixels(const uint32_t* source, uint32_t* destination, int count);

// Mixes a source picture into a destination at (x, y) with a constant weight 0..255: 0 copies the
// source, larger weights keep more of the destination.
void BlendBitmap(QImage& destination, int x, int y, int weight, const QImage& source);

// Integer Gaussian kernel: weights for -Radius..Radius summing to 256.
struct TBlurKernel {
    float Sigma = 0;
    int Radius = 0;
    std::vector<int> Weights; // 2 * Radius + 1 entries
};
// The process-wide kernel for sigma, recomputed only when sigma changes.
const TBlurKernel& BlurKernel(float sigma);

// A 32-bit mask bitmap: whatever is drawn on its canvas comes out in one grey level, and Blur
// turns the mask into the alpha channel of a plain-coloured picture (soft text shadows).
class TShadowBitmap {
public:
    explicit TShadowBitmap(int width = 0, int height = 0);
    ~TShadowBitmap();
    TShadowBitmap(const TShadowBitmap&) = delete;
    TShadowBitmap& operator=(const TShadowBitmap&) = delete;

    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    TCanvas& Canvas() { return canvas_; }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    void SetSize(int width, int height);

    uint8_t Shade() const { return shade_; }
    bool ForcePen = true;
    bool ForceBrush = true;
    bool ForceFont = true;

    // Fills the bitmap with black.
    void Clear();
    // Opacity of the mask: 0 per cent draws grey 255, 100 draws 0; 50 gives 128.
    void SetTransparency(float percent);
    // Blurs the mask (red bytes) into alpha and paints every pixel in colour.
    void Blur(TColor colour, float sigma);
    // Pixel description for DrawImageAlpha.
    TBitmapData BitmapData() const { return ::BitmapData(image_); }

private:
    void ForceColours();

    QImage image_;
    TCanvas canvas_;
    uint8_t shade_ = 128;
    std::function<void()> previousPen_, previousBrush_;
};
