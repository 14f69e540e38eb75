#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

// Real threads standing in for the desktop's background queues: work posted here never
// runs on the poster's thread. The owner can wait until nothing is queued or running.
class SimWorkerPool {
public:
    using Task = std::function<void()>;

    explicit SimWorkerPool(unsigned threads);
    ~SimWorkerPool();
    SimWorkerPool(const SimWorkerPool&) = delete;
    SimWorkerPool& operator=(const SimWorkerPool&) = delete;

    void post(Task task);
    // True when something was queued or running at the call.
    bool waitIdle();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Task> tasks_;
    unsigned busy_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace sim
