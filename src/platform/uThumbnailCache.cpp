#include "platform/uThumbnailCache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>

#include <cstdio>

namespace ThumbnailCache {
namespace {

QString modificationSecond(const QFileInfo& file) {
    return QString::number(file.lastModified().toSecsSinceEpoch());
}

std::optional<TCachedThumb> readEntry(const QString& entry, const QFileInfo& file, QSize atLeast) {
    const QFileInfo info(entry);
    if (!info.isFile() || info.size() > kMaxEntryBytes)
        return std::nullopt;
    QImageReader reader(entry, QByteArrayLiteral("png"));
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > 1024 || size.height() > 1024)
        return std::nullopt;
    if (size.width() + 1 < atLeast.width() || size.height() + 1 < atLeast.height())
        return std::nullopt;
    // The reader's own text lookup splits keys at colons; the read picture keeps them whole.
    TCachedThumb cached;
    if (!reader.read(&cached.Image))
        return std::nullopt;
    if (cached.Image.text(QStringLiteral("Thumb::URI")).toUtf8() != UriOf(file.absoluteFilePath()) ||
        cached.Image.text(QStringLiteral("Thumb::MTime")) != modificationSecond(file))
        return std::nullopt;
    cached.PicSize = QSize(cached.Image.text(QStringLiteral("Thumb::Image::Width")).toInt(),
                           cached.Image.text(QStringLiteral("Thumb::Image::Height")).toInt());
    if (cached.PicSize.isEmpty())
        cached.PicSize = QSize();
    return cached;
}

bool makeFolder(const QString& path) {
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path))
        return false;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

} // namespace

QString DefaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

QByteArray UriOf(const QString& absolutePath) {
    return QUrl::fromLocalFile(absolutePath).toEncoded();
}

QString EntryPath(const QString& root, const QString& flavour, const QString& absolutePath) {
    const QByteArray md5 = QCryptographicHash::hash(UriOf(absolutePath), QCryptographicHash::Md5).toHex();
    return root + QLatin1Char('/') + flavour + QLatin1Char('/') + QString::fromLatin1(md5) +
           QStringLiteral(".png");
}

bool IsInside(const QString& root, const QString& absolutePath) {
    const QString folder = QDir::cleanPath(root) + QLatin1Char('/');
    return QDir::cleanPath(absolutePath).startsWith(folder);
}

std::optional<TCachedThumb> Lookup(const QString& root, const QFileInfo& file, QSize atLeast) {
    const QString path = file.absoluteFilePath();
    if (IsInside(root, path))
        return std::nullopt;
    for (const QString& flavour : {QStringLiteral("normal"), QStringLiteral("large")})
        if (std::optional<TCachedThumb> cached = readEntry(EntryPath(root, flavour, path), file, atLeast))
            return cached;
    return std::nullopt;
}

bool Store(const QString& root, const QFileInfo& file, const QImage& thumb, QSize picSize,
           const QString& mimeType) {
    const QString path = file.absoluteFilePath();
    if (thumb.isNull() || IsInside(root, path))
        return false;
    if (!makeFolder(root) || !makeFolder(root + QStringLiteral("/normal")))
        return false;
    QImage image = thumb;
    image.setText(QStringLiteral("Thumb::URI"), QString::fromUtf8(UriOf(path)));
    image.setText(QStringLiteral("Thumb::MTime"), modificationSecond(file));
    image.setText(QStringLiteral("Thumb::Size"), QString::number(file.size()));
    if (picSize.isValid()) {
        image.setText(QStringLiteral("Thumb::Image::Width"), QString::number(picSize.width()));
        image.setText(QStringLiteral("Thumb::Image::Height"), QString::number(picSize.height()));
    }
    if (!mimeType.isEmpty())
        image.setText(QStringLiteral("Thumb::Mimetype"), mimeType);
    image.setText(QStringLiteral("Software"), QStringLiteral("Tintaro Print Kit"));

    const QString target = EntryPath(root, QStringLiteral("normal"), path);
    // QTemporaryFile creates the file with mode 0600, which the shared cache asks for.
    QTemporaryFile temporary(root + QStringLiteral("/normal/.tintaro-XXXXXX.png"));
    if (!temporary.open())
        return false;
    QImageWriter writer(&temporary, QByteArrayLiteral("png"));
    if (!writer.write(image) || !temporary.flush())
        return false;
    temporary.close();
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return false;
    temporary.setAutoRemove(false); // renamed: nothing left to remove
    return true;
}

} // namespace ThumbnailCache
