#pragma once

#include "render/uCanvas.h"
#include "render/uFontCache.h"
#include "render/uTransformation.h"

#include <QImage>
#include <QPainterPath>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

constexpr int32_t PixelFormat32bppARGB = 0x0026200A;

// Pixels of a 32-bit picture: blue, green, red, alpha bytes per pixel, rows Stride bytes apart
// (negative for bottom-up rows). The picture operations only read through it.
struct TBitmapData {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int32_t Stride = 0;
    int32_t PixelFormat = PixelFormat32bppARGB;
    const uint8_t* Scan0 = nullptr;
    uint32_t Reserved = 0;

    const uint32_t* Row(int y) const {
        return reinterpret_cast<const uint32_t*>(Scan0 + static_cast<intptr_t>(y) * Stride);
    }
};

// Read access to a picture as 32-bit ARGB; pictures in other formats are converted for the
// lifetime of the lock.
class TLockedBits {
public:
    explicit TLockedBits(const QImage& image);
    bool Ok() const { return data_.Scan0 != nullptr; }
    const TBitmapData& Data() const { return data_; }

private:
    QImage converted_;
    TBitmapData data_;
};

// Describes a 32-bit image that is already in blue, green, red, alpha byte order.
TBitmapData BitmapData(const QImage& image);

// Text flags of TextRect.
enum : int {
    tfCenter = 0x1,
    tfRight = 0x2,
    tfVCenter = 0x4,
    tfBottom = 0x8,
    tfWordBreak = 0x10,
    tfCalcRect = 0x400,
};

// One line of WrapText: its text and whether it ended at a hard break.
struct TWrappedLine {
    QString Text;
    bool HardBreak = false;
};
using TWrappedLines = std::vector<TWrappedLine>;

// Drawing surface in document millimetres: everything given to it passes through
// Transformation to device pixels and is drawn on the canvas (not owned).
class TDrawContext {
public:
    explicit TDrawContext(TCanvas& canvas);
    // A context that owns its canvas (a surface it opened itself).
    explicit TDrawContext(std::unique_ptr<TCanvas> canvas);
    virtual ~TDrawContext();
    TDrawContext(const TDrawContext&) = delete;
    TDrawContext& operator=(const TDrawContext&) = delete;

    TCanvas& Canvas() const { return canvas_; }
    const TRect& DeviceClip() const { return deviceClip_; }

    // Public state that callers set directly.
    TTransformation Transformation;
    TFont Font;
    TRect ClipRect{-32000, -32000, 32000, 32000};
    float FontHeightPx = 0;
    float PenWidth = 0;

    // Mapping.
    QPoint MapPoint(float x, float y);
    std::vector<QPoint> MapPoints(const std::vector<TPointF>& points);
    QPoint MapVector(float dx, float dy) const;
    TPointF DeviceToDoc(int x, int y);
    TPointF DeviceVectorToDoc(int dx, int dy);

    // Pen and brush.
    void SetPenColor(TColor color);
    void SetPenStyle(TPenStyle style);
    void SetPenWidth(float w);
    void SetPenWidthPx(int n);
    TBrush& Brush() { return canvas_.Brush; }

    // Fonts.
    void SetFont(const TFont& font);
    void SelectFont();
    TTextMetric GetTextMetrics();
    // Escapement of the font last selected, in tenths of a degree.
    int FontEscapement() const { return escapement_; }
    // Em height in device pixels of the font last selected.
    int FontHeightLogical() const { return fontHeightLogical_; }

