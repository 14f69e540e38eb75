#include "GtkWindow.h"

#include <stdexcept>

#include "BenchDesktop.h"

namespace {

using namespace std::chrono_literals;

ChildProcess::Spec factorySpec(const std::string& display) {
    ChildProcess::Spec spec;
    spec.arguments = {"gtk4-widget-factory"};
    spec.environment["DISPLAY"] = display;
    spec.environment["GDK_BACKEND"] = "x11";
    spec.environment["WAYLAND_DISPLAY"] = std::nullopt;
    spec.environment["NO_AT_BRIDGE"] = "1";  // no accessibility bus on the headless desktop
    spec.environment["GTK_A11Y"] = "none";
    return spec;
}

}  // namespace

GtkWindow::GtkWindow(BenchDesktop& bench)
    : bench_(bench),
      x_(bench.x()),
      process_(std::make_unique<ChildProcess>(factorySpec(bench.display()))) {
    XDriver::waitUntil([&] { return (window_ = findWindow()) != XCB_NONE; }, 20s, 50ms);
    if (window_ == XCB_NONE)
        throw std::runtime_error(
            "gtk4-widget-factory showed no window (gtk-4-examples installed?)");
}

GtkWindow::~GtkWindow() {
    process_->stop();
}

// The managed window whose _NET_WM_PID is the program's.
xcb_window_t GtkWindow::findWindow() {
    if (!process_->running()) return XCB_NONE;
    for (const uint32_t window : x_.cardinals(x_.root(), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW))
        if (x_.cardinal(window, "_NET_WM_PID") == uint32_t(process_->pid())) return window;
    return XCB_NONE;
}

std::optional<XDriver::Rect> GtkWindow::panelRect() {
    auto rect = x_.frameRect(window_);
    if (!rect) return std::nullopt;
    const auto e = x_.cardinals(window_, "_GTK_FRAME_EXTENTS");
    if (e.size() >= 4) {
        rect->x += int(e[0]);
        rect->y += int(e[2]);
        rect->width -= int(e[0] + e[1]);
        rect->height -= int(e[2] + e[3]);
    }
    return rect->grownBy(margin);
}

void GtkWindow::requestSize(int width, int height) {
    const uint32_t values[] = {uint32_t(width), uint32_t(height)};
    xcb_configure_window(x_.connection(), window_,
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(x_.connection());
}

std::string GtkWindow::pin() {
    if (panel_ != XCB_NONE) return "";
    x_.sendRootMessage(window_, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0});
    if (!XDriver::waitUntil([&] { return x_.activeWindow() == window_; }, 5s))
        return "the GTK window did not become active";
    if (!x_.key("alt+p")) return "Alt + P could not be typed";
    const bool shown = XDriver::waitUntil(
        [&] {
            const auto expected = panelRect();
            for (const auto& w : x_.overrideRedirectWindows())
                if (expected && w.rect == *expected) panel_ = w.window;
            return panel_ != XCB_NONE;
        },
        10s, 20ms);
    if (shown) return "";
    const std::string log = bench_.veltrin().log();
    return "no panel over the GTK window within 10 s; log ends: " +
           log.substr(log.size() > 600 ? log.size() - 600 : 0);
}
