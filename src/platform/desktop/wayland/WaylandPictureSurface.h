#pragma once

#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct wl_buffer;
struct wl_subsurface;
struct wl_surface;

namespace platform {
class SampleBuffer;
}  // namespace platform

namespace desktop {

class WaylandConnection;

// The captured picture on a subsurface below its panel, shown from the stream's own
// shared-memory buffer so that no frame is copied. A frame stays held, and its buffer away
// from the producer, until the compositor is done reading it. Its changes show with the
// panel's next commit. Main thread only.
class WaylandPictureSurface {
public:
    // Nothing when the compositor has no subsurfaces.
    static std::unique_ptr<WaylandPictureSurface> make(WaylandConnection& connection,
                                                       wl_surface* panel);
    ~WaylandPictureSurface();
    WaylandPictureSurface(const WaylandPictureSurface&) = delete;
    WaylandPictureSurface& operator=(const WaylandPictureSurface&) = delete;

    // Whether the sample borrows a stream buffer that the compositor can map.
    static bool shareable(const platform::SampleBuffer& sample);
    // The sample's pixels with their top-left corner at `at` in the panel; false, with
    // nothing changed, when they cannot be shared.
    bool show(const std::shared_ptr<platform::SampleBuffer>& sample, QPoint at);
    void hide();
    bool showing() const { return shown_ != nullptr; }
    // Frames the compositor still reads: for tests.
    size_t held() const;

private:
    struct Buffer {
        uint64_t name = 0;
        size_t offset = 0;
        size_t stride = 0;
        int width = 0;
        int height = 0;
        wl_buffer* buffer = nullptr;
        std::shared_ptr<platform::SampleBuffer> held;
    };

    WaylandPictureSurface(WaylandConnection& connection, wl_surface* surface,
                          wl_subsurface* subsurface);
    Buffer* bufferFor(const std::shared_ptr<platform::SampleBuffer>& sample);
    void forgetUnused(const Buffer& kept);

    WaylandConnection& connection_;
    wl_surface* surface_;
    wl_subsurface* subsurface_;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    Buffer* shown_ = nullptr;
    QPoint at_{-1, -1};
};

}  // namespace desktop
