#include "platform/desktop/wayland/PipeWireConsumer.h"

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>

#include "platform/desktop/wayland/PipeWireLoans.h"
#include "platform/desktop/wayland/PipeWireLoop.h"
#include "platform/desktop/wayland/PipeWireRestarts.h"

namespace desktop {

namespace {

PipeWireConsumer* self(void* data) {
    return static_cast<PipeWireConsumer*>(data);
}

// Shared memory only: no modifiers are offered, so no producer picks dmabuf.
const spa_pod* formatOffer(spa_pod_builder& builder) {
    spa_rectangle size{640, 480};
    spa_rectangle smallest{1, 1};
    spa_rectangle largest{16384, 16384};
    spa_fraction rate{60, 1};
    spa_fraction slowest{0, 1};
    spa_fraction fastest{1000, 1};
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat, SPA_FORMAT_mediaType,
        SPA_POD_Id(SPA_MEDIA_TYPE_video), SPA_FORMAT_mediaSubtype,
        SPA_POD_Id(SPA_MEDIA_SUBTYPE_raw), SPA_FORMAT_VIDEO_format,
        SPA_POD_CHOICE_ENUM_Id(3, SPA_VIDEO_FORMAT_BGRA, SPA_VIDEO_FORMAT_BGRA,
                               SPA_VIDEO_FORMAT_BGRx),
        SPA_FORMAT_VIDEO_size, SPA_POD_CHOICE_RANGE_Rectangle(&size, &smallest, &largest),
        SPA_FORMAT_VIDEO_framerate, SPA_POD_CHOICE_RANGE_Fraction(&rate, &slowest, &fastest)));
}

// Besides the producer's two: the frame the panel shows, the one the compositor has not let
// go yet, and the newest; with fewer, frames would be copies.
const spa_pod* buffersWanted(spa_pod_builder& builder) {
    return static_cast<const spa_pod*>(spa_pod_builder_add_object(
        &builder, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers, SPA_PARAM_BUFFERS_buffers,
        SPA_POD_CHOICE_RANGE_Int(6, 2, 16), SPA_PARAM_BUFFERS_dataType,
        SPA_POD_CHOICE_FLAGS_Int((1 << SPA_DATA_MemPtr) | (1 << SPA_DATA_MemFd))));
}

// A memfd buffer's pixels, which the compositor can map itself.
std::optional<PipeWireFrame::SharedMemory> sharedMemory(const spa_data& data) {
    if (data.type != SPA_DATA_MemFd || data.fd < 0) return std::nullopt;
    return PipeWireFrame::SharedMemory{int(data.fd), size_t(data.mapoffset) + data.maxsize,
                                       size_t(data.mapoffset) + data.chunk->offset, 0};
}

}  // namespace

// The listeners and the tables that lead PipeWire's events to the consumer.
struct PipeWireConsumer::Hooks {
    spa_hook core{};
    spa_hook registry{};
    spa_hook stream{};

    static pw_core_events coreEvents() {
        pw_core_events events{};
        events.version = PW_VERSION_CORE_EVENTS;
        events.done = [](void* data, uint32_t id, int seq) { self(data)->onCoreDone(id, seq); };
        events.error = [](void* data, uint32_t id, int, int res, const char* message) {
            self(data)->onCoreError(id, res, message);
        };
        return events;
    }
    static pw_registry_events registryEvents() {
        pw_registry_events events{};
        events.version = PW_VERSION_REGISTRY_EVENTS;
        events.global = [](void* data, uint32_t id, uint32_t, const char*, uint32_t,
                           const spa_dict*) { self(data)->onGlobal(id); };
        events.global_remove = [](void* data, uint32_t id) { self(data)->onGlobalRemoved(id); };
        return events;
    }
    static pw_stream_events streamEvents() {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = [](void* data, pw_stream_state, pw_stream_state state,
                                  const char* error) { self(data)->onStateChanged(state, error); };
        events.param_changed = [](void* data, uint32_t id, const spa_pod* param) {
            if (id == SPA_PARAM_Format) self(data)->onFormat(param);
        };
        events.add_buffer = [](void* data, pw_buffer* buffer) {
            self(data)->loans_->bufferAdded(buffer);
        };
        events.remove_buffer = [](void* data, pw_buffer* buffer) {
            self(data)->loans_->bufferRemoved(buffer);
        };
        events.process = [](void* data) { self(data)->onProcess(); };
        return events;
    }
};

