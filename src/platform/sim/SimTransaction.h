#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Layer.h"
#include "platform/Transaction.h"

namespace sim {

// Layer transactions, and a record of the latest layer changes with the transaction each
// was in. Changes of layers that are gone are dropped, and only the latest keptChanges of
// the others are kept, so that a long session runs in flat memory.
class SimTransaction : public platform::Transaction {
public:
    struct Change {
        std::weak_ptr<const platform::Layer> layer;
        std::string property;
        bool inTransaction = false;
        bool actionsDisabled = false;
    };

    static constexpr size_t keptChanges = 4096;

    void begin() override;
    void setDisableActions(bool flag) override;
    void commit() override;
    bool disableActions() const override;
    void layerDidChange(const platform::Layer& layer, std::string_view property) override;

    // --- control ---------------------------------------------------------------------
    // The changes of one property of one layer, oldest first.
    std::vector<Change> changesOf(const platform::Layer& layer, std::string_view property) const;
    const std::vector<Change>& changes() const { return changes_; }
    void clearChanges() { changes_.clear(); }
    size_t depth() const { return open_.size(); }

private:
    void trim();

    std::vector<bool> open_;  // the disable-actions setting of each open transaction
    std::vector<Change> changes_;
};

}  // namespace sim
