#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "desktop/TestClient.h"

class BenchDesktop;

// A long random session on the shared desktop, as a busy user would play it: test clients
// open and close, are pinned and unpinned with Alt + P, move, change size, are minimised
// and shown again, animate, and their panels are clicked. The program's resident memory is
// read as it goes.
class MemorySoak {
public:
    MemorySoak(BenchDesktop& bench, uint32_t seed);
    ~MemorySoak();

    // Plays one operation; false with `error` set when the desktop stopped answering.
    bool step(std::string& error);
    int played() const { return played_; }
    // The program's resident memory now, in MB (VmRSS); nothing once it is gone.
    std::optional<double> residentMb() const;

private:
    bool open(std::string& error);
    bool close();
    bool togglePin(TestClient& client);
    bool activate(TestClient& client);
    void clickPanel();
    TestClient& any();
    int between(int low, int high) { return low + static_cast<int>(rng_() % (high - low + 1)); }

    BenchDesktop& bench_;
    pid_t program_;
    std::mt19937 rng_;
    std::vector<std::unique_ptr<TestClient>> clients_;
    int played_ = 0;
    int failedOpens_ = 0;
};
