#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "platform/Dispatch.h"

// A main queue on a thread of its own, for tests of services whose other side lives on the
// main thread: tasks run in order, delayed ones at their time; the global queue runs tasks
// on short-lived threads. Tasks still queued at the end are dropped unrun.
class MainQueueThread : public platform::Dispatch {
public:
    MainQueueThread();
    ~MainQueueThread() override;
    MainQueueThread(const MainQueueThread&) = delete;
    MainQueueThread& operator=(const MainQueueThread&) = delete;

    void mainAsync(Task task) override { mainAsyncAfter(0, std::move(task)); }
    void mainAsyncAfter(double seconds, Task task) override;
    void globalAsync(Task task) override { std::thread(std::move(task)).detach(); }
    bool isMainThread() const override { return std::this_thread::get_id() == thread_.get_id(); }

    // Runs the task on the main thread and waits for it.
    void runAndWait(const Task& task);

private:
    using Clock = std::chrono::steady_clock;
    void run();

    std::mutex mutex_;  // guards queue_ and ending_
    std::condition_variable changed_;
    std::multimap<Clock::time_point, Task> queue_;
    bool ending_ = false;
    std::thread thread_;
};
