#pragma once

#include <memory>
#include <string>

#include "desktop/HeadlessDesktop.h"
#include "desktop/VeltrinProcess.h"

// The desktop that every measurement shares: a headless X server large enough for a
// 1920x1080 client with its window-manager frame, and the built program running on it.
// Made on first use; shutdown() ends both before the program exits.
class BenchDesktop {
public:
    // Throws std::runtime_error when the desktop or the program does not come up.
    static BenchDesktop& shared();
    static void shutdown();

    HeadlessDesktop& desktop() { return desktop_; }
    XDriver& x() { return desktop_.x(); }
    const std::string& display() const { return desktop_.display(); }
    VeltrinProcess& veltrin() { return veltrin_; }
    // How many threads the program had once started, before anything was pinned.
    int startThreads() const { return startThreads_; }

    BenchDesktop(const BenchDesktop&) = delete;
    BenchDesktop& operator=(const BenchDesktop&) = delete;

private:
    BenchDesktop();
    void waitUntilReady();

    static std::unique_ptr<BenchDesktop>& instance();

    HeadlessDesktop desktop_;
    VeltrinProcess veltrin_;
    int startThreads_ = 0;
};
