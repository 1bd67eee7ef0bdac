#include "platform/uImaging.h"
#include "platform/uJpegCodec.h"
#include "platform/uPictureFormat.h"
#include "support/PictureSupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace PictureSupport;

namespace {

int channelDistance(QRgb a, QRgb b) {
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

QByteArray encodeWith(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return bytes;
}

TEST(Imaging, DecodesEveryPictureFormatIntoThirtyTwoBitPixels) {
    const QImage source = halves(24, 10);
    for (const char* format : {"png", "bmp", "tiff", "jpeg"}) {
        SCOPED_TRACE(format);
        const QByteArray bytes = encodeWith(source, format);
        ASSERT_FALSE(bytes.isEmpty());
        const Imaging::TDecodeResult result = Imaging::Decode(bytes);
        ASSERT_TRUE(result.ok()) << qPrintable(result.Error);
        EXPECT_EQ(result.Image.size(), QSize(24, 10));
        EXPECT_EQ(result.Image.format(), QImage::Format_RGB32);
        EXPECT_LT(channelDistance(result.Image.pixel(2, 5), qRgb(220, 20, 20)), 12);
        EXPECT_LT(channelDistance(result.Image.pixel(21, 5), qRgb(20, 20, 220)), 12);
        EXPECT_EQ(Imaging::ProbeSize(bytes), QSize(24, 10));
    }
    // GIF is only read by the platform; a hand-made one-pixel GIF with a transparent colour.
    const QByteArray gif =
        QByteArray::fromHex("47494638396101000100800000000000ffffff21f90401000000002c00000000010001000002"
                            "024401003b");
    const Imaging::TDecodeResult result = Imaging::Decode(gif);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.Image.size(), QSize(1, 1));
    EXPECT_EQ(result.Image.format(), QImage::Format_ARGB32);
}

TEST(Imaging, CameraOrientationIsAppliedToPixelsAndToTheProbedSize) {
    const QByteArray stored = jpeg(halves(40, 20));
    struct Case {
        int orientation;
        QSize size;
        QPoint red; // where the red half ends up
    };
    // 6: a quarter turn clockwise, so the left (red) half becomes the top; 8 the other way round;
    // 3 a half turn; 2 mirrored.
    for (const Case& c :
         {Case{1, {40, 20}, {2, 10}}, Case{2, {40, 20}, {37, 10}}, Case{3, {40, 20}, {37, 10}},
          Case{6, {20, 40}, {10, 2}}, Case{8, {20, 40}, {10, 37}}, Case{5, {20, 40}, {10, 2}},
          Case{7, {20, 40}, {10, 37}}}) {
        SCOPED_TRACE(c.orientation);
        const QByteArray bytes = withOrientation(stored, c.orientation);
        EXPECT_EQ(Imaging::ProbeSize(bytes), c.size);
        const Imaging::TDecodeResult result = Imaging::Decode(bytes);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.Image.size(), c.size);
        EXPECT_LT(channelDistance(result.Image.pixel(c.red), qRgb(220, 20, 20)), 20);
    }
    EXPECT_EQ(
        JpegCodec::ExifOrientation(QByteArray("MM\x00\x2A\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00"
                                              "\x00\x01\x00\x06\x00\x00",
                                              22)),
        6);
    EXPECT_EQ(JpegCodec::ExifOrientation(QByteArray("II\x2A\x00\xFF\xFF\x00\x00", 8)), 1); // damaged offset
}

TEST(Imaging, EmbeddedColourProfileIsConvertedToSRgb) {
    QImage wide(16, 16, QImage::Format_RGB32);
    wide.fill(qRgb(40, 190, 70));
    wide.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QRgb expected = wide.convertedToColorSpace(QColorSpace::SRgb).pixel(8, 8);
    ASSERT_GT(channelDistance(expected, qRgb(40, 190, 70)), 15)
        << "the two spaces must differ for this colour";

    for (const char* format : {"jpeg", "png"}) {
        SCOPED_TRACE(format);
        const QByteArray bytes = encodeWith(wide, format);
        const QImage managed = Imaging::Decode(bytes).Image;
        EXPECT_LT(channelDistance(managed.pixel(8, 8), expected), 6);
        Imaging::TDecodeOptions raw;
        raw.ColourManaged = false;
        EXPECT_LT(channelDistance(Imaging::Decode(bytes, raw).Image.pixel(8, 8), qRgb(40, 190, 70)), 6);
    }
}

