#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Log.h"
#include "hotkey/HotkeyManagerReset.h"
#include "pinning/PinManager.h"
#include "platform/sim/SimPlatform.h"

// A fresh simulated desktop per test, installed as the platform, with one running copy
// of the program (pid 4242) whose work runs on the desktop's main queue, the repository's
// resources as its bundle, and fresh shared managers.
class SimFixture : public ::testing::Test {
protected:
    static constexpr int32_t ownPid = 4242;

    SimFixture() {
        platform::install(std::make_unique<sim::SimPlatform>(desktop));
        desktop.startProgramCopy(ownPid);
        desktop.shell.resourcesDirectory = VELTRIN_RESOURCES_DIR;
        HotkeyManagerReset::toFreshInstance();
    }

    ~SimFixture() override {
        PinManager::shared().onPinChanged = nullptr;  // it may hold the test's locals
        PinManager::shared().unpinAll();              // while the desktop still stands
        desktop.runUntilIdle();
        platform::uninstall();
    }

    // The messages logged so far, without their time stamps.
    std::vector<std::string> logMessages() {
        std::unique_lock lock(desktop.filesMutex);
        std::istringstream lines(desktop.files[logPath]);
        lock.unlock();
        std::vector<std::string> messages;
        for (std::string line; std::getline(lines, line);) {
            const size_t close = line.find("] ");
            messages.push_back(close == std::string::npos ? line : line.substr(close + 2));
        }
        return messages;
    }

    void clearLog() {
        std::lock_guard lock(desktop.filesMutex);
        desktop.files[logPath].clear();
    }

    sim::SimDesktop desktop;
};
