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
class PixelBuffer;
class SampleBuffer;
}  // namespace platform

namespace desktop {

class WaylandConnection;
class WaylandShmBuffer;

// The captured picture on a subsurface below its panel. A frame that borrows the stream's
// shared-memory buffer is shown from that very buffer, without a copy, and stays held (its
// buffer away from the producer) until the compositor is done reading it; any other frame
// is copied into a buffer of our own. Its changes show with the panel's next commit. Main
// thread only.
class WaylandPictureSurface {
public:
    // Nothing when the compositor has no subsurfaces.
    static std::unique_ptr<WaylandPictureSurface> make(WaylandConnection& connection,
                                                       wl_surface* panel);
    ~WaylandPictureSurface();
    WaylandPictureSurface(const WaylandPictureSurface&) = delete;
    WaylandPictureSurface& operator=(const WaylandPictureSurface&) = delete;

    // The sample's pixels, opaque, with their top-left corner at `at` in the panel; false,
    // with nothing changed, when there is no buffer for them.
    bool show(const std::shared_ptr<platform::SampleBuffer>& sample, QPoint at);
    void hide();

private:
    struct Shared {
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
    wl_buffer* shared(const std::shared_ptr<platform::SampleBuffer>& sample);
    Shared* sharedBuffer(const std::shared_ptr<platform::SampleBuffer>& sample);
    void forgetUnused(const Shared& kept);
    wl_buffer* copied(platform::PixelBuffer& pixels);

    WaylandConnection& connection_;
    wl_surface* surface_;
    wl_subsurface* subsurface_;
    std::vector<std::unique_ptr<Shared>> shared_;
    std::vector<std::unique_ptr<WaylandShmBuffer>> copies_;
    wl_buffer* shownBuffer_ = nullptr;
    std::weak_ptr<platform::SampleBuffer> shownSample_;
    QPoint at_{-1, -1};
};

}  // namespace desktop
