#include "platform/desktop/DesktopDispatch.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cmath>

namespace desktop {

DesktopDispatch::DesktopDispatch()
    : mainThread_(std::this_thread::get_id()), receiver_(std::make_unique<QObject>()) {}

DesktopDispatch::~DesktopDispatch() = default;

// One wake-up call for any number of tasks queued before the loop gets to them.
void DesktopDispatch::mainAsync(Task task) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
        if (wakePending_) return;
        wakePending_ = true;
    }
    QMetaObject::invokeMethod(
        receiver_.get(), [this] { drain(); }, Qt::QueuedConnection);
}

void DesktopDispatch::drain() {
    std::deque<Task> tasks;
    {
        std::lock_guard lock(mutex_);
        tasks.swap(queue_);
        wakePending_ = false;
    }
    for (Task& task : tasks)
        task();
}

void DesktopDispatch::mainAsyncAfter(double seconds, Task task) {
    const double ms = std::isfinite(seconds) ? std::max(0.0, seconds * 1000) : 0;
    const auto delay = std::chrono::milliseconds(static_cast<int64_t>(std::min(ms, 2e9)));
    mainAsync([this, delay, task = std::move(task)]() mutable {
        QTimer::singleShot(delay, Qt::PreciseTimer, receiver_.get(), std::move(task));
    });
}

void DesktopDispatch::globalAsync(Task task) {
    pool_.post(std::move(task));
}

bool DesktopDispatch::isMainThread() const {
    return std::this_thread::get_id() == mainThread_;
}

}  // namespace desktop
