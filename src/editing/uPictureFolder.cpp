#include "editing/uPictureFolder.h"

#include <QMetaObject>

#include <algorithm>

TPictureFolder::TPictureFolder(QSize box, TThumbLoadThread::TMaker maker, int threads, QObject* parent)
    : QObject(parent), box_(box), maker_(std::move(maker)), threads_(threads) {}

TPictureFolder::~TPictureFolder() {
    stopLoader();
}

void TPictureFolder::stopLoader() {
    if (loader_)
        loader_->Stop(); // returns at once; no result arrives after it
    loader_.reset();
}

bool TPictureFolder::SetFolder(const QString& folder) {
    folder_ = folder;
    Refresh();
    return readable_;
}

void TPictureFolder::Refresh() {
    stopLoader();
    ++listing_;
    pictures_.Clear();
    bytes_ = 0;
    PictureListing::TListing listing = PictureListing::List(folder_);
    readable_ = listing.Readable;
    std::vector<QString> paths;
    paths.reserve(listing.Items.size());
    for (TShellItem& item : listing.Items) {
        paths.push_back(item.Path);
        pictures_.Add(std::move(item));
    }
    if (!paths.empty()) {
        TThumbLoadThread::TMaker maker = maker_;
        if (!maker) {
            Thumbnails::TThumbOptions options;
            options.UseCache = useCache_;
            maker = [options](const QString& path, QSize box) {
                return Thumbnails::Make(path, box, options);
            };
        }
        const quint64 listing = listing_;
        // Runs on a worker: the result travels to this object's thread as a queued call.
        auto post = [this, listing](int index, const Thumbnails::TThumbResult& result) {
            QMetaObject::invokeMethod(
                this, [this, listing, index, result] { deliver(listing, index, result); },
                Qt::QueuedConnection);
        };
        loader_ = std::make_unique<TThumbLoadThread>(std::move(paths), box_, std::move(maker),
                                                     std::move(post), threads_);
    }
    emit Refreshed();
}

void TPictureFolder::SetBox(QSize box) {
    if (box == box_)
        return;
    box_ = box;
    Refresh();
}

void TPictureFolder::deliver(quint64 listing, int index, const Thumbnails::TThumbResult& result) {
    if (listing != listing_ || index < 0 || index >= pictures_.Count())
        return; // from a folder shown before
    TPicData& item = pictures_.At(index);
    if (item.State == TThumbState::Ready)
        return;
    item.PicWidth = std::max(0, result.PicSize.width());
    item.PicHeight = std::max(0, result.PicSize.height());
    item.PixelFormat = result.PixelFormat;
    if (!result.ok() || result.Image.isNull()) {
        // Never made again in this listing: each repaint would ask for it anew.
        item.State = TThumbState::Failed;
    } else {
        item.Thumbnail = result.Image;
        item.State = TThumbState::Ready;
        item.LastDrawn = ++drawClock_;
        bytes_ += item.Thumbnail.sizeInBytes();
        trim();
    }
    emit ThumbnailReady(index);
}

void TPictureFolder::trim() {
    if (bytes_ <= maxBytes_)
        return;
    // Down to seven eighths, so that the next few thumbnails do not trim again.
    std::vector<TPicData*> ready;
    for (int i = 0; i < pictures_.Count(); ++i)
        if (pictures_.At(i).State == TThumbState::Ready)
            ready.push_back(&pictures_.At(i));
    std::sort(ready.begin(), ready.end(),
              [](const TPicData* a, const TPicData* b) { return a->LastDrawn < b->LastDrawn; });
    const qint64 goal = maxBytes_ / 8 * 7;
    for (TPicData* item : ready) {
        if (bytes_ <= goal)
            break;
        bytes_ -= item->Thumbnail.sizeInBytes();
        item->Thumbnail = QImage();
        item->State = TThumbState::Pending;
        if (loader_)
            loader_->Forget(item->Index);
    }
}

QImage TPictureFolder::Thumbnail(int index) {
    if (index < 0 || index >= pictures_.Count())
        return QImage();
    TPicData& item = pictures_.At(index);
    if (item.State != TThumbState::Ready)
        return QImage();
    item.LastDrawn = ++drawClock_;
    return item.Thumbnail;
}

void TPictureFolder::Request(int index) {
    if (!loader_ || index < 0 || index >= pictures_.Count())
        return;
    if (pictures_.At(index).State == TThumbState::Pending)
        loader_->Request(index);
}
