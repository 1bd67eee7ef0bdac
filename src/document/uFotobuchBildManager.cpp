#include "document/uFotobuchBildManager.h"

#include "app/uDebug.h"
#include "document/uFotobuchList.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QThread>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// Photos above this many pixels are scaled down once when decoded.
constexpr qint64 kMaxPixels = 3873488;
constexpr double kScaleTargetPixels = 3871488.0;
// Below this much available memory, fewer pictures are kept decoded.
constexpr qint64 kMinAvailableMemory = 10000000;
constexpr qint64 kBytesPerDecodedPicture = 26214400;
// Qt refuses images above 128 MB by default; large photos must still decode (they are scaled after).
constexpr int kAllocationLimitMb = 1024;

qint64 readMemInfo(bool total) {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return total ? qint64(1) << 32 : qint64(1) << 30;
    const QByteArray key = total ? QByteArrayLiteral("MemTotal:") : QByteArrayLiteral("MemAvailable:");
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith(key))
            continue;
        const QList<QByteArray> parts = line.mid(key.size()).simplified().split(' ');
        if (!parts.isEmpty())
            return parts.first().toLongLong() * 1024;
    }
    return total ? qint64(1) << 32 : qint64(1) << 30;
}

// Pictures are held as 32-bit pixels (blue, green, red, alpha bytes), with alpha only where the
// source has it; colour-managed pictures are brought to sRGB.
QImage normalised(QImage image, bool colourManaged) {
    if (image.isNull())
        return image;
    if (colourManaged && image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    const QImage::Format wanted = image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.format() != wanted)
        image = image.convertToFormat(wanted);
    return image;
}

QImage readImage(const QByteArray& data, bool colourManaged, QString* error) {
    QByteArray copy = data; // QBuffer needs a non-const array; the copy shares the bytes
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMb);
    QImage image;
    if (!reader.read(&image)) {
        if (error)
            *error = reader.errorString();
        return QImage();
    }
    return normalised(image, colourManaged);
}

int rounded(float value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

double DateTimeValue(const QDateTime& time) {
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
    const QDateTime local = time.toLocalTime();
    const qint64 days = epoch.date().daysTo(local.date());
    return double(days) + double(local.time().msecsSinceStartOfDay()) / 86400000.0;
}

double CurrentDateTimeValue() {
    return DateTimeValue(QDateTime::currentDateTime());
}

TBildmanager& TBildmanager::Instance() {
    static TBildmanager manager;
    return manager;
}

TBildmanager::TBildmanager() : memoryProbe_(readMemInfo) {
    MaxDecoded = std::max<int>(10, static_cast<int>(memoryProbe_(true) / kBytesPerDecodedPicture));
    Debug().TraceFmt("%d Bilder maximal gleichzeitig im Speicher", MaxDecoded);
}

TBildmanager::~TBildmanager() = default;

void TBildmanager::SetMemoryProbe(MemoryProbe probe) {
    memoryProbe_ = probe ? std::move(probe) : MemoryProbe(readMemInfo);
}

void TBildmanager::Clear() {
    if (!Entries.empty())
        Debug().TraceFmt("Verwaiste Elemente: %d", Count());
    Entries.clear();
}

TBildManagerListItem* TBildmanager::entry(int ref) const {
    const int position = positionOf(ref);
    return position < 0 ? nullptr : Entries[position].get();
}

int TBildmanager::positionOf(int ref) const {
    if (ref < 0)
        return -1;
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i]->RefIndex == ref)
            return static_cast<int>(i);
    return -1;
}

const TBildManagerListItem& TBildmanager::Item(int position) const {
    if (position < 0 || position >= Count())
        ThrowListIndexError(position);
    return *Entries[position];
}

const TBildManagerListItem* TBildmanager::Find(int ref) const {
    return entry(ref);
}

int TBildmanager::UseCount(int ref) const {
    const TBildManagerListItem* item = entry(ref);
    return item ? item->RefCount : 0;
}

int TBildmanager::NextRefIndex() const {
    int largest = -1;
    for (const auto& item : Entries)
        largest = std::max(largest, item->RefIndex);
    return largest + 1;
}

void TBildmanager::moveToFront(int position) {
    if (position > 0)
        std::rotate(Entries.begin(), Entries.begin() + position, Entries.begin() + position + 1);
}

