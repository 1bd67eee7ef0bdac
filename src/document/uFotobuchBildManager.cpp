#include "document/uFotobuchBildManager.h"

#include "document/uFotobuchList.h"
#include "i18n/ulocalize.h"
#include "platform/Exception.h"
#include "platform/uDebug.h"
#include "platform/uGuiThread.h"
#include "platform/uJpegCodec.h"
#include "platform/uMemoryStatus.h"
#include "platform/uWorkQueue.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QThread>
#include <QTransform>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>

namespace {

// Photos above this many pixels are scaled down once when decoded.
constexpr qint64 kMaxPixels = 3873488;
constexpr double kScaleTargetPixels = 3871488.0;
// Below this much available memory, fewer pictures are kept decoded.
constexpr qint64 kMinAvailableMemory = 10000000;
constexpr qint64 kBytesPerDecodedPicture = 26214400;
constexpr int kPreviewSide = 192;
constexpr int kSmallPreviewSide = 128;
constexpr int kJpegQuality = 90;
// Out of memory: three more attempts, each after lowering the decode limit.
constexpr int kDecodeAttempts = 4;

qint64 defaultMemoryProbe(bool total) {
    return total ? MemoryStatus::TotalPhysicalMemory() : MemoryStatus::AvailablePhysicalMemory();
}

int rounded(float value) {
    return static_cast<int>(std::nearbyint(value));
}

// The small preview of an encoded picture, reduced while decoding where the format allows.
// `fullSize` is the upright size of the whole picture when known (from the header).
QImage smallPreview(const QByteArray& data, std::optional<QSize> fullSize) {
    if (fullSize && fullSize->isEmpty())
        fullSize.reset(); // not known after all: the decoded picture tells
    Imaging::TDecodeOptions options;
    if (fullSize)
        options.AtLeast = Imaging::FitInto(*fullSize, kSmallPreviewSide);
    const Imaging::TDecodeResult decoded = Imaging::Decode(data, options);
    if (!decoded.ok())
        return QImage();
    const QSize size = Imaging::FitInto(fullSize ? *fullSize : decoded.Image.size(), kSmallPreviewSide);
    return Imaging::ScaleBilinear(decoded.Image, size);
}

} // namespace

// A small preview made on a worker thread. Whoever claims it first makes it: a worker, or the UI
// thread when it needs the preview before a worker got to it. The entry is never touched here; the
// job works on its own copy of the bytes.
class TPendingPreview {
public:
    TPendingPreview(QByteArray data, QSize fullSize) : data_(std::move(data)), fullSize_(fullSize) {}

    // Worker side: makes the preview unless someone else claimed it.
    void RunIfUnclaimed() {
        if (!claimed_.exchange(true))
            make();
    }
    // UI side: the preview, made now or awaited from the worker that is making it.
    QImage Take() {
        if (!claimed_.exchange(true))
            make();
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return finished_; });
        return result_;
    }
    // The entry no longer wants it (freed or re-encoded); a worker that has not started skips it.
    void Cancel() { claimed_.exchange(true); }

private:
    void make() {
        QImage preview = smallPreview(data_, fullSize_);
        std::lock_guard<std::mutex> lock(mutex_);
        result_ = std::move(preview);
        data_ = QByteArray();
        finished_ = true;
        done_.notify_all();
    }

    QByteArray data_;
    QSize fullSize_;
    std::atomic<bool> claimed_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    QImage result_;
};

bool TBildManagerListItem::Equals(const TBildManagerListItem& other) const {
    return FileName == other.FileName && Age == other.Age && FileDate == other.FileDate &&
           PicWidth == other.PicWidth && PicHeight == other.PicHeight && FileData == other.FileData;
}

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

TBildmanager::TBildmanager()
    : memoryProbe_(defaultMemoryProbe), decoder_(Imaging::Decode), workers_(std::make_unique<TWorkQueue>()) {
    MemoryStatus::KeepFreedMemoryForReuse();
    MaxDecoded = std::max<int>(10, static_cast<int>(memoryProbe_(true) / kBytesPerDecodedPicture));
    Debug().TraceFmt("%d Bilder maximal gleichzeitig im Speicher", MaxDecoded);
}

TBildmanager::~TBildmanager() {
    for (const auto& item : Entries)
        if (item->PendingPreview)
            item->PendingPreview->Cancel();
    workers_.reset(); // waits for the previews being made
}

void TBildmanager::SetMemoryProbe(MemoryProbe probe) {
    memoryProbe_ = probe ? std::move(probe) : MemoryProbe(defaultMemoryProbe);
}

void TBildmanager::SetDecoder(Decoder decoder) {
    decoder_ = decoder ? std::move(decoder) : Decoder(Imaging::Decode);
}

void TBildmanager::Clear() {
    GuiThread::Check("TBildmanager::Clear");
    if (!Entries.empty())
        Debug().TraceFmt("Verwaiste Elemente: %d", Count());
    while (!Entries.empty())
        removeAt(Count() - 1);
    // The document reset releases its frames (and with them the pictures) before it gets here.
    MemoryStatus::ReturnFreedMemory();
}

