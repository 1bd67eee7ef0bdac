#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A few worker threads running jobs in the order they were posted. The threads start with the first
// job. Destroying the queue drops the jobs that have not started and waits for the running ones.
class TWorkQueue {
public:
    // At least one thread; 0 means one per processor core.
    explicit TWorkQueue(int threads = 0);
    ~TWorkQueue();
    TWorkQueue(const TWorkQueue&) = delete;
    TWorkQueue& operator=(const TWorkQueue&) = delete;

    void Post(std::function<void()> job);
    int ThreadCount() const { return threadCount_; }

private:
    void run();

    int threadCount_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    std::vector<std::thread> threads_;
    bool stopping_ = false;
};
