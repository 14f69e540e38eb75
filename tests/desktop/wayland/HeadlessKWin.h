#pragma once

// A private KWin for one test: its own runtime folder, session bus, PipeWire and session
// manager (a MediaSession), and kwin_wayland on virtual outputs of its own size, side by side
// from left to right when there are several. Programs
// named at the start are trusted the way KWin trusts them in a real session: a desktop entry
// whose Exec= is the program's path and whose interfaces line names the window management
// and the screencast, in KDE's service cache. The test process itself is trusted with
// KWin's screenshots, the Wayland test client with KWin's fake input (its clicks). Everything it
// started ends with it.
//
//   HeadlessKWin kwin(1280, 800, {VELTRIN_BINARY});
//   VeltrinProcess veltrin(std::nullopt, kwin.environment());
//   kwin.moveWindow(pid, 100, 80);                       // through KWin's scripting
//   const auto shot = kwin.capture({0, 0, 1280, 800});   // pixels as the user sees them
//   kwin.stop();                                         // the compositor ends

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/ChildProcess.h"
#include "desktop/wayland/MediaSession.h"
#include "testclient/Image.h"

class HeadlessKWin {
public:
    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };
    // Throws std::runtime_error when KWin does not come up.
    // `entries`: desktop entry files put among the session's own before KDE's cache is built.
    // `keyboardLayout`: an XKB layout name ("de") for the keyboard; empty for KWin's default.
    // `outputs`: how many outputs of `width` x `height`.
    explicit HeadlessKWin(int width = 1280, int height = 800,
                          const std::vector<std::string>& trusted = {},
                          const std::vector<std::string>& entries = {},
                          const std::string& keyboardLayout = {}, int outputs = 1);
    ~HeadlessKWin();
    HeadlessKWin(const HeadlessKWin&) = delete;
    HeadlessKWin& operator=(const HeadlessKWin&) = delete;

    const std::string& socket() const { return socket_; }
    pid_t pid() const { return kwin_->pid(); }
    // What a program needs to reach this session: the compositor, the bus, PipeWire.
    std::map<std::string, std::string> environment() const;

    // Runs a KWin script; true once it ran.
    bool runScript(const std::string& javascript);
    // Moves (and with a size, resizes) the windows of a process.
    bool moveWindow(pid_t pid, int x, int y, std::optional<int> width = {},
                    std::optional<int> height = {});
    // Shows virtual desktop `number` (1 or 2).
    bool switchDesktop(int number);
    // The screen as shown, through KWin's screenshot interface, one output at a time (a shot
    // across outputs can bring an older frame of all but one); nothing when refused. A shot
    // of an output turned off gets no answer for 10 s.
    std::optional<Image> capture(const Rect& area);
    // Closes the windows of a process as their close button does.
    bool closeWindows(pid_t pid);
    // Ends the compositor and waits for it.
    void stop();

    // The toolkit's application that bus calls in the test process need, made once.
    static void ensureApplication();

private:
    void trust(const std::string& program, const std::string& interfaces,
               const std::string& dbusInterfaces);
    std::string call(const std::string& arguments);
    std::optional<Image> captureArea(const Rect& area);

    MediaSession session_;
    std::string socket_ = "veltrin-kwin";
    ChildProcess* kwin_ = nullptr;
    int scripts_ = 0;
    int outputWidth_ = 0;
    int outputs_ = 1;
};
