#include "platform/uJpegCodec.h"

#include <QTransform>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace JpegCodec {
namespace {

// A progressive file may hold any number of scans, each one a pass over the whole picture; real
// encoders write about ten. More than this is a damaged or hostile file.
constexpr int kMaxScans = 256;

// libjpeg reports fatal errors through error_exit, which must not return. It jumps back to the
// step that called into the library; the steps below keep no objects with destructors between the
// setjmp and the library calls, so nothing is skipped by the jump.
struct TErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool tooManyScans = false;
};

void errorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (a truncated file, for one) are not printed; the decoder fills the rest and goes on.
void outputMessage(j_common_ptr) {}

void progressMonitor(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        reinterpret_cast<TErrorManager*>(cinfo->err)->tooManyScans = true;
        errorExit(cinfo);
    }
}

void initErrors(TErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.output_message = outputMessage;
}

TJpegStatus failureStatus(const TErrorManager& err) {
    if (!err.tooManyScans && err.pub.msg_code == JERR_OUT_OF_MEMORY)
        return TJpegStatus::OutOfMemory;
    return TJpegStatus::InvalidData;
}

// A library object with its error manager; destroyed on every path once the library created it.
template <typename Info>
struct TJpegSession {
    Info cinfo{};
    TErrorManager err{};
    bool created = false;

    TJpegSession() {
        initErrors(err);
        cinfo.err = &err.pub;
    }
    ~TJpegSession() {
        if (created)
            jpeg_destroy(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    TJpegSession(const TJpegSession&) = delete;
    TJpegSession& operator=(const TJpegSession&) = delete;
};

struct TDecompressor : TJpegSession<jpeg_decompress_struct> {
    jpeg_progress_mgr progress{};
};

bool stepReadHeader(TDecompressor& d, const unsigned char* bytes, unsigned long size) {
    if (setjmp(d.err.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.progress.progress_monitor = progressMonitor;
    d.cinfo.progress = &d.progress;
    jpeg_mem_src(&d.cinfo, bytes, size);
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&d.cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool stepIccProfile(TDecompressor& d, QByteArray& icc) {
    if (setjmp(d.err.jump))
        return false;
    JOCTET* data = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&d.cinfo, &data, &length) && data) {
        icc = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
        std::free(data);
    }
    return true;
}

bool stepStart(TDecompressor& d, unsigned int scaleNum) {
    if (setjmp(d.err.jump))
        return false;
    d.cinfo.out_color_space = JCS_EXT_BGRA; // the byte order of Format_RGB32, alpha set to 255
    d.cinfo.scale_num = scaleNum;
    d.cinfo.scale_denom = 8;
    jpeg_start_decompress(&d.cinfo);
    return true;
}

bool stepReadLines(TDecompressor& d, QImage& out) {
    if (setjmp(d.err.jump))
        return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(d.cinfo.output_scanline));
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1)
            break;
    }
    return true;
}

void fillHeader(TDecompressor& d, TJpegHeader& header) {
    header.StoredSize = QSize(static_cast<int>(d.cinfo.image_width), static_cast<int>(d.cinfo.image_height));
    header.Supported = d.cinfo.jpeg_color_space != JCS_CMYK && d.cinfo.jpeg_color_space != JCS_YCCK;
    header.Orientation = 1;
    for (jpeg_saved_marker_ptr marker = d.cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > 6 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            header.Orientation =
                ExifOrientation(QByteArray::fromRawData(reinterpret_cast<const char*>(marker->data) + 6,
                                                        static_cast<qsizetype>(marker->data_length) - 6));
            break;
        }
    }
}

TJpegStatus readHeaderInto(TDecompressor& d, const QByteArray& data, TJpegHeader& header) {
    if (!LooksLikeJpeg(data))
        return TJpegStatus::NotJpeg;
    if (!stepReadHeader(d, reinterpret_cast<const unsigned char*>(data.constData()),
                        static_cast<unsigned long>(data.size())))
        return failureStatus(d.err);
    fillHeader(d, header);
    if (!header.Supported)
        return TJpegStatus::Unsupported;
    if (header.StoredSize.isEmpty())
        return TJpegStatus::InvalidData;
    return TJpegStatus::Ok;
}

// The largest reduction M/8 (M = 1 ... 8) that keeps both sides at least `target`.
unsigned int scaleFor(QSize stored, QSize target) {
    if (!target.isValid() || target.isEmpty())
        return 8;
    for (unsigned int num = 1; num < 8; ++num) {
        const qint64 w = (qint64(stored.width()) * num + 7) / 8;
        const qint64 h = (qint64(stored.height()) * num + 7) / 8;
        if (w >= target.width() && h >= target.height())
            return num;
    }
    return 8;
}

