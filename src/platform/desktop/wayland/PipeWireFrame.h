#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/PixelBuffer.h"

namespace desktop {

// One picture of a PipeWire stream, BGRA rows `bytesPerRow` apart as the producer laid
// them out. Either it holds a copy, or it borrows the stream's buffer itself (no copy) and
// gives it back when the last holder lets go; before the buffer goes away (the stream
// ends or renegotiates) the stream has the frame copy it out, so a holder never notices.
class PipeWireFrame : public platform::PixelBuffer {
public:
    // Where a borrowed buffer's pixels live in a file that others may map: the compositor
    // can show them without a copy. `buffer` names the stream's buffer for as long as it
    // exists; no two buffers ever share a name.
    struct SharedMemory {
        int fd = -1;
        size_t size = 0;    // of the file, from its start
        size_t offset = 0;  // of the first pixel
        uint64_t buffer = 0;
    };

    // A copy; with forceOpaque (a BGRx producer) every alpha byte becomes 255. The source
    // holds height x stride bytes.
    PipeWireFrame(const uint8_t* pixels, size_t width, size_t height, size_t stride,
                  bool forceOpaque);
    // Borrows the pixels; giveBack runs once when the frame goes, unless it was detached.
    PipeWireFrame(const uint8_t* pixels, size_t width, size_t height, size_t stride,
                  std::function<void()> giveBack,
                  std::optional<SharedMemory> shared = std::nullopt);
    ~PipeWireFrame() override;
    PipeWireFrame(const PipeWireFrame&) = delete;
    PipeWireFrame& operator=(const PipeWireFrame&) = delete;

    size_t width() const override { return width_; }
    size_t height() const override { return height_; }
    size_t bytesPerRow() const override { return stride_; }
    // Locks may overlap (several readers); a detach waits for the last unlock.
    int32_t lockBaseAddress(uint32_t flags) override;
    int32_t unlockBaseAddress(uint32_t flags) override;
    const uint8_t* baseAddress() const override;

    // Copies borrowed pixels into the frame and forgets the buffer; does nothing for a
    // copy. Waits while someone reads.
    void detach();
    bool borrowed() const;
    // While the frame is locked and borrowed: the file stays open until the unlock.
    std::optional<SharedMemory> sharedMemory() const;

private:
    const size_t width_;
    const size_t height_;
    const size_t stride_;
    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable unlocked_;
    int readers_ = 0;
    const uint8_t* pixels_;
    std::vector<uint8_t> copy_;
    std::function<void()> giveBack_;
    std::optional<SharedMemory> shared_;
};

}  // namespace desktop
