#pragma once

// A private X desktop for one test: Xvfb on a display number it picks itself (-displayfd),
// openbox managing it (click to focus, two virtual desktops, no animations), a session bus of
// its own (DBUS_SESSION_BUS_ADDRESS of this process while it lives, so every program a test
// starts meets there), and on request a compositing manager and a tray host.
// VELTRIN_TEST_WM=xfwm4 (with its compositor on) or VELTRIN_TEST_WM=i3 (every window floating)
// manage it instead of openbox. Everything it started ends with it, also when the test fails.
// Starting takes about a second.
//
//   HeadlessDesktop desktop;                       // 1600x1200
//   TestClient client(desktop.display(), {...});
//   desktop.x().key("alt+p");                      // the desktop's own XDriver
//   desktop.startCompositor();                     // until stopCompositor() or the end
//   desktop.startTray();
//   desktop.setMonitors({{800, 0, 800, 1200}, {0, 0, 800, 1200}});  // first is primary
//   desktop.switchDesktop(1);

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/ChildProcess.h"
#include "desktop/XDriver.h"

class HeadlessDesktop {
public:
    // Throws std::runtime_error when the server or the window manager does not come up.
    explicit HeadlessDesktop(int width = 1600, int height = 1200);
    ~HeadlessDesktop();
    HeadlessDesktop(const HeadlessDesktop&) = delete;
    HeadlessDesktop& operator=(const HeadlessDesktop&) = delete;

    const std::string& display() const { return display_; }
    XDriver& x() { return *x_; }
    pid_t serverPid() const { return server_->pid(); }
    const std::string& busAddress() const { return busAddress_; }

    // xcompmgr; returns once it owns _NET_WM_CM_S0 (throws otherwise).
    void startCompositor();
    void stopCompositor();
    // trayer; returns once it owns _NET_SYSTEM_TRAY_S0 (throws otherwise).
    void startTray();
    void stopTray();
    // RandR monitors in root coordinates; the first is the primary one and takes over the
    // server's output, so the default whole-screen monitor goes away.
    void setMonitors(const std::vector<XDriver::Rect>& monitors);
    // Asks the window manager for virtual desktop `index` and waits until it is shown.
    void switchDesktop(int index);
    int currentDesktop();
    // openbox, xfwm4 or i3: what VELTRIN_TEST_WM asks for.
    static std::string windowManagerName();

private:
    void startBus();
    void restoreBusAddress();
    void startServer(int width, int height);
    void startWindowManager();
    void launchWindowManager(const std::string& name);
    bool probeIsManaged();
    std::unique_ptr<ChildProcess> start(std::vector<std::string> arguments,
                                        const std::map<std::string, std::string>& environment = {});
    void waitForSelection(const std::string& selection, bool owned, const std::string& what);
    void run(std::vector<std::string> arguments);

    std::string directory_;
    std::unique_ptr<ChildProcess> bus_;
    std::string busAddress_;
    std::optional<std::string> outerBusAddress_;  // restored when the desktop ends
    std::string display_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<XDriver> x_;
    std::unique_ptr<ChildProcess> windowManager_;
    std::unique_ptr<ChildProcess> compositor_;
    std::unique_ptr<ChildProcess> tray_;
};
