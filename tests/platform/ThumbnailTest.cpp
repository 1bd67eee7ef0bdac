// Thumbnails of picture files: sizes, the four ways of making them, the shared cache and files
// that are damaged or hostile.
#include "platform/uExifReader.h"
#include "platform/uThumbnail.h"
#include "platform/uThumbnailCache.h"
#include "support/PictureSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

using namespace PictureSupport;
using Thumbnails::TThumbPath;

namespace {

const QSize kBox(92, 92);

QImage solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

class ThumbnailFiles : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) {
        return writeFile(dir.filePath(name), bytes);
    }
    Thumbnails::TThumbOptions noCache() const {
        Thumbnails::TThumbOptions options;
        options.UseCache = false;
        return options;
    }
    Thumbnails::TThumbOptions withCache() const {
        Thumbnails::TThumbOptions options;
        options.CacheRoot = cache.path() + QStringLiteral("/thumbnails");
        return options;
    }
    QTemporaryDir dir;
    QTemporaryDir cache;
};

} // namespace

TEST(Thumbnails, FitSizeShrinksLargePicturesOnlyKeepingTheirAspect) {
    EXPECT_EQ(Thumbnails::FitSize(QSize(4000, 3000), kBox), QSize(92, 69));
    EXPECT_EQ(Thumbnails::FitSize(QSize(3000, 4000), kBox), QSize(69, 92));
    EXPECT_EQ(Thumbnails::FitSize(QSize(50, 40), kBox), QSize(50, 40));
    EXPECT_EQ(Thumbnails::FitSize(QSize(10000, 10), kBox), QSize(92, 1));
    EXPECT_FALSE(Thumbnails::FitSize(QSize(0, 10), kBox).isValid());
}

TEST(Thumbnails, ExifThumbnailMustShowTheWholePicture) {
    EXPECT_TRUE(Thumbnails::ExifThumbShowsWholePicture(QSize(160, 120), QSize(4000, 3000)));
    EXPECT_TRUE(Thumbnails::ExifThumbShowsWholePicture(QSize(160, 107), QSize(4500, 3000)));
    // A 4:3 thumbnail of a 3:2 picture carries black bars.
    EXPECT_FALSE(Thumbnails::ExifThumbShowsWholePicture(QSize(160, 120), QSize(4500, 3000)));
}

TEST_F(ThumbnailFiles, LargePhotosAreReducedAndSmallPicturesKeepTheirSize) {
    const QImage big = photo(4000, 3000);
    const Thumbnails::TThumbResult result = Thumbnails::Make(file("big.jpg", jpeg(big)), kBox, noCache());
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.Path, TThumbPath::Scaled);
    EXPECT_EQ(result.PicSize, QSize(4000, 3000));
    EXPECT_EQ(result.Image.size(), QSize(92, 69));
    EXPECT_EQ(result.Image.format(), QImage::Format_RGB888);
    EXPECT_EQ(result.PixelFormat, 24);
    EXPECT_LT(distance(result.Image.pixel(46, 34), big.pixel(2000, 1500)), 20);

    const Thumbnails::TThumbResult turned =
        Thumbnails::Make(file("turned.jpg", withOrientation(jpeg(halves(4000, 3000)), 6)), kBox, noCache());
    EXPECT_EQ(turned.PicSize, QSize(3000, 4000));
    EXPECT_EQ(turned.Image.size(), QSize(69, 92));
    // Turned a quarter clockwise: the red left half is now on top.
    EXPECT_LT(distance(turned.Image.pixel(34, 10), qRgb(220, 20, 20)), 40);

    const Thumbnails::TThumbResult small =
        Thumbnails::Make(file("small.png", Imaging::EncodePng(photo(50, 40))), kBox, noCache());
    EXPECT_EQ(small.Path, TThumbPath::Decoded);
    EXPECT_EQ(small.Image.size(), QSize(50, 40));
    EXPECT_EQ(small.PicSize, QSize(50, 40));
}

