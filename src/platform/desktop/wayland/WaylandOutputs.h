#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

struct wl_output;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace desktop {

// The compositor's outputs in its global logical coordinates (y downwards), in the order it
// announced them: from xdg-output where the compositor offers it (a fractional scale makes
// the mode divided by the integer scale wrong), else from the output's own position, mode
// and scale. Main thread only.
class WaylandOutputs {
public:
    struct Output {
        uint32_t name = 0;
        wl_output* output = nullptr;
        zxdg_output_v1* xdg = nullptr;
        platform::Rect rect;      // logical
        platform::Rect reported;  // from xdg-output, when its size came
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
    // Asks for every output's logical place through xdg-output, now and for later outputs.
    void useXdgOutput(zxdg_output_manager_v1* manager);

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
    void describe(Output& output);
    void settle(Output& output);

    zxdg_output_manager_v1* manager_ = nullptr;
    std::vector<Output> outputs_;
    platform::Size pixels_;  // the mode being described, before the scale divides it
};

}  // namespace desktop
