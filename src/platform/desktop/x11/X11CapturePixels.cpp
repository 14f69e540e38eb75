#include "platform/desktop/x11/X11CapturePixels.h"

#include <sys/mman.h>
#include <unistd.h>
#include <xcb/shm.h>

#include <cstring>

#include "platform/desktop/x11/X11Connection.h"

namespace desktop {
namespace {

// A smaller read fits one plain reply more cheaply than a shared segment set up for it.
constexpr size_t sharedFromBytes = 64 * 1024;

uint8_t bitsPerPixel(xcb_connection_t* c, uint8_t depth) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it))
        if (it.data->depth == depth) return it.data->bits_per_pixel;
    return 0;
}

// Passing a descriptor needs MIT-SHM 1.2; older servers get the plain path.
bool shmUsable(xcb_connection_t* c) {
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(c, &xcb_shm_id);
    if (shm == nullptr || !shm->present) return false;
    const auto version = xreply(xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
    return version && (version->major_version > 1 ||
                       (version->major_version == 1 && version->minor_version >= 2));
}

// The server's pixels in BGRA order with the alpha byte settled.
void normalise(xcb_connection_t* c, uint8_t depth, uint8_t* pixels, size_t count) {
    const bool msbFirst = xcb_get_setup(c)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    for (size_t i = 0; i < count; ++i) {
        uint8_t* p = pixels + 4 * i;
        if (msbFirst) {
            std::swap(p[0], p[3]);
            std::swap(p[1], p[2]);
        }
        if (depth != 32) p[3] = 255;
    }
}

bool readShared(xcb_connection_t* c, const PixelRect& rect, std::vector<uint8_t>& pixels) {
    const size_t size = pixels.size();
    const int fd = memfd_create("veltrin-capture", MFD_CLOEXEC);
    if (fd < 0) return false;
    void* memory = ftruncate(fd, static_cast<off_t>(size)) == 0
                       ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                       : MAP_FAILED;
    if (memory == MAP_FAILED) {
        close(fd);
        return false;
    }
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    xcb_shm_attach_fd(c, segment, fd, 0);  // xcb closes the descriptor once sent
    const auto cookie = xcb_shm_get_image(c, rect.drawable, rect.x, rect.y, rect.width, rect.height,
                                          ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0);
    const auto reply = xreply(xcb_shm_get_image_reply(c, cookie, nullptr));
    if (reply) std::memcpy(pixels.data(), memory, size);
    xcb_discard_reply(c, xcb_shm_detach_checked(c, segment).sequence);
    xcb_flush(c);
    munmap(memory, size);
    return reply != nullptr && reply->size >= size;
}

bool readPlain(xcb_connection_t* c, const PixelRect& rect, std::vector<uint8_t>& pixels) {
    const auto cookie = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, rect.drawable, rect.x, rect.y,
                                      rect.width, rect.height, ~0u);
    const auto reply = xreply(xcb_get_image_reply(c, cookie, nullptr));
    if (!reply) return false;
    const auto length = static_cast<size_t>(xcb_get_image_data_length(reply.get()));
    if (length < pixels.size()) return false;
    std::memcpy(pixels.data(), xcb_get_image_data(reply.get()), pixels.size());
    return true;
}

}  // namespace

bool readPixels(X11Connection& connection, const PixelRect& rect, uint8_t depth,
                std::vector<uint8_t>& pixels) {
    xcb_connection_t* c = connection.get();
    if (rect.width == 0 || rect.height == 0 || bitsPerPixel(c, depth) != 32) return false;
    pixels.assign(size_t(rect.width) * rect.height * 4, 0);
    const bool shared = pixels.size() >= sharedFromBytes && shmUsable(c);
    const bool read = (shared && readShared(c, rect, pixels)) || readPlain(c, rect, pixels);
    if (read) normalise(c, depth, pixels.data(), size_t(rect.width) * rect.height);
    return read;
}

}  // namespace desktop
