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

// What pen and brush share: a colour, and a handler that hears of every change once.
class TCanvasTool {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { Change(color_, color); }

    std::function<void()> OnChange;

protected:
    explicit TCanvasTool(TColor color) : color_(color) {}
    // Takes the value and calls OnChange, unless the setting has it already.
    template <typename T>
    void Change(T& setting, T value) {
        if (setting == value)
            return;
        setting = value;
        if (OnChange)
            OnChange();
    }

private:
    TColor color_;
};

// Pen of a canvas: colour, style and width in device pixels (0 = thinnest line).
class TPen : public TCanvasTool {
public:
    TPen() : TCanvasTool(0) {}
    TPenStyle Style() const { return style_; }
    int Width() const { return width_; }
    void SetStyle(TPenStyle style) { Change(style_, style); }
    void SetWidth(int width) { Change(width_, width); }

private:
    TPenStyle style_ = psSolid;
    int width_ = 1;
};

// Brush of a canvas: fill colour and style (solid or clear).
class TBrush : public TCanvasTool {
public:
    TBrush() : TCanvasTool(0xFFFFFF) {}
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style) { Change(style_, style); }

private:
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
