#pragma once

#include <sys/types.h>

#include <string>

namespace desktop {
class X11Connection;
}

// A headless desktop of its own for the capture tests: Xvfb on a display that it picks
// itself, with openbox managing the windows.
class CaptureDesktop {
public:
    CaptureDesktop();
    ~CaptureDesktop();
    CaptureDesktop(const CaptureDesktop&) = delete;
    CaptureDesktop& operator=(const CaptureDesktop&) = delete;

    // Empty when the desktop could not be started.
    const std::string& display() const { return display_; }

private:
    bool startServer();
    bool startWindowManager();
    static bool framesProbe(desktop::X11Connection& connection);

    pid_t server_ = -1;
    pid_t windowManager_ = -1;
    std::string display_;
};
