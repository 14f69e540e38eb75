#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pinning/MirrorPanel.h"
#include "platform/ShareableContent.h"

// The pinned windows, and every pin and unpin request. Main thread only.
class PinManager {
public:
    static PinManager& shared();

    // In the order they were pinned; read by anyone, changed only by the operations below.
    std::vector<std::shared_ptr<MirrorPanel>> mirrors;
    // Invoked after every change of mirrors.
    std::function<void()> onPinChanged;

    // Unpins the frontmost application's earliest pinned window, or pins its front window.
    void toggleFrontmost();
    void pin(int32_t pid, const std::string& name);
    void unpin(uint32_t windowID);
    void unpinAll();

private:
    PinManager() = default;
    std::optional<platform::SCWindow> frontWindow(int32_t pid);
    void pinChanged();
};
