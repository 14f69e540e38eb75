#pragma once

#include <memory>
#include <string>

#include "wayland/KWinPinnedClient.h"

// The one Wayland client that the KWin measurements share, made again when a measurement
// asks for another size. A failure to pin is remembered: the repetitions that follow fail
// at once instead of waiting.
class KWinScene {
public:
    // The client of this size, pinned; nullptr with `error` set when that fails.
    static KWinPinnedClient* pinned(int width, int height, std::string& error);
    // The client of this size, pinned or not.
    static KWinPinnedClient* client(int width, int height, std::string& error);
    static void reset();

private:
    static std::unique_ptr<KWinPinnedClient>& current();
    static std::string& failure();
};