TEST(Imaging, JpegIsReducedWhileDecodingOnlyAsFarAsAsked) {
    const QByteArray bytes = jpeg(photo(800, 600));
    Imaging::TDecodeOptions options;
    options.AtLeast = QSize(192, 144);
    EXPECT_EQ(Imaging::Decode(bytes, options).Image.size(), QSize(200, 150)); // 1/4
    options.AtLeast = QSize(201, 150);
    EXPECT_EQ(Imaging::Decode(bytes, options).Image.size(), QSize(300, 225)); // 3/8
    options.AtLeast = QSize(301, 225);
    EXPECT_EQ(Imaging::Decode(bytes, options).Image.size(), QSize(400, 300)); // 1/2
    options.AtLeast = QSize(600, 300);
    EXPECT_EQ(Imaging::Decode(bytes, options).Image.size(), QSize(600, 450)); // 6/8
    options.AtLeast = QSize(701, 300);
    EXPECT_EQ(Imaging::Decode(bytes, options).Image.size(), QSize(800, 600));
    // A turned photo: the wanted size is upright.
    options.AtLeast = QSize(75, 100);
    EXPECT_EQ(Imaging::Decode(withOrientation(bytes, 6), options).Image.size(), QSize(75, 100)); // 1/8
}

TEST(Imaging, BadPicturesAreRefusedWithoutCrashing) {
    EXPECT_EQ(Imaging::Decode(QByteArray()).Status, Imaging::TImageStatus::InvalidData);
    EXPECT_EQ(Imaging::Decode(QByteArray("plain text, no picture")).Status,
              Imaging::TImageStatus::UnknownFormat);
    EXPECT_FALSE(Imaging::ProbeSize(QByteArray("\xFF\xD8\xFF", 3)).has_value());

    // Claims of 100,000 x 100,000 pixels are refused before anything is allocated.
    const QByteArray hugePng = pngClaiming(100000, 100000);
    EXPECT_FALSE(Imaging::ProbeSize(hugePng).has_value());
    EXPECT_EQ(Imaging::Decode(hugePng).Status, Imaging::TImageStatus::TooLarge);
    const QByteArray hugeJpeg = jpegClaiming(jpeg(photo(64, 48)), 60000, 60000);
    EXPECT_FALSE(Imaging::ProbeSize(hugeJpeg).has_value());
    EXPECT_EQ(Imaging::Decode(hugeJpeg).Status, Imaging::TImageStatus::TooLarge);

    // A truncated JPEG gives what was there; the rest is filled.
    const QByteArray whole = jpeg(photo(320, 240));
    const Imaging::TDecodeResult cut = Imaging::Decode(whole.left(whole.size() * 6 / 10));
    ASSERT_TRUE(cut.ok());
    EXPECT_EQ(cut.Image.size(), QSize(320, 240));
    EXPECT_LT(channelDistance(cut.Image.pixel(10, 2), photo(320, 240).pixel(10, 2)), 10);
    // Cut inside the header.
    EXPECT_FALSE(Imaging::Decode(whole.left(40)).ok());
}

TEST(Imaging, OnlyTheProgramsOwnFormatsReachADecoder) {
    const QImage source = halves(32, 32);
    for (const char* format : {"png", "bmp", "tiff", "jpeg"})
        EXPECT_EQ(Imaging::FormatOf(encodeWith(source, format)), QByteArray(format));
    // The platform reads icons by content whatever their name; here they are refused as unknown.
    const QTemporaryDir dir;
    for (const char* format : {"ico", "icns"}) {
        SCOPED_TRACE(format);
        const QByteArray bytes = encodeWith(source, format);
        ASSERT_FALSE(QImage::fromData(bytes, format).isNull()) << "the platform's plugin reads it";
        EXPECT_EQ(Imaging::FormatOf(bytes), QByteArray());
        const Imaging::TDecodeResult result = Imaging::Decode(bytes);
        EXPECT_EQ(result.Status, Imaging::TImageStatus::UnknownFormat);
        EXPECT_TRUE(result.Image.isNull());
        EXPECT_FALSE(Imaging::ProbeSize(bytes).has_value());
        EXPECT_FALSE(Imaging::IsPictureFile(writeFile(dir.filePath(QStringLiteral("icon.jpg")), bytes)));
    }
    EXPECT_TRUE(Imaging::IsPictureFile(writeFile(dir.filePath(QStringLiteral("p.jpg")), jpeg(source))));
    EXPECT_FALSE(Imaging::IsPictureFile(writeFile(dir.filePath(QStringLiteral("cut.png")), "\x89PNG\r\n")));
}

