#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace desktop {

// The global concurrent queue: a few threads that run posted work in order of posting.
class DesktopWorkerPool {
public:
    using Task = std::function<void()>;

    explicit DesktopWorkerPool(unsigned threads);
    ~DesktopWorkerPool();
    DesktopWorkerPool(const DesktopWorkerPool&) = delete;
    DesktopWorkerPool& operator=(const DesktopWorkerPool&) = delete;

    void post(Task task);

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace desktop
