#include "desktop/wayland/HeadlessKWin.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusUnixFileDescriptor>
#include <QVariantMap>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::string selfPath() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

std::string readAll(int fd) {
    std::string data;
    char chunk[65536];
    for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;)
        data.append(chunk, size_t(got));
    return data;
}

}  // namespace

HeadlessKWin::HeadlessKWin(int width, int height, const std::vector<std::string>& trusted,
                           const std::vector<std::string>& entries,
                           const std::string& keyboardLayout, int outputs)
    : outputWidth_(width), outputs_(outputs) {
    const std::string directory = session_.runtimeDirectory();
    std::filesystem::create_directories(directory + "/data/applications");
    std::filesystem::create_directories(directory + "/config");
    std::ofstream(directory + "/config/kwinrc") << "[Desktops]\nNumber=2\nRows=1\n";
    if (!keyboardLayout.empty())
        std::ofstream(directory + "/config/kxkbrc")
            << "[Layout]\nUse=true\nLayoutList=" << keyboardLayout << "\n";
    for (const std::string& program : trusted)
        trust(program, "org_kde_plasma_window_management,zkde_screencast_unstable_v1", "");
    trust(selfPath(), "org_kde_plasma_window_management", "org.kde.KWin.ScreenShot2");
    trust(VELTRIN_WAYLAND_TEST_CLIENT, "org_kde_kwin_fake_input", "");
    for (const std::string& entry : entries)
        std::filesystem::copy_file(entry, directory + "/data/applications/" +
                                              std::filesystem::path(entry).filename().string());
    if (session_.start({"kbuildsycoca5"}).waitForExit(60s) != 0)
        throw std::runtime_error("kbuildsycoca5 failed");
    // The installed binary carries file capabilities a container may refuse to run.
    const std::string kwin = directory + "/kwin_wayland";
    std::filesystem::copy_file("/usr/bin/kwin_wayland", kwin);
    kwin_ = &session_.start(
        {kwin, "--virtual", "--width", std::to_string(width), "--height", std::to_string(height),
         "--output-count", std::to_string(outputs), "--socket", socket_, "--no-lockscreen"},
        {{"QT_QPA_PLATFORM", "offscreen"}});
    for (auto deadline = std::chrono::steady_clock::now() + 30s;;
         std::this_thread::sleep_for(50ms)) {
        if (std::filesystem::exists(directory + "/" + socket_) &&
            call("/Scripting org.freedesktop.DBus.Peer.Ping").find("error") == std::string::npos)
            break;
        if (!kwin_->running() || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("KWin did not start");
    }
}

HeadlessKWin::~HeadlessKWin() = default;

void HeadlessKWin::ensureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "veltrin_wayland_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

std::map<std::string, std::string> HeadlessKWin::environment() const {
    const std::string directory = session_.runtimeDirectory();
    return {{"WAYLAND_DISPLAY", socket_},
            {"XDG_RUNTIME_DIR", directory},
            {"PIPEWIRE_RUNTIME_DIR", directory},
            {"DBUS_SESSION_BUS_ADDRESS", session_.busAddress()}};
}

void HeadlessKWin::trust(const std::string& program, const std::string& interfaces,
                         const std::string& dbusInterfaces) {
    const std::string name = std::filesystem::path(program).filename().string();
    std::ofstream entry(session_.runtimeDirectory() + "/data/applications/" + name + ".desktop");
    entry << "[Desktop Entry]\nType=Application\nName=" << name << "\nExec=" << program
          << "\nX-KDE-Wayland-Interfaces=" << interfaces << "\n";
    if (!dbusInterfaces.empty())
        entry << "X-KDE-DBUS-Restricted-Interfaces=" << dbusInterfaces << "\n";
}

// One method call on KWin's bus name with dbus-send; its answer, or "error ...".
std::string HeadlessKWin::call(const std::string& arguments) {
    const std::string command = "DBUS_SESSION_BUS_ADDRESS='" + session_.busAddress() +
                                "' dbus-send --session --print-reply --dest=org.kde.KWin " +
                                arguments + " 2>&1";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[1024];
        while (size_t got = fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, got);
        if (pclose(pipe) != 0) text = "error " + text;
    }
    return text;
}

