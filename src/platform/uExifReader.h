#pragma once

// What a camera photo's Exif block says about showing it small: the embedded thumbnail (a small JPEG
// of its own) and the orientation tag. Reading goes through libexif; a block with offsets outside
// itself, loops between directories or absurd lengths gives no thumbnail, never a crash.

#include <QByteArray>
#include <QSize>

namespace ExifReader {

struct TExifInfo {
    int Orientation = 1;  // 1 ... 8; 1 when absent or out of range
    QByteArray Thumbnail; // the embedded JPEG thumbnail's bytes; empty when none
};

// The Exif block is searched in the first bytes of a JPEG file (the APP1 segment comes before the
// pixels); `prefix` may end anywhere after it.
TExifInfo ReadFromJpeg(const QByteArray& prefix);

// What a JPEG's frame header (SOF) says, read by walking the markers of `prefix`.
struct TJpegFrame {
    QSize StoredSize; // invalid when the header is not within `prefix` or the bytes are no JPEG
    int Components = 0;
};
TJpegFrame ReadJpegFrame(const QByteArray& prefix);

} // namespace ExifReader
