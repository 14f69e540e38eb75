#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Dispatch.h"
#include "platform/desktop/DesktopWorkerPool.h"

class QObject;

namespace desktop {

// The main queue runs in the toolkit's event loop; the global queue is a small pool.
class DesktopDispatch : public platform::Dispatch {
public:
    DesktopDispatch();
    ~DesktopDispatch() override;

    void mainAsync(Task task) override;
    void mainAsyncAfter(double seconds, Task task) override;
    void globalAsync(Task task) override;
    bool isMainThread() const override;

private:
    void drain();

    const std::thread::id mainThread_;
    std::unique_ptr<QObject> receiver_;  // lives on the main thread
    std::mutex mutex_;                   // guards queue_ and wakePending_
    std::deque<Task> queue_;
    bool wakePending_ = false;
    DesktopWorkerPool pool_{3};
};

}  // namespace desktop