// Loaded from a file, run, then unloaded; where a loaded script's object lives differs
// between KWin versions.
bool HeadlessKWin::runScript(const std::string& javascript) {
    const std::string name = "veltrin-test-" + std::to_string(++scripts_);
    const std::string path = session_.runtimeDirectory() + "/" + name + ".js";
    std::ofstream(path) << javascript;
    const std::string loaded =
        call("/Scripting org.kde.kwin.Scripting.loadScript string:" + path + " string:" + name);
    const size_t at = loaded.find("int32 ");
    if (at == std::string::npos) return false;
    const std::string id = std::to_string(std::stoi(loaded.substr(at + 6)));
    bool ran = false;
    for (const std::string& object : {"/Scripting/Script" + id, "/" + id})
        if (!ran)
            ran = call(object + " org.kde.kwin.Script.run").find("error") == std::string::npos;
    call("/Scripting org.kde.kwin.Scripting.unloadScript string:" + name);
    return ran;
}

bool HeadlessKWin::moveWindow(pid_t pid, int x, int y, std::optional<int> width,
                              std::optional<int> height) {
    const std::string w = width ? std::to_string(*width) : "g.width";
    const std::string h = height ? std::to_string(*height) : "g.height";
    return runScript(
        "for (const c of workspace.clientList()) {\n"
        "  if (c.pid !== " +
        std::to_string(pid) +
        ") continue;\n"
        "  const g = c.frameGeometry;\n"
        "  c.frameGeometry = {x: " +
        std::to_string(x) + ", y: " + std::to_string(y) + ", width: " + w + ", height: " + h +
        "};\n"
        "}\n");
}

std::optional<Image> HeadlessKWin::capture(const Rect& area) {
    if (outputs_ == 1) return captureArea(area);
    Image whole{area.width, area.height,
                std::vector<uint32_t>(size_t(area.width) * size_t(area.height))};
    for (int output = 0; output < outputs_; ++output) {
        const int left = std::max(area.x, output * outputWidth_);
        const int right = std::min(area.x + area.width, (output + 1) * outputWidth_);
        if (left >= right) continue;
        const auto part = captureArea({left, area.y, right - left, area.height});
        if (!part || part->width != right - left || part->height != area.height)
            return std::nullopt;
        for (int y = 0; y < area.height; ++y)
            std::copy_n(&part->pixels[size_t(y) * size_t(part->width)], part->width,
                        &whole.pixels[size_t(y) * size_t(area.width) + size_t(left - area.x)]);
    }
    return whole;
}

std::optional<Image> HeadlessKWin::captureArea(const Rect& area) {
    ensureApplication();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromStdString(session_.busAddress()),
                                      "kwin " + QString::fromStdString(session_.busAddress()));
    // Every copy of the pipe's writing end must be closed before its end of data shows.
    QDBusMessage reply;
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureArea");
        message << area.x << area.y << uint(area.width) << uint(area.height) << QVariantMap{}
                << QVariant::fromValue(QDBusUnixFileDescriptor(fds[1]));
        close(fds[1]);
        reply = bus.call(message, QDBus::Block, 10000);
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        close(fds[0]);
        return std::nullopt;
    }
    const std::string data = readAll(fds[0]);
    close(fds[0]);
    const QVariantMap results = qdbus_cast<QVariantMap>(reply.arguments().front());
    Image shot;
    shot.width = results.value("width").toInt();
    shot.height = results.value("height").toInt();
    const int stride = results.value("stride").toInt();
    if (shot.width <= 0 || size_t(stride) * size_t(shot.height) > data.size()) return std::nullopt;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, data.data() + size_t(y) * size_t(stride) + size_t(x) * 4, 4);
            shot.pixels.push_back(pixel & 0xFFFFFFu);  // the 32-bit formats KWin sends: xRGB
        }
    return shot;
}

bool HeadlessKWin::closeWindows(pid_t pid) {
    return runScript(
        "for (const c of workspace.clientList())\n"
        "  if (c.pid === " +
        std::to_string(pid) + ") c.closeWindow();\n");
}

bool HeadlessKWin::switchDesktop(int number) {
    return runScript("workspace.currentDesktop = " + std::to_string(number) + ";\n");
}

void HeadlessKWin::stop() {
    if (kwin_ != nullptr) kwin_->stop();
}