std::unique_ptr<PipeWireConsumer> PipeWireConsumer::connect(PipeWireLoop& loop, uint32_t node,
                                                            Events events, std::string& failure) {
    std::unique_ptr<PipeWireConsumer> consumer(new PipeWireConsumer(loop, node, std::move(events)));
    PipeWireLoop::Lock lock(loop);
    if (!consumer->open(failure)) return nullptr;
    return consumer;
}

PipeWireConsumer::PipeWireConsumer(PipeWireLoop& loop, uint32_t node, Events events)
    : loop_(loop), node_(node), events_(std::move(events)), hooks_(std::make_unique<Hooks>()) {}

PipeWireConsumer::~PipeWireConsumer() {
    PipeWireLoop::Lock lock(loop_);
    if (loans_) loans_->endAll();
    restarts_.reset();
    // Unhooked first: tearing down must not report an end to anyone.
    spa_hook_remove(&hooks_->stream);
    spa_hook_remove(&hooks_->registry);
    spa_hook_remove(&hooks_->core);
    if (stream_ != nullptr) pw_stream_destroy(stream_);
    if (registry_ != nullptr) pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry_));
    if (core_ != nullptr) pw_core_disconnect(core_);
}

bool PipeWireConsumer::open(std::string& failure) {
    core_ = pw_context_connect(loop_.context(), nullptr, 0);
    if (core_ == nullptr) {
        failure = "capture: cannot reach PipeWire";
        return false;
    }
    static const pw_core_events coreEvents = Hooks::coreEvents();
    pw_core_add_listener(core_, &hooks_->core, &coreEvents, this);
    registry_ = pw_core_get_registry(core_, PW_VERSION_REGISTRY, 0);
    static const pw_registry_events registryEvents = Hooks::registryEvents();
    if (registry_ != nullptr)
        pw_registry_add_listener(registry_, &hooks_->registry, &registryEvents, this);
    if (!listen(failure)) return false;
    sync_ = pw_core_sync(core_, PW_ID_CORE, 0);
    return true;
}

// The node may vanish later (the compositor closed the share, or the window went); the
// stream must then end instead of being linked to some other source.
bool PipeWireConsumer::listen(std::string& failure) {
    pw_properties* properties =
        pw_properties_new(PW_KEY_MEDIA_TYPE, "Video", PW_KEY_MEDIA_CATEGORY, "Capture",
                          PW_KEY_MEDIA_ROLE, "Screen", PW_KEY_NODE_DONT_RECONNECT, "true", nullptr);
    stream_ = pw_stream_new(core_, "veltrin-capture", properties);
    if (stream_ == nullptr) {
        failure = "capture: cannot make a PipeWire stream";
        return false;
    }
    static const pw_stream_events streamEvents = Hooks::streamEvents();
    loans_ = std::make_shared<PipeWireLoans>(loop_, stream_);
    restarts_ = std::make_unique<PipeWireRestarts>(loop_, stream_);
    pw_stream_add_listener(stream_, &hooks_->stream, &streamEvents, this);
    uint8_t storage[1024];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(storage, sizeof storage);
    const spa_pod* params[] = {formatOffer(builder)};
    const auto flags =
        static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS);
    if (pw_stream_connect(stream_, PW_DIRECTION_INPUT, node_, flags, params, 1) < 0) {
        failure = "capture: cannot connect to PipeWire node " + std::to_string(node_);
        return false;
    }
    return true;
}

void PipeWireConsumer::onStateChanged(int state, const char* error) {
    if (state == PW_STREAM_STATE_ERROR)
        return end(std::string("capture: the stream failed: ") + (error ? error : "unknown"));
    if (state == PW_STREAM_STATE_UNCONNECTED) return end("capture: the stream ended");
    if (state != PW_STREAM_STATE_STREAMING || streaming_ || format_ == 0) return;
    streaming_ = true;
    if (events_.streaming) events_.streaming();
}

