#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace desktop {

// One window shared by the compositor as a PipeWire node. Dropping the last reference
// closes the share (the compositor's stream object is told to close and destroyed); so
// does close(), which may come first. Both only on the main thread; closing twice is fine.
// When the compositor ends a share by itself (the window closed, the global withdrawn), the
// share need not tell anyone: its node goes away, and the capture stream notices that.
class ScreencastShare {
public:
    virtual ~ScreencastShare() = default;
    virtual void close() = 0;
};

// The compositor's side of a window capture: it turns a window into a PipeWire node that
// the capture streams then consume. Implemented by the session (on KWin with the
// screencast protocol's stream_window); everything here happens on the main thread.
class ScreencastSource {
public:
    // A PipeWire node id, or a text saying why there is none (window gone, not granted,
    // the compositor refused or withdrew the global, ...).
    using Outcome = std::variant<uint32_t, std::string>;
    using Answer = std::function<void(const Outcome& outcome)>;

    virtual ~ScreencastSource() = default;

    // Asks for a share of the window with this uuid. Call on the main thread. The answer
    // runs once, on the main thread, never inside this call, unless the returned share is
    // closed or dropped first. The share is never null: a request that cannot even be sent
    // still gives a share and answers with an error. An answer that never comes is taken
    // as a failure after the capture's start deadline.
    virtual std::shared_ptr<ScreencastShare> streamWindow(const std::string& uuid,
                                                          Answer answer) = 0;
};

// How the capture streams find the uuid of the logic's window number (SCWindow.windowID);
// nothing when the window is not known (any more). Called on the main thread only.
using WindowUuidLookup = std::function<std::optional<std::string>(uint32_t windowID)>;

}  // namespace desktop

// The capture streams are made by the session as
//   std::make_unique<desktop::PipeWireCaptureStreams>(source, lookup, dispatch)
// (source: std::shared_ptr<ScreencastSource>, lookup: WindowUuidLookup,
//  dispatch: platform::Dispatch& whose main queue runs on the session's main thread),
// declared in platform/desktop/wayland/PipeWireCaptureStreams.h.
