#include "MemorySoak.h"

#include <fstream>
#include <string>
#include <thread>

#include "BenchDesktop.h"

namespace {

using namespace std::chrono_literals;

constexpr size_t mostClients = 4;

}  // namespace

MemorySoak::MemorySoak(BenchDesktop& bench, uint32_t seed)
    : bench_(bench), program_(bench.veltrin().pid()), rng_(seed) {}

MemorySoak::~MemorySoak() = default;

std::optional<double> MemorySoak::residentMb() const {
    std::ifstream status("/proc/" + std::to_string(program_) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return std::nullopt;
}

TestClient& MemorySoak::any() {
    return *clients_[rng_() % clients_.size()];
}

bool MemorySoak::step(std::string& error) {
    ++played_;
    if (clients_.empty()) return open(error);
    const int choice = between(0, 99);
    TestClient& client = any();
    if (choice < 12) return clients_.size() < mostClients ? open(error) : close();
    if (choice < 20) return clients_.size() > 1 ? close() : open(error);
    if (choice < 45) return togglePin(client);
    if (choice < 60)
        return client.command("move " + std::to_string(between(0, 1400)) + " " +
                              std::to_string(between(0, 900)));
    if (choice < 72)
        return client.command("resize " + std::to_string(between(120, 900)) + " " +
                              std::to_string(between(90, 700)));
    if (choice < 80) {
        if (!client.command("iconify")) return false;
        std::this_thread::sleep_for(30ms);
        return client.command("map");
    }
    if (choice < 92) {
        // A few frames, so that pinned windows' pictures flow.
        if (!client.command("animate 60 0.15")) return false;
        return client.readLine(2s).has_value();
    }
    clickPanel();
    return true;
}

bool MemorySoak::open(std::string& error) {
    ClientOptions options;
    options.width = between(160, 800);
    options.height = between(120, 600);
    options.x = between(0, 1200);
    options.y = between(0, 800);
    options.color = static_cast<uint32_t>(rng_()) & 0xffffff;
    options.title = "veltrin soak client";
    try {
        clients_.push_back(std::make_unique<TestClient>(bench_.display(), options));
        failedOpens_ = 0;
    } catch (const std::exception& problem) {
        // A loaded machine can keep a client from starting in time; many in a row means
        // the desktop is gone.
        error = problem.what();
        return ++failedOpens_ < 10;
    }
    return true;
}

// Half of the closes end the client's process instead of closing its window.
bool MemorySoak::close() {
    const size_t at = rng_() % clients_.size();
    if (rng_() % 2 == 0)
        clients_[at]->command("close");
    else
        clients_[at]->kill();
    clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

bool MemorySoak::activate(TestClient& client) {
    XDriver& x = bench_.x();
    const xcb_window_t window = client.window();
    if (x.activeWindow() == window) return true;
    if (!client.command("raise")) return false;
    return XDriver::waitUntil([&] { return x.activeWindow() == window; }, 3s);
}

// Waits until the program's panels number one more or one fewer; a pin the program
// refuses still counts as played.
bool MemorySoak::togglePin(TestClient& client) {
    if (!activate(client)) return true;  // the window manager kept another window in front
    XDriver& x = bench_.x();
    const size_t before = x.overrideRedirectWindows().size();
    if (!x.key("alt+p")) return false;
    XDriver::waitUntil([&] { return x.overrideRedirectWindows().size() != before; }, 2s);
    return true;
}

void MemorySoak::clickPanel() {
    const auto panels = bench_.x().overrideRedirectWindows();
    if (panels.empty()) return;
    const auto& panel = panels[rng_() % panels.size()].rect;
    bench_.x().click(panel.x + panel.width / 2, panel.y + panel.height / 2);
}
