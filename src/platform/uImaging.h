#pragma once

// The imaging layer: decoding picture files (JPEG, PNG, BMP, TIFF, GIF) into 32-bit pixels that are
// upright and in sRGB, reading only a picture's size, high-quality bilinear scaling, and encoding as
// PNG or JPEG. Pictures are QImage in Format_RGB32 (no alpha) or Format_ARGB32 (alpha, not
// premultiplied): in memory each pixel is the bytes blue, green, red, alpha.
//
// Every function is reentrant: worker threads may decode different pictures at the same time.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace Imaging {

// A file claiming more pixels than this is treated as undecodable: decoding it would need more
// memory than any picture in a printed product is worth (1 GiB of 32-bit pixels).
constexpr qint64 kMaxDecodePixels = qint64(1) << 28;

// Why a decode failed. The numbers are the status values of the trace lines.
enum class TImageStatus {
    Ok = 0,
    InvalidData = 2,
    OutOfMemory = 3,
    TooLarge = 11,
    UnknownFormat = 13,
};

struct TDecodeOptions {
    // Converts a picture with an embedded colour profile to sRGB.
    bool ColourManaged = true;
    // When valid, the decoder may deliver a smaller picture (JPEG reduces while decoding) as long as
    // both sides stay at least this large. The result is then NOT the picture's full size.
    QSize AtLeast;
    qint64 MaxPixels = kMaxDecodePixels;
};

struct TDecodeResult {
    QImage Image; // null on failure
    TImageStatus Status = TImageStatus::Ok;
    QString Error;
    bool ok() const { return Status == TImageStatus::Ok && !Image.isNull(); }
};

// Decodes a whole picture file held in memory. The orientation tag of camera photos is applied, so
// the result is upright.
TDecodeResult Decode(const QByteArray& data, const TDecodeOptions& options = {});

// The upright size from the file's header alone, without decoding pixels; nothing when the header
// cannot be read or claims more than kMaxDecodePixels.
std::optional<QSize> ProbeSize(const QByteArray& data);

// Fits a picture of `size` into a square of `side` pixels: the longer side becomes `side`, the other
// is rounded (4000 x 3000 into 192 gives 192 x 144), never below 1.
QSize FitInto(QSize size, int side);

// High-quality bilinear scaling: a tent filter that widens with the reduction, so that shrinking
// averages every source pixel instead of skipping rows. Keeps the pixel format (RGB32 or ARGB32;
// other formats come back as one of these two). A null image when the memory is not available.
QImage ScaleBilinear(const QImage& image, QSize size);

// A picture in the program's pixel formats: ARGB32 when it has alpha, RGB32 otherwise.
QImage Normalised(const QImage& image);

// Encoded picture files; empty on failure.
QByteArray EncodePng(const QImage& image);
QByteArray EncodeJpeg(const QImage& image, int quality);

// A 32-bit view of a picture's pixels for the drawing code: pixel values 0xAARRGGBB (bytes blue,
// green, red, alpha in memory). The view converts the picture to RGB32/ARGB32 once if needed and
// shares its pixels otherwise; the mutable view detaches the picture it was given.
class TConstPixelView {
public:
    explicit TConstPixelView(const QImage& image);
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool HasAlpha() const { return image_.format() == QImage::Format_ARGB32; }
    const uint32_t* Line(int y) const { return reinterpret_cast<const uint32_t*>(image_.constScanLine(y)); }
    uint32_t Pixel(int x, int y) const { return Line(y)[x]; }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

class TPixelView {
public:
    // Works on `image` itself (converting it first if its format is another).
    explicit TPixelView(QImage& image);
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool HasAlpha() const { return image_.format() == QImage::Format_ARGB32; }
    uint32_t* Line(int y) { return reinterpret_cast<uint32_t*>(image_.scanLine(y)); }
    const uint32_t* Line(int y) const { return reinterpret_cast<const uint32_t*>(image_.constScanLine(y)); }
    uint32_t Pixel(int x, int y) const { return Line(y)[x]; }
    void SetPixel(int x, int y, uint32_t value) { Line(y)[x] = value; }

private:
    QImage& image_;
};

} // namespace Imaging
