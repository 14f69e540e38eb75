#include "desktop/wayland/TestVideoProducer.h"

#include <fcntl.h>
#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

TestVideoProducer* self(void* data) {
    return static_cast<TestVideoProducer*>(data);
}

// Bytes before the picture in each buffer, so that a reader must mind the chunk's offset.
constexpr uint32_t lead = 64;

}  // namespace

struct TestVideoProducer::Hooks {
    spa_hook stream{};

    static pw_stream_events events() {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = [](void* data, pw_stream_state, pw_stream_state state, const char*) {
            self(data)->onState(state);
        };
        events.param_changed = [](void* data, uint32_t id, const spa_pod* param) {
            if (id == SPA_PARAM_Format && param != nullptr) self(data)->onFormat(param);
        };
        events.add_buffer = [](void* data, pw_buffer* buffer) { self(data)->onAddBuffer(buffer); };
        events.remove_buffer = [](void*, pw_buffer* buffer) {
            spa_data& data = buffer->buffer->datas[0];
            if (data.data != nullptr) ::munmap(data.data, data.maxsize);
            if (data.fd >= 0) ::close(int(data.fd));
        };
        events.process = [](void* data) { self(data)->onProcess(); };
        return events;
    }
};

TestVideoProducer::TestVideoProducer(Options options)
    : options_(options),
      padding_(options.stride != 0 ? options.stride - options.width * 4 : 0),
      width_(options.width),
      height_(options.height),
      stride_(options.width * 4 + padding_),
      colour_(options.colour),
      hooks_(std::make_unique<Hooks>()) {
    pw_init(nullptr, nullptr);
    loop_ = pw_thread_loop_new("test-producer", nullptr);
    context_ = pw_context_new(pw_thread_loop_get_loop(loop_), nullptr, 0);
    pw_thread_loop_lock(loop_);
    pw_thread_loop_start(loop_);
    core_ = pw_context_connect(context_, nullptr, 0);
    if (core_ != nullptr) {
        stream_ = pw_stream_new(core_, "veltrin-test-producer",
                                pw_properties_new(PW_KEY_MEDIA_CLASS, "Video/Source",
                                                  PW_KEY_MEDIA_TYPE, "Video", nullptr));
        static const pw_stream_events streamEvents = Hooks::events();
        pw_stream_add_listener(stream_, &hooks_->stream, &streamEvents, this);
        timer_ = pw_loop_add_timer(
            pw_thread_loop_get_loop(loop_), [](void* data, uint64_t) { self(data)->onTimer(); },
            this);
        uint8_t storage[1024];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(storage, sizeof storage);
        const spa_pod* params[] = {formatOffer(builder)};
        pw_stream_connect(
            stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY,
            static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_ALLOC_BUFFERS |
                                         (options_.stalled ? PW_STREAM_FLAG_INACTIVE : 0)),
            params, 1);
    }
    pw_thread_loop_unlock(loop_);
}

TestVideoProducer::~TestVideoProducer() {
    pw_thread_loop_lock(loop_);
    if (timer_ != nullptr) pw_loop_destroy_source(pw_thread_loop_get_loop(loop_), timer_);
    spa_hook_remove(&hooks_->stream);
    if (stream_ != nullptr) pw_stream_destroy(stream_);
    if (core_ != nullptr) pw_core_disconnect(core_);
    pw_thread_loop_unlock(loop_);
    pw_thread_loop_stop(loop_);
    pw_context_destroy(context_);
    pw_thread_loop_destroy(loop_);
}

const spa_pod* TestVideoProducer::formatOffer(spa_pod_builder& builder) const {
    spa_rectangle size{width_, height_};
    spa_fraction rate{uint32_t(options_.framesPerSecond), 1};
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType,
        SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype,
        SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), SPA_FORMAT_VIDEO_format,
        SPA_POD_Id(options_.opaqueFormat ? SPA_VIDEO_FORMAT_BGRx : SPA_VIDEO_FORMAT_BGRA),
        SPA_FORMAT_VIDEO_size, SPA_POD_Rectangle(&size), SPA_FORMAT_VIDEO_framerate,
        SPA_POD_Fraction(&rate)));
}

