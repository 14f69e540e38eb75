#include "desktop/HeadlessDesktop.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 15s;  // a loaded machine with sanitizers can be slow

// Click to focus and raise (the client still gets the click: a Frame binding would swallow
// it), titlebar drags move, corner drags resize, nothing animated,
// no key bindings (the tests own the keyboard), two virtual desktops.
constexpr const char* openboxConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy><center>yes</center></placement>
  <theme><animateIconify>no</animateIconify></theme>
  <desktops><number>2</number><firstdesk>1</firstdesk><popupTime>0</popupTime></desktops>
  <keyboard/>
  <mouse>
    <dragThreshold>1</dragThreshold>
    <context name="Client Titlebar Top Bottom Left Right TLCorner TRCorner BLCorner BRCorner">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar"><mousebind button="Left" action="Drag"><action name="Move"/></mousebind></context>
    <context name="BRCorner"><mousebind button="Left" action="Drag"><action name="Resize"/></mousebind></context>
    <context name="Close"><mousebind button="Left" action="Click"><action name="Close"/></mousebind></context>
    <context name="Iconify"><mousebind button="Left" action="Click"><action name="Iconify"/></mousebind></context>
  </mouse>
</openbox_config>
)";

// i3 tiles by default; the tests place their windows, so every window floats. No bar and no
// key bindings (the tests own the keyboard).
constexpr const char* i3Config = R"(# i3 config file (v4)
for_window [all] floating enable
focus_on_window_activation focus
focus_follows_mouse no
)";

std::string makeDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "veltrin-desktop-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp folder");
    return pattern;
}

// The display number that Xvfb writes once it accepts connections.
std::string readDisplayNumber(int fd) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[16];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) break;
        text.append(buffer, static_cast<size_t>(count));
    }
    if (text.find('\n') == std::string::npos) throw std::runtime_error("Xvfb did not start");
    return ":" + text.substr(0, text.find('\n'));
}

// Whether a server listens on the socket at `path` yet.
bool accepts(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) throw std::runtime_error("socket path too long");
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool listening =
        fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) close(fd);
    return listening;
}

}  // namespace

HeadlessDesktop::HeadlessDesktop(int width, int height) : directory_(makeDirectory()) {
    try {
        startBus();
        startServer(width, height);
        startWindowManager();
    } catch (...) {
        // The members end their processes by themselves; the folder and the bus address
        // need a hand.
        restoreBusAddress();
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
        throw;
    }
}

