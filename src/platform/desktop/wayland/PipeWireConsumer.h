#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/desktop/wayland/PipeWireFrame.h"

struct pw_core;
struct pw_registry;
struct pw_stream;
struct spa_pod;

namespace desktop {

class PipeWireLoans;
class PipeWireLoop;
class PipeWireRestarts;

// Consumes one PipeWire video node as shared-memory BGRA (lent to the frames) or BGRx
// (copied, made opaque): its own
// connection to the daemon, a stream linked to the node, and a watch on the node so that
// its removal ends the stream. The events run on the loop's thread under its lock; none
// may destroy the consumer.
class PipeWireConsumer {
public:
    struct Events {
        std::function<void()> streaming;  // the format is agreed and frames may come
        std::function<void(std::shared_ptr<PipeWireFrame>)> frame;
        std::function<void(const std::string& why)> ended;  // at most once
    };

    // Connects; null with `failure` set when the daemon cannot be reached.
    static std::unique_ptr<PipeWireConsumer> connect(PipeWireLoop& loop, uint32_t node,
                                                     Events events, std::string& failure);
    // Takes the loop's lock; never call it from inside an event.
    ~PipeWireConsumer();
    PipeWireConsumer(const PipeWireConsumer&) = delete;
    PipeWireConsumer& operator=(const PipeWireConsumer&) = delete;

private:
    PipeWireConsumer(PipeWireLoop& loop, uint32_t node, Events events);
    bool open(std::string& failure);
    bool listen(std::string& failure);

    void onStateChanged(int state, const char* error);
    void onFormat(const spa_pod* param);
    void onProcess();
    void onCoreDone(uint32_t id, int seq);
    void onCoreError(uint32_t id, int res, const char* message);
    void onGlobal(uint32_t id);
    void onGlobalRemoved(uint32_t id);
    void end(const std::string& why);

    PipeWireLoop& loop_;
    const uint32_t node_;
    Events events_;
    pw_core* core_ = nullptr;
    pw_registry* registry_ = nullptr;
    pw_stream* stream_ = nullptr;
    struct Hooks;
    std::unique_ptr<Hooks> hooks_;
    std::shared_ptr<PipeWireLoans> loans_;  // outlives us while frames hold its buffers
    std::unique_ptr<PipeWireRestarts> restarts_;
    // Set and read on the loop's thread only.
    uint32_t format_ = 0;
    size_t width_ = 0;
    size_t height_ = 0;
    int sync_ = 0;
    bool nodeSeen_ = false;
    bool streaming_ = false;
    bool ended_ = false;
};

}  // namespace desktop
