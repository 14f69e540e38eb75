#include "platform/sim/SimShareableContent.h"

namespace sim {

void SimShareableContent::request(bool, bool onScreenWindowsOnly, Completion completion) {
    ++desktop_.shareableContentRequests;
    if (!desktop_.shareableContentAnswers) return;
    if (!desktop_.screenCaptureAllowed) {
        platform::PlatformError denied{-3801,
                                       "The user declined TCCs for application, window, "
                                       "display capture"};
        desktop_.postService([completion, denied] { completion(std::nullopt, denied); });
        return;
    }
    platform::SCShareableContent content{desktop_.shareableWindows(onScreenWindowsOnly)};
    desktop_.postService([completion, content] { completion(content, std::nullopt); });
}

}  // namespace sim
