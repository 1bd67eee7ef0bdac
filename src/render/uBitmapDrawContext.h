#pragma once

#include "render/uDrawContext.h"

#include <QImage>

class TShadowBitmap;

// Draw context on a 32-bit bitmap in memory (bytes blue, green, red, alpha): the back buffer of
// the page view, thumbnails, previews and text shadows. The picture operations are pixel loops
// with alpha blending over the clipped device box.
//
// The canvas keeps a painter open on the bitmap between calls. Before the bitmap is resized or
// replaced, call ReleaseCanvas (the painter belongs to the old pixels); the next drawing call
// opens it again. The picture operations take the bitmap's current size each time.
class TBitmapDrawContext : public TDrawContext {
public:
    // Draws on the bitmap through a canvas of its own; a bitmap in another format is converted.
    explicit TBitmapDrawContext(QImage& bitmap);
    // Draws on the bitmap through the given canvas (which must paint on that bitmap).
    TBitmapDrawContext(QImage& bitmap, TCanvas& canvas);
    // Draws on a shadow mask, through its colour-forcing canvas.
    explicit TBitmapDrawContext(TShadowBitmap& shadow);

    QImage& Bitmap() const { return bitmap_; }
    void ReleaseCanvas() { Canvas().EndPaint(); }

    void DrawImage(const QImage& picture, int SrcX, int SrcY, int SrcW, int SrcH, float CX, float CY, float W,
                   float H, float Angle) override;
    void DrawBitmap(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X, float Y,
                    float W, float H) override;
    void DrawImageAlpha(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X, float Y,
                        float W, float H) override;
    void DrawShadowRect(float cxDest, float cyDest, float wDest, float hDest, float angle,
                        float BlurWidth) override;

protected:
    int DeviceDpiY() const override { return 96; }

private:
    // Where the pixel loops write: first row and bytes per row of the bitmap.
    struct TDestination {
        uint8_t* Bits;
        qsizetype BytesPerLine;
        uint32_t* Row(int y) const {
            return reinterpret_cast<uint32_t*>(Bits + static_cast<qsizetype>(y) * BytesPerLine);
        }
    };
    void RefreshDeviceClip();
    TDestination Destination() const;

    QImage& bitmap_;
    TTransformation scratch_;
};
