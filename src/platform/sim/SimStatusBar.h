#pragma once

#include "platform/StatusBar.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

class SimStatusBar : public platform::StatusBar {
public:
    explicit SimStatusBar(SimDesktop& desktop) : desktop_(desktop) {}
    std::shared_ptr<platform::StatusItem> statusItem(double length) override {
        return desktop_.shell.menuBar.addItem(desktop_.currentProcess().pid, length);
    }

private:
    SimDesktop& desktop_;
};

}  // namespace sim
