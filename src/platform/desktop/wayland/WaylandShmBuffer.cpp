#include "platform/desktop/wayland/WaylandShmBuffer.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace desktop {

std::unique_ptr<WaylandShmBuffer> WaylandShmBuffer::make(wl_shm* shm, int width, int height,
                                                         bool opaque) {
    if (shm == nullptr || width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<WaylandShmBuffer> made(new WaylandShmBuffer(width, height));
    made->size_ = size_t(made->stride()) * size_t(height);
    const int fd = ::memfd_create("veltrin-panel", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::ftruncate(fd, off_t(made->size_)) != 0) {
        ::close(fd);
        return nullptr;
    }
    void* memory = ::mmap(nullptr, made->size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        ::close(fd);
        return nullptr;
    }
    made->pixels_ = static_cast<uint8_t*>(memory);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(made->size_));
    made->buffer_ =
        wl_shm_pool_create_buffer(pool, 0, width, height, made->stride(),
                                  opaque ? WL_SHM_FORMAT_XRGB8888 : WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    ::close(fd);
    static const wl_buffer_listener listener{[](void* data, wl_buffer*) {
        auto& self = *static_cast<WaylandShmBuffer*>(data);
        self.busy_ = false;
        if (self.released_) self.released_();
    }};
    wl_buffer_add_listener(made->buffer_, &listener, made.get());
    return made;
}

WaylandShmBuffer::~WaylandShmBuffer() {
    if (buffer_ != nullptr) wl_buffer_destroy(buffer_);
    if (pixels_ != nullptr) ::munmap(pixels_, size_);
}

}  // namespace desktop