    // Shapes.
    void Line(float x1, float y1, float x2, float y2);
    void Polyline(const std::vector<TPointF>& points);
    void Rectangle(float x1, float y1, float x2, float y2);
    void RectangleF(const TRectF& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void CenteredRectangle(float cx, float cy, float w, float h);
    void RotatedRectangle(float cx, float cy, float w, float h, float angle);
    void Ellipse(float cx, float cy, float w, float h);

    // Paths.
    void BeginPath();
    void EndPath();
    void CloseFigure();
    void MoveTo(float x, float y);
    void LineTo(float x, float y);
    void BezierTo(float x1, float y1, float x2, float y2, float x3, float y3);
    void StrokePath();
    void StrokeAndFillPath();

    // Clipping; ClipToPath and RestoreClip nest like brackets.
    enum TClipMode : int { cmIntersect = 1, cmExclude = 4, cmReplace = 5 };
    void ClipToPath(int mode);
    void RestoreClip();
    void ClipToRect(int mode, float x1, float y1, float x2, float y2);
    void ClipRotatedRect(int mode, float cx, float cy, float w, float h, float angle);
    int ClipStackDepth() const { return static_cast<int>(clipStack_.size()); }

    // Text.
    void TextOut(const QString& text, int alignment, float x, float y);
    float TextRect(const QString& text, int flags, float left, float top, float right, float bottom);
    float TextRectF(const TRectF& r, const QString& text, int flags) {
        return TextRect(text, flags, r.Left, r.Top, r.Right, r.Bottom);
    }
    float TextWidth(const QString& text);
    float TextHeight(const QString& text);
    void WrapText(const QString& text, TWrappedLines& lines, float width);
    // Device advances (pixels) that TextOut uses for each character of the text.
    std::vector<int> TextAdvances(const QString& text);

    // Pictures. Src... are pixels of the picture; the destination is in the current frame.
    virtual void DrawImageOrthogonalBlt(const QImage& picture, float X, float Y, float W, float H);
    virtual void DrawBitmapOrthogonal(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH,
                                      float X, float Y, float W, float H);
    virtual void DrawImage(const QImage& picture, int SrcX, int SrcY, int SrcW, int SrcH, float CX, float CY,
                           float W, float H, float Angle);
    virtual void DrawBitmap(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X, float Y,
                            float W, float H);
    virtual void DrawImageAlpha(const TBitmapData& data, int SrcX, int SrcY, int SrcW, int SrcH, float X,
                                float Y, float W, float H);
    virtual void DrawShadowRect(float cxDest, float cyDest, float wDest, float hDest, float angle,
                                float BlurWidth);

    // Text width and height in pixels at 720 pixels per inch.
    int MeasureWidthPx(const QString& text) const;
    int MeasureHeightPx() const;

protected:
    void SetDeviceClip(const TRect& clip) { deviceClip_ = clip; }
    // Vertical resolution of the device in dots per inch.
    virtual int DeviceDpiY() const;
    // Reduction factor of the base picture operations on devices above 360 dpi.
    int ReductionFactor() const;
    // Device box clipped to DeviceClip and ClipRect (exclusive bounds).
    TRect ClippedBox(const TRect& inclusiveBox, int growRight, int growBottom, int inflate) const;
    // The rectangles to walk: the box, cut by the canvas clip region when there is one.
    std::vector<QRect> WalkRects(const TRect& box) const;
    // Draws an image onto the device rectangle (opaque, no smoothing unless asked).
    void BlitImage(const QImage& image, const QRect& target, bool smooth);

private:
    // A picture drawn point by point: the source pixels that may be read (exclusive bounds), how
    // many source pixels the destination width and height stand for, and the scratch picture.
    struct TPointSampling {
        TRect Source;
        float SpanX = 1;
        float SpanY = 1;
        QImage::Format Format = QImage::Format_RGB32;
        uint32_t Background = 0;
    };
    // Fills a scratch picture at the reduction factor over the device box of X, Y, W, H, every
    // visible pixel from the source pixel it falls on, and blits it once. pixels() gives the
    // source only once the box proves visible; without one the background shows.
    template <typename PixelsFn>
    void DrawPointSampled(const TPointSampling& sampling, float X, float Y, float W, float H,
                          const PixelsFn& pixels);

    QPainter& PreparedPainter();
    QRegion PathRegion() const;
    void DrawShapePath(const QPainterPath& path, bool fill, bool stroke);

    std::unique_ptr<TCanvas> ownedCanvas_;
    TCanvas& canvas_;
    TRect deviceClip_{-32000, -32000, 32000, 32000};
    std::vector<QRegion> clipStack_;
    QPainterPath path_;
    bool pathOpen_ = false;
    int escapement_ = 0;
    int fontHeightLogical_ = 1;
};

// Undoes a clip step on every path out of a scope.
class TClipRestorer {
public:
    explicit TClipRestorer(TDrawContext& dc) : dc_(dc) {}
    ~TClipRestorer() { dc_.RestoreClip(); }
    TClipRestorer(const TClipRestorer&) = delete;
    TClipRestorer& operator=(const TClipRestorer&) = delete;

private:
    TDrawContext& dc_;
};