void TBildmanager::removeAt(int position) {
    if (Entries[size_t(position)]->PendingPreview)
        Entries[size_t(position)]->PendingPreview->Cancel();
    Entries.erase(Entries.begin() + position);
}

TBildManagerListItem* TBildmanager::entry(int ref) const {
    const int position = positionOf(ref);
    return position < 0 ? nullptr : Entries[size_t(position)].get();
}

int TBildmanager::positionOf(int ref) const {
    if (ref < 0)
        return -1;
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i]->RefIndex == ref)
            return static_cast<int>(i);
    return -1;
}

const TBildManagerListItem* TBildmanager::findEqual(const TBildManagerListItem& item) const {
    for (const auto& other : Entries)
        if (other->Equals(item))
            return other.get();
    return nullptr;
}

const TBildManagerListItem& TBildmanager::Item(int position) const {
    if (position < 0 || position >= Count())
        ThrowListIndexError(position);
    return *Entries[size_t(position)];
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

std::optional<QSize> TBildmanager::ReducedSize(QSize size) {
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.isEmpty() || pixels <= kMaxPixels)
        return std::nullopt;
    const float f = std::sqrt(static_cast<float>(double(pixels) / kScaleTargetPixels));
    return QSize(std::max(1, rounded(static_cast<float>(size.width()) / f)),
                 std::max(1, rounded(static_cast<float>(size.height()) / f)));
}

void TBildmanager::moveToFront(int position) {
    if (position > 0)
        std::rotate(Entries.begin(), Entries.begin() + position, Entries.begin() + position + 1);
}

int TBildmanager::AddFromFile(const QString& path) {
    GuiThread::Check("TBildmanager::AddFromFile");
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

    QFile file(path);
    const QFileInfo info(path);
    if (!path.isEmpty() && info.isFile() && file.open(QIODevice::ReadOnly)) {
        item.FileName = path;
        item.FileSize = static_cast<int>(std::min<qint64>(info.size(), INT32_MAX));
        item.FileDate = DateTimeValue(info.lastModified());
        item.FileData = file.readAll();
        // Raises only when memory ran out for good; the entry is not in the list yet, so nothing
        // half-made stays behind.
        decode(item);
    } else {
        Debug().TraceFmt("AddFromFile: %s nicht gefunden", qPrintable(path));
    }
    Entries.insert(Entries.begin(), std::move(owned));
    item.RefIndex = NextRefIndex();
    item.RefCount = 1;
    const int ref = item.RefIndex;
    Trim();
    return ref;
}

int TBildmanager::AddBitmap(const QImage& bitmap) {
    GuiThread::Check("TBildmanager::AddBitmap");
    auto owned = std::make_unique<TBildManagerListItem>();
    TBildManagerListItem& item = *owned;
    item.FileSize = 8192;
    item.RefCount = 1;
    item.FileDate = CurrentDateTimeValue();
    item.Picture = Imaging::Normalised(bitmap);
    item.PicWidth = item.Picture->width();
    item.PicHeight = item.Picture->height();
    reencode(item);
    item.RefIndex = NextRefIndex();
    Entries.push_back(std::move(owned));
    return item.RefIndex;
}

void TBildmanager::AddRef(int ref) {
    GuiThread::Check("TBildmanager::AddRef");
    if (ref == -1)
        return;
    if (TBildManagerListItem* item = entry(ref)) {
        ++item->RefCount;
        Debug().TraceFmt("IncRefCount %d", ref);
    }
}

void TBildmanager::Release(int ref) {
    GuiThread::Check("TBildmanager::Release");
    const int position = positionOf(ref);
    if (position < 0)
        return;
    if (--Entries[size_t(position)]->RefCount <= 0)
        removeAt(position);
}

QImage TBildmanager::GetBitmap(int ref) {
    GuiThread::Check("TBildmanager::GetBitmap");
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
    GuiThread::Check("TBildmanager::GetPreview");
    TBildManagerListItem* item = entry(ref);
    if (!item)
        return QImage();
    if (item->PendingPreview && !item->Picture) {
        item->Preview = item->PendingPreview->Take();
        item->PreviewIsSmall = true;
        item->PendingPreview.reset();
    }
    if (!item->Preview || (item->PreviewIsSmall && item->Picture))
        makePreview(*item);
    return item->Preview ? *item->Preview : QImage();
}