// The children end in reverse order of their members: tray, compositor, WM, then the server.
HeadlessDesktop::~HeadlessDesktop() {
    tray_.reset();
    compositor_.reset();
    windowManager_.reset();
    x_.reset();
    server_.reset();
    restoreBusAddress();
    bus_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::unique_ptr<ChildProcess> HeadlessDesktop::start(
    std::vector<std::string> arguments, const std::map<std::string, std::string>& environment) {
    ChildProcess::Spec spec;
    spec.arguments = std::move(arguments);
    spec.environment = {{"DISPLAY", display_},
                        {"HOME", directory_},
                        {"XDG_CONFIG_HOME", directory_ + "/config"},
                        {"XDG_CACHE_HOME", directory_ + "/cache"},
                        {"SESSION_MANAGER", std::nullopt}};
    for (const auto& [key, value] : environment)
        spec.environment[key] = value;
    spec.stderrFd = open((directory_ + "/children.log").c_str(),
                         O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    auto child = std::make_unique<ChildProcess>(spec);
    close(spec.stderrFd);
    return child;
}

// From here on the bus is in this process's environment, so that whatever starts later
// meets there; the address before it comes back when the desktop ends.
void HeadlessDesktop::startBus() {
    const std::string socket = directory_ + "/bus";
    bus_ = start(
        {"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=unix:path=" + socket});
    if (!XDriver::waitUntil([&] { return accepts(socket); }, startTimeout))
        throw std::runtime_error("dbus-daemon did not start");
    if (const char* outer = std::getenv("DBUS_SESSION_BUS_ADDRESS")) outerBusAddress_ = outer;
    busAddress_ = "unix:path=" + socket;
    setenv("DBUS_SESSION_BUS_ADDRESS", busAddress_.c_str(), 1);
}

void HeadlessDesktop::restoreBusAddress() {
    if (busAddress_.empty()) return;
    if (outerBusAddress_)
        setenv("DBUS_SESSION_BUS_ADDRESS", outerBusAddress_->c_str(), 1);
    else
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

void HeadlessDesktop::startServer(int width, int height) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    ChildProcess::Spec spec;
    spec.arguments = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                      "-screen",   "0",          screen,
                      "-nolisten", "tcp",        "-noreset"};
    spec.keepOpen = {fds[1]};
    server_ = std::make_unique<ChildProcess>(spec);
    close(fds[1]);
    try {
        display_ = readDisplayNumber(fds[0]);
    } catch (...) {
        close(fds[0]);
        throw;
    }
    close(fds[0]);
    x_ = std::make_unique<XDriver>(display_);
}

std::string HeadlessDesktop::windowManagerName() {
    const char* name = std::getenv("VELTRIN_TEST_WM");
    return name != nullptr && *name != '\0' ? name : "openbox";
}

void HeadlessDesktop::launchWindowManager(const std::string& name) {
    if (name == "openbox") {
        const std::string config = directory_ + "/openbox-rc.xml";
        std::ofstream(config) << openboxConfig;
        windowManager_ = start({"openbox", "--sm-disable", "--config-file", config});
    } else if (name == "xfwm4") {
        // It reads its settings over the session bus, which this desktop already runs.
        windowManager_ = start({"xfwm4", "--compositor=on", "--sm-client-disable"});
    } else if (name == "i3") {
        const std::string config = directory_ + "/i3.conf";
        std::ofstream(config) << i3Config;
        std::filesystem::create_directory(directory_ + "/runtime");
        std::filesystem::permissions(directory_ + "/runtime", std::filesystem::perms::owner_all);
        windowManager_ =
            start({"i3", "-c", config}, {{"XDG_RUNTIME_DIR", directory_ + "/runtime"}});
    } else {
        throw std::runtime_error("VELTRIN_TEST_WM names no window manager the tests know: " + name);
    }
}

// The window manager names a check window on the root, and the check window names itself.
void HeadlessDesktop::startWindowManager() {
    const std::string name = windowManagerName();
    launchWindowManager(name);
    const bool ready = XDriver::waitUntil(
        [this] {
            const auto check =
                x_->cardinal(x_->root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
            return check && *check != XCB_NONE &&
                   x_->cardinal(*check, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW) == check;
        },
        startTimeout);
    if (!ready || !XDriver::waitUntil([this] { return probeIsManaged(); }, startTimeout))
        throw std::runtime_error(name + " did not start on " + display_);
}

// A window manager names its check window before it manages anything, and a window mapped
// before then stays unmanaged: a fresh probe each try, gone again before any test starts.
bool HeadlessDesktop::probeIsManaged() {
    xcb_connection_t* c = x_->connection();
    const xcb_window_t probe = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, x_->root(), 0, 0, 10, 10, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(c, probe);
    const bool framed = XDriver::waitUntil([&] { return x_->topLevelOf(probe) != probe; }, 2s);
    const xcb_window_t frame = x_->topLevelOf(probe);
    xcb_destroy_window(c, probe);
    x_->sync();
    XDriver::waitUntil([&] { return x_->stackIndex(frame) < 0; }, 2s);
    return framed;
}

void HeadlessDesktop::waitForSelection(const std::string& selection, bool owned,
                                       const std::string& what) {
    const bool reached = XDriver::waitUntil(
        [&] { return (x_->selectionOwner(selection) != XCB_NONE) == owned; }, startTimeout);
    if (!reached) throw std::runtime_error(what + (owned ? " did not start" : " did not stop"));
}

void HeadlessDesktop::startCompositor() {
    if (compositor_ != nullptr) return;
    compositor_ = start({"xcompmgr"});
    waitForSelection("_NET_WM_CM_S0", true, "xcompmgr");
}

void HeadlessDesktop::stopCompositor() {
    if (compositor_ == nullptr) return;
    compositor_.reset();
    waitForSelection("_NET_WM_CM_S0", false, "xcompmgr");
}

void HeadlessDesktop::startTray() {
    if (tray_ != nullptr) return;
    tray_ = start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                   "--height", "24", "--SetDockType", "true", "--SetPartialStrut", "true"});
    waitForSelection("_NET_SYSTEM_TRAY_S0", true, "trayer");
}

void HeadlessDesktop::stopTray() {
    if (tray_ == nullptr) return;
    tray_.reset();
    waitForSelection("_NET_SYSTEM_TRAY_S0", false, "trayer");
}

void HeadlessDesktop::run(std::vector<std::string> arguments) {
    const std::string command = arguments[0];
    auto child = start(std::move(arguments));
    if (child->waitForExit(startTimeout) != 0) throw std::runtime_error(command + " failed");
}

void HeadlessDesktop::setMonitors(const std::vector<XDriver::Rect>& monitors) {
    for (size_t i = 0; i < monitors.size(); ++i) {
        const auto& m = monitors[i];
        // Sizes in millimetres at 96 dots per inch; Xvfb's single output is named "screen".
        const std::string geometry =
            std::to_string(m.width) + "/" + std::to_string(m.width * 254 / 960) + "x" +
            std::to_string(m.height) + "/" + std::to_string(m.height * 254 / 960) + "+" +
            std::to_string(m.x) + "+" + std::to_string(m.y);
        const std::string name = i == 0 ? "*primary" : "monitor" + std::to_string(i);
        run({"xrandr", "--setmonitor", name, geometry, i == 0 ? "screen" : "none"});
    }
}

void HeadlessDesktop::switchDesktop(int index) {
    x_->sendRootMessage(x_->root(), "_NET_CURRENT_DESKTOP", {static_cast<uint32_t>(index), 0});
    if (!XDriver::waitUntil([&] { return currentDesktop() == index; }, startTimeout))
        throw std::runtime_error("the window manager did not switch to desktop " +
                                 std::to_string(index));
}

int HeadlessDesktop::currentDesktop() {
    return static_cast<int>(x_->cardinal(x_->root(), "_NET_CURRENT_DESKTOP").value_or(UINT32_MAX));
}
