// Feeds arbitrary bytes to the picture decoders as a picture file that comes from outside (a photo,
// a picture stored in a project): decoding, reduced decoding and the size probe must report
// failure or give a picture, never crash, hang or allocate without bound.
#include "platform/uImaging.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    Imaging::TDecodeOptions options;
    // Keeps each run short (scaling a large picture dominates otherwise); the limit logic is what
    // is tested, not the size.
    options.MaxPixels = 256 * 256;
    const Imaging::TDecodeResult full = Imaging::Decode(input, options);
    options.AtLeast = QSize(64, 64);
    const Imaging::TDecodeResult reduced = Imaging::Decode(input, options);
    const std::optional<QSize> probed = Imaging::ProbeSize(input);
    qint64 pixels = full.Image.width() + reduced.Image.height();
    if (probed)
        pixels += probed->width();
    if (full.ok())
        pixels += Imaging::ScaleBilinear(full.Image, QSize(7, 5)).width();
    return pixels < 0 ? 1 : 0;
}
