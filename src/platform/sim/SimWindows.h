#pragma once

#include <memory>
#include <vector>

#include "platform/Windows.h"
#include "platform/sim/SimProgramWindow.h"

namespace sim {

// Makes this program's windows and keeps track of them (weakly) for tests and dumps.
class SimWindows : public platform::Windows {
public:
    SimWindows();

    std::shared_ptr<platform::Window> makeWindow(const platform::Rect& contentRect,
                                                 uint64_t styleMask, int backing,
                                                 bool defer) override;
    std::shared_ptr<platform::Window> makePanel(const platform::Rect& contentRect,
                                                uint64_t styleMask, int backing,
                                                bool defer) override;

    // --- control ---------------------------------------------------------------------
    // The windows still alive, oldest first.
    std::vector<std::shared_ptr<SimProgramWindow>> all() const;
    std::shared_ptr<SimProgramWindow> keyWindow() const;

private:
    // Outlives this object in the windows' key handlers, which may outlive the desktop.
    struct Registry {
        std::vector<std::weak_ptr<SimProgramWindow>> windows;
    };

    std::shared_ptr<platform::Window> make(const platform::Rect& contentRect, uint64_t styleMask,
                                           int backing, bool defer, bool panel);

    std::shared_ptr<Registry> registry_;
};

}  // namespace sim
