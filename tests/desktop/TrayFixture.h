#pragma once

// The program on a headless desktop, and what a test needs to find its tray icon and work
// its menu as a person would: click the icon, read what the menu shows, choose an item.
//
//   class MyTest : public TrayFixture {};
//   TEST_F(MyTest, ...) {
//       desktop.startTray();
//       launch();
//       const auto items = openMenu();              // texts as the menu shows them
//       choose(0);                                 // the first enabled item
//   }

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "desktop/PinningFixture.h"

class TrayFixture : public PinningFixture {
protected:
    ~TrayFixture() override;

    // The program's icon embedded in the tray, once the tray shows it.
    std::optional<XDriver::Rect> trayIcon();
    bool waitForTrayIcon(std::chrono::milliseconds timeout);
    // The open menu on screen.
    std::optional<XDriver::Rect> menuWindow();
    // Clicks the icon (right button); the entries of the menu that opened ("Title [Ctrl+P]
    // (disabled)",
    // "---" for a separator), as the program read them back from the shown menu.
    std::vector<std::string> openMenu();
    // Chooses an item of the open menu by keyboard: `steps` presses of Down (or of Up when
    // negative) move over the enabled items, then Return.
    void choose(int steps);
    // Starts the program with English as its language.
    void launchInEnglish();

private:
    size_t menuOpenings();
    std::string configHome_;
};

// The icon of the program with that pid, embedded in the tray and shown.
std::optional<XDriver::Rect> trayIconOf(XDriver& x, pid_t pid);

// Whether another client can take Alt + P on the root: nobody holds it.
bool altPIsFree(const std::string& display);
