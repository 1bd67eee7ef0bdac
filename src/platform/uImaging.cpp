#include "platform/uImaging.h"

#include "platform/uJpegCodec.h"
#include "platform/uPictureFormat.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Imaging {
namespace {

TImageStatus fromJpegStatus(JpegCodec::TJpegStatus status) {
    switch (status) {
    case JpegCodec::TJpegStatus::Ok:
        return TImageStatus::Ok;
    case JpegCodec::TJpegStatus::OutOfMemory:
        return TImageStatus::OutOfMemory;
    case JpegCodec::TJpegStatus::TooLarge:
        return TImageStatus::TooLarge;
    case JpegCodec::TJpegStatus::NotJpeg:
        return TImageStatus::UnknownFormat;
    default:
        return TImageStatus::InvalidData;
    }
}

void toSRgb(QImage& image, const QColorSpace& space) {
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb))
        return;
    image.setColorSpace(space);
    image.convertToColorSpace(QColorSpace::SRgb);
}

bool tooLarge(QSize size, qint64 maxPixels) {
    return qint64(size.width()) * qint64(size.height()) > maxPixels;
}

TDecodeResult decodeWithReader(const QByteArray& data, const TDecodeOptions& options) {
    TDecodeResult result;
    const QByteArray format = FormatOf(data);
    if (format.isEmpty()) {
        result.Status = TImageStatus::UnknownFormat;
        result.Error = QStringLiteral("not a picture format the program reads");
        return result;
    }
    QByteArray bytes = data; // shares the bytes; QBuffer wants a non-const array
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    BindReader(reader, format);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        result.Status = TImageStatus::UnknownFormat;
        result.Error = reader.errorString();
        return result;
    }
    const QSize size = reader.size();
    if (size.isValid() && tooLarge(size, options.MaxPixels)) {
        result.Status = TImageStatus::TooLarge;
        result.Error = QStringLiteral("%1 x %2 pixels").arg(size.width()).arg(size.height());
        return result;
    }
    // The reader's own limit, for formats that do not tell their size before decoding.
    reader.setAllocationLimit(static_cast<int>(options.MaxPixels * 4 / (1024 * 1024)) + 1);
    QImage image;
    if (!reader.read(&image)) {
        result.Error = reader.errorString();
        // A valid header whose picture cannot be allocated means the memory ran out.
        result.Status = size.isValid() && !size.isEmpty() && QImage(size, QImage::Format_ARGB32).isNull()
                            ? TImageStatus::OutOfMemory
                            : TImageStatus::InvalidData;
        return result;
    }
    image = Normalised(image);
    if (image.isNull()) {
        result.Status = TImageStatus::OutOfMemory;
        return result;
    }
    if (options.ColourManaged)
        toSRgb(image, image.colorSpace());
    result.Image = image;
    return result;
}

// Weights of a separable tent filter in 1/16384 steps: for each target pixel, the first source
// pixel and `count` weights. Shrinking widens the tent to the reduction so that every source pixel
// contributes; enlarging uses plain bilinear interpolation.
struct TTaps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<uint32_t> weights; // `stride` per target pixel
    int stride = 0;
};

constexpr int kWeightBits = 14;
constexpr uint32_t kWeightOne = 1u << kWeightBits;

TTaps makeTaps(int source, int target) {
    TTaps taps;
    const double scale = double(source) / double(target);
    const double radius = std::max(1.0, scale);
    taps.stride = static_cast<int>(std::ceil(radius)) * 2 + 2;
    taps.first.resize(size_t(target));
    taps.count.resize(size_t(target));
    taps.weights.assign(size_t(target) * size_t(taps.stride), 0);
    std::vector<double> w(size_t(taps.stride));
    for (int d = 0; d < target; ++d) {
        const double center = (d + 0.5) * scale;
        int lo = static_cast<int>(std::floor(center - radius));
        int hi = static_cast<int>(std::ceil(center + radius));
        lo = std::max(lo, 0);
        hi = std::min(hi, source - 1);
        hi = std::min(hi, lo + taps.stride - 1);
        double sum = 0;
        for (int s = lo; s <= hi; ++s) {
            w[size_t(s - lo)] = std::max(0.0, 1.0 - std::abs(s + 0.5 - center) / radius);
            sum += w[size_t(s - lo)];
        }
        if (sum <= 0) { // cannot happen for sane sizes; take the nearest pixel
            lo = hi = std::clamp(static_cast<int>(center), 0, source - 1);
            w[0] = sum = 1;
        }
        uint32_t* out = &taps.weights[size_t(d) * size_t(taps.stride)];
        uint32_t total = 0;
        int largest = 0;
        for (int s = lo; s <= hi; ++s) {
            out[s - lo] = static_cast<uint32_t>(std::lround(w[size_t(s - lo)] / sum * kWeightOne));
            total += out[s - lo];
            if (out[s - lo] > out[largest])
                largest = s - lo;
        }
        out[largest] += kWeightOne - total; // the weights add up to exactly one
        taps.first[size_t(d)] = lo;
        taps.count[size_t(d)] = hi - lo + 1;
    }
    return taps;
}

