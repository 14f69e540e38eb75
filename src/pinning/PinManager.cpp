#include "pinning/PinManager.h"

#include <algorithm>

#include "app/Log.h"
#include "app/NumberText.h"
#include "pinning/FrontWindowLookup.h"
#include "platform/Platform.h"

PinManager& PinManager::shared() {
    static PinManager* const instance = new PinManager();  // never destroyed
    return *instance;
}

void PinManager::toggleFrontmost() {
    const auto front = platform::workspace().frontmostApplication();
    if (!front || front->processIdentifier == platform::process().processIdentifier()) {
        const auto now = platform::workspace().frontmostApplication();
        const std::string name = now && now->localizedName ? *now->localizedName : "nil";
        flog("toggleSELF: front=now" + logValue(name) + " meis.own");
        return;
    }
    const int32_t pid = front->processIdentifier;
    const std::string name = front->localizedName.value_or("?");
    flog("toggle front app=" + logValue(name) + " pid=" + std::to_string(pid));
    const auto pinned = std::find_if(mirrors.begin(), mirrors.end(),
                                     [pid](const auto& panel) { return panel->pid() == pid; });
    if (pinned != mirrors.end()) return unpin((*pinned)->scWindow().windowID);
    pin(pid, name);
}

void PinManager::pin(int32_t pid, const std::string& name) {
    flog("pin: pid=" + std::to_string(pid) + " name=" + logValue(name));
    const std::optional<platform::SCWindow> window = frontWindow(pid);
    if (!window) {
        flog("pin: FRONT WINDOW NIEFOUND");
        return;
    }
    flog("pin: window found id=" + std::to_string(window->windowID) +
         " size=" + rectText(window->frame));
    const bool pinned = std::any_of(mirrors.begin(), mirrors.end(), [&](const auto& panel) {
        return panel->scWindow().windowID == window->windowID;
    });
    if (pinned) return;
    auto panel = MirrorPanel::create(*window);
    mirrors.push_back(panel);
    panel->start();  // returns at once; the panel starts from the main queue
    pinChanged();
}

void PinManager::unpin(uint32_t windowID) {
    const auto found = std::find_if(mirrors.begin(), mirrors.end(), [windowID](const auto& panel) {
        return panel->scWindow().windowID == windowID;
    });
    if (found == mirrors.end()) return;
    const std::shared_ptr<MirrorPanel> panel = *found;  // held while it stops
    mirrors.erase(found);
    panel->stop();
    pinChanged();
}

void PinManager::unpinAll() {
    const auto panels = mirrors;
    for (const auto& panel : panels)
        panel->stop();
    mirrors.clear();
    pinChanged();
}

std::optional<platform::SCWindow> PinManager::frontWindow(int32_t pid) {
    return frontWindowOf(pid);
}

// A copy, so that a callback may replace itself.
void PinManager::pinChanged() {
    if (auto callback = onPinChanged) callback();
}
