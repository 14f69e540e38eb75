#pragma once

// This process as the program on a private headless desktop: the toolkit's application on
// the desktop's display, the X11 platform installed and the Outfit fonts registered, so a
// benchmark can open the settings window as the program does and watch the screen.
//
//   SettingsBenchDesktop bench;
//   bench.clickLauncher();            // a click on a window of ours opens the settings
//   bench.pumpUntil([&] { return bench.settingsShown(); }, std::chrono::seconds(2));

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "desktop/HeadlessDesktop.h"
#include "ui/SettingsWindow.h"

namespace desktop {
class DesktopWindow;
}

class SettingsBenchDesktop {
public:
    SettingsBenchDesktop();
    ~SettingsBenchDesktop();

    HeadlessDesktop& headless() { return *headless_; }
    XDriver& x() { return headless_->x(); }
    // Runs the event loop until the condition holds; false when the time ran out.
    bool pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
    // Runs the event loop for a while, as a still program would.
    void idle(std::chrono::milliseconds duration);

    // A user's click on a small window of ours, which opens the settings as the tray
    // menu's item does; the next click opens a fresh settings window.
    void clickLauncher();
    void forgetSettings();
    std::shared_ptr<SettingsWindow> settings;
    desktop::DesktopWindow* window() const;
    // The settings window in root coordinates, once the server has it.
    XDriver::Rect rootRect();
    void clickInSettings(double x, double y);  // window points from its top left

private:
    struct Toolkit;

    std::unique_ptr<HeadlessDesktop> headless_;
    std::string home_;
    std::unique_ptr<Toolkit> toolkit_;
};