TEST_F(ThumbnailFiles, EmbeddedThumbnailIsUsedOnlyWhenLargeEnoughAndNotLetterboxed) {
    // The embedded thumbnail is green, the picture not: the colour tells which was used.
    const QByteArray green = jpeg(solid(160, 120, qRgb(20, 200, 20)));
    const Thumbnails::TThumbResult exif =
        Thumbnails::Make(file("exif.jpg", withExif(jpeg(photo(1600, 1200)), 1, green)), kBox, noCache());
    EXPECT_EQ(exif.Path, TThumbPath::Exif);
    EXPECT_EQ(exif.PicSize, QSize(1600, 1200));
    EXPECT_EQ(exif.Image.size(), QSize(92, 69));
    EXPECT_LT(distance(exif.Image.pixel(46, 34), qRgb(20, 200, 20)), 20);

    // Turned by the picture's orientation.
    const QByteArray halvesThumb = jpeg(halves(160, 120));
    const Thumbnails::TThumbResult turned = Thumbnails::Make(
        file("exif6.jpg", withExif(jpeg(photo(1600, 1200)), 6, halvesThumb)), kBox, noCache());
    EXPECT_EQ(turned.Path, TThumbPath::Exif);
    EXPECT_EQ(turned.PicSize, QSize(1200, 1600));
    EXPECT_EQ(turned.Image.size(), QSize(69, 92));
    EXPECT_LT(distance(turned.Image.pixel(34, 10), qRgb(220, 20, 20)), 40);

    // A 4:3 thumbnail of a 3:2 picture is letterboxed; one too small for the box does not serve.
    const Thumbnails::TThumbResult letterboxed =
        Thumbnails::Make(file("boxed.jpg", withExif(jpeg(photo(1500, 1000)), 1, green)), kBox, noCache());
    EXPECT_EQ(letterboxed.Path, TThumbPath::Scaled);
    EXPECT_EQ(letterboxed.Image.size(), QSize(92, 61));
    EXPECT_GT(distance(letterboxed.Image.pixel(46, 30), qRgb(20, 200, 20)), 60);
    const Thumbnails::TThumbResult tooSmall = Thumbnails::Make(
        file("tiny.jpg", withExif(jpeg(photo(1600, 1200)), 1, jpeg(solid(80, 60, qRgb(20, 200, 20))))), kBox,
        noCache());
    EXPECT_EQ(tooSmall.Path, TThumbPath::Scaled);
    // Asked for more than the embedded thumbnail holds.
    EXPECT_EQ(Thumbnails::Make(dir.filePath("exif.jpg"), QSize(256, 256), noCache()).Path,
              TThumbPath::Scaled);
}

