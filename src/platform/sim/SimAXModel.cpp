#include "platform/sim/SimAXModel.h"

#include "platform/sim/SimDesktop.h"

namespace sim {

SimAXModel::AppView SimAXModel::derivedView(int32_t pid) const {
    AppView view;
    for (const auto& window : desktop_.shareableWindows(false)) {
        if (!window.owningApplication || window.owningApplication->processIdentifier != pid)
            continue;
        view.windows.push_back(window.windowID);
        if (!view.focusedWindow && window.onScreen) view.focusedWindow = window.windowID;
    }
    view.mainWindow = view.focusedWindow;
    return view;
}

SimAXModel::AppView SimAXModel::view(int32_t pid) const {
    std::lock_guard lock(mutex_);
    const auto found = apps_.find(pid);
    return found != apps_.end() ? found->second : derivedView(pid);
}

SimAXModel::AppView& SimAXModel::configured(int32_t pid) {
    auto found = apps_.find(pid);
    if (found == apps_.end()) found = apps_.emplace(pid, derivedView(pid)).first;
    return found->second;
}

void SimAXModel::setFocusedWindow(int32_t pid, std::optional<uint32_t> window) {
    std::lock_guard lock(mutex_);
    configured(pid).focusedWindow = window;
}

void SimAXModel::setMainWindow(int32_t pid, std::optional<uint32_t> window) {
    std::lock_guard lock(mutex_);
    configured(pid).mainWindow = window;
}

void SimAXModel::setWindows(int32_t pid, std::vector<uint32_t> windows) {
    std::lock_guard lock(mutex_);
    configured(pid).windows = std::move(windows);
}

void SimAXModel::setError(int32_t pid, const std::string& attribute, platform::AXError code) {
    std::lock_guard lock(mutex_);
    AppView& app = configured(pid);
    if (code == platform::axSuccess) {
        app.errors.erase(attribute);
    } else {
        app.errors[attribute] = code;
    }
}

void SimAXModel::record(Request request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(request));
}

std::vector<SimAXModel::Request> SimAXModel::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

}  // namespace sim