void TestVideoProducer::resize(uint32_t width, uint32_t height) {
    pw_thread_loop_lock(loop_);
    width_ = width;
    height_ = height;
    stride_ = width * 4 + padding_;
    holding_ = options_.holdsAfterResize;
    uint8_t storage[1024];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(storage, sizeof storage);
    const spa_pod* params[] = {formatOffer(builder)};
    pw_stream_update_params(stream_, params, 1);
    pw_thread_loop_unlock(loop_);
}

uint32_t TestVideoProducer::node() {
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         node_ == 0 && std::chrono::steady_clock::now() < deadline;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return node_;
}

void TestVideoProducer::onState(int state) {
    if (state == PW_STREAM_STATE_PAUSED || state == PW_STREAM_STATE_STREAMING)
        node_ = pw_stream_get_node_id(stream_);
    timespec first{0, 1};
    timespec interval{0, long(1'000'000'000 / options_.framesPerSecond)};
    const bool run = state == PW_STREAM_STATE_STREAMING;
    if (run) holding_ = false;
    pw_loop_update_timer(pw_thread_loop_get_loop(loop_), timer_, run ? &first : nullptr,
                         run ? &interval : nullptr, false);
}

void TestVideoProducer::onFormat(const spa_pod*) {
    uint8_t storage[256];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(storage, sizeof storage);
    const spa_pod* params[] = {static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_buffers,
        SPA_POD_CHOICE_RANGE_Int(4, 2, 8), SPA_PARAM_BUFFERS_blocks, SPA_POD_Int(1),
        SPA_PARAM_BUFFERS_size, SPA_POD_Int(int(stride_ * height_)), SPA_PARAM_BUFFERS_stride,
        SPA_POD_Int(int(stride_)), SPA_PARAM_BUFFERS_dataType,
        SPA_POD_CHOICE_FLAGS_Int(1 << SPA_DATA_MemFd)))};
    pw_stream_update_params(stream_, params, 1);
}

// As KWin does: each buffer a sealed memfd of its own, which consumers map.
void TestVideoProducer::onAddBuffer(pw_buffer* buffer) {
    spa_data& data = buffer->buffer->datas[0];
    data.type = SPA_DATA_MemFd;
    data.flags = SPA_DATA_FLAG_READWRITE;
    data.mapoffset = 0;
    data.maxsize = lead + stride_ * height_;
    data.fd = ::memfd_create("veltrin-test-producer", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (data.fd < 0 || ::ftruncate(int(data.fd), data.maxsize) != 0) return;
    ::fcntl(int(data.fd), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL);
    void* memory =
        ::mmap(nullptr, data.maxsize, PROT_READ | PROT_WRITE, MAP_SHARED, int(data.fd), 0);
    data.data = memory == MAP_FAILED ? nullptr : memory;
}

void TestVideoProducer::onTimer() {
    if (!holding_) pw_stream_trigger_process(stream_);
}

// Padding bytes are 0x5a, so a reader that ignores the stride shows a wrong colour.
void TestVideoProducer::onProcess() {
    pw_buffer* buffer = pw_stream_dequeue_buffer(stream_);
    if (buffer == nullptr) return;
    spa_data& data = buffer->buffer->datas[0];
    if (data.data != nullptr && data.maxsize >= lead + stride_ * height_) {
        auto* bytes = static_cast<uint8_t*>(data.data) + lead;
        const uint32_t colour = colour_;
        const uint8_t alpha = options_.opaqueFormat ? 0 : 255;
        const uint8_t pixel[4] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16),
                                  alpha};
        for (uint32_t y = 0; y < height_; ++y) {
            uint8_t* row = bytes + y * stride_;
            std::memset(row, 0x5a, stride_);
            for (uint32_t x = 0; x < width_; ++x)
                std::memcpy(row + 4 * x, pixel, 4);
        }
        data.chunk->offset = lead;
        data.chunk->size = stride_ * height_;
        data.chunk->stride = int32_t(stride_);
        ++sent_;
    }
    pw_stream_queue_buffer(stream_, buffer);
}
