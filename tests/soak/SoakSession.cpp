#include "soak/SoakSession.h"

#include <algorithm>
#include <set>

#include "hotkey/HotkeyManager.h"
#include "pinning/MirrorPanel.h"
#include "pinning/PinManager.h"
#include "platform/sim/SimPlatform.h"
#include "simulate/ScenarioCommands.h"
#include "support/SimFixture.h"

const std::string SoakSession::scene = R"(screen 0 0 1920 1080 0 0 1920 1055
app 812 com.example.editor Editor
app 813 com.example.browser Browser
app 814 - "No)"
                                       "\x01"
                                       R"(tes"
window 471 812 120 80 800 600
window 472 812 300 200 640 480
window 501 813 960 100 900 700
window 520 814 40 500 400 300
focus 812
permission accessibility on
permission screen-recording on
launch
)";

SoakSession::SoakSession() {
    MirrorPanel::forgetScreenFrame();
    HotkeyManagerReset::toFreshInstance();
    platform::install(std::make_unique<sim::SimPlatform>(desktop_));
    defineAllCommands(scenario_);
    std::ostringstream errors;
    if (!scenario_.run(scene, errors)) failure_ = "the scene failed: " + errors.str();
}

SoakSession::~SoakSession() {
    PinManager::shared().onPinChanged = nullptr;
    PinManager::shared().unpinAll();
    desktop_.runUntilIdle();
    platform::uninstall();
}

std::optional<std::string> SoakSession::playRandom(uint32_t seed, int count) {
    rng_.seed(seed);
    for (int i = 0; i < count; ++i) {
        const std::string line = nextLine();
        const Outcome outcome = playLine(line);
        if (outcome != Outcome::refused) played_.push_back(line);
        if (outcome == Outcome::broken) return failure_;
    }
    return std::nullopt;
}

std::optional<std::string> SoakSession::replay(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        const Outcome outcome = playLine(line);
        if (outcome == Outcome::refused) return std::nullopt;
        if (outcome == Outcome::broken) return failure_;
    }
    return std::nullopt;
}

SoakSession::Outcome SoakSession::playLine(const std::string& line) {
    if (!failure_.empty()) return Outcome::broken;
    std::ostringstream errors;
    if (!scenario_.run(line + "\n", errors)) return Outcome::refused;
    if (auto what = broken()) {
        failure_ = *what;
        return Outcome::broken;
    }
    return Outcome::fine;
}

// --- what must always hold ---------------------------------------------------------------

std::optional<std::string> SoakSession::broken() {
    if (auto what = pinsAndPanels()) return what;
    if (auto what = goneWindowsUnpinned()) return what;
    if (auto what = nothingLeftOfUnpinned()) return what;
    return oneLinePerRecord();
}

// Every listed pin has one panel of its own; no panel shows without a listed pin.
std::optional<std::string> SoakSession::pinsAndPanels() const {
    const auto& mirrors = PinManager::shared().mirrors;
    std::set<uint32_t> pinned;
    for (const auto& mirror : mirrors)
        if (!pinned.insert(mirror->scWindow().windowID).second)
            return "window " + std::to_string(mirror->scWindow().windowID) + " pinned twice";
    for (const auto& window : desktop_.ownWindows.all()) {
        if (!window->isPanel() || !window->isVisible()) continue;
        const bool listed = std::any_of(mirrors.begin(), mirrors.end(), [&](const auto& mirror) {
            return mirror->panel().get() == window.get();
        });
        if (!listed) return "a panel shows without a listed pin";
    }
    return std::nullopt;
}

// A window closed, or of an application that quit, is unpinned within a second. A pin
// whose capture failed to start stays listed, stopped and closed, until it is toggled off.
std::optional<std::string> SoakSession::goneWindowsUnpinned() {
    std::map<uint32_t, double> stillGone;
    for (const auto& mirror : PinManager::shared().mirrors) {
        const uint32_t id = mirror->scWindow().windowID;
        const bool failedToStart = !mirror->panel()->isVisible() && !mirror->capture()->stream();
        if (desktop_.findWindow(id) != nullptr || failedToStart) continue;
        const auto since = goneSince_.find(id);
        const double gone = since == goneSince_.end() ? desktop_.now() : since->second;
        if (desktop_.now() - gone > 1.0 + 1e-9)
            return "window " + std::to_string(id) + " still pinned a second after it went";
        stillGone[id] = gone;
    }
    goneSince_ = std::move(stillGone);
    return std::nullopt;
}

// Unpinned windows leave no timer, display link, tap, observer or running stream behind.
std::optional<std::string> SoakSession::nothingLeftOfUnpinned() {
    const size_t pins = PinManager::shared().mirrors.size();
    if (desktop_.timers.validTimers() > pins) return "a timer outlives its pin";
    if (desktop_.displayLinks.all().size() > pins) return "a display link outlives its pin";
    if (desktop_.eventTaps.sourcesOnRunLoop() > pins) return "an event tap outlives its pin";
    if (desktop_.axObservers.sourcesOnRunLoop() > pins) return "an observer outlives its pin";
    std::set<uint32_t> pinned;
    for (const auto& mirror : PinManager::shared().mirrors)
        pinned.insert(mirror->scWindow().windowID);
    for (const uint32_t window : known_) {
        if (pinned.contains(window)) continue;
        for (const auto& stream : desktop_.captureModel.streams(window))
            if (stream->state() == sim::SimStream::State::running)
                return "window " + std::to_string(window) + " streams while unpinned";
    }
    return std::nullopt;
}

// Every line of the log is one record: a time stamp, then the message.
std::optional<std::string> SoakSession::oneLinePerRecord() {
    std::string log;
    {
        std::lock_guard lock(desktop_.filesMutex);
        const auto found = desktop_.files.find(logPath);
        if (found != desktop_.files.end()) log = found->second;
    }
    if (!log.empty() && log.back() != '\n') return "the log ends inside a record";
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if (line.size() < 28 || line[0] != '[' || line.compare(20, 8, " +0000] ") != 0)
            return "a log line that is not a record: " + line;
    return std::nullopt;
}
