#include "desktop/wayland/MainQueueThread.h"

#include <future>

MainQueueThread::MainQueueThread() : thread_([this] { run(); }) {}

MainQueueThread::~MainQueueThread() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void MainQueueThread::mainAsyncAfter(double seconds, Task task) {
    const auto when = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(seconds > 0 ? seconds : 0));
    {
        std::lock_guard lock(mutex_);
        queue_.emplace(when, std::move(task));
    }
    changed_.notify_all();
}

void MainQueueThread::runAndWait(const Task& task) {
    std::promise<void> done;
    mainAsync([&] {
        task();
        done.set_value();
    });
    done.get_future().wait();
}

void MainQueueThread::run() {
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (queue_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto next = queue_.begin();
        if (next->first > Clock::now()) {
            changed_.wait_until(lock, next->first);
            continue;
        }
        Task task = std::move(next->second);
        queue_.erase(next);
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
    }
}
