#include "platform/uThumbnail.h"

#include "platform/uExifReader.h"
#include "platform/uImaging.h"
#include "platform/uJpegCodec.h"
#include "platform/uPictureFormat.h"
#include "platform/uThumbnailCache.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace Thumbnails {
namespace {

// The Exif block and the frame header of a camera photo lie within its first bytes.
constexpr qint64 kPrefixBytes = 64 * 1024;
// Files larger than this are not read whole for a thumbnail.
constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;
// An embedded thumbnail larger than this is no thumbnail.
constexpr qint64 kMaxExifThumbPixels = 1024 * 1024;

QImage finished(const QImage& image) {
    if (image.isNull())
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB888);
}

QImage scaledTo(const QImage& image, QSize size) {
    return image.size() == size ? Imaging::Normalised(image) : Imaging::ScaleBilinear(image, size);
}

bool largeEnough(QSize have, QSize want) {
    return have.width() + 1 >= want.width() && have.height() + 1 >= want.height();
}

QSize larger(QSize a, QSize b) {
    return QSize(std::max(a.width(), b.width()), std::max(a.height(), b.height()));
}

struct TSource {
    QByteArray bytes; // the prefix, or the whole file once read
    bool whole = false;
};

// What the first bytes of a JPEG say: the frame's size and the Exif block.
struct THead {
    ExifReader::TJpegFrame frame;
    ExifReader::TExifInfo exif;
    QSize upright() const {
        return JpegCodec::TJpegHeader::OrientationSwapsSides(exif.Orientation) ? frame.StoredSize.transposed()
                                                                               : frame.StoredSize;
    }
};

THead readHead(const QByteArray& prefix) {
    return THead{ExifReader::ReadJpegFrame(prefix), ExifReader::ReadFromJpeg(prefix)};
}

// Path (a): the embedded thumbnail, when it is large enough and shows the whole picture.
bool fromExif(const THead& head, QSize box, TThumbResult& result) {
    if (!head.frame.StoredSize.isValid() || head.exif.Thumbnail.isEmpty())
        return false;
    const QSize upright = head.upright();
    const QSize target = FitSize(upright, box);
    // The embedded thumbnail is stored like the picture. It is decoded whole: reductions other
    // than halvings take the decoder's slow path, which costs more than it saves at this size.
    QImage thumb;
    JpegCodec::TJpegHeader header;
    if (JpegCodec::Decode(head.exif.Thumbnail, thumb, header, QSize(), kMaxExifThumbPixels) !=
        JpegCodec::TJpegStatus::Ok)
        return false;
    if (!ExifThumbShowsWholePicture(thumb.size(), head.frame.StoredSize))
        return false;
    const QImage uprightThumb = JpegCodec::ApplyOrientation(thumb, head.exif.Orientation);
    if (!largeEnough(uprightThumb.size(), target))
        return false;
    // Small to smaller: the area-averaging scaler is quick and as good at this size.
    const QImage image = uprightThumb.size() == target
                             ? uprightThumb
                             : uprightThumb.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull())
        return false;
    result.Path = TThumbPath::Exif;
    result.PicSize = upright;
    result.PixelFormat = head.frame.Components == 1 ? 8 : 24;
    result.Image = finished(image);
    return true;
}

// Paths (b) and (c): decoded (a JPEG reduced while decoding), then scaled. `decoded` keeps the
// decode for the cache's thumbnail.
bool fromDecode(const QByteArray& bytes, QSize box, QSize cacheBox, TThumbResult& result, QImage& decoded) {
    const bool jpeg = JpegCodec::LooksLikeJpeg(bytes);
    Imaging::TDecodeOptions options;
    if (jpeg) {
        const std::optional<QSize> size = Imaging::ProbeSize(bytes);
        if (!size)
            return false;
        result.PicSize = *size;
        options.AtLeast =
            larger(FitSize(*size, box), cacheBox.isValid() ? FitSize(*size, cacheBox) : QSize());
    } else {
        options.MaxPixels = kMaxThumbDecodePixels;
    }
    const Imaging::TDecodeResult image = Imaging::Decode(bytes, options);
    if (!image.ok())
        return false;
    if (!jpeg)
        result.PicSize = image.Image.size();
    const QImage thumb = scaledTo(image.Image, FitSize(result.PicSize, box));
    if (thumb.isNull())
        return false;
    decoded = image.Image;
    result.Path = jpeg ? TThumbPath::Scaled : TThumbPath::Decoded;
    result.PixelFormat = image.Image.hasAlphaChannel() ? 32 : image.Image.isGrayscale() ? 8 : 24;
    result.Image = finished(thumb);
    return true;
}

TThumbResult failed() {
    return TThumbResult();
}

