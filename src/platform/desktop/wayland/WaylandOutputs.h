#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

struct wl_output;

namespace desktop {

// The compositor's outputs in its global logical coordinates (y downwards), in the order it
// announced them. Main thread only.
class WaylandOutputs {
public:
    struct Output {
        uint32_t name = 0;
        wl_output* output = nullptr;
        platform::Rect rect;  // logical
        int32_t scale = 1;
        double refreshRate = 60;
        bool done = false;  // the compositor has described it
    };

    WaylandOutputs() = default;
    ~WaylandOutputs();
    WaylandOutputs(const WaylandOutputs&) = delete;
    WaylandOutputs& operator=(const WaylandOutputs&) = delete;

    void add(uint32_t name, wl_output* output);
    void remove(uint32_t name);

    // The described outputs; the first is the main one.
    std::vector<Output> all() const;
    // The output that holds most of `rect`, else the first; nothing without outputs.
    const Output* bestFor(const platform::Rect& rect) const;

private:
    static void geometry(void* data, wl_output* output, int32_t x, int32_t y, int32_t, int32_t,
                         int32_t, const char*, const char*, int32_t);
    static void mode(void* data, wl_output* output, uint32_t flags, int32_t width, int32_t height,
                     int32_t refresh);
    static void done(void* data, wl_output* output);
    static void scale(void* data, wl_output* output, int32_t factor);
    Output* find(wl_output* output);

    std::vector<Output> outputs_;
    platform::Size pixels_;  // the mode being described, before the scale divides it
};

}  // namespace desktop
