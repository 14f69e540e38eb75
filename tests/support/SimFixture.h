#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Log.h"
#include "platform/sim/SimPlatform.h"

// A fresh simulated desktop per test, installed as the platform, with one running copy
// of the program (pid 4242) whose work runs on the desktop's main queue.
class SimFixture : public ::testing::Test {
  protected:
    static constexpr int32_t ownPid = 4242;

    SimFixture() {
        platform::install(std::make_unique<sim::SimPlatform>(desktop));
        desktop.startProgramCopy(ownPid);
    }

    ~SimFixture() override {
        desktop.runUntilIdle();
        platform::uninstall();
    }

    // The messages logged so far, without their time stamps.
    std::vector<std::string> logMessages() {
        std::string records;
        {
            std::lock_guard lock(desktop.filesMutex);
            records = desktop.files[logPath];
        }
        std::vector<std::string> messages;
        std::istringstream lines(records);
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
