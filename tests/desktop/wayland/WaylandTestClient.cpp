#include "desktop/wayland/WaylandTestClient.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

WaylandTestClient::WaylandTestClient(const std::map<std::string, std::string>& environment,
                                     const std::vector<std::string>& options) {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipes for the test client");
    ChildProcess::Spec spec;
    spec.arguments = {VELTRIN_WAYLAND_TEST_CLIENT};
    spec.arguments.insert(spec.arguments.end(), options.begin(), options.end());
    for (const auto& [name, value] : environment)
        spec.environment[name] = value;
    spec.environment["DISPLAY"] = std::nullopt;
    spec.stdinFd = in[0];
    spec.stdoutFd = out[1];
    process_ = std::make_unique<ChildProcess>(spec);
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
    if (!waitForLine("ready", std::chrono::seconds(10)))
        throw std::runtime_error("the Wayland test client did not show its window");
}

WaylandTestClient::~WaylandTestClient() {
    if (input_ >= 0) ::close(input_);
    process_.reset();
    ::close(output_);
}

bool WaylandTestClient::command(const std::string& line, std::chrono::milliseconds timeout) {
    const std::string text = line + "\n";
    if (input_ < 0 || write(input_, text.data(), text.size()) != ssize_t(text.size())) return false;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto line = readLine(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (!line) return false;
        if (*line == "ok" || line->rfind("error", 0) == 0) return *line == "ok";
        told_.push_back(*line);
    }
}

std::string WaylandTestClient::colorName(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", color & 0xFFFFFFu);
    return text;
}

std::optional<std::string> WaylandTestClient::waitForLine(const std::string& prefix,
                                                          std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        while (!told_.empty()) {
            std::string line = std::move(told_.front());
            told_.pop_front();
            if (line.rfind(prefix, 0) == 0) return line;
        }
        const auto line = readLine(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
        if (!line) return std::nullopt;
        told_.push_back(*line);
    }
}

void WaylandTestClient::close() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

std::optional<std::string> WaylandTestClient::readLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const size_t end = buffer_.find('\n'); end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, int(left.count())) <= 0) return std::nullopt;
        char chunk[256];
        const ssize_t got = read(output_, chunk, sizeof chunk);
        if (got <= 0) return std::nullopt;
        buffer_.append(chunk, size_t(got));
    }
}
