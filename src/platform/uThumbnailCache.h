#pragma once

// The desktop's shared thumbnail cache: PNG files named after the MD5 of the picture's file URI
// in <root>/normal (up to 128 pixels) and <root>/large (up to 256), each carrying the URI and the
// file's modification second, so a thumbnail made by any program serves every other one. A stale,
// foreign or oversized entry is ignored; writing never disturbs a reader (temporary file and
// rename) and a failure to write is no error.

#include <QFileInfo>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace ThumbnailCache {

// $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails.
QString DefaultRoot();

// "file:///..." with the path percent-encoded as the shared cache names it.
QByteArray UriOf(const QString& absolutePath);
// <root>/<flavour>/<md5 of the URI>.png
QString EntryPath(const QString& root, const QString& flavour, const QString& absolutePath);

// Files inside the cache itself get no thumbnails there.
bool IsInside(const QString& root, const QString& absolutePath);

struct TCachedThumb {
    QImage Image;
    QSize PicSize; // the picture's size when the entry says it, else invalid
};

// The freshest entry of `file` in normal/, then large/, whose image is at least `atLeast` on both
// sides (within a pixel): the URI matches and the modification second is the file's.
std::optional<TCachedThumb> Lookup(const QString& root, const QFileInfo& file, QSize atLeast);

// Writes `thumb` (at most 128 pixels on its longer side) as the normal/ entry of `file`.
bool Store(const QString& root, const QFileInfo& file, const QImage& thumb, QSize picSize,
           const QString& mimeType);

// The longest side of a normal/ entry.
constexpr int kNormalSide = 128;
// Entries larger than this are not read.
constexpr qint64 kMaxEntryBytes = 1024 * 1024;

} // namespace ThumbnailCache
