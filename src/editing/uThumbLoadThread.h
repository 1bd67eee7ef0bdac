#pragma once

// The thumbnail loader of a picture list: worker threads that make thumbnails from a stack of
// requests, last in first out, so that what the list paints last (the items on screen) comes
// first. At creation every item is stacked from the last to the first, so the first item is made
// first. Each result goes to a delivery function, which the list uses to post it to its own thread.
//
// Stop returns at once: the workers are told to stop and no result is delivered once it has
// returned; a decode that is running finishes on its own and its result is dropped. The workers
// hold their own share of the paths, so the list may refill itself right away.

#include "platform/uThumbnail.h"

#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TThumbLoadThread {
public:
    using TMaker = std::function<Thumbnails::TThumbResult(const QString& path, QSize box)>;
    using TDeliver = std::function<void(int index, const Thumbnails::TThumbResult& result)>;

    // Up to processor cores − 1 workers, at least one.
    static int DefaultThreadCount();

    TThumbLoadThread(std::vector<QString> paths, QSize box, TMaker maker, TDeliver deliver,
                     int threads = DefaultThreadCount());
    ~TThumbLoadThread(); // stops, never waits
    TThumbLoadThread(const TThumbLoadThread&) = delete;
    TThumbLoadThread& operator=(const TThumbLoadThread&) = delete;

    // Puts an item on top of the stack, moving it there when it waits already; an item being made
    // or made already is left alone.
    void Request(int index);
    // A made item may be requested again (its thumbnail was let go).
    void Forget(int index);
    void Stop();

    // The waiting items, top first.
    std::vector<int> Waiting() const;
    int ThreadCount() const { return threads_; }

    // Stops every loader and waits for all workers (at the end of the process and in tests).
    static void JoinStopped();

    struct TShared;

private:
    std::shared_ptr<TShared> shared_;
    int threads_;
};
