#pragma once

#include <memory>

#include "platform/Platform.h"

namespace desktop {

class DesktopSession;

// The real desktop: the toolkit's event loop, tray and windows, with one Linux session's
// services for other programs' windows. Made on the main thread once the toolkit's
// application object exists; lives until the process ends.
class DesktopPlatform : public platform::Platform {
public:
    explicit DesktopPlatform(DesktopSession& session);
    ~DesktopPlatform() override;

    platform::Dispatch& dispatch() override { return *dispatch_; }
    platform::Clock& clock() override { return *clock_; }
    platform::UserDefaults& defaults() override { return *defaults_; }
    platform::ProcessInfo& process() override { return *process_; }
    platform::Application& application() override { return *application_; }
    platform::Workspace& workspace() override { return *workspace_; }
    platform::Accessibility& accessibility() override { return *accessibility_; }
    platform::ShareableContent& shareableContent() override { return *shareableContent_; }
    platform::Files& files() override { return *files_; }

    platform::AXElements& axElements() override { return *axElements_; }
    platform::CaptureStreams& captureStreams() override { return *captureStreams_; }
    platform::AXObservers& axObservers() override { return *axObservers_; }

    platform::HotKeys& hotKeys() override { return *hotKeys_; }
    platform::StatusBar& statusBar() override { return *statusBar_; }
    platform::Fonts& fonts() override { return *fonts_; }
    platform::Images& images() override { return *images_; }
    platform::Bundle& bundle() override { return *bundle_; }

    platform::Screens& screens() override { return *screens_; }
    platform::Windows& windows() override { return *windows_; }
    platform::WindowList& windowList() override { return *windowList_; }
    platform::Transaction& transaction() override { return *transaction_; }
    platform::Timers& timers() override { return *timers_; }
    platform::DisplayLinks& displayLinks() override { return *displayLinks_; }
    platform::EventTaps& eventTaps() override { return *eventTaps_; }
    platform::KeyMonitors& keyMonitors() override { return *keyMonitors_; }
    platform::KeyNaming& keyNaming() override { return *keyNaming_; }

private:
    std::unique_ptr<platform::Dispatch> dispatch_;
    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::UserDefaults> defaults_;
    std::unique_ptr<platform::ProcessInfo> process_;
    std::unique_ptr<platform::Application> application_;
    std::unique_ptr<platform::Workspace> workspace_;
    std::unique_ptr<platform::Accessibility> accessibility_;
    std::unique_ptr<platform::ShareableContent> shareableContent_;
    std::unique_ptr<platform::Files> files_;
    std::unique_ptr<platform::AXElements> axElements_;
    std::unique_ptr<platform::CaptureStreams> captureStreams_;
    std::unique_ptr<platform::AXObservers> axObservers_;
    std::unique_ptr<platform::HotKeys> hotKeys_;
    std::unique_ptr<platform::StatusBar> statusBar_;
    std::unique_ptr<platform::Fonts> fonts_;
    std::unique_ptr<platform::Images> images_;
    std::unique_ptr<platform::Bundle> bundle_;
    std::unique_ptr<platform::Screens> screens_;
    std::unique_ptr<platform::Windows> windows_;
    std::unique_ptr<platform::WindowList> windowList_;
    std::unique_ptr<platform::Transaction> transaction_;
    std::unique_ptr<platform::Timers> timers_;
    std::unique_ptr<platform::DisplayLinks> displayLinks_;
    std::unique_ptr<platform::EventTaps> eventTaps_;
    std::unique_ptr<platform::KeyMonitors> keyMonitors_;
    std::unique_ptr<platform::KeyNaming> keyNaming_;
};

}  // namespace desktop
