#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace sim {

SimDesktop::SimDesktop()
    : programBundleId(programBundleIdentifier), wallOrigin_(std::chrono::system_clock::now()) {}

SimDesktop::~SimDesktop() {
    global_.waitIdle();
    service_.waitIdle();
}

std::chrono::system_clock::time_point SimDesktop::wallNow() const {
    const auto elapsed = std::chrono::duration<double>(now());
    return wallOrigin_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(elapsed);
}

void SimDesktop::setWallClockOrigin(std::chrono::system_clock::time_point origin) {
    wallOrigin_ = origin - std::chrono::duration_cast<std::chrono::system_clock::duration>(
                               std::chrono::duration<double>(now()));
}

void SimDesktop::runUntilIdle() {
    constexpr size_t limit = 1'000'000;  // a runaway loop of self-posting work
    size_t total = 0;
    for (;;) {
        total += runLoop_.runDue([this](int32_t pid) { return processAlive(pid); },
                                 [this](int32_t pid) { current_ = pid; });
        const bool globalRan = global_.waitIdle();  // both queues drain, whatever the first did
        const bool serviceRan = service_.waitIdle();
        const bool background = globalRan || serviceRan;
        double due = 0;
        const bool more = runLoop_.nextDue(due) && due <= now();
        if (!background && !more) return;
        if (total > limit) {
            std::cerr << "simulated desktop: main queue never settles\n";
            std::abort();
        }
    }
}

void SimDesktop::advance(double seconds) {
    const double target = now() + seconds;
    runUntilIdle();
    double due = 0;
    while (runLoop_.nextDue(due) && due <= target) {
        runLoop_.setNow(std::max(due, now()));
        runUntilIdle();
    }
    runLoop_.setNow(target);
    runUntilIdle();
}

void SimDesktop::requireMainThread(const char* call) const {
    if (isMainThread()) return;
    std::cerr << "simulated desktop: " << call << " off the main thread\n";
    std::abort();
}

void SimDesktop::postMain(double delay, Task task) {
    runLoop_.post(current_, delay, std::move(task));
}

void SimDesktop::postMainFor(int32_t pid, double delay, Task task) {
    runLoop_.post(pid, delay, std::move(task));
}

SimProcess& SimDesktop::startProgramCopy(int32_t pid) {
    SimProcess& process = processes_.emplace_back();
    process.pid = pid;
    process.environment = sessionEnvironment;
    addApplication({pid, programBundleId, std::string(programName)});
    current_ = pid;
    return process;
}

SimProcess* SimDesktop::findProcess(int32_t pid) {
    for (auto& process : processes_)
        if (process.pid == pid) return &process;
    return nullptr;
}

bool SimDesktop::copyRunning(int32_t pid) {
    const SimProcess* process = findProcess(pid);
    return process != nullptr && !process->terminated;
}

std::optional<int32_t> SimDesktop::firstRunningCopy() const {
    for (const auto& process : processes_)
        if (!process.terminated) return process.pid;
    return std::nullopt;
}

SimProcess& SimDesktop::currentProcess() {
    SimProcess* process = findProcess(current_);
    if (process == nullptr) {
        std::cerr << "simulated desktop: no copy of the program is running\n";
        std::abort();
    }
    return *process;
}

const SimProcess& SimDesktop::currentProcess() const {
    return const_cast<SimDesktop*>(this)->currentProcess();
}

bool SimDesktop::processAlive(int32_t pid) const {
    for (const auto& process : processes_)
        if (process.pid == pid) return !process.terminated;
    return true;  // work posted on behalf of the desktop itself
}

void SimDesktop::terminateCurrentProcess() {
    SimProcess& process = currentProcess();
    if (process.terminated) return;
    process.terminated = true;
    quitApplication(process.pid);
    shell.hotKeys.releaseCopy(process.pid);
    shell.menuBar.releaseCopy(process.pid);
    ownWindows.releaseCopy(process.pid);
    keyMonitors.releaseCopy(process.pid);
    if (onCopyEnded) onCopyEnded(process.pid);
}

void SimDesktop::addApplication(platform::RunningApplication info) {
    apps_.push_back({std::move(info)});
}

SimApp* SimDesktop::findApp(int32_t pid) {
    for (auto& app : apps_)
        if (app.running && app.info.processIdentifier == pid) return &app;
    return nullptr;
}

std::vector<platform::RunningApplication> SimDesktop::runningApplications(
    const std::string& id) const {
    std::vector<platform::RunningApplication> found;
    for (const auto& app : apps_)
        if (app.running && app.info.bundleIdentifier == id) found.push_back(app.info);
    return found;
}

void SimDesktop::quitApplication(int32_t pid) {
    SimApp* app = findApp(pid);
    if (app == nullptr) return;
    app->running = false;
    std::erase_if(windows_, [pid](const SimWindow& w) { return w.ownerPid == pid; });
    if (frontmost_ == pid) frontmost_.reset();
    notifyTermination(app->info);
}

void SimDesktop::notifyTermination(const platform::RunningApplication& app) {
    for (auto& process : processes_) {
        if (process.terminated) continue;
        for (const auto& handler : process.terminationHandlers) {
            postMainFor(process.pid, 0, [handler, app] { handler({app}); });
        }
    }
}

std::optional<platform::RunningApplication> SimDesktop::frontmostApplication() const {
    if (!frontmost_) return std::nullopt;
    for (const auto& app : apps_)
        if (app.running && app.info.processIdentifier == *frontmost_) return app.info;
    return std::nullopt;
}

void SimDesktop::addWindow(SimWindow window) {
    windows_.push_back(window);
}

SimWindow* SimDesktop::findWindow(uint32_t number) {
    for (auto& window : windows_)
        if (window.number == number) return &window;
    return nullptr;
}

void SimDesktop::closeWindow(uint32_t number) {
    std::erase_if(windows_, [number](const SimWindow& w) { return w.number == number; });
}

std::vector<platform::SCWindow> SimDesktop::shareableWindows(bool onScreenOnly) const {
    std::vector<platform::SCWindow> list;
    for (const auto& window : windows_) {
        if (onScreenOnly && !window.onScreen) continue;
        platform::SCWindow record{window.number, window.frame, std::nullopt, window.onScreen};
        for (const auto& app : apps_)
            if (app.running && window.ownerPid != 0 &&
                app.info.processIdentifier == window.ownerPid)
                record.owningApplication = app.info;
        list.push_back(record);
    }
    return list;
}

}  // namespace sim
