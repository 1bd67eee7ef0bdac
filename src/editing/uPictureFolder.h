#pragma once

// The model behind a thumbnail list: the picture files of one folder with their thumbnails, which
// a loader makes in the background. The list asks for the items it paints (they jump the queue)
// and hears ThumbnailReady when one was made. The thumbnails of one folder take at most a set
// amount of memory; beyond it the least recently drawn ones are let go and made again when seen.
//
// Nothing here waits for a decode: a new folder stops the old loader, whose results are dropped.

#include "editing/uPicList.h"
#include "editing/uThumbLoadThread.h"

#include <QObject>
#include <QSize>

#include <memory>

class TPictureFolder : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxThumbnailBytes = qint64(64) * 1024 * 1024;

    // `maker` makes one thumbnail (the real one unless a test gives its own); `threads` workers.
    explicit TPictureFolder(QSize box, TThumbLoadThread::TMaker maker = {},
                            int threads = TThumbLoadThread::DefaultThreadCount(), QObject* parent = nullptr);
    ~TPictureFolder() override;

    // Lists the folder and starts loading its thumbnails; false (and an empty list) when the
    // folder cannot be read.
    bool SetFolder(const QString& folder);
    // Lists the current folder again.
    void Refresh();
    void SetBox(QSize box);
    QSize Box() const { return box_; }
    const QString& Folder() const { return folder_; }
    bool Readable() const { return readable_; }

    int Count() const { return pictures_.Count(); }
    const TPicData& Item(int index) const { return pictures_.At(index); }
    // The item's thumbnail for drawing (null when none), which counts as drawn now.
    QImage Thumbnail(int index);
    // Asks for the item's thumbnail: it goes on top of the loader's stack unless it exists or failed.
    void Request(int index);

    qint64 ThumbnailBytes() const { return bytes_; }
    void SetMaxThumbnailBytes(qint64 bytes) { maxBytes_ = bytes; }
    // The loader of the current listing (tests look at its stack).
    const TThumbLoadThread* Loader() const { return loader_.get(); }

    // Turns off the shared thumbnail cache (the command line's --no-cache).
    void SetUseCache(bool use) { useCache_ = use; }

signals:
    void ThumbnailReady(int index);
    void Refreshed();

private:
    void stopLoader();
    void deliver(quint64 listing, int index, const Thumbnails::TThumbResult& result);
    void trim();

    QSize box_;
    TThumbLoadThread::TMaker maker_;
    int threads_;
    bool useCache_ = true;
    QString folder_;
    bool readable_ = false;
    TPicList pictures_;
    std::unique_ptr<TThumbLoadThread> loader_;
    quint64 listing_ = 0;
    quint64 drawClock_ = 0;
    qint64 bytes_ = 0;
    qint64 maxBytes_ = kMaxThumbnailBytes;
};
