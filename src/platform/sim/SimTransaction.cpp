#include "platform/sim/SimTransaction.h"

namespace sim {

void SimTransaction::begin() {
    open_.push_back(disableActions());
}

// Outside any transaction the change belongs to the implicit one, which animates.
void SimTransaction::setDisableActions(bool flag) {
    if (!open_.empty()) open_.back() = flag;
}

void SimTransaction::commit() {
    if (open_.empty()) return;  // an unbalanced commit changes nothing
    open_.pop_back();
}

bool SimTransaction::disableActions() const {
    return !open_.empty() && open_.back();
}

void SimTransaction::layerDidChange(const platform::Layer& layer, std::string_view property) {
    if (changes_.size() >= 2 * keptChanges) trim();
    changes_.push_back(
        {layer.weak_from_this(), std::string(property), !open_.empty(), disableActions()});
}

void SimTransaction::trim() {
    std::erase_if(changes_, [](const Change& change) { return change.layer.expired(); });
    if (changes_.size() > keptChanges)
        changes_.erase(changes_.begin(), changes_.end() - static_cast<std::ptrdiff_t>(keptChanges));
}

std::vector<SimTransaction::Change> SimTransaction::changesOf(const platform::Layer& layer,
                                                              std::string_view property) const {
    std::vector<Change> found;
    for (const auto& change : changes_) {
        if (change.property != property) continue;
        if (change.layer.lock().get() == &layer) found.push_back(change);
    }
    return found;
}

}  // namespace sim
