#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Button.h"
#include "platform/TextField.h"
#include "support/LaunchedShellFixture.h"
#include "ui/SettingsWindow.h"

// The launched program with its settings window shown, and the window's controls by place.
class SettingsWindowFixture : public LaunchedShellFixture {
protected:
    static constexpr uint16_t escape = 53;
    static constexpr uint16_t keyK = 40;
    static constexpr uint64_t shiftFlag = 0x20000, controlFlag = 0x40000, optionFlag = 0x80000,
                              commandFlag = 0x100000, capsLockFlag = 0x10000;
    static constexpr size_t swatchCount = 7;

    void SetUp() override {
        LaunchedShellFixture::SetUp();
        settings->show();
    }

    // Back to front: title, PL, EN, colour heading, seven swatches, shortcut heading,
    // recorder, Close, Quit.
    std::vector<std::shared_ptr<platform::View>> controls() const {
        return settings->window->contentView()->subviews().front()->subviews();
    }
    std::shared_ptr<platform::Button> button(size_t index) const {
        return std::dynamic_pointer_cast<platform::Button>(controls().at(index));
    }
    std::shared_ptr<platform::TextField> heading(size_t index) const {
        return std::dynamic_pointer_cast<platform::TextField>(controls().at(index));
    }
    std::shared_ptr<platform::Button> polish() const { return button(1); }
    std::shared_ptr<platform::Button> english() const { return button(2); }
    std::shared_ptr<platform::Button> swatch(size_t index) const { return button(4 + index); }
    std::shared_ptr<platform::Button> recorder() const { return button(12); }
    std::shared_ptr<platform::Button> closeButton() const { return button(13); }
    std::shared_ptr<platform::Button> quitButton() const { return button(14); }

    void click(const std::shared_ptr<platform::Button>& control) {
        control->performClick();
        desktop.runUntilIdle();
    }

    sim::SimKeyMonitors::Delivery key(uint16_t keyCode, uint64_t flags) {
        auto delivery = desktop.keyMonitors.keyDown(keyCode, flags);
        desktop.runUntilIdle();
        return delivery;
    }

    // The swatches that carry the thick ring.
    std::vector<size_t> ringed() const {
        std::vector<size_t> found;
        for (size_t i = 0; i < swatchCount; ++i)
            if (swatch(i)->layer()->borderWidth() == 2.5) found.push_back(i);
        return found;
    }

    bool stored(const std::string& key) const { return desktop.defaults.contains(key); }

    std::vector<std::string> registrations() {
        std::vector<std::string> lines;
        for (const auto& message : logMessages())
            if (message.starts_with("hotkey: Register")) lines.push_back(message);
        return lines;
    }

    std::shared_ptr<SettingsWindow> settings = std::make_shared<SettingsWindow>();
};
