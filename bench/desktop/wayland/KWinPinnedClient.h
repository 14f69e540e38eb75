#pragma once

#include <memory>
#include <string>

#include "desktop/wayland/HeadlessKWin.h"
#include "desktop/wayland/WaylandTestClient.h"

class KWinBench;

// A Wayland test client window of a given size on the shared KWin, pinned and unpinned with
// `veltrin --toggle` while it is the active window. KWin places it at home; moves go through
// KWin's scripting. While pinned, the panel lies over the window grown by the margin, with
// its frame colour just outside the window and the window's picture inside.
class KWinPinnedClient {
public:
    static constexpr int margin = 6;
    static constexpr int home = 40;
    static constexpr uint32_t startColor = 0x3366CC;
    static constexpr uint32_t frameColor = 0x66746A;

    // Throws std::runtime_error when the client does not show at home.
    KWinPinnedClient(KWinBench& bench, int width, int height);
    ~KWinPinnedClient();
    KWinPinnedClient(const KWinPinnedClient&) = delete;
    KWinPinnedClient& operator=(const KWinPinnedClient&) = delete;

    WaylandTestClient& client() { return *client_; }
    int width() const { return rect_.width; }
    int height() const { return rect_.height; }
    const HeadlessKWin::Rect& rect() const { return rect_; }
    bool pinned() const { return pinned_; }

    // Asks KWin to move the window; false when the script did not run.
    bool moveTo(int x, int y);
    // Each returns an error text, empty on success.
    // Paints the window in one colour and waits until its centre shows it.
    std::string paint(uint32_t color);
    std::string pin();
    std::string unpin();

    // Whether the screen shows the panel's frame beside the window's left edge.
    bool framed();
    // The window's centre on the screen, where the panel shows its picture while pinned.
    int centreX() const { return rect_.x + rect_.width / 2; }
    int centreY() const { return rect_.y + rect_.height / 2; }

private:
    std::string activate();
    bool showsColorAtCentre(uint32_t color);

    KWinBench& bench_;
    std::unique_ptr<WaylandTestClient> client_;
    HeadlessKWin::Rect rect_;
    bool pinned_ = false;
};