void TBildmanager::decode(TBildManagerListItem& item) {
    if (item.FileData.isEmpty())
        return;
    item.Picture.reset();
    // Knowing the size beforehand lets a JPEG that is scaled down anyway be reduced while decoding.
    const std::optional<QSize> header = Imaging::ProbeSize(item.FileData);
    Imaging::TDecodeOptions options;
    if (header)
        if (const std::optional<QSize> reduced = ReducedSize(*header))
            options.AtLeast = *reduced;

    Imaging::TDecodeResult result;
    for (int attempt = 1;; ++attempt) {
        result = decoder_(item.FileData, options);
        if (result.ok())
            break;
        Debug().TraceFmt("Status Fehler bei LoadGPBitmap: %d", static_cast<int>(result.Status));
        if (attempt >= kDecodeAttempts) {
            throw Exception(QString::asprintf(
                qPrintable(Translate(QStringLiteral("Bild %s konnte nicht geladen werden."))),
                qPrintable(item.FileName)));
        }
        if (result.Status != Imaging::TImageStatus::OutOfMemory)
            break; // undecodable: the failed picture (0 x 0) stays
        result.Image = QImage();
        FreeMemory();
    }

    const QImage image = result.ok() ? result.Image : QImage();
    if (!image.isNull()) {
        if (const std::optional<QSize> target = ReducedSize(header ? *header : image.size())) {
            Debug().Trace(QStringLiteral("Resize in LoadGPBitmap"));
            const QImage scaled = Imaging::ScaleBilinear(image, *target);
            if (scaled.isNull()) {
                Debug().TraceFmt("Status Fehler LoadGPBitmap Resize: %d",
                                 static_cast<int>(Imaging::TImageStatus::OutOfMemory));
            } else {
                item.Picture = scaled;
                // From now on the stored bytes hold the smaller picture.
                reencode(item);
                return;
            }
        }
    }
    item.Picture = image;
    item.PicWidth = image.width();
    item.PicHeight = image.height();
}

void TBildmanager::prepareStored(TBildManagerListItem& item) {
    if (item.FileData.isEmpty())
        return;
    // A JPEG header tells the upright size for certain; the pixels can wait for their first use.
    if (JpegCodec::LooksLikeJpeg(item.FileData)) {
        const std::optional<QSize> size = Imaging::ProbeSize(item.FileData);
        if (size && !ReducedSize(*size)) {
            item.PicWidth = size->width();
            item.PicHeight = size->height();
            return;
        }
    }
    decode(item);
}

void TBildmanager::reencode(TBildManagerListItem& item) {
    if (!item.Picture || item.Picture->isNull())
        return;
    const bool png = item.Picture->hasAlphaChannel();
    Debug().TraceFmt(png ? "SaveGPBitmapToStream %d -> PNG" : "SaveGPBitmapToStream %d -> JPG",
                     item.RefIndex);
    const QByteArray bytes =
        png ? Imaging::EncodePng(*item.Picture) : Imaging::EncodeJpeg(*item.Picture, kJpegQuality);
    if (bytes.isEmpty()) {
        // Keep the old bytes rather than losing the picture.
        Debug().TraceFmt("SaveGPBitmapToStream %d fehlgeschlagen", item.RefIndex);
        return;
    }
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
    if (item.PendingPreview) {
        item.PendingPreview->Cancel();
        item.PendingPreview.reset();
    }
    item.Preview.reset();
    item.PreviewIsSmall = false;
    if (item.Picture) {
        const QImage& picture = *item.Picture;
        item.Preview = picture.isNull()
                           ? QImage()
                           : Imaging::ScaleBilinear(picture, Imaging::FitInto(picture.size(), kPreviewSide));
        return;
    }
    if (item.FileData.isEmpty())
        return;
    item.Preview = smallPreview(item.FileData, Imaging::ProbeSize(item.FileData));
    item.PreviewIsSmall = true;
}

void TBildmanager::queuePreview(TBildManagerListItem& item) {
    if (item.FileData.isEmpty() || item.Picture || item.Preview || item.PendingPreview)
        return;
    auto job = std::make_shared<TPendingPreview>(item.FileData, QSize(item.PicWidth, item.PicHeight));
    item.PendingPreview = job;
    workers_->Post([job] { job->RunIfUnclaimed(); });
}

void TBildmanager::freeDecodedFrom(int position) {
    for (int i = std::max(0, position); i < Count(); ++i)
        Entries[size_t(i)]->Picture.reset();
}

void TBildmanager::Trim() {
    GuiThread::Check("TBildmanager::Trim");
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

void TBildmanager::FreeMemory() {
    GuiThread::Check("TBildmanager::FreeMemory");
    if (MaxDecoded < 4)
        return;
    MaxDecoded = MaxDecoded * 9 / 10;
    Trim();
    QThread::msleep(200);
}

int TBildmanager::MakeUnique(int ref) {
    GuiThread::Check("TBildmanager::MakeUnique");
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
    // Decoding the copied bytes gives what the source holds already: share its pixels instead.
    if (source->Picture && !source->Picture->isNull())
        clone->Picture = *source->Picture;
    else
        decode(*clone);
    makePreview(*clone);
    clone->RefIndex = NextRefIndex();
    clone->RefCount = 1;
    const int newRef = clone->RefIndex;
    Entries.push_back(std::move(clone));
    return newRef;
}

void TBildmanager::Rotate(int ref, int direction) {
    GuiThread::Check("TBildmanager::Rotate");
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
    if (result.isNull())
        return;
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
    GuiThread::Check("TBildmanager::RunFilter");
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
    item->Picture = Imaging::Normalised(*result);
    static const char* const marks[] = {"A ", "B ", "C ", "C "};
    item->FileName = QLatin1String(marks[static_cast<int>(kind)]) + item->FileName;
    reencode(*item);
    return true;
}
