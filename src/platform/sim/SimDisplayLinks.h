#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/DisplayLink.h"
#include "platform/sim/SimDisplayLink.h"

namespace sim {

// Makes display links and paces them: each simulated refresh runs every started link's
// handler once, each on its link's thread, and returns when all have finished.
class SimDisplayLinks : public platform::DisplayLinks {
public:
    std::shared_ptr<platform::DisplayLink> createWithActiveDisplays() override;

    // --- control ---------------------------------------------------------------------
    // When false, no link can be made.
    bool available = true;
    void refresh(int count = 1);
    // The links still alive, oldest first.
    std::vector<std::shared_ptr<SimDisplayLink>> all() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::weak_ptr<SimDisplayLink>> links_;
};

}  // namespace sim
