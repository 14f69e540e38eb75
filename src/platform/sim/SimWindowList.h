#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/WindowList.h"

namespace sim {

class SimDesktop;

// The window server's records of the desktop's windows, read at each call. Display-link
// handlers call it from their own threads, but only while the main thread waits for
// them in a refresh, so the desktop's window model needs no lock of its own.
class SimWindowList : public platform::WindowList {
public:
    explicit SimWindowList(SimDesktop& desktop) : desktop_(desktop) {}

    bool copyWindowInfo(uint32_t option, uint32_t windowID,
                        std::vector<platform::WindowInfo>& list) override;

    // --- control (main thread) -------------------------------------------------------
    // When false, every query gives nothing.
    bool answers = true;
    // Leaves out one key ("X", "Y", "Width", "Height") of a window's bounds entry.
    void omitBoundsKey(uint32_t window, std::string_view key);
    // Leaves out the whole bounds entry of a window's record.
    void omitBounds(uint32_t window) { omitted_[window].bounds = true; }
    void restoreBounds(uint32_t window) { omitted_.erase(window); }

private:
    struct Omitted {
        bool bounds = false, x = false, y = false, width = false, height = false;
    };

    platform::WindowInfo record(uint32_t number, const platform::Rect& frame) const;

    SimDesktop& desktop_;
    std::map<uint32_t, Omitted> omitted_;
};

}  // namespace sim