QString mimeTypeOf(const QByteArray& bytes) {
    if (JpegCodec::LooksLikeJpeg(bytes))
        return QStringLiteral("image/jpeg");
    if (bytes.startsWith("\x89PNG"))
        return QStringLiteral("image/png");
    if (bytes.startsWith("GIF8"))
        return QStringLiteral("image/gif");
    if (bytes.startsWith("BM"))
        return QStringLiteral("image/bmp");
    if (bytes.startsWith("II*") || bytes.startsWith("MM\0*"))
        return QStringLiteral("image/tiff");
    return QString();
}

} // namespace

QString PathName(TThumbPath path) {
    switch (path) {
    case TThumbPath::Cache:
        return QStringLiteral("cache");
    case TThumbPath::Exif:
        return QStringLiteral("exif");
    case TThumbPath::Scaled:
        return QStringLiteral("scaled");
    case TThumbPath::Decoded:
        return QStringLiteral("decoded");
    case TThumbPath::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QSize FitSize(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return QSize();
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    const double scale =
        std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
    return QSize(std::clamp(int(std::lround(picture.width() * scale)), 1, box.width()),
                 std::clamp(int(std::lround(picture.height() * scale)), 1, box.height()));
}

bool ExifThumbShowsWholePicture(QSize thumbSize, QSize storedSize) {
    if (thumbSize.isEmpty() || storedSize.isEmpty())
        return false;
    // The thumbnail's height as the picture's aspect would have it, compared both ways round.
    const double height = double(thumbSize.width()) * storedSize.height() / storedSize.width();
    const double width = double(thumbSize.height()) * storedSize.width() / storedSize.height();
    return std::abs(height - thumbSize.height()) <= 1.0 || std::abs(width - thumbSize.width()) <= 1.0;
}

TThumbResult MakeFromBytes(const QByteArray& bytes, QSize box) {
    TThumbResult result;
    if (bytes.isEmpty() || box.isEmpty())
        return failed();
    if (JpegCodec::LooksLikeJpeg(bytes) && fromExif(readHead(bytes.left(kPrefixBytes)), box, result))
        return result;
    result = TThumbResult();
    QImage decoded;
    if (fromDecode(bytes, box, QSize(), result, decoded))
        return result;
    return failed();
}

TThumbResult Make(const QString& path, QSize box, const TThumbOptions& options) {
    const QFileInfo info(path);
    if (!info.isFile() || box.isEmpty())
        return failed();
    const QString root = options.CacheRoot.isEmpty() ? ThumbnailCache::DefaultRoot() : options.CacheRoot;
    const bool cacheable = options.UseCache && !ThumbnailCache::IsInside(root, info.absoluteFilePath());

    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return failed();
    TSource source;
    source.bytes = file.read(kPrefixBytes);
    source.whole = file.atEnd();

    const bool jpeg = JpegCodec::LooksLikeJpeg(source.bytes);
    const THead head = jpeg ? readHead(source.bytes) : THead();
    TThumbResult result;
    if (cacheable) {
        // The cache needs the picture's size to know whether an entry is large enough; the
        // entry's keys tell it, or the file's header.
        QSize picture;
        if (jpeg) {
            if (head.frame.StoredSize.isValid())
                picture = head.upright();
        } else {
            QImageReader reader(info.absoluteFilePath());
            Imaging::BindReader(reader, Imaging::FormatOf(source.bytes));
            reader.setAutoTransform(true);
            picture = reader.size();
            if (picture.isValid() && reader.transformation() & QImageIOHandler::TransformationRotate90)
                picture.transpose();
        }
        const QSize want = picture.isValid() ? FitSize(picture, box) : box;
        if (std::optional<ThumbnailCache::TCachedThumb> cached = ThumbnailCache::Lookup(root, info, want)) {
            const QSize pic = cached->PicSize.isValid() ? cached->PicSize : picture;
            if (pic.isValid()) {
                const QImage image = scaledTo(cached->Image, FitSize(pic, box));
                if (!image.isNull()) {
                    result.Path = TThumbPath::Cache;
                    result.PicSize = pic;
                    result.PixelFormat = image.hasAlphaChannel() ? 32 : 24;
                    result.Image = finished(image);
                    return result;
                }
            }
        }
    }

    if (jpeg && fromExif(head, box, result))
        return result;
    result = TThumbResult();
    if (!source.whole) {
        source.bytes += file.readAll();
        source.whole = true;
    }
    QImage decoded;
    const QSize cacheBox =
        cacheable ? QSize(ThumbnailCache::kNormalSide, ThumbnailCache::kNormalSide) : QSize();
    if (!fromDecode(source.bytes, box, cacheBox, result, decoded))
        return failed();
    if (cacheable) {
        const QImage entry = scaledTo(decoded, FitSize(result.PicSize, cacheBox));
        ThumbnailCache::Store(root, info, entry, result.PicSize, mimeTypeOf(source.bytes));
    }
    return result;
}

} // namespace Thumbnails
