#pragma once

#include <string_view>

namespace platform {

class Layer;

// Groups layer changes; inside a transaction with actions disabled they take effect
// without implicit animation. Main thread only. Transactions nest; an inner one starts
// with the outer one's setting.
class Transaction {
public:
    virtual ~Transaction() = default;

    virtual void begin() = 0;
    virtual void setDisableActions(bool flag) = 0;
    virtual void commit() = 0;
    virtual bool disableActions() const = 0;

    // Every layer reports each property change here, so the backend can redraw (and
    // animate unless actions are disabled).
    virtual void layerDidChange(const Layer& layer, std::string_view property) = 0;
};

}  // namespace platform