int TBildmanager::AddFromFile(const QString& path) {
    if (!path.isEmpty()) {
        for (const auto& item : Entries) {
            if (item->FileName == path) {
                AddRef(item->RefIndex);
                return item->RefIndex;
            }
        }
    }
    auto owned = std::make_unique<TBildManagerListItem>();
    TBildManagerListItem& item = *owned;
    item.FileSize = -1;
    item.FileDate = -1.0;
    Entries.insert(Entries.begin(), std::move(owned));

    QFile file(path);
    const QFileInfo info(path);
    if (!path.isEmpty() && info.isFile() && file.open(QIODevice::ReadOnly)) {
        item.FileName = path;
        item.FileSize = static_cast<int>(info.size());
        item.FileDate = DateTimeValue(info.lastModified());
        item.FileData = file.readAll();
        decode(item);
    } else {
        Debug().TraceFmt("AddFromFile: %s nicht gefunden", qPrintable(path));
    }
    item.RefIndex = NextRefIndex();
    item.RefCount = 1;
    const int ref = item.RefIndex;
    Trim();
    return ref;
}

int TBildmanager::AddBitmap(const QImage& bitmap) {
    auto owned = std::make_unique<TBildManagerListItem>();
    TBildManagerListItem& item = *owned;
    item.FileSize = 8192;
    item.RefCount = 1;
    item.FileDate = CurrentDateTimeValue();
    item.Picture = normalised(bitmap, false);
    reencode(item);
    item.RefIndex = NextRefIndex();
    Entries.push_back(std::move(owned));
    return item.RefIndex;
}

void TBildmanager::AddRef(int ref) {
    if (ref == -1)
        return;
    if (TBildManagerListItem* item = entry(ref)) {
        ++item->RefCount;
        Debug().TraceFmt("IncRefCount %d", ref);
    }
}

void TBildmanager::Release(int ref) {
    const int position = positionOf(ref);
    if (position < 0)
        return;
    if (--Entries[position]->RefCount <= 0)
        Entries.erase(Entries.begin() + position);
}

QImage TBildmanager::GetBitmap(int ref) {
    const int position = positionOf(ref);
    if (position < 0)
        return QImage();
    moveToFront(position);
    TBildManagerListItem& item = *Entries.front();
    if (!item.Picture)
        decode(item);
    const QImage picture = item.Picture ? *item.Picture : QImage();
    Trim();
    return picture;
}

QImage TBildmanager::GetPreview(int ref) {
    TBildManagerListItem* item = entry(ref);
    if (!item)
        return QImage();
    if (!item->Preview || (item->PreviewIsSmall && item->Picture))
        makePreview(*item);
    return item->Preview ? *item->Preview : QImage();
}

void TBildmanager::decode(TBildManagerListItem& item) {
    if (item.FileData.isEmpty())
        return;
    item.Picture.reset();
    QString error;
    QImage image = readImage(item.FileData, true, &error);
    if (image.isNull())
        Debug().TraceFmt("Status Fehler bei LoadGPBitmap: %s", qPrintable(error));

    const qint64 pixels = qint64(image.width()) * image.height();
    if (pixels > kMaxPixels) {
        Debug().Trace(QStringLiteral("Resize in LoadGPBitmap"));
        const float f = std::sqrt(static_cast<float>(double(pixels) / kScaleTargetPixels));
        const int w = rounded(static_cast<float>(image.width()) / f);
        const int h = rounded(static_cast<float>(image.height()) / f);
        QImage scaled = image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull()) {
            Debug().TraceFmt("Status Fehler LoadGPBitmap Resize: %d", 3);
        } else {
            item.Picture = scaled.convertToFormat(image.format());
            // From now on the stored bytes hold the smaller picture.
            reencode(item);
            return;
        }
    }
    item.Picture = image;
    item.PicWidth = image.width();
    item.PicHeight = image.height();
}

void TBildmanager::reencode(TBildManagerListItem& item) {
    if (!item.Picture)
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool png = item.Picture->hasAlphaChannel();
    Debug().TraceFmt(png ? "SaveGPBitmapToStream %d -> PNG" : "SaveGPBitmapToStream %d -> JPG",
                     item.RefIndex);
    QImageWriter writer(&buffer, png ? QByteArrayLiteral("png") : QByteArrayLiteral("jpeg"));
    if (!png)
        writer.setQuality(90);
    if (!writer.write(*item.Picture)) {
        // Keep the old bytes rather than losing the picture.
        Debug().TraceFmt("SaveGPBitmapToStream Fehler: %s", qPrintable(writer.errorString()));
        return;
    }
    buffer.close();
    Debug().TraceFmt("RemoveGPBitmap %d", item.RefIndex);
    item.Picture.reset();
    item.FileData = bytes;
    decode(item);
    if (item.Picture) {
        item.PicWidth = item.Picture->width();
        item.PicHeight = item.Picture->height();
    }
    makePreview(item);
}

