#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/EventTaps.h"
#include "platform/desktop/x11/X11InputThread.h"

namespace desktop {

class X11Context;

// The event taps and the one input thread they share, which runs while any tap is valid.
// The thread posts each left-button event to the main queue; whether a tap hears it is
// decided there, so a tap invalidated meanwhile never does. Main thread only.
class X11EventTapList : public std::enable_shared_from_this<X11EventTapList> {
public:
    struct Tap final : platform::EventTapPort, std::enable_shared_from_this<Tap> {
        Tap(uint64_t mask, platform::EventTaps::Callback callback, void* userInfo,
            std::weak_ptr<X11EventTapList> list);
        ~Tap() override;

        bool listens(uint32_t type) const;
        // Hears nothing more, ever.
        void end();

        uint64_t mask;
        platform::EventTaps::Callback callback;
        void* userInfo;  // unowned: never touched once the tap is invalid
        std::weak_ptr<X11EventTapList> list;
        bool enabled = false;
        bool valid = true;
        bool onRunLoop = false;
    };

    X11EventTapList(X11Context& context, platform::Dispatch& dispatch);

    // Nothing when the input thread cannot run (display gone, no XInput 2.2).
    std::shared_ptr<Tap> add(uint64_t mask, platform::EventTaps::Callback callback, void* userInfo);

private:
    void release();
    bool ensureThread();
    void post(const std::weak_ptr<X11EventTapList>& self, bool pressed, platform::Point root);
    void deliver(const platform::TapEvent& event);

    X11Context& context_;
    platform::Dispatch& dispatch_;
    std::vector<std::weak_ptr<Tap>> taps_;  // in creation order
    int live_ = 0;                          // valid taps
    std::unique_ptr<X11InputThread> thread_;
};

}  // namespace desktop
