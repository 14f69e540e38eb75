#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Windows.h"
#include "platform/sim/SimProgramWindow.h"

namespace sim {

// Makes this program's windows and keeps track of them (weakly) for tests and dumps, each
// with the copy that made it.
class SimWindows : public platform::Windows {
public:
    using CurrentCopy = std::function<int32_t()>;

    explicit SimWindows(CurrentCopy currentCopy);

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
    // A copy ended: its windows leave the screen and the list.
    void releaseCopy(int32_t pid);

private:
    struct Entry {
        std::weak_ptr<SimProgramWindow> window;
        int32_t pid = 0;
    };
    // Outlives this object in the windows' key handlers, which may outlive the desktop.
    struct Registry {
        std::vector<Entry> windows;
    };

    std::shared_ptr<platform::Window> make(const platform::Rect& contentRect, uint64_t styleMask,
                                           int backing, bool defer, bool panel);

    CurrentCopy currentCopy_;
    std::shared_ptr<Registry> registry_;
};

}  // namespace sim
