#pragma once

#include <memory>
#include <string>

#include "platform/Application.h"
#include "platform/Image.h"
#include "platform/Menu.h"
#include "platform/PermissionRemedy.h"
#include "platform/StatusBar.h"

class SettingsWindow;

// The application delegate: the launch sequence, and (elsewhere) the status item.
class AppDelegate : public platform::ApplicationDelegate, public platform::MenuDelegate {
public:
    static constexpr const char* selfTestVariable = "QUELM_PIN_TEST";

    AppDelegate() = default;

    void applicationDidFinishLaunching() override;
    void registerLaunchCompletion();

    // The menu-bar item and its menu (AppDelegateStatusItem.cpp); the icon (AppDelegateIcon.cpp).
    void setUpStatusItem();
    std::shared_ptr<platform::Image> appIconImage();
    void menuNeedsUpdate(platform::Menu& menu) override;
    void openAccessibilityPane();
    void openPrivacyScreenRecordingPane();
    bool hasScreenCapturePermission();
    void doPin();
    void doUnpinAll();
    void openSettings();

    std::shared_ptr<platform::StatusItem> statusItem;
    // Made on the first opening of the settings, then reused.
    std::shared_ptr<SettingsWindow> settingsWindow;

private:
    void armSelfTest();
    bool anotherCopyRuns();
    void requestScreenRecordingPrompt();
    void watchTerminatedApplications();
    std::shared_ptr<platform::Image> symbol(const std::string& name);
    void explain(const std::string& title, const platform::PermissionRemedy& remedy);
};
