#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct wl_buffer;
struct wl_shm;

namespace desktop {

// One shared-memory buffer of 32-bit premultiplied ARGB pixels that the compositor reads
// (or, opaque, whose alpha it ignores); busy from its attach until the compositor releases
// it. Main thread only.
class WaylandShmBuffer {
public:
    // Nothing when the memory cannot be had.
    static std::unique_ptr<WaylandShmBuffer> make(wl_shm* shm, int width, int height,
                                                  bool opaque = false);
    ~WaylandShmBuffer();
    WaylandShmBuffer(const WaylandShmBuffer&) = delete;
    WaylandShmBuffer& operator=(const WaylandShmBuffer&) = delete;

    wl_buffer* buffer() const { return buffer_; }
    uint8_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return width_ * 4; }
    bool busy() const { return busy_; }
    void setBusy() { busy_ = true; }
    // What was last drawn into it, as its panel describes it; empty when nothing was.
    const std::vector<double>& drawn() const { return drawn_; }
    void setDrawn(std::vector<double> drawn) { drawn_ = std::move(drawn); }
    // Told when the compositor is done reading it.
    void onRelease(std::function<void()> released) { released_ = std::move(released); }

private:
    WaylandShmBuffer(int width, int height) : width_(width), height_(height) {}

    int width_;
    int height_;
    size_t size_ = 0;
    uint8_t* pixels_ = nullptr;
    wl_buffer* buffer_ = nullptr;
    bool busy_ = false;
    std::vector<double> drawn_;
    std::function<void()> released_;
};

}  // namespace desktop
