#include "platform/sim/SimWorkerPool.h"

namespace sim {

SimWorkerPool::SimWorkerPool(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i)
        threads_.emplace_back([this] { work(); });
}

SimWorkerPool::~SimWorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& thread : threads_)
        thread.join();
}

void SimWorkerPool::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

bool SimWorkerPool::waitIdle() {
    std::unique_lock lock(mutex_);
    const bool hadWork = !tasks_.empty() || busy_ > 0;
    idle_.wait(lock, [this] { return tasks_.empty() && busy_ == 0; });
    return hadWork;
}

void SimWorkerPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty()) return;  // stopping with nothing left
        Task task = std::move(tasks_.front());
        tasks_.pop_front();
        ++busy_;
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
        --busy_;
        if (tasks_.empty() && busy_ == 0) idle_.notify_all();
    }
}

}  // namespace sim
