// Feeds arbitrary bytes to the reading of a photo's Exif block as the picture browser meets it in
// any file named like a JPEG: the embedded thumbnail, the orientation tag and the frame size must
// be found or not, never crash, hang or read outside the bytes; a thumbnail made from the bytes
// must fail or fit its box.
#include "platform/uExifReader.h"
#include "platform/uThumbnail.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const ExifReader::TExifInfo exif = ExifReader::ReadFromJpeg(input);
    const ExifReader::TJpegFrame frame = ExifReader::ReadJpegFrame(input);
    if (exif.Orientation < 1 || exif.Orientation > 8)
        __builtin_trap();
    const Thumbnails::TThumbResult thumb = Thumbnails::MakeFromBytes(input, QSize(64, 64));
    if (thumb.ok() && (thumb.Image.width() > 64 || thumb.Image.height() > 64))
        __builtin_trap();
    return int(exif.Thumbnail.size() + frame.Components) < 0 ? 1 : 0;
}
