#pragma once

#include "platform/Platform.h"
#include "platform/sim/SimAXElements.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimApplication.h"
#include "platform/sim/SimCaptureStreams.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimDefaults.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDispatch.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimProcessInfo.h"
#include "platform/sim/SimShareableContent.h"
#include "platform/sim/SimShellServices.h"
#include "platform/sim/SimWorkspace.h"

namespace sim {

// The simulated desktop seen through the platform interfaces. The desktop must outlive it.
class SimPlatform : public platform::Platform {
public:
    explicit SimPlatform(SimDesktop& desktop)
        : dispatch_(desktop),
          clock_(desktop),
          defaults_(desktop),
          process_(desktop),
          application_(desktop),
          workspace_(desktop),
          accessibility_(desktop),
          shareableContent_(desktop),
          files_(desktop),
          axElements_(desktop),
          captureStreams_(desktop),
          axObservers_(desktop.axObservers),
          shell_(desktop),
          interface_(desktop) {}

    platform::Dispatch& dispatch() override { return dispatch_; }
    platform::Clock& clock() override { return clock_; }
    platform::UserDefaults& defaults() override { return defaults_; }
    platform::ProcessInfo& process() override { return process_; }
    platform::Application& application() override { return application_; }
    platform::Workspace& workspace() override { return workspace_; }
    platform::Accessibility& accessibility() override { return accessibility_; }
    platform::ShareableContent& shareableContent() override { return shareableContent_; }
    platform::Files& files() override { return files_; }

    // -- pinning and capture services --
    platform::AXElements& axElements() override { return axElements_; }
    platform::CaptureStreams& captureStreams() override { return captureStreams_; }
    platform::AXObservers& axObservers() override { return axObservers_; }

    // -- shell services --
    platform::HotKeys& hotKeys() override { return shell_.hotKeys; }
    platform::StatusBar& statusBar() override { return shell_.statusBar; }
    platform::Fonts& fonts() override { return shell_.fonts; }
    platform::Images& images() override { return shell_.images; }
    platform::Bundle& bundle() override { return shell_.bundle; }

    // -- interface services --
    platform::Screens& screens() override { return interface_.screenService; }
    platform::Windows& windows() override { return interface_.ownWindows; }
    platform::WindowList& windowList() override { return interface_.windowList; }
    platform::Transaction& transaction() override { return interface_.transactions; }
    platform::Timers& timers() override { return interface_.timers; }
    platform::DisplayLinks& displayLinks() override { return interface_.displayLinks; }
    platform::EventTaps& eventTaps() override { return interface_.eventTaps; }
    platform::KeyMonitors& keyMonitors() override { return interface_.keyMonitors; }
    platform::KeyNaming& keyNaming() override { return interface_.keyNaming; }

private:
    SimDispatch dispatch_;
    SimClock clock_;
    SimDefaults defaults_;
    SimProcessInfo process_;
    SimApplication application_;
    SimWorkspace workspace_;
    SimAccessibility accessibility_;
    SimShareableContent shareableContent_;
    SimFiles files_;

    // -- pinning and capture services --
    SimAXElements axElements_;
    SimCaptureStreams captureStreams_;
    SimAXObservers& axObservers_;  // lives in the desktop, which moves the windows

    // -- shell services --
    SimShellServices shell_;

    // -- interface services --
    SimDesktop& interface_;  // the interface services live in the desktop's model
};

}  // namespace sim
