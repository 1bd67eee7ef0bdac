#pragma once

// The red-eye brush and the arithmetic of the red-eye dialog: retouching at a picture point,
// paint-box positions as picture pixels, zoom steps and their caps, scroll positions that bring a
// picture point to the middle, the brush outline and the visible part of the picture.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

// A brush mask of width x height picture pixels: 255 where the brush paints, 0 elsewhere.
class TPixPinsel {
public:
    TPixPinsel(int width, int height);

    // A new size; the mask is made anew (all 0) on its next use.
    void SetSize(int width, int height);
    // A filled ellipse over the whole mask: all nine pixels for 3 x 3, a disc for larger sizes.
    void MakeRound();
    // 0 outside the mask.
    std::uint8_t Get(int x, int y);
    void Set(int x, int y, std::uint8_t value);
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    void allocateIfDirty();
    int maskWidth() const { return width_ > 0 ? width_ : 1; }
    int maskHeight() const { return height_ > 0 ? height_ : 1; }

    std::vector<std::vector<std::uint8_t>> mask_; // [x][y]
    bool dirty_ = true;
    int height_ = 0;
    int width_ = 0;
};

namespace RedEye {

constexpr float kMinZoom = 0.25f;
constexpr float kMaxZoom = 20.0f;
// The paint box never grows beyond this many pixels either way.
constexpr float kMaxPaintBoxSide = 30000.0f;

// A pixel (0xAARRGGBB) whose hue is red (below 0.09 or above 0.9) gets red = the mean of green and
// blue; greens, blues, alpha and other hues stay. True when the pixel changed.
bool RetouchPixel(std::uint32_t& pixel);
// Paints the brush centred on picture pixel (cx, cy); only pixels inside the picture change.
// Pictures that are not 32-bit are converted first.
void Retouch(QImage& picture, TPixPinsel& brush, int cx, int cy);

// The picture pixel that a paint-box position (X, Y) retouches at a zoom factor.
QPoint PaintBoxToPicture(QPoint position, float zoom);
// The paint box of a picture at a zoom factor (truncated).
QSize PaintBoxSize(QSize picture, float zoom);
// A zoom factor kept at most 20, at most a paint box of 30000 pixels a side, and at least 0.25.
float ClampZoom(float zoom, QSize picture);
// One zoom step in or out (factor 1.5), capped at 20, at a paint box of 30000 pixels a side and
// at 0.25.
float ZoomStep(float zoom, bool zoomIn, QSize picture);
// The picture point under a client position at the given scroll positions.
QPoint PictureUnder(QPoint client, QPoint scroll, float zoom);
// The scroll positions that bring a picture point to the middle of the client area.
QPoint CentringScroll(QPoint picturePoint, float zoom, QSize client);
// The brush outline around the paint-box position, centred on the pixel that a click there retouches.
QRect BrushOutline(QPoint position, float zoom, int brushSize);
// The picture rectangle that the visible part of the paint box shows, rounded outward and kept
// inside the picture.
QRect VisiblePictureRect(QPoint scroll, QSize client, float zoom, QSize picture);

} // namespace RedEye
