#pragma once

#include "platform/Dispatch.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

class SimDispatch : public platform::Dispatch {
public:
    explicit SimDispatch(SimDesktop& desktop) : desktop_(desktop) {}
    void mainAsync(Task task) override { desktop_.postMain(0, std::move(task)); }
    void mainAsyncAfter(double seconds, Task task) override {
        desktop_.postMain(seconds, std::move(task));
    }
    void globalAsync(Task task) override { desktop_.postGlobal(std::move(task)); }
    bool isMainThread() const override { return desktop_.isMainThread(); }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