TEST(Imaging, BilinearScalingAveragesAndKeepsAlpha) {
    // A one-pixel checkerboard shrunk to half is an even grey, not a sample of either colour.
    QImage checker(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage half = Imaging::ScaleBilinear(checker, QSize(32, 32));
    ASSERT_EQ(half.size(), QSize(32, 32));
    EXPECT_EQ(half.format(), QImage::Format_RGB32);
    EXPECT_NEAR(qGray(half.pixel(16, 16)), 128, 3);
    EXPECT_EQ(qAlpha(half.pixel(16, 16)), 255);

    // Flat colours stay exact, also with alpha, and transparent neighbours do not darken them.
    QImage clip(40, 40, QImage::Format_ARGB32);
    clip.fill(Qt::transparent);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            clip.setPixel(x, y, qRgba(200, 100, 50, 255));
    const QImage small = Imaging::ScaleBilinear(clip, QSize(10, 10));
    EXPECT_EQ(small.format(), QImage::Format_ARGB32);
    EXPECT_EQ(small.pixel(1, 5), qRgba(200, 100, 50, 255));
    EXPECT_EQ(qAlpha(small.pixel(8, 5)), 0);
    const QRgb edge = small.pixel(5, 5);
    EXPECT_GT(qAlpha(edge), 0);
    EXPECT_LT(qAlpha(edge), 255);
    EXPECT_NEAR(qRed(edge), 200, 2);

    // Enlarging interpolates between neighbours.
    QImage two(2, 1, QImage::Format_RGB32);
    two.setPixel(0, 0, qRgb(0, 0, 0));
    two.setPixel(1, 0, qRgb(200, 200, 200));
    const QImage wide = Imaging::ScaleBilinear(two, QSize(8, 1));
    EXPECT_EQ(qRed(wide.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(wide.pixel(7, 0)), 200);
    EXPECT_LT(qRed(wide.pixel(3, 0)), qRed(wide.pixel(4, 0)));

    EXPECT_TRUE(Imaging::ScaleBilinear(QImage(), QSize(4, 4)).isNull());
    EXPECT_TRUE(Imaging::ScaleBilinear(checker, QSize(0, 4)).isNull());
}

TEST(Imaging, EncodesPngWithAlphaAndJpegAtTheGivenQuality) {
    QImage clip(8, 8, QImage::Format_ARGB32);
    clip.fill(qRgba(10, 20, 30, 77));
    const QByteArray png = Imaging::EncodePng(clip);
    ASSERT_TRUE(png.startsWith("\x89PNG"));
    EXPECT_EQ(Imaging::Decode(png).Image.pixel(3, 3), qRgba(10, 20, 30, 77));

    const QImage picture = photo(200, 100);
    const QByteArray q90 = Imaging::EncodeJpeg(picture, 90);
    const QByteArray q30 = Imaging::EncodeJpeg(picture, 30);
    ASSERT_TRUE(JpegCodec::LooksLikeJpeg(q90));
    EXPECT_GT(q90.size(), q30.size());
    const QImage back = Imaging::Decode(q90).Image;
    EXPECT_LT(channelDistance(back.pixel(100, 50), picture.pixel(100, 50)), 8);
    EXPECT_TRUE(Imaging::EncodeJpeg(QImage(), 90).isEmpty());
}

TEST(Imaging, FitIntoKeepsTheAspectRatio) {
    EXPECT_EQ(Imaging::FitInto(QSize(4000, 3000), 192), QSize(192, 144));
    EXPECT_EQ(Imaging::FitInto(QSize(3000, 4000), 128), QSize(96, 128));
    EXPECT_EQ(Imaging::FitInto(QSize(5000, 10), 128), QSize(128, 1));
    EXPECT_TRUE(Imaging::FitInto(QSize(0, 10), 128).isEmpty());
}

TEST(Imaging, PixelViewsShowBlueGreenRedAlphaWords) {
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3)});
    indexed.fill(0);
    const Imaging::TConstPixelView view(indexed);
    EXPECT_EQ(view.Width(), 4);
    EXPECT_EQ(view.Pixel(3, 1), 0xFF010203u);
    EXPECT_EQ(reinterpret_cast<const uchar*>(view.Line(0))[0], 3); // blue first in memory

    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    Imaging::TPixelView pixels(picture);
    pixels.SetPixel(1, 1, 0x80FF0000u);
    EXPECT_TRUE(pixels.HasAlpha());
    EXPECT_EQ(picture.pixel(1, 1), 0x80FF0000u);
}

} // namespace
