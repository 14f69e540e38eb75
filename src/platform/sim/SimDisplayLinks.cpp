#include "platform/sim/SimDisplayLinks.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace sim {

std::shared_ptr<platform::DisplayLink> SimDisplayLinks::createWithActiveDisplays() {
    if (!available) return nullptr;
    auto link = std::make_shared<SimDisplayLink>();
    std::lock_guard lock(mutex_);
    std::erase_if(links_, [](const auto& weak) { return weak.expired(); });
    links_.push_back(link);
    return link;
}

std::vector<std::shared_ptr<SimDisplayLink>> SimDisplayLinks::all() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<SimDisplayLink>> alive;
    for (const auto& weak : links_)
        if (auto link = weak.lock()) alive.push_back(link);
    return alive;
}

void SimDisplayLinks::refresh(int count) {
    for (int i = 0; i < count; ++i) {
        std::vector<std::pair<std::shared_ptr<SimDisplayLink>, uint64_t>> pending;
        for (const auto& link : all())
            if (const auto ticket = link->requestRefresh()) pending.emplace_back(link, *ticket);
        for (const auto& [link, ticket] : pending)
            link->waitRefresh(ticket);
    }
}

}  // namespace sim