// Both passes work on 4-byte pixels; every channel is treated alike, so premultiplied alpha is
// scaled correctly and the opaque alpha of RGB32 stays 255.
void scalePixels(const QImage& source, QImage& target) {
    const int sw = source.width();
    const int dw = target.width();
    const TTaps horizontal = makeTaps(sw, dw);
    const TTaps vertical = makeTaps(source.height(), target.height());
    std::vector<uint32_t> accumulator(size_t(sw) * 4);
    std::vector<uint16_t> column(size_t(sw) * 4);
    for (int y = 0; y < target.height(); ++y) {
        // Vertical: the source rows under this target row, weighted, into one row of 16-bit values.
        const uint32_t* vw = &vertical.weights[size_t(y) * size_t(vertical.stride)];
        const int first = vertical.first[size_t(y)];
        std::fill(accumulator.begin(), accumulator.end(), 0u);
        for (int t = 0; t < vertical.count[size_t(y)]; ++t) {
            const uchar* row = source.constScanLine(first + t);
            const uint32_t weight = vw[t];
            uint32_t* acc = accumulator.data();
            for (size_t i = 0, n = accumulator.size(); i < n; ++i)
                acc[i] += weight * row[i];
        }
        for (size_t i = 0, n = accumulator.size(); i < n; ++i)
            column[i] = static_cast<uint16_t>((accumulator[i] + 32) >> 6);
        // Horizontal: the target pixels of this row.
        uchar* out = target.scanLine(y);
        for (int x = 0; x < dw; ++x) {
            const uint32_t* hw = &horizontal.weights[size_t(x) * size_t(horizontal.stride)];
            const uint16_t* in = &column[size_t(horizontal.first[size_t(x)]) * 4];
            uint32_t c0 = 0, c1 = 0, c2 = 0, c3 = 0;
            for (int t = 0; t < horizontal.count[size_t(x)]; ++t, in += 4) {
                c0 += hw[t] * in[0];
                c1 += hw[t] * in[1];
                c2 += hw[t] * in[2];
                c3 += hw[t] * in[3];
            }
            constexpr uint32_t half = 1u << 21;
            out[0] = static_cast<uchar>(std::min<uint32_t>(255, (c0 + half) >> 22));
            out[1] = static_cast<uchar>(std::min<uint32_t>(255, (c1 + half) >> 22));
            out[2] = static_cast<uchar>(std::min<uint32_t>(255, (c2 + half) >> 22));
            out[3] = static_cast<uchar>(std::min<uint32_t>(255, (c3 + half) >> 22));
            out += 4;
        }
    }
}

} // namespace

TDecodeResult Decode(const QByteArray& data, const TDecodeOptions& options) {
    TDecodeResult result;
    if (data.isEmpty()) {
        result.Status = TImageStatus::InvalidData;
        result.Error = QStringLiteral("no data");
        return result;
    }
    if (JpegCodec::LooksLikeJpeg(data)) {
        JpegCodec::TJpegHeader header;
        QImage image;
        const JpegCodec::TJpegStatus status =
            JpegCodec::Decode(data, image, header, options.AtLeast, options.MaxPixels);
        if (status != JpegCodec::TJpegStatus::Unsupported) {
            result.Status = fromJpegStatus(status);
            if (result.Status != TImageStatus::Ok) {
                result.Error = QStringLiteral("JPEG decoding failed");
                return result;
            }
            if (options.ColourManaged && !header.IccProfile.isEmpty())
                toSRgb(image, QColorSpace::fromIccProfile(header.IccProfile));
            result.Image = image;
            return result;
        }
        // CMYK and other rare kinds: the general decoder handles them.
    }
    return decodeWithReader(data, options);
}

std::optional<QSize> ProbeSize(const QByteArray& data) {
    if (data.isEmpty())
        return std::nullopt;
    if (JpegCodec::LooksLikeJpeg(data)) {
        JpegCodec::TJpegHeader header;
        const JpegCodec::TJpegStatus status = JpegCodec::ReadHeader(data, header);
        if (status == JpegCodec::TJpegStatus::Ok) {
            if (tooLarge(header.StoredSize, kMaxDecodePixels))
                return std::nullopt;
            return header.UprightSize();
        }
        if (status != JpegCodec::TJpegStatus::Unsupported)
            return std::nullopt;
    }
    const QByteArray format = FormatOf(data);
    if (format.isEmpty())
        return std::nullopt;
    QByteArray bytes = data;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    BindReader(reader, format);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || tooLarge(size, kMaxDecodePixels))
        return std::nullopt;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
}

QSize FitInto(QSize size, int side) {
    if (size.isEmpty())
        return QSize();
    auto rounded = [](float value) { return std::max(1, static_cast<int>(std::nearbyint(value))); };
    if (size.width() >= size.height())
        return QSize(side, rounded(float(side) * float(size.height()) / float(size.width())));
    return QSize(rounded(float(side) * float(size.width()) / float(size.height())), side);
}

QImage Normalised(const QImage& image) {
    if (image.isNull())
        return image;
    const QImage::Format wanted = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return image.format() == wanted ? image : image.convertToFormat(wanted);
}

QImage ScaleBilinear(const QImage& image, QSize size) {
    if (image.isNull() || size.isEmpty())
        return QImage();
    const bool alpha = image.hasAlphaChannel();
    // Colours are averaged weighted by their coverage, hence premultiplied while scaling.
    const QImage source =
        alpha ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied) : Normalised(image);
    if (source.isNull())
        return QImage();
    if (source.size() == size)
        return alpha ? source.convertToFormat(QImage::Format_ARGB32) : source;
    QImage target(size, source.format());
    if (target.isNull())
        return QImage();
    scalePixels(source, target);
    return alpha ? target.convertToFormat(QImage::Format_ARGB32) : target;
}

QByteArray EncodePng(const QImage& image) {
    if (image.isNull())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("png"));
    if (!writer.write(image))
        return QByteArray();
    return bytes;
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
    return JpegCodec::Encode(image, quality);
}

TConstPixelView::TConstPixelView(const QImage& image) : image_(Normalised(image)) {}

TPixelView::TPixelView(QImage& image) : image_(image) {
    if (!image_.isNull() && image_.format() != QImage::Format_RGB32 &&
        image_.format() != QImage::Format_ARGB32)
        image_ = Normalised(image_);
}

} // namespace Imaging
