#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <optional>
#include <string>

#include "PanelProbe.h"
#include "desktop/TestClient.h"
#include "desktop/XDriver.h"

class BenchDesktop;

// A test client window of a given size on the shared desktop, pinned and unpinned with
// Alt + P as a person would: the client is made active first. While pinned, the panel is
// the override-redirect window over the client's frame grown by the margin, and it shows
// the client's picture at the client's centre (the sample point).
class PinnedClient {
public:
    static constexpr int margin = 6;
    static constexpr uint32_t frameColor = 0x66746A;

    // Throws std::runtime_error when the client does not start.
    PinnedClient(BenchDesktop& bench, int width, int height);
    // A client of other options; `options` from optionsFor, changed.
    PinnedClient(BenchDesktop& bench, const ClientOptions& options);
    // The bench client of this size: its start colour, at the top left.
    static ClientOptions optionsFor(int width, int height);
    ~PinnedClient();
    PinnedClient(const PinnedClient&) = delete;
    PinnedClient& operator=(const PinnedClient&) = delete;

    TestClient& client() { return *client_; }
    int width() const { return width_; }
    int height() const { return height_; }
    xcb_window_t frame() { return x_.topLevelOf(client_->window()); }
    std::optional<XDriver::Rect> frameRect() { return x_.frameRect(client_->window()); }
    bool pinned() const { return panel_ != XCB_NONE; }
    xcb_window_t panel() const { return panel_; }

    // Each returns an error text, empty on success.
    std::string pin();
    std::string unpin();

    // The client's centre in the panel's coordinates, and a reader of the panel's pixels.
    int sampleX() const { return sampleX_; }
    int sampleY() const { return sampleY_; }
    PanelProbe probe() const;

private:
    std::string activate();
    std::optional<XDriver::TopLevel> findPanel();
    bool showsPicture(const XDriver::TopLevel& panel);
    std::string pinFailure();

    BenchDesktop& bench_;
    XDriver& x_;
    int width_;
    int height_;
    std::unique_ptr<TestClient> client_;
    xcb_window_t panel_ = XCB_NONE;
    int sampleX_ = 0;
    int sampleY_ = 0;
};
