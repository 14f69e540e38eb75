#include "platform/desktop/wayland/WaylandPictureSurface.h"

#include <wayland-client.h>

#include <algorithm>
#include <limits>

#include "platform/PixelBuffer.h"
#include "platform/desktop/wayland/PipeWireFrame.h"
#include "platform/desktop/wayland/WaylandConnection.h"

namespace desktop {
namespace {

PipeWireFrame* borrowedFrame(const platform::SampleBuffer& sample) {
    auto* frame = dynamic_cast<PipeWireFrame*>(sample.imageBuffer());
    return frame != nullptr && frame->borrowed() ? frame : nullptr;
}

// Buffers of another stream buffer than the ones in use are kept for when it comes back.
constexpr size_t kept = 16;

}  // namespace

std::unique_ptr<WaylandPictureSurface> WaylandPictureSurface::make(WaylandConnection& connection,
                                                                   wl_surface* panel) {
    if (connection.subcompositor() == nullptr || connection.shm() == nullptr || panel == nullptr)
        return nullptr;
    wl_surface* surface = wl_compositor_create_surface(connection.compositor());
    wl_subsurface* subsurface =
        wl_subcompositor_get_subsurface(connection.subcompositor(), surface, panel);
    // Below the panel, whose corners and borders cover the picture's edges; the panel alone
    // decides about the pointer.
    wl_subsurface_place_below(subsurface, panel);
    wl_region* empty = wl_compositor_create_region(connection.compositor());
    wl_surface_set_input_region(surface, empty);
    wl_region_destroy(empty);
    return std::unique_ptr<WaylandPictureSurface>(
        new WaylandPictureSurface(connection, surface, subsurface));
}

WaylandPictureSurface::WaylandPictureSurface(WaylandConnection& connection, wl_surface* surface,
                                             wl_subsurface* subsurface)
    : connection_(connection), surface_(surface), subsurface_(subsurface) {}

WaylandPictureSurface::~WaylandPictureSurface() {
    wl_subsurface_destroy(subsurface_);
    wl_surface_destroy(surface_);
    for (const auto& buffer : buffers_)
        wl_buffer_destroy(buffer->buffer);
}

bool WaylandPictureSurface::shareable(const platform::SampleBuffer& sample) {
    return borrowedFrame(sample) != nullptr;
}

bool WaylandPictureSurface::show(const std::shared_ptr<platform::SampleBuffer>& sample, QPoint at) {
    Buffer* buffer = sample ? bufferFor(sample) : nullptr;
    if (buffer == nullptr) return false;
    if (at != at_) wl_subsurface_set_position(subsurface_, at.x(), at.y());
    at_ = at;
    if (buffer != shown_ || buffer->held != sample) {
        wl_surface_attach(surface_, buffer->buffer, 0, 0);
        wl_surface_damage(surface_, 0, 0, buffer->width, buffer->height);
    }
    buffer->held = sample;
    shown_ = buffer;
    wl_surface_commit(surface_);
    forgetUnused(*buffer);
    return true;
}

void WaylandPictureSurface::hide() {
    if (shown_ == nullptr) return;
    wl_surface_attach(surface_, nullptr, 0, 0);
    wl_surface_commit(surface_);
    shown_ = nullptr;
}

size_t WaylandPictureSurface::held() const {
    return size_t(std::count_if(buffers_.begin(), buffers_.end(),
                                [](const auto& buffer) { return buffer->held != nullptr; }));
}

// The frame is locked while its file is passed on: the stream cannot take the buffer away
// meanwhile. The picture is opaque whatever its alpha says.
WaylandPictureSurface::Buffer* WaylandPictureSurface::bufferFor(
    const std::shared_ptr<platform::SampleBuffer>& sample) {
    PipeWireFrame* frame = borrowedFrame(*sample);
    if (frame == nullptr || frame->lockBaseAddress(platform::PixelBuffer::readOnly) != 0)
        return nullptr;
    const auto shared = frame->sharedMemory();
    Buffer wanted;
    wanted.name = shared ? shared->buffer : 0;
    wanted.offset = shared ? shared->offset : 0;
    wanted.stride = frame->bytesPerRow();
    wanted.width = int(frame->width());
    wanted.height = int(frame->height());
    const auto same = [&](const auto& b) {
        return b->name == wanted.name && b->offset == wanted.offset && b->stride == wanted.stride &&
               b->width == wanted.width && b->height == wanted.height;
    };
    Buffer* found = nullptr;
    if (const auto it = std::find_if(buffers_.begin(), buffers_.end(), same); it != buffers_.end())
        found = it->get();
    constexpr size_t largest = size_t(std::numeric_limits<int32_t>::max());
    if (found == nullptr && shared && shared->size <= largest) {
        wl_shm_pool* pool =
            wl_shm_create_pool(connection_.shm(), shared->fd, int32_t(shared->size));
        wanted.buffer =
            wl_shm_pool_create_buffer(pool, int32_t(wanted.offset), wanted.width, wanted.height,
                                      int32_t(wanted.stride), WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        buffers_.push_back(std::make_unique<Buffer>(std::move(wanted)));
        found = buffers_.back().get();
        static const wl_buffer_listener listener{[](void* data, wl_buffer*) {
            static_cast<Buffer*>(data)->held.reset();  // back to the stream
        }};
        wl_buffer_add_listener(found->buffer, &listener, found);
    }
    frame->unlockBaseAddress(platform::PixelBuffer::readOnly);
    return found;
}

// Buffers of a former size belong to buffers the stream has let go.
void WaylandPictureSurface::forgetUnused(const Buffer& kept) {
    const auto unused = [&](const auto& buffer) {
        return buffer->held == nullptr && buffer.get() != shown_ &&
               (buffer->width != kept.width || buffer->height != kept.height ||
                buffers_.size() > desktop::kept);
    };
    for (const auto& buffer : buffers_)
        if (unused(buffer)) wl_buffer_destroy(buffer->buffer);
    std::erase_if(buffers_, unused);
}

}  // namespace desktop
