#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/DisplayLink.h"
#include "platform/desktop/ChangeSignal.h"

namespace desktop {

// A thread of its own that calls the handler at the refreshes of the main display. What the
// handler polls (other windows' rectangles) changes only when the session's window model
// does, so a refresh without a change since the last call is skipped: a still desktop costs
// no wake-ups at all.
class PacedDisplayLink : public platform::DisplayLink {
public:
    PacedDisplayLink(double rate, ChangeSignal& changes)
        : period_(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
              std::chrono::duration<double>(1.0 / rate))),
          changes_(changes) {}
    ~PacedDisplayLink() override;

    int32_t setOutputHandler(OutputHandler handler) override;

    int32_t start() override;

    int32_t stop() override;

    bool isRunning() const override;

private:
    // One call at the first refresh, then one at the refresh after each change.
    void loop();

    // Sleeps until the next refresh after now; false when stopped meanwhile.
    bool waitForRefresh(std::chrono::steady_clock::time_point origin);

    bool callHandler();

    const std::chrono::steady_clock::duration period_;
    ChangeSignal& changes_;
    mutable std::mutex mutex_;  // guards handler_, running_ and thread_
    std::condition_variable wake_;
    OutputHandler handler_;
    bool running_ = false;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace desktop
