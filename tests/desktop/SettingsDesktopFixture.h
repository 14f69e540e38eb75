#pragma once

// The program on a headless desktop with a tray host, its settings window opened as a user
// opens it: the tray icon's menu, then its settings item (the second from the bottom).

#include <map>
#include <string>
#include <vector>

#include "desktop/TrayFixture.h"

class SettingsDesktopFixture : public TrayFixture {
protected:
    // Window points from the top left of the settings window (440 x 264).
    struct Spot {
        int x;
        int y;
    };
    static constexpr Spot recorder{220, 174};
    static constexpr Spot closeButton{85, 228};
    static constexpr Spot polishButton{356, 34};
    static constexpr Spot englishButton{394, 34};
    static constexpr Spot bareGlass{300, 100};
    static Spot swatch(int index) { return {41 + 32 * index, 99}; }

    void SetUp() override;
    void relaunch(const std::map<std::string, std::string>& environment);

    void openSettings();
    xcb_window_t settingsWindow();  // the client window, once it has the focus
    XDriver::Rect settingsRect();
    void click(Spot spot);
    // Clicks the shortcut, then waits until it shows that it records, as a user does before
    // typing: the toolkit hands clicks on later than the root's key grabs see their keys.
    bool startRecording();
    bool showsRecording();
    // The colour of each pinned panel's frame, at the middle of its left edge.
    std::vector<uint32_t> frameColours();
    std::string storedSettings() const;
};
