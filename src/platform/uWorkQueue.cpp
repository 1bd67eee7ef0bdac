#include "platform/uWorkQueue.h"

#include <algorithm>

TWorkQueue::TWorkQueue(int threads)
    : threadCount_(threads > 0 ? threads
                               : std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {}

TWorkQueue::~TWorkQueue() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void TWorkQueue::Post(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
        if (static_cast<int>(threads_.size()) < threadCount_)
            threads_.emplace_back([this] { run(); });
    }
    wake_.notify_one();
}

void TWorkQueue::run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_)
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}
