#include "platform/sim/SimRunLoop.h"

namespace sim {

SimRunLoop::SimRunLoop() : mainThread_(std::this_thread::get_id()) {}

void SimRunLoop::post(Owner owner, double delay, Task task) {
    std::lock_guard lock(mutex_);
    const double due = now_.load() + (delay > 0 ? delay : 0);
    queue_.emplace(Key{due, nextSeq_++}, Entry{owner, std::move(task)});
}

bool SimRunLoop::popDue(Owner& owner, Task& task) {
    std::lock_guard lock(mutex_);
    if (queue_.empty() || std::get<0>(queue_.begin()->first) > now_.load()) return false;
    auto node = queue_.extract(queue_.begin());
    owner = node.mapped().owner;
    task = std::move(node.mapped().task);
    return true;
}

size_t SimRunLoop::runDue(const std::function<bool(Owner)>& ownerAlive,
                          const std::function<void(Owner)>& enter) {
    size_t ran = 0;
    Owner owner = 0;
    Task task;
    while (popDue(owner, task)) {
        if (!ownerAlive(owner)) continue;
        enter(owner);
        task();
        task = nullptr;  // release what the task held before the next one runs
        ++ran;
    }
    return ran;
}

bool SimRunLoop::nextDue(double& due) const {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    due = std::get<0>(queue_.begin()->first);
    return true;
}

}  // namespace sim
