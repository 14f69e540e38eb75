#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

namespace sim {

// The simulated main thread's queue and the manual clock that drives it. Work may be
// posted from any thread; it runs only when the owner drains the queue on the main thread.
class SimRunLoop {
public:
    using Task = std::function<void()>;
    // Which program copy posted a task; its work is dropped once that copy has ended.
    using Owner = int32_t;

    SimRunLoop();

    double now() const { return now_.load(); }
    bool isMainThread() const { return std::this_thread::get_id() == mainThread_; }

    void post(Owner owner, double delay, Task task);
    // Runs every task that is due now, including those they post; returns how many ran.
    size_t runDue(const std::function<bool(Owner)>& ownerAlive,
                  const std::function<void(Owner)>& enter);
    // The due time of the next task, if any.
    bool nextDue(double& due) const;
    void setNow(double seconds) { now_.store(seconds); }

private:
    using Key = std::tuple<double, uint64_t>;
    struct Entry {
        Owner owner;
        Task task;
    };

    bool popDue(Owner& owner, Task& task);

    std::thread::id mainThread_;
    std::atomic<double> now_{0};
    mutable std::mutex mutex_;
    std::map<Key, Entry> queue_;
    uint64_t nextSeq_ = 0;
};

}  // namespace sim
