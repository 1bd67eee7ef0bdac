#include "filters/uPixPinsel.h"

#include "filters/uHSLUtil.h"
#include "platform/SoftAssert.h"
#include "platform/uImaging.h"

#include <algorithm>
#include <cmath>

TPixPinsel::TPixPinsel(int width, int height) {
    SetSize(width, height);
}

void TPixPinsel::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    dirty_ = true;
}

void TPixPinsel::allocateIfDirty() {
    if (!dirty_)
        return;
    mask_.assign(size_t(maskWidth()), std::vector<std::uint8_t>(size_t(maskHeight()), 0));
    dirty_ = false;
}

void TPixPinsel::MakeRound() {
    allocateIfDirty();
    const int w = maskWidth();
    const int h = maskHeight();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double ex = (x - (w - 1) / 2.0) / w * 2.0;
            const double ey = (y - (h - 1) / 2.0) / h * 2.0;
            mask_[size_t(x)][size_t(y)] = ex * ex + ey * ey > 1.0 ? 0 : 255;
        }
    }
}

std::uint8_t TPixPinsel::Get(int x, int y) {
    allocateIfDirty();
    TT_ASSERT(x >= 0 && y >= 0 && x < maskWidth() && y < maskHeight(), return 0);
    return mask_[size_t(x)][size_t(y)];
}

void TPixPinsel::Set(int x, int y, std::uint8_t value) {
    allocateIfDirty();
    TT_ASSERT(x >= 0 && y >= 0 && x < maskWidth() && y < maskHeight(), return );
    mask_[size_t(x)][size_t(y)] = value;
}

namespace RedEye {

bool RetouchPixel(std::uint32_t& pixel) {
    const auto r = static_cast<std::uint8_t>(pixel >> 16);
    const auto g = static_cast<std::uint8_t>(pixel >> 8);
    const auto b = static_cast<std::uint8_t>(pixel);
    TRGBHSL hsl;
    hsl.SetR(r);
    hsl.SetG(g);
    hsl.SetB(b);
    if (!(hsl.H() < 0.09 || hsl.H() > 0.9))
        return false;
    const std::uint32_t red = (std::uint32_t(g) + b) / 2;
    pixel = (pixel & 0xFF00FFFFu) | (red << 16);
    return true;
}

void Retouch(QImage& picture, TPixPinsel& brush, int cx, int cy) {
    if (picture.isNull())
        return;
    const bool premultiplied = picture.format() == QImage::Format_ARGB32_Premultiplied;
    if (premultiplied)
        picture = picture.convertToFormat(QImage::Format_ARGB32);
    else if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = Imaging::Normalised(picture);
    if (picture.isNull())
        return;
    const int n = brush.Width();
    const int m = brush.Height();
    const int x0 = cx - n / 2;
    const int y0 = cy - m / 2;
    for (int j = 0; j < m; ++j) {
        const int y = y0 + j;
        if (y < 0)
            continue;
        if (y >= picture.height())
            break;
        auto* line = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
        for (int i = 0; i < n; ++i) {
            const int x = x0 + i;
            if (x < 0)
                continue;
            if (x >= picture.width())
                break;
            if (brush.Get(i, j) != 0)
                RetouchPixel(line[x]);
        }
    }
    if (premultiplied)
        picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPoint PaintBoxToPicture(QPoint position, float zoom) {
    const double z = zoom;
    return {static_cast<int>(std::trunc((position.x() + 0.5) / z)),
            static_cast<int>(std::trunc((position.y() + 0.5) / z))};
}

QSize PaintBoxSize(QSize picture, float zoom) {
    return {static_cast<int>(std::trunc(picture.width() * static_cast<double>(zoom))),
            static_cast<int>(std::trunc(picture.height() * static_cast<double>(zoom)))};
}

float ZoomStep(float zoom, bool zoomIn, QSize picture) {
    return ClampZoom(zoomIn ? zoom * 1.5f : zoom / 1.5f, picture);
}

float ClampZoom(float zoom, QSize picture) {
    float z = std::min(zoom, kMaxZoom);
    if (picture.width() > 0)
        z = std::min(z, kMaxPaintBoxSide / static_cast<float>(picture.width()));
    if (picture.height() > 0)
        z = std::min(z, kMaxPaintBoxSide / static_cast<float>(picture.height()));
    return std::max(z, kMinZoom);
}

QPoint PictureUnder(QPoint client, QPoint scroll, float zoom) {
    const double z = zoom;
    return {static_cast<int>(std::trunc((client.x() + scroll.x()) / z)),
            static_cast<int>(std::trunc((client.y() + scroll.y()) / z))};
}

QPoint CentringScroll(QPoint picturePoint, float zoom, QSize client) {
    const double z = zoom;
    return {static_cast<int>(std::trunc(picturePoint.x() * z)) - client.width() / 2,
            static_cast<int>(std::trunc(picturePoint.y() * z)) - client.height() / 2};
}

QRect BrushOutline(QPoint position, float zoom, int brushSize) {
    const QPoint centre = PaintBoxToPicture(position, zoom);
    const double z = zoom;
    const int before = brushSize / 2;
    const int after = brushSize - brushSize / 2;
    const auto at = [z](int v) { return static_cast<int>(std::nearbyint(z * v)); };
    const int left = at(centre.x() - before);
    const int top = at(centre.y() - before);
    const int right = at(centre.x() + after) + 1;
    const int bottom = at(centre.y() + after) + 1;
    return {left, top, right - left, bottom - top};
}

QRect VisiblePictureRect(QPoint scroll, QSize client, float zoom, QSize picture) {
    const double z = zoom;
    const int left = static_cast<int>(std::floor(scroll.x() / z));
    const int top = static_cast<int>(std::floor(scroll.y() / z));
    const int right = static_cast<int>(std::ceil((scroll.x() + client.width()) / z));
    const int bottom = static_cast<int>(std::ceil((scroll.y() + client.height()) / z));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(QRect(QPoint(0, 0), picture));
}

} // namespace RedEye
