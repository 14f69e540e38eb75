#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/desktop/wayland/PipeWireFrame.h"

struct pw_buffer;
struct pw_stream;

namespace desktop {

class PipeWireLoop;

// A stream's buffers that frames borrow instead of copying them: each goes back to the
// stream when its frame goes. Enough buffers always stay with the producer so that it never
// waits for us; past that, frames are copies. Used under the loop's lock only.
class PipeWireLoans : public std::enable_shared_from_this<PipeWireLoans> {
public:
    PipeWireLoans(PipeWireLoop& loop, pw_stream* stream) : loop_(loop), stream_(stream) {}

    // A frame on the buffer, or null when the producer would be left too few buffers.
    // A buffer in shared memory tells where, and the frame names the buffer.
    std::shared_ptr<PipeWireFrame> lend(pw_buffer* buffer, const uint8_t* pixels, size_t width,
                                        size_t height, size_t stride,
                                        std::optional<PipeWireFrame::SharedMemory> shared);
    void bufferAdded(pw_buffer* buffer);
    // The buffer is about to go: its frames take a copy.
    void bufferRemoved(pw_buffer* buffer);
    // The stream is about to go: every frame takes a copy, and nothing goes back any more.
    void endAll();

private:
    void giveBack(pw_buffer* buffer);

    PipeWireLoop& loop_;
    pw_stream* stream_;
    size_t buffers_ = 0;
    std::vector<std::pair<pw_buffer*, uint64_t>> names_;
    // Until its buffer is back: a frame on its way out still holds it.
    std::vector<std::pair<pw_buffer*, std::weak_ptr<PipeWireFrame>>> lent_;
};

}  // namespace desktop
