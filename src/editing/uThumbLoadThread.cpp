#include "editing/uThumbLoadThread.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <list>
#include <mutex>
#include <thread>

namespace {

enum class TItemState { Idle, Waiting, Busy, Done };

} // namespace

struct TThumbLoadThread::TShared {
    std::vector<QString> paths;
    QSize box;
    TMaker maker;
    TDeliver deliver;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::list<int> stack; // front = top
    std::vector<TItemState> state;
    std::vector<std::list<int>::iterator> place;
    bool stopping = false;
    std::atomic<int> running{0}; // workers that have not returned yet

    // Held while a result is delivered, so that Stop knows none is under way when it returns.
    std::mutex deliverMutex;
    bool delivering = true;

    void push(int index) { // mutex held
        state[size_t(index)] = TItemState::Waiting;
        stack.push_front(index);
        place[size_t(index)] = stack.begin();
    }

    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
            stack.clear();
        }
        wake.notify_all();
        // A delivery under way finishes (it only posts); none starts after this.
        std::lock_guard<std::mutex> guard(deliverMutex);
        delivering = false;
    }

    void run() {
        struct TLeave {
            std::atomic<int>& running;
            ~TLeave() { --running; }
        } leave{running};
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || !stack.empty(); });
            if (stopping)
                return;
            const int index = stack.front();
            stack.pop_front();
            state[size_t(index)] = TItemState::Busy;
            lock.unlock();
            const Thumbnails::TThumbResult result = maker(paths[size_t(index)], box);
            lock.lock();
            if (stopping)
                return;
            state[size_t(index)] = TItemState::Done;
            lock.unlock();
            {
                std::lock_guard<std::mutex> guard(deliverMutex);
                if (delivering)
                    deliver(index, result);
            }
            lock.lock();
        }
    }
};

namespace {

// Every loader's workers. They end on their own after their current decode once their loader
// stops; whoever needs them gone (the end of the process, a test) joins them.
class TWorkers {
public:
    static TWorkers& instance() {
        static TWorkers workers;
        return workers;
    }
    TWorkers() {
        // A decode still under way uses Qt's image readers, which go with the application:
        // the workers end before it does, not at the end of the process.
        qAddPostRoutine([] { instance().JoinAll(); });
    }
    ~TWorkers() { JoinAll(); }

    void Add(std::shared_ptr<TThumbLoadThread::TShared> shared, std::vector<std::thread> threads) {
        std::lock_guard<std::mutex> lock(mutex_);
        // Workers of stopped loaders that have returned are joined at once, freeing their paths.
        std::erase_if(entries_, [](TEntry& entry) {
            if (entry.shared->running > 0)
                return false;
            for (std::thread& t : entry.threads)
                t.join();
            return true;
        });
        entries_.push_back({std::move(shared), std::move(threads)});
    }
    // Stops every loader that still runs, then waits for all workers.
    void JoinAll() {
        std::vector<TEntry> entries;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            entries.swap(entries_);
        }
        for (TEntry& entry : entries) {
            entry.shared->stop();
            for (std::thread& t : entry.threads)
                if (t.joinable())
                    t.join();
        }
    }

private:
    struct TEntry {
        std::shared_ptr<TThumbLoadThread::TShared> shared;
        std::vector<std::thread> threads;
    };
    std::mutex mutex_;
    std::vector<TEntry> entries_;
};

} // namespace

int TThumbLoadThread::DefaultThreadCount() {
    return std::max(1, QThread::idealThreadCount() - 1);
}

TThumbLoadThread::TThumbLoadThread(std::vector<QString> paths, QSize box, TMaker maker, TDeliver deliver,
                                   int threads)
    : shared_(std::make_shared<TShared>()), threads_(std::max(1, threads)) {
    TShared& s = *shared_;
    s.paths = std::move(paths);
    s.box = box;
    s.maker = std::move(maker);
    s.deliver = std::move(deliver);
    const int count = int(s.paths.size());
    s.state.assign(size_t(count), TItemState::Idle);
    s.place.resize(size_t(count));
    for (int i = count - 1; i >= 0; --i)
        s.push(i);
    std::vector<std::thread> workers;
    s.running = threads_;
    for (int t = 0; t < threads_; ++t)
        workers.emplace_back([shared = shared_] { shared->run(); });
    // The threads belong to the process's list of workers from the start, so that stopping never
    // has to wait for them.
    TWorkers::instance().Add(shared_, std::move(workers));
}

TThumbLoadThread::~TThumbLoadThread() {
    Stop();
}

void TThumbLoadThread::Request(int index) {
    TShared& s = *shared_;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.stopping || index < 0 || index >= int(s.state.size()))
        return;
    switch (s.state[size_t(index)]) {
    case TItemState::Waiting:
        s.stack.splice(s.stack.begin(), s.stack, s.place[size_t(index)]);
        break;
    case TItemState::Idle:
        s.push(index);
        s.wake.notify_one();
        break;
    default:
        break;
    }
}

void TThumbLoadThread::Forget(int index) {
    TShared& s = *shared_;
    std::lock_guard<std::mutex> lock(s.mutex);
    if (index >= 0 && index < int(s.state.size()) && s.state[size_t(index)] == TItemState::Done)
        s.state[size_t(index)] = TItemState::Idle;
}

void TThumbLoadThread::Stop() {
    shared_->stop();
}

std::vector<int> TThumbLoadThread::Waiting() const {
    const TShared& s = *shared_;
    std::lock_guard<std::mutex> lock(s.mutex);
    return std::vector<int>(s.stack.begin(), s.stack.end());
}

void TThumbLoadThread::JoinStopped() {
    TWorkers::instance().JoinAll();
}
