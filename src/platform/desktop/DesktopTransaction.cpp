#include "platform/desktop/DesktopTransaction.h"

#include "platform/Layer.h"

namespace desktop {

void DesktopTransaction::begin() {
    disabled_.push_back(disableActions());  // an inner one starts with the outer's setting
}

void DesktopTransaction::setDisableActions(bool flag) {
    if (!disabled_.empty()) disabled_.back() = flag;
}

void DesktopTransaction::commit() {
    if (disabled_.empty()) return;
    disabled_.pop_back();
    if (disabled_.empty()) flush();
}

bool DesktopTransaction::disableActions() const {
    return !disabled_.empty() && disabled_.back();
}

void DesktopTransaction::layerDidChange(const platform::Layer& layer, std::string_view) {
    const platform::Layer* root = &layer;
    for (auto parent = layer.superlayer(); parent; parent = parent->superlayer())
        root = parent.get();
    if (!trees_.contains(root)) return;  // not shown in any window
    dirty_.insert(root);
    if (disabled_.empty()) flush();
}

void DesktopTransaction::addTree(const platform::Layer* root, Redraw redraw) {
    trees_[root] = std::move(redraw);
}

void DesktopTransaction::removeTree(const platform::Layer* root) {
    trees_.erase(root);
    dirty_.erase(root);
}

void DesktopTransaction::flush() {
    const std::set<const platform::Layer*> dirty = std::exchange(dirty_, {});
    for (const platform::Layer* root : dirty)
        if (const auto found = trees_.find(root); found != trees_.end()) {
            const Redraw redraw = found->second;  // a redraw may change the trees
            redraw();
        }
}

}  // namespace desktop
