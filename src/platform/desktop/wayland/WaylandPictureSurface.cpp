#include "platform/desktop/wayland/WaylandPictureSurface.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/PixelBuffer.h"
#include "platform/desktop/wayland/PipeWireFrame.h"
#include "platform/desktop/wayland/WaylandConnection.h"
#include "platform/desktop/wayland/WaylandShmBuffer.h"

namespace desktop {
namespace {

// Buffers of stream buffers not in use are kept for when those come back.
constexpr size_t keptShared = 16;
constexpr size_t mostCopies = 3;

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

// The surface goes first: the stream may write into its buffers once they are back.
WaylandPictureSurface::~WaylandPictureSurface() {
    wl_subsurface_destroy(subsurface_);
    wl_surface_destroy(surface_);
    for (const auto& buffer : shared_)
        wl_buffer_destroy(buffer->buffer);
}

bool WaylandPictureSurface::show(const std::shared_ptr<platform::SampleBuffer>& sample, QPoint at) {
    platform::PixelBuffer* pixels = sample ? sample->imageBuffer() : nullptr;
    if (pixels == nullptr) return false;
    if (shownBuffer_ == nullptr || shownSample_.lock() != sample) {
        wl_buffer* buffer = shared(sample);
        if (buffer == nullptr) buffer = copied(*pixels);
        if (buffer == nullptr) return false;
        wl_surface_attach(surface_, buffer, 0, 0);
        wl_surface_damage(surface_, 0, 0, int32_t(pixels->width()), int32_t(pixels->height()));
        shownBuffer_ = buffer;
        shownSample_ = sample;
    }
    if (at != at_) wl_subsurface_set_position(subsurface_, at.x(), at.y());
    at_ = at;
    wl_surface_commit(surface_);
    return true;
}

void WaylandPictureSurface::hide() {
    if (shownBuffer_ == nullptr) return;
    wl_surface_attach(surface_, nullptr, 0, 0);
    wl_surface_commit(surface_);
    shownBuffer_ = nullptr;
    shownSample_.reset();
}

wl_buffer* WaylandPictureSurface::shared(const std::shared_ptr<platform::SampleBuffer>& sample) {
    Shared* buffer = sharedBuffer(sample);
    if (buffer == nullptr) return nullptr;
    buffer->held = sample;
    forgetUnused(*buffer);
    return buffer->buffer;
}

// The frame is locked while its file is passed on: the stream cannot take the buffer away
// meanwhile. The picture is opaque whatever its alpha says.
WaylandPictureSurface::Shared* WaylandPictureSurface::sharedBuffer(
    const std::shared_ptr<platform::SampleBuffer>& sample) {
    auto* frame = dynamic_cast<PipeWireFrame*>(sample->imageBuffer());
    if (frame == nullptr || frame->lockBaseAddress(platform::PixelBuffer::readOnly) != 0)
        return nullptr;
    const auto memory = frame->sharedMemory();
    Shared wanted;
    wanted.name = memory ? memory->buffer : 0;
    wanted.offset = memory ? memory->offset : 0;
    wanted.stride = frame->bytesPerRow();
    wanted.width = int(frame->width());
    wanted.height = int(frame->height());
    const auto same = [&](const auto& b) {
        return b->name == wanted.name && b->offset == wanted.offset && b->stride == wanted.stride &&
               b->width == wanted.width && b->height == wanted.height;
    };
    Shared* found = nullptr;
    if (const auto it = std::find_if(shared_.begin(), shared_.end(), same); it != shared_.end())
        found = it->get();
    constexpr size_t largest = size_t(std::numeric_limits<int32_t>::max());
    if (found == nullptr && memory && memory->size <= largest) {
        wl_shm_pool* pool =
            wl_shm_create_pool(connection_.shm(), memory->fd, int32_t(memory->size));
        wanted.buffer =
            wl_shm_pool_create_buffer(pool, int32_t(wanted.offset), wanted.width, wanted.height,
                                      int32_t(wanted.stride), WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        shared_.push_back(std::make_unique<Shared>(std::move(wanted)));
        found = shared_.back().get();
        static const wl_buffer_listener listener{[](void* data, wl_buffer*) {
            static_cast<Shared*>(data)->held.reset();  // back to the stream
        }};
        wl_buffer_add_listener(found->buffer, &listener, found);
    }
    frame->unlockBaseAddress(platform::PixelBuffer::readOnly);
    return found;
}

// Buffers of a former size belong to stream buffers that are gone.
void WaylandPictureSurface::forgetUnused(const Shared& kept) {
    const bool many = shared_.size() > keptShared;
    const auto unused = [&](const auto& buffer) {
        return buffer->held == nullptr && buffer->buffer != shownBuffer_ &&
               (many || buffer->width != kept.width || buffer->height != kept.height);
    };
    for (const auto& buffer : shared_)
        if (unused(buffer)) wl_buffer_destroy(buffer->buffer);
    std::erase_if(shared_, unused);
}

// A frame that cannot be shared (a copy, or one whose buffer the stream took back) is copied
// into a buffer the compositor is not reading.
wl_buffer* WaylandPictureSurface::copied(platform::PixelBuffer& pixels) {
    const int width = int(pixels.width());
    const int height = int(pixels.height());
    std::erase_if(copies_, [&](const auto& copy) {
        return !copy->busy() && (copy->width() != width || copy->height() != height);
    });
    const auto free = std::find_if(copies_.begin(), copies_.end(),
                                   [](const auto& copy) { return !copy->busy(); });
    WaylandShmBuffer* copy = free != copies_.end() ? free->get() : nullptr;
    if (copy == nullptr && copies_.size() < mostCopies) {
        if (auto made = WaylandShmBuffer::make(connection_.shm(), width, height, true))
            copy = copies_.emplace_back(std::move(made)).get();
    }
    if (copy == nullptr || pixels.lockBaseAddress(platform::PixelBuffer::readOnly) != 0)
        return nullptr;
    const uint8_t* base = pixels.baseAddress();
    for (int y = 0; base != nullptr && y < height; ++y)
        std::memcpy(copy->pixels() + size_t(y) * size_t(copy->stride()),
                    base + size_t(y) * pixels.bytesPerRow(), size_t(width) * 4);
    pixels.unlockBaseAddress(platform::PixelBuffer::readOnly);
    if (base == nullptr) return nullptr;
    copy->setBusy();
    return copy->buffer();
}

}  // namespace desktop
