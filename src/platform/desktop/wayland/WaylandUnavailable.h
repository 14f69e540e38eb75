#pragma once

#include <memory>
#include <string>

#include "platform/CaptureStream.h"
#include "platform/HotKeys.h"

namespace desktop {

// What a session without a service gives instead: capture streams that fail to start, with
// the reason, through the same path as a stream the compositor refuses.
std::unique_ptr<platform::CaptureStreams> makeUnavailableCaptureStreams(std::string reason);
// Hot keys that cannot be registered; the reason is logged once.
std::unique_ptr<platform::HotKeys> makeUnavailableHotKeys(std::string reason);

}  // namespace desktop