// The encoded bytes live in a buffer the library allocates; it is ours to free.
struct TCompressor : TJpegSession<jpeg_compress_struct> {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;

    ~TCompressor() { std::free(buffer); }
};

bool stepCompress(TCompressor& c, const QImage& image, int quality) {
    if (setjmp(c.err.jump))
        return false;
    jpeg_create_compress(&c.cinfo);
    c.created = true;
    jpeg_mem_dest(&c.cinfo, &c.buffer, &c.size);
    c.cinfo.image_width = static_cast<JDIMENSION>(image.width());
    c.cinfo.image_height = static_cast<JDIMENSION>(image.height());
    c.cinfo.input_components = 4;
    c.cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c.cinfo);
    jpeg_set_quality(&c.cinfo, quality, TRUE);
    jpeg_start_compress(&c.cinfo, TRUE);
    while (c.cinfo.next_scanline < c.cinfo.image_height) {
        // libjpeg does not write through the row pointer.
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(c.cinfo.next_scanline)));
        jpeg_write_scanlines(&c.cinfo, &row, 1);
    }
    jpeg_finish_compress(&c.cinfo);
    return true;
}

quint32 read16(const uchar* p, bool le) {
    return le ? quint32(p[0]) | quint32(p[1]) << 8 : quint32(p[0]) << 8 | quint32(p[1]);
}

quint32 read32(const uchar* p, bool le) {
    return le ? read16(p, true) | read16(p + 2, true) << 16 : read16(p, false) << 16 | read16(p + 2, false);
}

} // namespace

bool LooksLikeJpeg(const QByteArray& data) {
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 && uchar(data[2]) == 0xFF;
}

TJpegStatus ReadHeader(const QByteArray& data, TJpegHeader& header) {
    TDecompressor d;
    return readHeaderInto(d, data, header);
}

TJpegStatus Decode(const QByteArray& data, QImage& out, TJpegHeader& header, QSize atLeast,
                   qint64 maxPixels) {
    out = QImage();
    TDecompressor d;
    const TJpegStatus status = readHeaderInto(d, data, header);
    if (status != TJpegStatus::Ok)
        return status;
    if (qint64(header.StoredSize.width()) * header.StoredSize.height() > maxPixels)
        return TJpegStatus::TooLarge;
    if (!stepIccProfile(d, header.IccProfile))
        header.IccProfile.clear();
    const QSize target =
        TJpegHeader::OrientationSwapsSides(header.Orientation) ? atLeast.transposed() : atLeast;
    if (!stepStart(d, scaleFor(header.StoredSize, target)))
        return failureStatus(d.err);
    QImage image(static_cast<int>(d.cinfo.output_width), static_cast<int>(d.cinfo.output_height),
                 QImage::Format_RGB32);
    if (image.isNull())
        return TJpegStatus::OutOfMemory;
    if (!stepReadLines(d, image))
        return failureStatus(d.err);
    out = ApplyOrientation(image, header.Orientation);
    if (out.isNull())
        return TJpegStatus::OutOfMemory;
    return TJpegStatus::Ok;
}

QByteArray Encode(const QImage& image, int quality) {
    if (image.isNull())
        return QByteArray();
    const QImage source =
        image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    if (source.isNull())
        return QByteArray();
    TCompressor c;
    if (!stepCompress(c, source, quality) || !c.buffer)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(c.buffer), static_cast<qsizetype>(c.size));
}

int ExifOrientation(const QByteArray& tiff) {
    const auto* p = reinterpret_cast<const uchar*>(tiff.constData());
    const qsizetype size = tiff.size();
    if (size < 8)
        return 1;
    bool le;
    if (p[0] == 'I' && p[1] == 'I')
        le = true;
    else if (p[0] == 'M' && p[1] == 'M')
        le = false;
    else
        return 1;
    const quint32 ifd = read32(p + 4, le);
    if (qsizetype(ifd) + 2 > size)
        return 1;
    const quint32 count = read16(p + ifd, le);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype entry = qsizetype(ifd) + 2 + qsizetype(i) * 12;
        if (entry + 12 > size)
            break;
        if (read16(p + entry, le) != 0x0112)
            continue;
        const quint32 value = read16(p + entry + 8, le);
        return value >= 1 && value <= 8 ? int(value) : 1;
    }
    return 1;
}

QImage ApplyOrientation(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5: // transposed: the first row becomes the first column
        return image.mirrored(false, true).transformed(QTransform().rotate(90));
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.mirrored(true, false).transformed(QTransform().rotate(90));
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

} // namespace JpegCodec
