#include "app/Entry.h"

#include <memory>
#include <vector>

#include "app/AppDelegate.h"
#include "platform/Platform.h"

namespace {

platform::WindowNumberFunction windowNumberFunction;
// The application object does not own its delegate; this keeps each one for the life of
// the process (the simulated desktop may launch several copies in one process).
std::vector<std::unique_ptr<AppDelegate>> delegates;

}  // namespace

const platform::WindowNumberFunction& axUIElementGetWindow() {
    return windowNumberFunction;
}

int runApplication() {
    windowNumberFunction =
        platform::accessibility().lookupWindowNumberFunction("_AXUIElementGetWindow");
    platform::Application& app = platform::application();
    app.setActivationPolicy(platform::Application::accessoryPolicy);
    AppDelegate& delegate = *delegates.emplace_back(std::make_unique<AppDelegate>());
    app.setDelegate(&delegate);
    app.run();
    return 0;
}
