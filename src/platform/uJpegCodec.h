#pragma once

// JPEG decoding and encoding straight through libjpeg(-turbo): decoding into 32-bit pixels with the
// decoder's own downscaling (M/8), the embedded colour profile and the camera's orientation tag;
// encoding 32-bit pixels with a quality. Every call is reentrant; nothing is shared between calls.

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace JpegCodec {

enum class TJpegStatus {
    Ok,
    NotJpeg,     // no JPEG signature
    Unsupported, // a JPEG this path does not handle (CMYK); the general decoder takes it
    InvalidData,
    OutOfMemory,
    TooLarge,
};

// What the header says, before any pixel is decoded.
struct TJpegHeader {
    QSize StoredSize;      // as the pixels are stored
    int Orientation = 1;   // the camera's orientation tag, 1 ... 8 (1 = upright as stored)
    QByteArray IccProfile; // empty when none is embedded
    bool Supported = false;
    // The size after the orientation has been applied.
    QSize UprightSize() const {
        return OrientationSwapsSides(Orientation) ? StoredSize.transposed() : StoredSize;
    }
    static bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
};

bool LooksLikeJpeg(const QByteArray& data);

// Reads the markers up to the first scan only.
TJpegStatus ReadHeader(const QByteArray& data, TJpegHeader& header);

// Decodes into Format_RGB32. With a valid `atLeast` (in upright orientation) the decoder reduces the
// picture by the largest factor M/8 (M = 1 ... 8) that keeps both sides at least that large. Pictures whose
// stored size exceeds `maxPixels` are refused as TooLarge before anything is allocated. The orientation tag
// is applied; the colour profile is returned in `header` for the caller to apply.
TJpegStatus Decode(const QByteArray& data, QImage& out, TJpegHeader& header, QSize atLeast, qint64 maxPixels);

// Encodes a picture without alpha (alpha is ignored) as a baseline JFIF at the given quality.
// Returns an empty array on failure.
QByteArray Encode(const QImage& image, int quality);

// The orientation tag (1 ... 8) of an Exif block (the APP1 payload after "Exif\0\0"); 1 when absent.
int ExifOrientation(const QByteArray& tiff);

// Turns a picture stored with the given orientation tag upright.
QImage ApplyOrientation(const QImage& image, int orientation);

} // namespace JpegCodec
