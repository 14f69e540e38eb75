#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <memory>

#include "desktop/wayland/HeadlessKWin.h"
#include "platform/PixelBuffer.h"
#include "platform/desktop/wayland/PipeWireFrame.h"
#include "platform/desktop/wayland/WaylandConnection.h"
#include "platform/desktop/wayland/WaylandPictureSurface.h"

namespace {

using desktop::PipeWireFrame;

constexpr int width = 64;
constexpr int height = 48;
constexpr size_t bytes = size_t(width) * height * 4;

// Two pictures side by side in one file, as a stream's buffers are: each frame borrows one
// and says when it is given back.
struct StreamMemory {
    StreamMemory() {
        fd = ::memfd_create("veltrin-test-stream", MFD_CLOEXEC);
        if (fd >= 0 && ::ftruncate(fd, off_t(2 * bytes)) == 0)
            pixels = static_cast<uint8_t*>(
                ::mmap(nullptr, 2 * bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    }
    ~StreamMemory() {
        if (pixels != MAP_FAILED) ::munmap(pixels, 2 * bytes);
        ::close(fd);
    }
    std::shared_ptr<platform::SampleBuffer> frame(int index) {
        const size_t offset = size_t(index) * bytes;
        auto frame = std::make_shared<PipeWireFrame>(
            pixels + offset, width, height, width * 4, [this, index] { ++givenBack[index]; },
            PipeWireFrame::SharedMemory{fd, 2 * bytes, offset, uint64_t(index + 1)});
        return std::make_shared<platform::SampleBuffer>(true, frame);
    }

    int fd = -1;
    uint8_t* pixels = static_cast<uint8_t*>(MAP_FAILED);
    int givenBack[2] = {0, 0};
};

// The frame KWin shows stays held; the one it let go goes back to the stream, once.
TEST(WaylandPictureSurfaceTest, AFrameGoesBackOnceKWinLetsItsBufferGo) {
    HeadlessKWin kwin(640, 480);
    auto connection = desktop::WaylandConnection::connect(kwin.socket());
    ASSERT_TRUE(connection != nullptr && connection->start());
    wl_surface* panel = wl_compositor_create_surface(connection->compositor());
    auto picture = desktop::WaylandPictureSurface::make(*connection, panel);
    ASSERT_NE(picture, nullptr);
    StreamMemory stream;
    ASSERT_NE(stream.pixels, MAP_FAILED);
    const auto showAndCommit = [&](const std::shared_ptr<platform::SampleBuffer>& frame) {
        EXPECT_TRUE(picture->show(frame, {6, 6}));
        wl_surface_commit(panel);
        connection->roundtrip();
        connection->roundtrip();
    };

    showAndCommit(stream.frame(0));
    EXPECT_EQ(stream.givenBack[0], 0) << "KWin still reads it";
    showAndCommit(stream.frame(1));
    EXPECT_EQ(stream.givenBack[0], 1);
    EXPECT_EQ(stream.givenBack[1], 0) << "KWin still reads it";
    picture->hide();
    wl_surface_commit(panel);
    connection->roundtrip();
    connection->roundtrip();
    EXPECT_EQ(stream.givenBack[1], 1);
    EXPECT_EQ(stream.givenBack[0], 1);

    picture.reset();
    wl_surface_destroy(panel);
    connection->flush();
}

}  // namespace
