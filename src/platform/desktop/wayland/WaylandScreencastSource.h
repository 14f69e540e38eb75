#pragma once

#include <memory>
#include <string>

#include "platform/desktop/wayland/ScreencastSource.h"

namespace platform {
class Dispatch;
}

namespace desktop {

class WaylandConnection;

// Windows shared by KWin's screencast protocol: stream_window on the window's uuid, without
// the pointer; the compositor answers with a PipeWire node or a failure. Main thread only.
class WaylandScreencastSource : public ScreencastSource {
public:
    WaylandScreencastSource(WaylandConnection& connection, platform::Dispatch& dispatch)
        : connection_(connection), dispatch_(dispatch) {}

    std::shared_ptr<ScreencastShare> streamWindow(const std::string& uuid, Answer answer) override;

private:
    WaylandConnection& connection_;
    platform::Dispatch& dispatch_;
};

}  // namespace desktop
