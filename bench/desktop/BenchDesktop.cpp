#include "BenchDesktop.h"

#include "ProcessCpu.h"

#include <stdexcept>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int screenWidth = 2560;
constexpr int screenHeight = 1600;

// The program starts as people run it: with a tray host, its icon shown.
const std::string& withTray(HeadlessDesktop& desktop) {
    desktop.startTray();
    return desktop.display();
}

}  // namespace

BenchDesktop::BenchDesktop() : desktop_(screenWidth, screenHeight), veltrin_(withTray(desktop_)) {
    waitUntilReady();
}

std::unique_ptr<BenchDesktop>& BenchDesktop::instance() {
    static std::unique_ptr<BenchDesktop> desktop;
    return desktop;
}

BenchDesktop& BenchDesktop::shared() {
    auto& desktop = instance();
    if (desktop == nullptr) desktop.reset(new BenchDesktop());
    return *desktop;
}

void BenchDesktop::shutdown() {
    instance().reset();
}

// The shortcut is grabbed right after the start record. Other programs share the log file:
// the start record is this copy's by its pid (a whole line, not the start of a longer pid).
void BenchDesktop::waitUntilReady() {
    const std::string start = "start: AXtrusted=true pid=" + std::to_string(veltrin_.pid()) + "\n";
    const bool registered = XDriver::waitUntil(
        [&] {
            const std::string log = veltrin_.log();
            const auto at = log.find(start);
            return at != std::string::npos && log.find("hotkey: Register", at) != std::string::npos;
        },
        30s, 20ms);
    if (!registered)
        throw std::runtime_error("the program did not start with its shortcut; stderr: " +
                                 veltrin_.standardError() + "log: " + veltrin_.log());
    std::this_thread::sleep_for(200ms);
    startThreads_ = ProcessCpu::threads(veltrin_.pid());
}
