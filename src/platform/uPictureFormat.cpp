#include "platform/uPictureFormat.h"

#include "platform/uJpegCodec.h"

#include <QFile>
#include <QImageReader>

namespace Imaging {

QByteArray FormatOf(const QByteArray& head) {
    if (JpegCodec::LooksLikeJpeg(head))
        return QByteArrayLiteral("jpeg");
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return QByteArrayLiteral("png");
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return QByteArrayLiteral("gif");
    if (head.startsWith("BM"))
        return QByteArrayLiteral("bmp");
    if (head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4)))
        return QByteArrayLiteral("tiff");
    return QByteArray();
}

void BindReader(QImageReader& reader, const QByteArray& format) {
    // Without a format and without detection the reader finds no decoder at all.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setFormat(format);
}

bool IsPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray format = FormatOf(file.peek(16));
    if (format.isEmpty())
        return false;
    QImageReader reader(&file);
    BindReader(reader, format);
    return reader.canRead();
}

} // namespace Imaging
