#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/DisplayLink.h"

namespace sim {

// A display link with a real thread of its own that runs the handler once for each
// refresh the desktop asks for. The thread shares only `State` with the link, so a link
// released on its own thread can let the thread finish on its own.
class SimDisplayLink : public platform::DisplayLink {
public:
    SimDisplayLink();
    ~SimDisplayLink() override;
    SimDisplayLink(const SimDisplayLink&) = delete;
    SimDisplayLink& operator=(const SimDisplayLink&) = delete;

    int32_t setOutputHandler(OutputHandler handler) override;
    int32_t start() override;
    int32_t stop() override;
    bool isRunning() const override;

    // --- control ---------------------------------------------------------------------
    // Asks for one run of the handler; gives a ticket to wait for, nothing when stopped.
    std::optional<uint64_t> requestRefresh();
    // Waits until that run is over, or dropped because the link stopped.
    void waitRefresh(uint64_t ticket);

private:
    struct State {
        mutable std::mutex mutex;
        std::condition_variable changed;
        OutputHandler handler;
        bool running = false;   // between start() and stop()
        bool stopping = false;  // tells the thread to end
        uint64_t requested = 0;
        uint64_t done = 0;
        std::thread::id thread;
    };

    static void loop(const std::shared_ptr<State>& state);
    bool onOwnThread() const;
    void joinThread();

    std::shared_ptr<State> state_;
    std::thread thread_;  // started, joined and released by the link's owner only
};

}  // namespace sim