void TBildmanager::makePreview(TBildManagerListItem& item) {
    item.Preview.reset();
    QImage source;
    int size = 192;
    item.PreviewIsSmall = false;
    if (item.Picture) {
        source = *item.Picture;
    } else if (item.FileData.isEmpty()) {
        return;
    } else {
        source = readImage(item.FileData, false, nullptr);
        size = 128;
        item.PreviewIsSmall = true;
    }
    if (source.isNull() || source.width() <= 0 || source.height() <= 0) {
        item.Preview = QImage();
        return;
    }
    int w = size;
    int h = size;
    if (source.width() >= source.height())
        h = std::max(1, rounded(float(size) * float(source.height()) / float(source.width())));
    else
        w = std::max(1, rounded(float(size) * float(source.width()) / float(source.height())));
    item.Preview = source.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void TBildmanager::freeDecodedFrom(int position) {
    for (int i = std::max(0, position); i < Count(); ++i)
        Entries[i]->Picture.reset();
}

void TBildmanager::Trim() {
    freeDecodedFrom(MaxDecoded);
    while (memoryProbe_(false) < kMinAvailableMemory) {
        --MaxDecoded;
        freeDecodedFrom(MaxDecoded);
        QThread::msleep(10);
        if (MaxDecoded < 3)
            break;
    }
    MaxDecoded = std::max(MaxDecoded, 8);
}

int TBildmanager::MakeUnique(int ref) {
    TBildManagerListItem* source = entry(ref);
    if (!source)
        return -1;
    if (source->RefCount <= 1)
        return ref;
    --source->RefCount;
    auto clone = std::make_unique<TBildManagerListItem>();
    clone->FileName = QStringLiteral("Clone ") + source->FileName;
    clone->Age = source->Age;
    clone->FileSize = source->FileSize;
    clone->FileDate = source->FileDate;
    clone->PicHeight = source->PicHeight;
    clone->PicWidth = source->PicWidth;
    clone->FileData = QByteArray(source->FileData.constData(), source->FileData.size());
    decode(*clone);
    makePreview(*clone);
    clone->RefIndex = NextRefIndex();
    clone->RefCount = 1;
    const int newRef = clone->RefIndex;
    Entries.push_back(std::move(clone));
    return newRef;
}

void TBildmanager::Rotate(int ref, int direction) {
    TBildManagerListItem* item = entry(ref);
    if (!item)
        return;
    if (!item->Picture)
        decode(*item);
    const QImage source = item->Picture ? *item->Picture : QImage();
    if (source.isNull())
        return;
    const int degrees = direction == 0 ? 90 : direction == 1 ? 180 : 270;
    const QImage turned = source.transformed(QTransform().rotate(degrees));
    // The turned picture has no alpha: transparent parts become white.
    QImage result(turned.size(), QImage::Format_RGB32);
    result.fill(Qt::white);
    {
        QPainter painter(&result);
        painter.drawImage(0, 0, turned);
    }
    item->Picture = result;
    reencode(*item);
    item->FileName.clear();
}

bool TBildmanager::RunFilter(TPictureFilterKind kind, int ref, int angle) {
    TBildManagerListItem* item = entry(ref);
    if (!item || !filterHost_)
        return false;
    if (!item->Picture)
        decode(*item);
    if (!item->Picture || item->Picture->isNull())
        return false;
    std::optional<QImage> result = filterHost_->RunFilter(kind, *item->Picture, angle);
    if (!result || result->isNull())
        return false;
    // Look the entry up again: the dialog may have caused other pictures to be decoded.
    item = entry(ref);
    if (!item)
        return false;
    item->Picture = normalised(*result, false);
    static const char* const marks[] = {"A ", "B ", "C ", "C "};
    item->FileName = QLatin1String(marks[static_cast<int>(kind)]) + item->FileName;
    reencode(*item);
    return true;
}
