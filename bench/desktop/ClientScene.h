#pragma once

#include <memory>
#include <string>

#include "PinnedClient.h"

// The one test client that the measurements share, made again when a measurement asks for
// another size, so that consecutive benchmarks of one size keep their pinned window. A
// failure to pin is remembered: the repetitions that follow fail at once instead of waiting.
class ClientScene {
public:
    // The client of this size, pinned; nullptr with `error` set when that fails.
    static PinnedClient* pinned(int width, int height, std::string& error);
    // The client of this size, pinned or not.
    static PinnedClient* client(int width, int height, std::string& error);
    static void reset();

private:
    static std::unique_ptr<PinnedClient>& current();
    static std::string& failure();
};
