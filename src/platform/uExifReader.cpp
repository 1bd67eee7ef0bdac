#include "platform/uExifReader.h"

#include <libexif/exif-data.h>

#include <memory>

namespace ExifReader {
namespace {

// An APP1 payload is at most 65,533 bytes; anything claiming more is not a segment.
constexpr int kMaxSegment = 0xFFFF;

int read16(const uchar* p) {
    return int(p[0]) << 8 | int(p[1]);
}

// The payload of the first APP1 segment that starts with "Exif\0\0" (the header included), or
// nothing. Stops at the first scan: Exif data never follows the pixels.
QByteArray exifSegment(const QByteArray& jpeg) {
    const auto* p = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return QByteArray();
    qsizetype at = 2;
    while (at + 4 <= size) {
        if (p[at] != 0xFF)
            return QByteArray();
        const uchar marker = p[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return QByteArray();
        const int length = read16(p + at + 2);
        if (length < 2 || length > kMaxSegment)
            return QByteArray();
        if (marker == 0xE1 && length >= 8 && at + 2 + length <= size &&
            QByteArray::fromRawData(jpeg.constData() + at + 4, 6) == QByteArray("Exif\0\0", 6))
            return jpeg.mid(at + 4, length - 2);
        at += 2 + length;
    }
    return QByteArray();
}

struct TExifDataFree {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

} // namespace

TExifInfo ReadFromJpeg(const QByteArray& prefix) {
    TExifInfo info;
    const QByteArray segment = exifSegment(prefix);
    if (segment.isEmpty())
        return info;
    std::unique_ptr<ExifData, TExifDataFree> data(exif_data_new());
    if (!data)
        return info;
    // Read only: by default the library repairs the block while loading it (adds, drops and
    // converts entries). Clear its load options, then only skip unknown tags, which we never read.
    for (const int option : {1 << 0, 1 << 1, 1 << 2})
        exif_data_unset_option(data.get(), static_cast<ExifDataOption>(option));
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(segment.constData()),
                        static_cast<unsigned int>(segment.size()));
    if (ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)) {
        if (entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->data && entry->size >= 2) {
            const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
            if (value >= 1 && value <= 8)
                info.Orientation = value;
        }
    }
    // libexif keeps the thumbnail only when its offset and length lie inside the block.
    if (data->data && data->size > 0 && data->size < unsigned(kMaxSegment))
        info.Thumbnail = QByteArray(reinterpret_cast<const char*>(data->data), qsizetype(data->size));
    return info;
}

TJpegFrame ReadJpegFrame(const QByteArray& prefix) {
    const auto* p = reinterpret_cast<const uchar*>(prefix.constData());
    const qsizetype size = prefix.size();
    if (size < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return {};
    qsizetype at = 2;
    while (at + 4 <= size) {
        if (p[at] != 0xFF)
            return {};
        const uchar marker = p[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return {};
        const int length = read16(p + at + 2);
        if (length < 2)
            return {};
        // SOF0 ... SOF15 without DHT (C4), JPG (C8) and DAC (CC).
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8 || at + 10 > size)
                return {};
            const QSize stored(read16(p + at + 7), read16(p + at + 5));
            if (stored.isEmpty())
                return {};
            return {stored, int(p[at + 9])};
        }
        at += 2 + length;
    }
    return {};
}

} // namespace ExifReader
