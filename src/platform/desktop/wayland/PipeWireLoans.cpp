#include "platform/desktop/wayland/PipeWireLoans.h"

#include <pipewire/pipewire.h>

#include <algorithm>
#include <atomic>

#include "platform/desktop/wayland/PipeWireLoop.h"

namespace desktop {
namespace {

// The producer draws into one buffer while the compositor may still hold another.
constexpr size_t keptByProducer = 2;

// Unique across streams and renegotiations, unlike the buffers' addresses.
std::atomic<uint64_t> lastName{0};

}  // namespace

void PipeWireLoans::bufferAdded(pw_buffer* buffer) {
    ++buffers_;
    names_.emplace_back(buffer, ++lastName);
}

std::shared_ptr<PipeWireFrame> PipeWireLoans::lend(
    pw_buffer* buffer, const uint8_t* pixels, size_t width, size_t height, size_t stride,
    std::optional<PipeWireFrame::SharedMemory> shared) {
    if (stream_ == nullptr || lent_.size() + keptByProducer >= buffers_) return nullptr;
    const auto name = std::find_if(names_.begin(), names_.end(),
                                   [buffer](const auto& entry) { return entry.first == buffer; });
    if (shared && name != names_.end())
        shared->buffer = name->second;
    else
        shared.reset();
    auto frame = std::make_shared<PipeWireFrame>(
        pixels, width, height, stride,
        [loans = shared_from_this(), buffer] { loans->giveBack(buffer); }, shared);
    lent_.emplace_back(buffer, frame);
    return frame;
}

void PipeWireLoans::bufferRemoved(pw_buffer* buffer) {
    if (buffers_ > 0) --buffers_;
    for (auto& [lentBuffer, weak] : lent_)
        if (lentBuffer == buffer)
            if (auto frame = weak.lock()) frame->detach();
    std::erase_if(lent_, [buffer](const auto& loan) { return loan.first == buffer; });
    std::erase_if(names_, [buffer](const auto& entry) { return entry.first == buffer; });
}

// The buffers go back too: a producer that serves the node again must not be short of them.
void PipeWireLoans::endAll() {
    for (auto& [buffer, weak] : lent_) {
        if (auto frame = weak.lock()) frame->detach();
        if (stream_ != nullptr) pw_stream_queue_buffer(stream_, buffer);
    }
    lent_.clear();
    names_.clear();
    stream_ = nullptr;
    buffers_ = 0;
}

// From whichever thread dropped the frame.
void PipeWireLoans::giveBack(pw_buffer* buffer) {
    PipeWireLoop::Lock lock(loop_);
    const auto loan = std::find_if(lent_.begin(), lent_.end(),
                                   [buffer](const auto& entry) { return entry.first == buffer; });
    if (stream_ == nullptr || loan == lent_.end()) return;
    lent_.erase(loan);
    pw_stream_queue_buffer(stream_, buffer);
}

}  // namespace desktop
