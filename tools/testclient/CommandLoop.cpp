#include "CommandLoop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "ClientOptions.h"
#include "ClientWindow.h"

namespace {

int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// Consecutive frames always differ in every channel, so each frame is recognisable.
uint32_t animationColor(uint64_t frame) {
    const auto channel = [frame](uint64_t step, uint64_t offset) {
        return static_cast<uint32_t>((frame * step + offset) & 0xff);
    };
    return channel(53, 0) << 16 | channel(97, 64) << 8 | channel(151, 128);
}

std::string hex(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", color & 0xffffff);
    return text;
}

}  // namespace

CommandLoop::CommandLoop(xcb_connection_t* connection, ClientWindow* window)
    : connection_(connection), window_(window) {}

int CommandLoop::run() {
    while (!done_) {
        pollfd fds[] = {{STDIN_FILENO, POLLIN, 0},
                        {xcb_get_file_descriptor(connection_), POLLIN, 0}};
        if (poll(fds, 2, pollTimeoutMs()) < 0) continue;
        if (!serveEvents()) break;
        if (fds[0].revents != 0 && !readInput()) break;
        animate();
    }
    return status_;
}

int CommandLoop::pollTimeoutMs() const {
    if (animation_.shown >= animation_.total) return -1;
    const int64_t due =
        animation_.startNs + static_cast<int64_t>(animation_.shown) * animation_.periodNs;
    const int64_t wait = due - monotonicNs();
    return wait <= 0 ? 0 : static_cast<int>((wait + 999'999) / 1'000'000);
}

// False once the window is gone or the server connection broke.
bool CommandLoop::serveEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if (event->response_type == 0) {
            const auto* error = reinterpret_cast<xcb_generic_error_t*>(event);
            std::fprintf(stderr, "veltrin_test_client: X error %d (request %d)\n",
                         error->error_code, error->major_code);
        }
        const bool alive = window_ == nullptr || window_->handle(*event);
        std::free(event);
        if (!alive) {
            say("closed");
            return false;
        }
    }
    if (xcb_connection_has_error(connection_) == 0) return true;
    std::fprintf(stderr, "veltrin_test_client: lost the X server\n");
    status_ = 1;
    return false;
}

// False at the end of input.
bool CommandLoop::readInput() {
    char buffer[4096];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) return false;
    input_.append(buffer, static_cast<size_t>(count));
    for (auto end = input_.find('\n'); end != std::string::npos; end = input_.find('\n')) {
        const std::string line = input_.substr(0, end);
        input_.erase(0, end + 1);
        if (!execute(line)) return false;
    }
    return true;
}

// False when the command ends the client.
bool CommandLoop::execute(const std::string& line) {
    std::istringstream words(line);
    std::string name, arguments;
    words >> name;
    std::getline(words >> std::ws, arguments);
    if (name.empty()) return true;
    if (name == "quit") {
        say("ok quit");
        return false;
    }
    if (window_ == nullptr) {
        say("error " + name + ": no window");
        return true;
    }
    const std::string error = windowCommand(name, arguments);
    say(error.empty() ? "ok " + line : "error " + name + ": " + error);
    return name != "close" || !error.empty();
}

std::string CommandLoop::windowCommand(const std::string& name, const std::string& arguments) {
    std::istringstream in(arguments);
    int a = 0, b = 0;
    const bool two = static_cast<bool>(in >> a >> b);
    if (name == "color") {
        const auto color = parseColor(arguments);
        if (!color) return "expected RRGGBB";
        window_->paint(*color);
        return "";
    }
    if (name == "patch") return patch(arguments);
    if (name == "move") return two ? window_->move(a, b) : "expected X Y";
    if (name == "resize") return two ? window_->resize(a, b) : "expected W H";
    if (name == "iconify") return window_->iconify();
    if (name == "map") return window_->map();
    if (name == "unmap") return window_->unmap();
    if (name == "raise") return window_->activate();
    if (name == "close") return window_->destroy();
    if (name == "animate") return startAnimation(arguments);
    if (name == "scroll") return startScroll(arguments);
    return "unknown command";
}

std::string CommandLoop::patch(const std::string& arguments) {
    std::istringstream in(arguments);
    int x = 0, y = 0, width = 0, height = 0;
    std::string text;
    const auto color = in >> x >> y >> width >> height >> text ? parseColor(text) : std::nullopt;
    if (!color || width <= 0 || height <= 0) return "expected X Y W H RRGGBB";
    window_->patch(x, y, width, height, *color);
    return "";
}

std::string CommandLoop::startAnimation(const std::string& arguments) {
    std::istringstream in(arguments);
    double fps = 0, seconds = 0;
    if (!(in >> fps >> seconds) || fps <= 0 || fps > 1000 || seconds < 0 || seconds > 3600)
        return "expected FPS SECONDS";
    animation_ = {monotonicNs(), static_cast<int64_t>(1e9 / fps),
                  static_cast<uint64_t>(fps * seconds + 0.5), 0};
    return "";
}

// "scroll ROWS ROW-HEIGHT FPS SECONDS": a terminal's text scrolling in its bottom rows, one
// new line a frame; nothing else of the window changes.
std::string CommandLoop::startScroll(const std::string& arguments) {
    std::istringstream in(arguments);
    int rows = 0, rowHeight = 0;
    std::string rest;
    if (!(in >> rows >> rowHeight) || rows < 1 || rowHeight < 1) return "expected ROWS ROW-HEIGHT";
    std::getline(in >> std::ws, rest);
    if (std::string error = startAnimation(rest); !error.empty()) return error;
    animation_.scrollRows = rows;
    animation_.rowHeight = rowHeight;
    return "";
}

// Paints the frame that is due, one line each: "frame N MONOTONIC-NS RRGGBB". A client that
// fell behind skips the frames it missed rather than drawing them in a burst.
void CommandLoop::animate() {
    if (window_ == nullptr || animation_.shown >= animation_.total) return;
    const int64_t elapsed = monotonicNs() - animation_.startNs;
    if (elapsed < static_cast<int64_t>(animation_.shown) * animation_.periodNs) return;
    const uint32_t color =
        animation_.scrollRows > 0 ? window_->color() : animationColor(window_->frames());
    if (animation_.scrollRows > 0)
        window_->scrollText(animation_.scrollRows, animation_.rowHeight);
    else
        window_->paint(color);
    const int64_t drawnNs = monotonicNs();
    say("frame " + std::to_string(window_->frames()) + " " + std::to_string(drawnNs) + " " +
        hex(color));
    const auto due = static_cast<uint64_t>(elapsed / animation_.periodNs);
    animation_.shown = std::max(animation_.shown, due) + 1;
    if (animation_.shown >= animation_.total) say("animated");
}
