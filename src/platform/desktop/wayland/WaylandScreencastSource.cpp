#include "platform/desktop/wayland/WaylandScreencastSource.h"

#include "platform/Dispatch.h"
#include "platform/desktop/wayland/WaylandConnection.h"
#include "zkde-screencast-unstable-v1-client-protocol.h"

namespace desktop {
namespace {

// One share: the compositor's stream object until it is closed; the answer runs once.
class Share : public ScreencastShare, public std::enable_shared_from_this<Share> {
public:
    Share(WaylandConnection& connection, ScreencastSource::Answer answer)
        : connection_(connection), answer_(std::move(answer)) {}
    ~Share() override { close(); }

    void open(zkde_screencast_unstable_v1* screencast, const std::string& uuid) {
        static const zkde_screencast_stream_unstable_v1_listener listener{
            [](void* data, zkde_screencast_stream_unstable_v1*) {
                static_cast<Share*>(data)->give(std::string("the compositor ended the share"));
            },
            [](void* data, zkde_screencast_stream_unstable_v1*, uint32_t node) {
                static_cast<Share*>(data)->give(node);
            },
            [](void* data, zkde_screencast_stream_unstable_v1*, const char* error) {
                static_cast<Share*>(data)->give(std::string("the compositor refused the share: ") +
                                                (error != nullptr ? error : ""));
            },
        };
        stream_ = zkde_screencast_unstable_v1_stream_window(
            screencast, uuid.c_str(), ZKDE_SCREENCAST_UNSTABLE_V1_POINTER_HIDDEN);
        zkde_screencast_stream_unstable_v1_add_listener(stream_, &listener, this);
        connection_.flush();
    }

    // The answer for a request that never reached the compositor, from the main queue.
    void refuse(platform::Dispatch& dispatch, std::string why) {
        std::weak_ptr<Share> weak = weak_from_this();
        dispatch.mainAsync([weak, why = std::move(why)] {
            if (auto self = weak.lock()) self->give(why);
        });
    }

    void close() override {
        answer_ = nullptr;
        if (stream_ == nullptr) return;
        zkde_screencast_stream_unstable_v1_close(stream_);
        stream_ = nullptr;
        connection_.flush();
    }

private:
    void give(const ScreencastSource::Outcome& outcome) {
        if (!answer_) return;
        const auto answer = std::move(answer_);
        answer_ = nullptr;
        answer(outcome);
    }

    WaylandConnection& connection_;
    ScreencastSource::Answer answer_;
    zkde_screencast_stream_unstable_v1* stream_ = nullptr;
};

}  // namespace

std::shared_ptr<ScreencastShare> WaylandScreencastSource::streamWindow(const std::string& uuid,
                                                                       Answer answer) {
    auto share = std::make_shared<Share>(connection_, std::move(answer));
    if (connection_.screencast() == nullptr)
        share->refuse(dispatch_, "the compositor offers no window capture to this program");
    else if (uuid.empty())
        share->refuse(dispatch_, "the window has no uuid");
    else
        share->open(connection_.screencast(), uuid);
    return share;
}

}  // namespace desktop