TEST_F(ThumbnailFiles, ClipartKeepsItsAlpha) {
    QImage clip(300, 200, QImage::Format_ARGB32);
    clip.fill(Qt::transparent);
    for (int y = 50; y < 150; ++y)
        for (int x = 100; x < 200; ++x)
            clip.setPixel(x, y, qRgba(200, 30, 30, 255));
    const Thumbnails::TThumbResult result =
        Thumbnails::Make(file("heart.png", Imaging::EncodePng(clip)), kBox, noCache());
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.Path, TThumbPath::Decoded);
    EXPECT_EQ(result.PixelFormat, 32);
    EXPECT_EQ(result.Image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(result.Image.size(), QSize(92, 61));
    EXPECT_EQ(qAlpha(result.Image.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(result.Image.pixel(46, 30)), 255);
}

TEST_F(ThumbnailFiles, DamagedAndHostileFilesFailOrFallBackWithoutCrashing) {
    const QByteArray photoJpeg = jpeg(photo(640, 480));
    const QByteArray green = jpeg(solid(160, 120, qRgb(20, 200, 20)));
    EXPECT_EQ(Thumbnails::Make(file("empty.jpg", QByteArray()), kBox, noCache()).Path, TThumbPath::Failed);
    EXPECT_EQ(Thumbnails::Make(file("cut.jpg", photoJpeg.left(60)), kBox, noCache()).Path,
              TThumbPath::Failed);
    EXPECT_EQ(Thumbnails::Make(file("text.jpg", QByteArray("no picture at all")), kBox, noCache()).Path,
              TThumbPath::Failed);
    EXPECT_EQ(Thumbnails::Make(file("huge.png", pngClaiming(100000, 100000)), kBox, noCache()).Path,
              TThumbPath::Failed);
    EXPECT_EQ(Thumbnails::Make(dir.filePath("missing.jpg"), kBox, noCache()).Path, TThumbPath::Failed);
    // A PNG named .jpg is decoded for what it is.
    EXPECT_EQ(
        Thumbnails::Make(file("disguised.jpg", Imaging::EncodePng(photo(64, 48))), kBox, noCache()).Path,
        TThumbPath::Decoded);

    // Exif offsets outside the block, and a loop between its directories: the decode serves.
    const QByteArray outside = withExif(photoJpeg, 1, green, 0x7FFFFF00);
    EXPECT_TRUE(ExifReader::ReadFromJpeg(outside).Thumbnail.isEmpty());
    EXPECT_EQ(Thumbnails::Make(file("outside.jpg", outside), kBox, noCache()).Path, TThumbPath::Scaled);
    const QByteArray loop = withExif(photoJpeg, 1, green, 0, true);
    const Thumbnails::TThumbResult looped = Thumbnails::Make(file("loop.jpg", loop), kBox, noCache());
    EXPECT_TRUE(looped.ok());
    // Absurd lengths: an APP1 segment claiming more than the file holds.
    QByteArray absurd = withExif(photoJpeg, 1, green);
    absurd[4] = char(0xFF);
    absurd[5] = char(0xFF);
    EXPECT_TRUE(ExifReader::ReadFromJpeg(absurd).Thumbnail.isEmpty());
    Thumbnails::Make(file("absurd.jpg", absurd), kBox, noCache()); // no crash; either way
    for (int cut = 0; cut < loop.size() && cut < 400; cut += 7)
        ExifReader::ReadFromJpeg(loop.left(cut));
}

TEST_F(ThumbnailFiles, SharedCacheIsWrittenAfterADecodeAndServesTheNextTime) {
    const QString path = file("photo.jpg", jpeg(photo(1600, 1200)));
    const QString root = withCache().CacheRoot;
    const QString entry = ThumbnailCache::EntryPath(root, QStringLiteral("normal"), path);
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    EXPECT_EQ(QFileInfo(entry).fileName(),
              QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
                  QStringLiteral(".png"));

    EXPECT_EQ(Thumbnails::Make(path, kBox, withCache()).Path, TThumbPath::Scaled);
    ASSERT_TRUE(QFileInfo::exists(entry));
    EXPECT_EQ(QFileInfo(entry).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup), 0);
    const QImage stored(entry);
    EXPECT_EQ(stored.size(), QSize(128, 96));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::URI")).toUtf8(), uri);
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::MTime")),
              QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
    EXPECT_EQ(stored.text(QStringLiteral("Thumb::Image::Width")), QStringLiteral("1600"));
    EXPECT_EQ(QDir(root + QStringLiteral("/normal")).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file is left";

    const Thumbnails::TThumbResult cached = Thumbnails::Make(path, kBox, withCache());
    EXPECT_EQ(cached.Path, TThumbPath::Cache);
    EXPECT_EQ(cached.PicSize, QSize(1600, 1200));
    EXPECT_EQ(cached.Image.size(), QSize(92, 69));
    // More than the entry holds: decoded again.
    EXPECT_EQ(Thumbnails::Make(path, QSize(200, 200), withCache()).Path, TThumbPath::Scaled);

    // A changed file: the entry is stale.
    struct utimbuf times {};
    times.actime = times.modtime = QFileInfo(path).lastModified().toSecsSinceEpoch() - 100;
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
    EXPECT_EQ(Thumbnails::Make(path, kBox, withCache()).Path, TThumbPath::Scaled);
    EXPECT_EQ(Thumbnails::Make(path, kBox, withCache()).Path, TThumbPath::Cache);

    // Without the cache nothing is read or written.
    const QString other = file("other.jpg", jpeg(photo(800, 600)));
    EXPECT_EQ(Thumbnails::Make(other, kBox, noCache()).Path, TThumbPath::Scaled);
    EXPECT_FALSE(QFileInfo::exists(ThumbnailCache::EntryPath(root, QStringLiteral("normal"), other)));
    EXPECT_EQ(Thumbnails::Make(path, kBox, noCache()).Path, TThumbPath::Scaled);

    // Pictures inside the cache folder get no entries; an entry over 1 MB is not read.
    const QString inside =
        writeFile(root + QStringLiteral("/normal/picture.png"), Imaging::EncodePng(photo(300, 200)));
    EXPECT_EQ(Thumbnails::Make(inside, kBox, withCache()).Path, TThumbPath::Decoded);
    EXPECT_FALSE(QFileInfo::exists(ThumbnailCache::EntryPath(root, QStringLiteral("normal"), inside)));
    QFile big(entry);
    ASSERT_TRUE(big.open(QIODevice::Append));
    big.write(QByteArray(ThumbnailCache::kMaxEntryBytes, '\0'));
    big.close();
    EXPECT_EQ(Thumbnails::Make(path, kBox, withCache()).Path, TThumbPath::Scaled);
}
