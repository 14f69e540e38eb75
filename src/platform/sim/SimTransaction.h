#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Layer.h"
#include "platform/Transaction.h"

namespace sim {

// Layer transactions, and a record of every layer change with the transaction it was in.
class SimTransaction : public platform::Transaction {
public:
    struct Change {
        std::weak_ptr<const platform::Layer> layer;
        std::string property;
        bool inTransaction = false;
        bool actionsDisabled = false;
    };

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
    std::vector<bool> open_;  // the disable-actions setting of each open transaction
    std::vector<Change> changes_;
};

}  // namespace sim
