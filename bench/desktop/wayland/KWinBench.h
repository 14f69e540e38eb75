#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "desktop/VeltrinProcess.h"
#include "desktop/wayland/HeadlessKWin.h"

// The headless KWin that every Wayland measurement shares, with the built program running
// on it, trusted by a desktop entry as an installed copy is. Made on first use; shutdown()
// ends both before the program exits.
class KWinBench {
public:
    static constexpr int screenWidth = 1600;
    static constexpr int screenHeight = 1000;

    // Throws std::runtime_error when KWin or the program does not come up.
    static KWinBench& shared();
    static void shutdown();

    HeadlessKWin& kwin() { return kwin_; }
    VeltrinProcess& veltrin() { return *veltrin_; }
    std::map<std::string, std::string> environment() const { return kwin_.environment(); }
    // One pixel of the screen as KWin composites it; nothing when the screenshot failed.
    std::optional<uint32_t> pixel(int x, int y);
    // `veltrin --toggle` from a shell: pins or unpins the active window; an error text, empty
    // once the running copy did it.
    std::string toggle();

    KWinBench(const KWinBench&) = delete;
    KWinBench& operator=(const KWinBench&) = delete;

private:
    KWinBench();
    void waitUntilReady();

    static std::unique_ptr<KWinBench>& instance();

    HeadlessKWin kwin_;
    std::unique_ptr<VeltrinProcess> veltrin_;
};
