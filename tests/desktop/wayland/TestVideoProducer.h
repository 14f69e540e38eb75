#pragma once

// A PipeWire video source in the test process, on a PipeWire thread and connection of its
// own: frames of one colour (0xRRGGBB), with row padding when the stride asks for it, at
// a steady rate while someone consumes them.
//
//   TestVideoProducer producer({.width = 64, .height = 48, .stride = 288, .colour = 0x2060c0});
//   uint32_t node = producer.node();     // 0 when it did not come up
//   producer.setColour(0xe08020);

#include <atomic>
#include <cstdint>
#include <memory>

struct pw_context;
struct pw_stream;
struct pw_thread_loop;
struct spa_hook;
struct spa_pod;
struct spa_source;

class TestVideoProducer {
public:
    struct Options {
        uint32_t width = 64;
        uint32_t height = 48;
        uint32_t stride = 0;  // bytes a row; 0: 4 x width
        uint32_t colour = 0;
        bool opaqueFormat = false;  // BGRx, with alpha bytes left 0, instead of BGRA
        int framesPerSecond = 60;
        bool stalled = false;  // linked, but never set going
        // As KWin 5.27: after a resize, nothing more until the stream is set going again.
        bool holdsAfterResize = false;
    };

    explicit TestVideoProducer(Options options);
    ~TestVideoProducer();
    TestVideoProducer(const TestVideoProducer&) = delete;
    TestVideoProducer& operator=(const TestVideoProducer&) = delete;

    // The node's id once PipeWire announced it (waits up to 10 s); 0 otherwise.
    uint32_t node();
    void setColour(uint32_t colour) { colour_ = colour; }
    // Offers the new size only, as a window that was resized; the rows keep their padding.
    void resize(uint32_t width, uint32_t height);
    int framesSent() const { return sent_; }

private:
    struct Hooks;
    void onState(int state);
    void onFormat(const spa_pod* param);
    void onAddBuffer(struct pw_buffer* buffer);
    void onProcess();
    void onTimer();
    const spa_pod* formatOffer(struct spa_pod_builder& builder) const;

    const Options options_;
    const uint32_t padding_;
    // Changed under the loop's lock, read on its thread.
    uint32_t width_;
    uint32_t height_;
    uint32_t stride_;
    std::atomic<uint32_t> colour_;
    std::atomic<uint32_t> node_{0};
    std::atomic<int> sent_{0};
    bool holding_ = false;  // on the loop's thread
    pw_thread_loop* loop_ = nullptr;
    pw_context* context_ = nullptr;
    struct pw_core* core_ = nullptr;
    pw_stream* stream_ = nullptr;
    spa_source* timer_ = nullptr;
    std::unique_ptr<Hooks> hooks_;
};
