#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace desktop {

// The memory that one capture's frames read their pixels into, handed from frame to frame
// so that a window measured on every frame allocates nothing per frame. A frame takes it
// while locked and gives it back at its last unlock; a frame locked meanwhile gets memory
// of its own.
class X11FrameScratch {
public:
    struct Buffers {
        std::vector<uint8_t> fetched;  // the server's reply
        std::vector<uint8_t> image;    // what the locker reads
        bool pooled = false;           // the reused pair, not memory of a frame's own
    };

    Buffers take();
    void giveBack(Buffers buffers);

private:
    std::mutex mutex_;  // guards spare_ and held_
    Buffers spare_;
    bool held_ = false;
};

}  // namespace desktop
