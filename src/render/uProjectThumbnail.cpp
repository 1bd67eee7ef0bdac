#include "render/uProjectThumbnail.h"

#include "document/uFotobuchDocument.h"
#include "render/uBitmapDrawContext.h"
#include "render/uDocDrawer.h"

#include <algorithm>
#include <cmath>

namespace ProjectThumbnail {

namespace {

// Quality 1 of the drawer: the pictures' small previews, never a full decode.
constexpr int kPreviewQuality = 1;

} // namespace

QImage Render(TFBDocument& document, int side) {
    if (side < kMinSide || side > kMaxSide || document.ViewCount() < 1)
        return {};
    const TFBSizeF size = document.ViewSize();
    if (!(size.Width > 0 && size.Height > 0))
        return {};
    const double scale = side / std::max<double>(size.Width, size.Height); // pixels per millimetre
    const int width = std::clamp(int(std::lround(size.Width * scale)), 1, side);
    const int height = std::clamp(int(std::lround(size.Height * scale)), 1, side);
    QImage bitmap(width, height, QImage::Format_ARGB32);
    if (bitmap.isNull())
        return {};
    bitmap.fill(0xFFFFFFFFu);
    TBitmapDrawContext dc(bitmap);
    dc.Transformation.Scale(static_cast<float>(scale));
    DocumentDrawer().DrawView(document, dc, kPreviewQuality, 0);
    dc.ReleaseCanvas();
    return bitmap;
}

} // namespace ProjectThumbnail
