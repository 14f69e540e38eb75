#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// The bounds entry of a window record: each key may be missing.
struct WindowBounds {
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> width;
    std::optional<double> height;
    bool operator==(const WindowBounds&) const = default;
};

// One window as the window server lists it (window-server coordinates).
struct WindowInfo {
    uint32_t number = 0;
    std::optional<WindowBounds> bounds;  // absent when the record has no bounds entry
    bool operator==(const WindowInfo&) const = default;
};

// The window server's list of windows. Safe to call from any thread.
class WindowList {
public:
    static constexpr uint32_t optionIncludingWindow = 8;

    virtual ~WindowList() = default;

    // Fills `list` with the records the option selects relative to `windowID` (with
    // optionIncludingWindow: that window's record, or none once it is gone). Gives false,
    // with `list` empty, when the window server gives nothing. Reusing one list keeps
    // repeated queries free of allocation.
    virtual bool copyWindowInfo(uint32_t option, uint32_t windowID,
                                std::vector<WindowInfo>& list) = 0;
};

}  // namespace platform
