#pragma once

#include <memory>

#include "platform/AXElements.h"
#include "platform/AXObservers.h"
#include "platform/Accessibility.h"
#include "platform/Application.h"
#include "platform/Bundle.h"
#include "platform/CaptureStream.h"
#include "platform/Clock.h"
#include "platform/Dispatch.h"
#include "platform/Files.h"
#include "platform/Fonts.h"
#include "platform/HotKeys.h"
#include "platform/Images.h"
#include "platform/InterfaceServices.h"
#include "platform/KeyNaming.h"
#include "platform/ProcessInfo.h"
#include "platform/ShareableContent.h"
#include "platform/StatusBar.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

namespace platform {

// One desktop backend: every service the logic may call.
class Platform {
public:
    virtual ~Platform() = default;

    virtual Dispatch& dispatch() = 0;
    virtual Clock& clock() = 0;
    virtual UserDefaults& defaults() = 0;
    virtual ProcessInfo& process() = 0;
    virtual Application& application() = 0;
    virtual Workspace& workspace() = 0;
    virtual Accessibility& accessibility() = 0;
    virtual ShareableContent& shareableContent() = 0;
    virtual Files& files() = 0;

    // -- pinning and capture services --
    virtual AXElements& axElements() = 0;
    virtual CaptureStreams& captureStreams() = 0;
    virtual AXObservers& axObservers() = 0;

    // -- shell services: hot keys, menu bar, fonts, images --
    virtual HotKeys& hotKeys() = 0;
    virtual StatusBar& statusBar() = 0;
    virtual Fonts& fonts() = 0;
    virtual Images& images() = 0;
    virtual Bundle& bundle() = 0;

    // -- interface services: screens, windows, views, layers, timers, taps, monitors --
    virtual Screens& screens() = 0;
    virtual Windows& windows() = 0;
    virtual WindowList& windowList() = 0;
    virtual Transaction& transaction() = 0;
    virtual Timers& timers() = 0;
    virtual DisplayLinks& displayLinks() = 0;
    virtual EventTaps& eventTaps() = 0;
    virtual KeyMonitors& keyMonitors() = 0;
    virtual KeyNaming& keyNaming() = 0;
};

// Chosen once at start-up (tests install a fresh one each); replaces any earlier one.
void install(std::unique_ptr<Platform> backend);
void uninstall();
bool isInstalled();
Platform& current();

inline Dispatch& dispatch() {
    return current().dispatch();
}
inline Clock& clock() {
    return current().clock();
}
inline UserDefaults& defaults() {
    return current().defaults();
}
inline ProcessInfo& process() {
    return current().process();
}
inline Application& application() {
    return current().application();
}
inline Workspace& workspace() {
    return current().workspace();
}
inline Accessibility& accessibility() {
    return current().accessibility();
}
inline ShareableContent& shareableContent() {
    return current().shareableContent();
}
inline Files& files() {
    return current().files();
}

// -- pinning and capture services --
inline AXElements& axElements() {
    return current().axElements();
}
inline CaptureStreams& captureStreams() {
    return current().captureStreams();
}
inline AXObservers& axObservers() {
    return current().axObservers();
}

// -- shell services --
inline HotKeys& hotKeys() {
    return current().hotKeys();
}
inline StatusBar& statusBar() {
    return current().statusBar();
}
inline Fonts& fonts() {
    return current().fonts();
}
inline Images& images() {
    return current().images();
}
inline Bundle& bundle() {
    return current().bundle();
}

// -- interface services --
inline Screens& screens() {
    return current().screens();
}
inline Windows& windows() {
    return current().windows();
}
inline WindowList& windowList() {
    return current().windowList();
}
inline Transaction& transaction() {
    return current().transaction();
}
inline Timers& timers() {
    return current().timers();
}
inline DisplayLinks& displayLinks() {
    return current().displayLinks();
}
inline EventTaps& eventTaps() {
    return current().eventTaps();
}
inline KeyMonitors& keyMonitors() {
    return current().keyMonitors();
}
inline KeyNaming& keyNaming() {
    return current().keyNaming();
}

}  // namespace platform
