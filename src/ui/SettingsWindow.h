#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/Button.h"
#include "platform/Color.h"
#include "platform/KeyMonitors.h"
#include "platform/TextField.h"
#include "platform/Window.h"

// The one preferences window: language, border colour and the global shortcut. Built on
// the first show() and kept for the life of the process. Its controls hold it weakly, so
// it must be owned by a std::shared_ptr. Main thread only.
class SettingsWindow : public std::enable_shared_from_this<SettingsWindow> {
public:
    SettingsWindow() = default;

    // Builds the window the first time, later only refreshes its texts; brings it to the
    // front and activates the program.
    void show();
    // Button actions.
    void closeWindow();
    void quitApp();
    void switchLanguage(platform::Button& sender);
    void tapRecord();
    void tapColor(platform::Button& sender);

    // Nothing until the first show().
    std::shared_ptr<platform::Window> window;

private:
    void build();
    void buildControls(platform::View& glass);
    void markCurrentColor();
    void centre();
    void refreshLanguage();
    std::shared_ptr<platform::Button> makeLangButton(const std::string& title,
                                                     const std::string& lang, bool selected);
    std::shared_ptr<platform::Button> makeRecButton();
    std::shared_ptr<platform::Button> roundSwatch(const platform::Color& color);
    void finishRecording(bool cancelled, int64_t keyCode, uint64_t modifiers);

    std::shared_ptr<platform::Button> recButton;
    std::shared_ptr<platform::KeyMonitor> recordingMonitor;
    bool recording = false;
    // By the button's identity; never dereferenced, the view tree owns the buttons.
    std::map<const platform::Button*, platform::Color> swatchColors;
    std::shared_ptr<platform::Button> selectedSwatch;
    std::shared_ptr<platform::TextField> borderLabel;
    std::shared_ptr<platform::TextField> shortcutLabel;
    std::shared_ptr<platform::Button> closeBtnRef;
    std::shared_ptr<platform::Button> quitBtnRef;
    std::shared_ptr<platform::Button> langPLBtn;
    std::shared_ptr<platform::Button> langENBtn;
};
