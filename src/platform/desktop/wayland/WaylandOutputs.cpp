#include "platform/desktop/wayland/WaylandOutputs.h"

#include <wayland-client.h>

#include <algorithm>

#include "xdg-output-unstable-v1-client-protocol.h"

namespace desktop {
namespace {

double overlap(const platform::Rect& a, const platform::Rect& b) {
    const double w = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
    const double h = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

WaylandOutputs::~WaylandOutputs() {
    for (const Output& output : outputs_) {
        if (output.xdg != nullptr) zxdg_output_v1_destroy(output.xdg);
        wl_output_destroy(output.output);
    }
    if (manager_ != nullptr) zxdg_output_manager_v1_destroy(manager_);
}

void WaylandOutputs::useXdgOutput(zxdg_output_manager_v1* manager) {
    manager_ = manager;
    for (Output& output : outputs_)
        describe(output);
}

// The xdg-output's events find their output by its wl_output, which stays put while the
// vector of outputs may move.
void WaylandOutputs::describe(Output& output) {
    if (manager_ == nullptr || output.xdg != nullptr) return;
    output.xdg = zxdg_output_manager_v1_get_xdg_output(manager_, output.output);
    static const zxdg_output_v1_listener listener{
        [](void* data, zxdg_output_v1* xdg, int32_t x, int32_t y) {
            auto& self = *static_cast<WaylandOutputs*>(data);
            for (Output& o : self.outputs_)
                if (o.xdg == xdg)
                    o.reported = {double(x), double(y), o.reported.width, o.reported.height};
        },
        [](void* data, zxdg_output_v1* xdg, int32_t width, int32_t height) {
            auto& self = *static_cast<WaylandOutputs*>(data);
            for (Output& o : self.outputs_)
                if (o.xdg == xdg)
                    o.reported = {o.reported.x, o.reported.y, double(width), double(height)};
        },
        [](void* data, zxdg_output_v1* xdg) {
            auto& self = *static_cast<WaylandOutputs*>(data);
            for (Output& o : self.outputs_)
                if (o.xdg == xdg) self.settle(o);
        },
        [](void*, zxdg_output_v1*, const char*) {},
        [](void*, zxdg_output_v1*, const char*) {},
    };
    zxdg_output_v1_add_listener(output.xdg, &listener, this);
}

void WaylandOutputs::settle(Output& output) {
    if (output.reported.width > 0 && output.reported.height > 0) output.rect = output.reported;
    output.done = output.rect.width > 0 && output.rect.height > 0;
}

void WaylandOutputs::add(uint32_t name, wl_output* output) {
    static const wl_output_listener listener{&WaylandOutputs::geometry,
                                             &WaylandOutputs::mode,
                                             &WaylandOutputs::done,
                                             &WaylandOutputs::scale,
                                             [](void*, wl_output*, const char*) {},
                                             [](void*, wl_output*, const char*) {}};
    outputs_.push_back({name, output, nullptr, {}, {}, 1, 60, false});
    wl_output_add_listener(output, &listener, this);
    describe(outputs_.back());
}

void WaylandOutputs::remove(uint32_t name) {
    const auto found = std::find_if(outputs_.begin(), outputs_.end(),
                                    [name](const Output& o) { return o.name == name; });
    if (found == outputs_.end()) return;
    if (found->xdg != nullptr) zxdg_output_v1_destroy(found->xdg);
    wl_output_destroy(found->output);
    outputs_.erase(found);
}

std::vector<WaylandOutputs::Output> WaylandOutputs::all() const {
    std::vector<Output> described;
    for (const Output& output : outputs_)
        if (output.done) described.push_back(output);
    return described;
}

// A window across two outputs gets one panel, on the output that shows most of it.
const WaylandOutputs::Output* WaylandOutputs::bestFor(const platform::Rect& rect) const {
    const Output* best = nullptr;
    double most = -1;
    for (const Output& output : outputs_) {
        if (!output.done) continue;
        const double shown = overlap(rect, output.rect);
        if (shown > most) {
            best = &output;
            most = shown;
        }
    }
    return best;
}

void WaylandOutputs::geometry(void* data, wl_output* output, int32_t x, int32_t y, int32_t, int32_t,
                              int32_t, const char*, const char*, int32_t) {
    if (Output* found = static_cast<WaylandOutputs*>(data)->find(output)) {
        found->rect.x = x;
        found->rect.y = y;
    }
}

void WaylandOutputs::mode(void* data, wl_output* output, uint32_t flags, int32_t width,
                          int32_t height, int32_t refresh) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    auto& self = *static_cast<WaylandOutputs*>(data);
    self.pixels_ = {double(width), double(height)};
    if (Output* found = self.find(output); found != nullptr && refresh > 0)
        found->refreshRate = refresh / 1000.0;
}

void WaylandOutputs::done(void* data, wl_output* output) {
    auto& self = *static_cast<WaylandOutputs*>(data);
    if (Output* found = self.find(output)) {
        if (self.pixels_.width > 0) {
            found->rect.width = self.pixels_.width / found->scale;
            found->rect.height = self.pixels_.height / found->scale;
        }
        self.settle(*found);
    }
}

void WaylandOutputs::scale(void* data, wl_output* output, int32_t factor) {
    if (Output* found = static_cast<WaylandOutputs*>(data)->find(output))
        found->scale = std::max(factor, 1);
}

WaylandOutputs::Output* WaylandOutputs::find(wl_output* output) {
    const auto found = std::find_if(outputs_.begin(), outputs_.end(),
                                    [output](const Output& o) { return o.output == output; });
    return found != outputs_.end() ? &*found : nullptr;
}

}  // namespace desktop
