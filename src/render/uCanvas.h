#pragma once

#include "platform/uFont.h"

#include <QPainter>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QPaintDevice;

// Colour in 0x00BBGGRR order.
using TColor = uint32_t;

inline TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
inline int RedOf(TColor c) {
    return static_cast<int>(c & 255);
}
inline int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 255);
}
inline int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 255);
}

enum TPenStyle : int { psSolid = 0, psClear = 5 };
enum TBrushStyle : int { bsSolid = 0, bsClear = 1 };

// Pen of a canvas: colour, style and width in device pixels (0 = thinnest line).
class TPen {
public:
    TColor Color() const { return color_; }
    TPenStyle Style() const { return style_; }
    int Width() const { return width_; }
    void SetColor(TColor color);
    void SetStyle(TPenStyle style);
    void SetWidth(int width);

    std::function<void()> OnChange;

private:
    void Changed() const;
    TColor color_ = 0;
    TPenStyle style_ = psSolid;
    int width_ = 1;
};

// Brush of a canvas: fill colour and style (solid or clear).
class TBrush {
public:
    TColor Color() const { return color_; }
    TBrushStyle Style() const { return style_; }
    void SetColor(TColor color);
    void SetStyle(TBrushStyle style);

    std::function<void()> OnChange;

private:
    void Changed() const;
    TColor color_ = 0xFFFFFF;
    TBrushStyle style_ = bsSolid;
};

// A drawing target with its pen, brush, font and clip region, all in device pixels. The painter
// is opened on first use and closed by EndPaint or on destruction; the device is not owned.
class TCanvas {
public:
    explicit TCanvas(QPaintDevice* device);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    QPaintDevice* Device() const { return device_; }
    // The painter with pen, brush and clip of this canvas in force, identity transformation.
    QPainter& Painter();
    void EndPaint();
    bool Painting() const { return painter_ != nullptr; }

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // The clip region in device pixels; none means no clipping.
    const std::optional<QRegion>& ClipRegion() const { return clip_; }
    void SetClipRegion(std::optional<QRegion> region);

    // Qt forms of the current pen and brush.
    QPen QtPen() const;
    QBrush QtBrush() const;

private:
    void ApplyClip();

    QPaintDevice* device_;
    std::unique_ptr<QPainter> painter_;
    std::optional<QRegion> clip_;
};

QColor ToQColor(TColor color);
