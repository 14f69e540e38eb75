#pragma once

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/Transaction.h"

namespace desktop {

// Collects which of the program's windows have layers that changed, and asks each to
// redraw once the outermost transaction commits (at once outside a transaction).
// This desktop never animates implicit changes, so disabling actions changes nothing drawn.
class DesktopTransaction : public platform::Transaction {
public:
    using Redraw = std::function<void()>;

    void begin() override;
    void setDisableActions(bool flag) override;
    void commit() override;
    bool disableActions() const override;
    void layerDidChange(const platform::Layer& layer, std::string_view property) override;

    // The window whose layer tree starts at `root` redraws through `redraw`.
    void addTree(const platform::Layer* root, Redraw redraw);
    void removeTree(const platform::Layer* root);

private:
    void flush();

    std::vector<bool> disabled_;  // one entry per open transaction
    std::map<const platform::Layer*, Redraw> trees_;
    std::set<const platform::Layer*> dirty_;
};

}  // namespace desktop
