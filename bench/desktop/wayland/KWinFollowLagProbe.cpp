#include "wayland/KWinFollowLagProbe.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <thread>

#include "MonotonicClock.h"
#include "desktop/XDriver.h"
#include "wayland/KWinBench.h"
#include "wayland/KWinPinnedClient.h"

namespace {

// Two points on the moved window's middle row: one inside it that neither it nor the panel
// covered before, and one just outside it where only the moved panel's frame can show. Moves
// go away from home to the right and down, and back, by more than the margin and the inset.
// When a screenshot came back, and after what its frame was made: the request of the one
// before.
struct Shot {
    int64_t notBeforeNs = 0;
    int64_t seenNs = 0;
};

struct Points {
    int windowX = 0;
    int panelX = 0;
    int y = 0;
};

Points pointsFor(const HeadlessKWin::Rect& to, bool away) {
    constexpr int inset = 10;
    const int middle = to.y + to.height / 2;
    if (away) return {to.x + to.width - inset, to.x + to.width + 3, middle};
    return {to.x + inset, to.x - 3, middle};
}

}  // namespace

KWinFollowLagProbe::Sample KWinFollowLagProbe::measure(KWinPinnedClient& pinned,
                                                       int64_t timeoutNs) {
    const int offset = 30 + (step_ % 5) * 7;
    const bool away = step_++ % 2 == 0;
    const int x = away ? KWinPinnedClient::home + offset : KWinPinnedClient::home;
    const int y = away ? KWinPinnedClient::home + offset : KWinPinnedClient::home;
    const Points points = pointsFor({x, y, pinned.width(), pinned.height()}, away);
    const int left = std::min(points.windowX, points.panelX);
    const HeadlessKWin::Rect area{left, points.y, std::abs(points.windowX - points.panelX) + 1, 1};
    HeadlessKWin& kwin = KWinBench::shared().kwin();

    const int64_t requestNs = monotonicNs();
    std::thread mover([&] { pinned.moveTo(x, y); });
    Sample sample;
    std::optional<Shot> window;  // the first screenshot that showed the window moved
    int64_t previousNs = requestNs;
    for (int64_t startNs = requestNs; startNs < requestNs + timeoutNs; startNs = monotonicNs()) {
        const auto shot = kwin.capture(area);
        const Shot now{previousNs, monotonicNs()};
        previousNs = startNs;
        sample.captureMs = std::max(sample.captureMs, millisecondsBetween(startNs, now.seenNs));
        if (!shot) break;
        const bool panel =
            XDriver::similar(shot->at(points.panelX - left, 0), KWinPinnedClient::frameColor, 10);
        if (!window && (panel || XDriver::similar(shot->at(points.windowX - left, 0),
                                                  KWinPinnedClient::startColor, 8)))
            window = now;
        if (panel) {
            sample.followed = true;
            sample.atMostMs = millisecondsBetween(window->notBeforeNs, now.seenNs);
            sample.atLeastMs = std::max(0.0, millisecondsBetween(window->seenNs, now.notBeforeNs));
            sample.sinceRequestMs = millisecondsBetween(requestNs, now.seenNs);
            break;
        }
        if (window) ++sample.framesLate;
    }
    mover.join();
    return sample;
}
