#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Entry.h"
#include "pinning/PinManager.h"
#include "support/SimFixture.h"

// A launched program on a desktop with an editor (two windows, the second off screen) and
// a browser, the editor in front.
class PinFixture : public SimFixture {
protected:
    static constexpr int32_t editor = 812;
    static constexpr int32_t browser = 813;

    PinFixture() {
        MirrorPanel::forgetScreenFrame();  // each desktop is a fresh process
        desktop.screens.push_back({{0, 0, 1920, 1080}, {0, 0, 1920, 1055}});
        desktop.addApplication({editor, "com.example.editor", "Editor"});
        desktop.addApplication({browser, "com.example.browser", "Browser"});
        desktop.addWindow({471, editor, {120, 80, 800, 600}, true});
        desktop.addWindow({472, editor, {300, 200, 640, 480}, false});
        desktop.addWindow({501, browser, {960, 100, 900, 700}, true});
        desktop.setFrontmost(editor);
        desktop.accessibilityTrusted = true;
        desktop.screenCaptureAllowed = true;
    }

    void launch() {
        runApplication();
        desktop.runUntilIdle();
        clearLog();
    }

    void SetUp() override { launch(); }

    static std::vector<uint32_t> pinnedWindows() {
        std::vector<uint32_t> windows;
        for (const auto& panel : PinManager::shared().mirrors)
            windows.push_back(panel->scWindow().windowID);
        return windows;
    }

    void toggle() {
        PinManager::shared().toggleFrontmost();
        desktop.runUntilIdle();
    }
};
