#pragma once

#include <string>

namespace platform {

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    // Called once on the main thread when launching is complete.
    virtual void applicationDidFinishLaunching() = 0;
};

// The shared application object.
class Application {
public:
    static constexpr int accessoryPolicy = 1;

    virtual ~Application() = default;

    virtual void setActivationPolicy(int policy) = 0;
    // The delegate is not owned; its owner keeps it for the life of the process.
    virtual void setDelegate(ApplicationDelegate* delegate) = 0;
    // Runs the main event loop; returns when the loop ends.
    virtual void run() = 0;
    virtual void terminate() = 0;
    virtual void activateIgnoringOtherApps(bool flag) = 0;
    // A message window of its own, closed by its one button; returns at once.
    virtual void showMessage(const std::string& title, const std::string& text,
                             const std::string& buttonTitle) = 0;
};

}  // namespace platform