void PipeWireConsumer::onFormat(const spa_pod* param) {
    spa_video_info_raw info{};
    if (param == nullptr || spa_format_video_raw_parse(param, &info) < 0) return;
    if (info.format != SPA_VIDEO_FORMAT_BGRA && info.format != SPA_VIDEO_FORMAT_BGRx)
        return end("capture: the stream offers no BGRA pictures");
    format_ = info.format;
    width_ = info.size.width;
    height_ = info.size.height;
    uint8_t storage[256];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(storage, sizeof storage);
    const spa_pod* params[] = {buffersWanted(builder)};
    pw_stream_update_params(stream_, params, 1);
    if (streaming_) restarts_->renegotiated();
}

// Only the newest queued buffer is worth showing; older ones go straight back. BGRA is
// lent as it is, BGRx needs its alpha made opaque and so a copy. A buffer whose chunk does
// not hold a whole picture of the agreed size (one drawn before the size changed) is not
// shown.
void PipeWireConsumer::onProcess() {
    pw_buffer* newest = nullptr;
    while (pw_buffer* next = pw_stream_dequeue_buffer(stream_)) {
        if (newest != nullptr) pw_stream_queue_buffer(stream_, newest);
        newest = next;
    }
    if (newest == nullptr) return;
    const spa_data& data = newest->buffer->datas[0];
    const spa_chunk* chunk = data.chunk;
    const size_t row = width_ * 4;
    const size_t stride = chunk != nullptr && chunk->stride > 0 ? size_t(chunk->stride) : row;
    const bool usable = data.data != nullptr && chunk != nullptr &&
                        (chunk->flags & SPA_CHUNK_FLAG_CORRUPTED) == 0 && height_ > 0 &&
                        stride >= row && chunk->size >= (height_ - 1) * stride + row &&
                        chunk->offset + height_ * stride <= data.maxsize;
    std::shared_ptr<PipeWireFrame> frame;
    if (usable && !ended_) {
        const auto* pixels = static_cast<const uint8_t*>(data.data) + chunk->offset;
        if (format_ == SPA_VIDEO_FORMAT_BGRA)
            frame = loans_->lend(newest, pixels, width_, height_, stride, sharedMemory(data));
        if (frame == nullptr)
            frame = std::make_shared<PipeWireFrame>(pixels, width_, height_, stride,
                                                    format_ == SPA_VIDEO_FORMAT_BGRx);
    }
    if (frame == nullptr || !frame->borrowed()) pw_stream_queue_buffer(stream_, newest);
    if (frame == nullptr) return;
    restarts_->frameArrived();
    if (!streaming_) {  // a frame is proof enough, whatever order the state came in
        streaming_ = true;
        if (events_.streaming) events_.streaming();
    }
    if (events_.frame) events_.frame(std::move(frame));
}

void PipeWireConsumer::onCoreError(uint32_t id, int res, const char* message) {
    if (id != PW_ID_CORE) return;
    if (res == -EPIPE) return end("capture: lost the connection to PipeWire");
    end(std::string("capture: PipeWire reported an error: ") + (message ? message : ""));
}

void PipeWireConsumer::onGlobal(uint32_t id) {
    if (id == node_) nodeSeen_ = true;
}

// By the answer to the first round trip the registry has listed every object; a node not
// among them must not leave the stream waiting, or the session manager linking it to
// some other source.
void PipeWireConsumer::onCoreDone(uint32_t id, int seq) {
    if (id == PW_ID_CORE && seq == sync_ && !nodeSeen_)
        end("capture: PipeWire has no node " + std::to_string(node_));
}

void PipeWireConsumer::onGlobalRemoved(uint32_t id) {
    if (id == node_) end("capture: the stream ended");
}

void PipeWireConsumer::end(const std::string& why) {
    if (ended_) return;
    ended_ = true;
    if (events_.ended) events_.ended(why);
}

}  // namespace desktop
