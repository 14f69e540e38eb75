#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/Dispatch.h"
#include "platform/desktop/x11/X11Context.h"

// The main thread of an input test: the main connection of a context whose events go to
// its hub, and a main queue that only the test drains. Delays are not kept.
class InputMainLoop : public platform::Dispatch {
public:
    // A context on its own main connection, its window model started.
    static std::unique_ptr<desktop::X11Context> openContext(const std::string& display);

    explicit InputMainLoop(desktop::X11Context& context) : context_(context) {}

    void mainAsync(Task task) override;
    void mainAsyncAfter(double, Task task) override { mainAsync(std::move(task)); }
    void globalAsync(Task task) override { mainAsync(std::move(task)); }
    bool isMainThread() const override { return std::this_thread::get_id() == mainThread_; }

    size_t pending() const;
    // Hands out events and runs queued tasks until `done` holds; false at the deadline.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds deadline = std::chrono::seconds(5));
    // Hands out events only, leaving the queue as it is.
    void pumpEvents();
    // Hands out every event the server sent before this call.
    void syncEvents();

private:
    void runQueued();

    desktop::X11Context& context_;
    const std::thread::id mainThread_ = std::this_thread::get_id();
    mutable std::mutex mutex_;  // guards queue_
    std::deque<Task> queue_;
};
