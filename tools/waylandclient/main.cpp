// A Wayland window of a known colour for the tests: shows itself, prints "ready", then takes
// commands on standard input, answering each with "ok" or "error ...":
//   resize W H        the window's new size
//   color RRGGBB      its new colour
//   click X Y         a left click at that point of the screen (needs KWin's fake input)
//   animate FPS SECONDS  a new colour FPS times a second; each frame prints
//                     "frame N MONOTONIC-NS RRGGBB" once committed, the last one "animated"
//   keys CODE...      presses the keys (evdev codes: 56 Alt, 25 P) together (the same)
//   output N on|off   turns the Nth output (from 0) on or off (needs KDE's output management)
//   output N scale F  scales it by F (the same)
//   quit              closes it (so does the end of the input)
// It also prints "pressed X Y", "activated" and "deactivated" as they happen.
// Options: --width W --height H --color RRGGBB --title TEXT
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Animation.h"
#include "ClientSurface.h"
#include "OutputSettings.h"

namespace {

ClientSurface::Options parse(int argc, char** argv) {
    ClientSurface::Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--width") options.width = std::stoi(value);
        if (name == "--height") options.height = std::stoi(value);
        if (name == "--color") options.color = uint32_t(std::stoul(value, nullptr, 16));
        if (name == "--title") options.title = value;
    }
    return options;
}

int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void drawDueFrame(ClientSurface& surface, Animation& animation) {
    const auto frame = animation.due(monotonicNs());
    if (!frame) return;
    surface.setColor(frame->color);
    char color[8];
    std::snprintf(color, sizeof color, "%06X", frame->color);
    std::cout << "frame " << frame->number << " " << monotonicNs() << " " << color << std::endl;
    if (!animation.running()) std::cout << "animated" << std::endl;
}

bool configureOutput(std::istringstream& words) {
    int output = -1;
    std::string setting;
    if (!(words >> output >> setting)) return false;
    if (setting == "on" || setting == "off") return OutputSettings::enable(output, setting == "on");
    double factor = 0;
    return setting == "scale" && words >> factor && factor > 0 &&
           OutputSettings::scale(output, factor);
}

// False once the client should end.
bool perform(ClientSurface& surface, Animation& animation, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "quit") return false;
    if (command == "resize") {
        int width = 0;
        int height = 0;
        if (words >> width >> height && width > 0 && height > 0) {
            surface.resize(width, height);
            std::cout << "ok" << std::endl;
            return true;
        }
    } else if (command == "click") {
        int x = 0;
        int y = 0;
        if (words >> x >> y && surface.click(x, y)) {
            std::cout << "ok" << std::endl;
            return true;
        }
    } else if (command == "animate") {
        double fps = 0;
        double seconds = 0;
        if (words >> fps >> seconds && animation.start(fps, seconds, monotonicNs())) {
            std::cout << "ok" << std::endl;
            return true;
        }
    } else if (command == "keys") {
        std::vector<uint32_t> keys;
        for (uint32_t key = 0; words >> key;)
            keys.push_back(key);
        if (surface.pressKeys(keys)) {
            std::cout << "ok" << std::endl;
            return true;
        }
    } else if (command == "output") {
        if (configureOutput(words)) {
            std::cout << "ok" << std::endl;
            return true;
        }
    } else if (command == "color") {
        std::string hex;
        if (words >> hex && hex.size() == 6) {
            surface.setColor(uint32_t(std::stoul(hex, nullptr, 16)));
            std::cout << "ok" << std::endl;
            return true;
        }
    }
    std::cout << "error: " << line << std::endl;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ClientSurface surface(parse(argc, argv));
    if (!surface.show()) {
        std::cerr << "veltrin_wayland_test_client: no Wayland compositor with xdg-shell\n";
        return 2;
    }
    std::cout << "ready " << ::getpid() << std::endl;
    std::string pending;
    Animation animation;
    while (!surface.closed()) {
        pollfd fds[2] = {{surface.fd(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, animation.waitMs(monotonicNs())) < 0) return 1;
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !surface.dispatch()) return 1;
        drawDueFrame(surface, animation);
        if ((fds[1].revents & (POLLIN | POLLHUP)) == 0) continue;
        char chunk[256];
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) return 0;
        pending.append(chunk, size_t(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!perform(surface, animation, line)) return 0;
        }
    }
    return 0;
}
