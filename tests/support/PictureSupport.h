#pragma once

// Pictures made in code for the picture tests: photo-like gradients with noise, JPEGs carrying a
// camera orientation tag, and damaged or hostile files.

#include "platform/uImaging.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <algorithm>

namespace PictureSupport {

// Smooth gradients plus a little noise, like a photo.
inline QImage photo(int width, int height, quint32 seed = 1) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = static_cast<int>(state % 7) - 3;
            line[x] = qRgb(std::clamp(30 + x * 180 / width + n, 0, 255),
                           std::clamp(50 + y * 160 / height + n, 0, 255), std::clamp(120 + n, 0, 255));
        }
    }
    return image;
}

// A picture whose left half is red and right half blue: shows which way it was turned.
inline QImage halves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgb(220, 20, 20) : qRgb(20, 20, 220));
    return image;
}

// Inserts an Exif block with the orientation tag right after the JPEG's start marker.
inline QByteArray withOrientation(const QByteArray& jpeg, int orientation) {
    QByteArray tiff("II\x2A\x00\x08\x00\x00\x00", 8);
    tiff += QByteArray("\x01\x00", 2);                         // one entry
    tiff += QByteArray("\x12\x01\x03\x00\x01\x00\x00\x00", 8); // orientation, SHORT, 1 value
    tiff += char(orientation);
    tiff += QByteArray("\x00\x00\x00", 3);
    tiff += QByteArray("\x00\x00\x00\x00", 4); // no further directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const int length = payload.size() + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// Inserts an Exif block right after the JPEG's start marker: the orientation tag in the first
// directory and `thumbnail` (a JPEG) as the embedded thumbnail of the second. `thumbOffsetShift`
// moves the thumbnail's stated offset (past the block's end, to test damaged files) and
// `loop` makes the second directory point back to the first.
inline QByteArray withExif(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail,
                           quint32 thumbOffsetShift = 0, bool loop = false) {
    auto le16 = [](quint32 v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); };
    auto le32 = [&](quint32 v) { return le16(v & 0xFFFF) + le16(v >> 16); };
    auto entry = [&](quint32 tag, quint32 type, quint32 value) {
        return le16(tag) + le16(type) + le32(1) + (type == 3 ? le16(value) + le16(0) : le32(value));
    };
    QByteArray tiff("II\x2A\x00\x08\x00\x00\x00", 8);
    tiff += le16(1) + entry(0x0112, 3, quint32(orientation)) + le32(26); // IFD0, then IFD1 at 26
    const quint32 thumbAt = 26 + 2 + 3 * 12 + 4;
    tiff += le16(3) + entry(0x0103, 3, 6) + entry(0x0201, 4, thumbAt + thumbOffsetShift) +
            entry(0x0202, 4, quint32(thumbnail.size())) + le32(loop ? 8 : 0);
    tiff += thumbnail;
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const int length = payload.size() + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

inline quint32 crc32(const QByteArray& data) {
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray bigEndian(quint32 value) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = char(value >> (24 - 8 * i));
    return out;
}

// A PNG whose header claims width x height pixels, followed by a few bytes of junk data.
inline QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray ihdr =
        QByteArray("IHDR") + bigEndian(width) + bigEndian(height) + QByteArray("\x08\x06\x00\x00\x00", 5);
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    png += bigEndian(13) + ihdr + bigEndian(crc32(ihdr));
    const QByteArray idat = QByteArray("IDAT") + QByteArray("\x78\x9C\x63\x60\x00\x00\x00\x02\x00\x01", 10);
    png += bigEndian(10) + idat + bigEndian(crc32(idat));
    const QByteArray iend("IEND");
    png += bigEndian(0) + iend + bigEndian(crc32(iend));
    return png;
}

// The JPEG with the size in its frame header replaced (the pixel data stays as it was).
inline QByteArray jpegClaiming(QByteArray jpeg, quint16 width, quint16 height) {
    for (int i = 2; i + 9 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return jpeg;
}

inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

inline QByteArray jpeg(const QImage& image) {
    return Imaging::EncodeJpeg(image, 90);
}

} // namespace PictureSupport
