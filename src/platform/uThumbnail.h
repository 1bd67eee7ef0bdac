#pragma once

// Thumbnails of picture files for the picture browser. One function makes a thumbnail of any
// size; it takes the quickest way that gives the right pixels:
//   - the shared thumbnail cache of the desktop, when it holds a fresh one that is large enough;
//   - a JPEG's embedded Exif thumbnail, when it is at least as large as asked and shows the whole
//     picture (its aspect matches within a pixel, so no letterboxed one), turned upright;
//   - a JPEG decoded at the largest M/8 reduction that keeps both sides at least the thumbnail's,
//     then scaled bilinearly;
//   - any other format decoded whole, then scaled.
// After one of the last two, a thumbnail for the shared cache is made from the same decode.
// Reentrant: several loader threads make thumbnails of different files at the same time.

#include <QImage>
#include <QSize>
#include <QString>

namespace Thumbnails {

enum class TThumbPath { Cache, Exif, Scaled, Decoded, Failed };

// The word the command line prints for a path.
QString PathName(TThumbPath path);

struct TThumbOptions {
    // Read and write the shared thumbnail cache.
    bool UseCache = true;
    // The cache's root folder; empty means $XDG_CACHE_HOME/thumbnails (or ~/.cache/thumbnails).
    QString CacheRoot;
};

struct TThumbResult {
    TThumbPath Path = TThumbPath::Failed;
    // The picture's upright size and its bits per pixel (8 grey, 24 colour, 32 with alpha);
    // zero when the file could not be read.
    QSize PicSize;
    int PixelFormat = 0;
    // RGB888 for opaque pictures, ARGB32 for pictures with alpha; null when failed.
    QImage Image;
    bool ok() const { return Path != TThumbPath::Failed; }
};

// Pictures with more pixels than this are not decoded for a thumbnail (a JPEG is reduced while
// decoding, so it may be larger).
constexpr qint64 kMaxThumbDecodePixels = qint64(1) << 26;

// The size a picture of `picture` pixels gets in a `box`: fitted into it keeping the aspect ratio
// when larger, else its own size.
QSize FitSize(QSize picture, QSize box);

// Makes the thumbnail of the file at `path` that fits `box`.
TThumbResult Make(const QString& path, QSize box, const TThumbOptions& options = {});

// The same for a file already read (tests and the fuzz target): the cache is not involved.
TThumbResult MakeFromBytes(const QByteArray& bytes, QSize box);

// An Exif thumbnail of `thumbSize` shows the whole of a picture stored at `storedSize`: its aspect
// matches within a pixel.
bool ExifThumbShowsWholePicture(QSize thumbSize, QSize storedSize);

} // namespace Thumbnails
