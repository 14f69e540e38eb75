#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Application.h"
#include "platform/Geometry.h"
#include "platform/RunningApplication.h"
#include "platform/ShareableContent.h"
#include "platform/Workspace.h"
#include "platform/sim/SimAXModel.h"
#include "platform/sim/SimAXObservers.h"
#include "platform/sim/SimCaptureModel.h"
#include "platform/sim/SimInterfaceModel.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimWorkerPool.h"

namespace sim {

// One running copy of this program on the simulated desktop.
struct SimProcess {
    int32_t pid = 0;
    std::map<std::string, std::string> environment;
    platform::ApplicationDelegate* delegate = nullptr;
    int activationPolicy = 0;
    bool terminated = false;
    int activationsIgnoringOthers = 0;
    std::vector<platform::Workspace::TerminationHandler> terminationHandlers;
};

// Another application (or a copy of this program) as the workspace lists it.
struct SimApp {
    platform::RunningApplication info;
    bool running = true;
    bool acceptsActivation = true;
};

struct SimScreen {
    platform::Rect frame;         // the first screen's origin is the global origin
    platform::Rect visibleFrame;  // without the menu bar and the Dock
};

struct SimWindow {
    uint32_t number = 0;
    int32_t ownerPid = 0;  // 0: no owning application
    platform::Rect frame;  // window-server coordinates
    bool onScreen = true;
};

// The simulated desktop: its model, its clock and queues, and the control surface that
// tests and the scenario runner drive it through.
class SimDesktop {
public:
    using Task = std::function<void()>;
    using DefaultValue = std::variant<int64_t, std::string>;

    SimDesktop();
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    // --- time and queues -------------------------------------------------------------
    double now() const { return runLoop_.now(); }
    std::chrono::system_clock::time_point wallNow() const;
    void setWallClockOrigin(std::chrono::system_clock::time_point origin);
    // Drains the main queue and waits for background work until nothing is left to do now.
    void runUntilIdle();
    // Moves the clock forward, running everything that falls due on the way.
    void advance(double seconds);
    bool isMainThread() const { return runLoop_.isMainThread(); }
    // Stops the program with a message when a main-thread-only call comes from elsewhere.
    void requireMainThread(const char* call) const;
    void postMain(double delay, Task task);                  // for the current copy
    void postMainFor(int32_t pid, double delay, Task task);  // for a given copy
    void postGlobal(Task task) { global_.post(std::move(task)); }
    // Platform completion handlers: on a service thread, never the caller's.
    void postService(Task task) { service_.post(std::move(task)); }

    // --- copies of this program ------------------------------------------------------
    static constexpr const char* programBundleIdentifier = "app.veltrin";
    static constexpr const char* programName = "Veltrin";
    // The environment that new copies start with.
    std::map<std::string, std::string> sessionEnvironment;
    SimProcess& startProgramCopy(int32_t pid);
    SimProcess& currentProcess();
    const SimProcess& currentProcess() const;
    SimProcess* findProcess(int32_t pid);
    // Whether a copy with that pid started and has not ended.
    bool copyRunning(int32_t pid);
    // The oldest copy that still runs.
    std::optional<int32_t> firstRunningCopy() const;
    // Ends the copy as a process ends: the desktop lets go of its hot keys, status items,
    // windows and key monitors, then tells onCopyEnded.
    void terminateCurrentProcess();
    std::optional<std::string> programBundleId;  // what the copies report as their own
    // The host of the copies drops what the ended copy's process held (main thread).
    std::function<void(int32_t pid)> onCopyEnded;

    // --- applications and windows ----------------------------------------------------
    void addApplication(platform::RunningApplication info);
    SimApp* findApp(int32_t pid);
    std::vector<platform::RunningApplication> runningApplications(const std::string& id) const;
    void quitApplication(int32_t pid);
    void setFrontmost(std::optional<int32_t> pid) { frontmost_ = pid; }
    std::optional<platform::RunningApplication> frontmostApplication() const;

    void addWindow(SimWindow window);
    SimWindow* findWindow(uint32_t number);
    void closeWindow(uint32_t number);
    std::vector<platform::SCWindow> shareableWindows(bool onScreenOnly) const;

    std::vector<SimScreen> screens;

    // --- permissions, symbols, preferences, files ------------------------------------
    bool accessibilityTrusted = false;
    bool screenCaptureAllowed = false;
    int accessibilityPrompts = 0;
    // Where no settings page grants a permission: how the user gets it.
    std::optional<platform::PermissionRemedy> accessibilityRemedy;
    std::optional<platform::PermissionRemedy> screenCaptureRemedy;
    bool windowNumberFunctionPresent = true;
    // When false, shareable-content requests are never answered.
    bool shareableContentAnswers = true;
    int shareableContentRequests = 0;
    std::map<std::string, DefaultValue> defaults;
    std::vector<std::string> openedURLs;
    struct Message {
        std::string title;
        std::string text;
        std::string buttonTitle;
    };
    std::vector<Message> messages;  // message windows shown, oldest first
    std::vector<int32_t> activations;
    // Records appended to each path; also written to the real file when passThroughFiles.
    std::map<std::string, std::string> files;
    bool passThroughFiles = false;
    std::mutex filesMutex;

    // --- pinning and capture model ----------------------------------------------------
    SimAXModel axModel{*this};
    SimCaptureModel captureModel{*this};
    SimAXObservers axObservers{*this};  // also moves and resizes windows

    // --- shell model: hot keys, menu bar, fonts, images --------------------------------
    SimShell shell{*this};

    // --- interface model: windows, views, layers, timers, taps, monitors -------------
    // Each is both the platform service and its control surface (refresh, mousePress,
    // keyDown, ...). They keep no reference back into the desktop past its life.
    SimScreens screenService{*this};
    SimWindows ownWindows{[this] { return current_.load(); }};
    SimWindowList windowList{*this};
    SimTransaction transactions;
    SimTimers timers{*this};
    SimDisplayLinks displayLinks;
    SimEventTaps eventTaps{*this};
    SimKeyMonitors keyMonitors{*this};
    SimKeyNaming keyNaming;

private:
    void notifyTermination(const platform::RunningApplication& app);
    bool processAlive(int32_t pid) const;

    SimRunLoop runLoop_;
    SimWorkerPool global_{2};
    SimWorkerPool service_{1};
    std::chrono::system_clock::time_point wallOrigin_;
    std::deque<SimProcess> processes_;
    // Read by work posted from other threads, written as the main queue enters each copy.
    std::atomic<int32_t> current_{0};
    std::vector<SimApp> apps_;
    std::vector<SimWindow> windows_;
    std::optional<int32_t> frontmost_;
};

}  // namespace sim
