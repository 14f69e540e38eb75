#include "desktop/TestClient.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

std::string hex(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", color & 0xffffff);
    return text;
}

std::vector<std::string> argumentsFor(const ClientOptions& o) {
    std::vector<std::string> a = {VELTRIN_TEST_CLIENT,
                                  "--size",
                                  std::to_string(o.width) + "x" + std::to_string(o.height),
                                  "--color",
                                  hex(o.color),
                                  "--title",
                                  o.title,
                                  "--class",
                                  o.wmClass};
    if (o.x && o.y)
        a.insert(a.end(), {"--position", std::to_string(*o.x) + "," + std::to_string(*o.y)});
    if (!o.setPid) a.push_back("--no-pid");
    if (o.overrideRedirect) a.push_back("--override-redirect");
    if (o.argb) a.push_back("--argb");
    if (o.noInput) a.push_back("--no-input");
    if (o.grabKey) a.insert(a.end(), {"--grab-key", *o.grabKey});
    if (const auto& e = o.gtkExtents)
        a.insert(a.end(),
                 {"--gtk-extents", std::to_string(e->left) + "," + std::to_string(e->right) + "," +
                                       std::to_string(e->top) + "," + std::to_string(e->bottom)});
    if (const auto& m = o.ownMargin)
        a.insert(a.end(),
                 {"--own-margin", std::to_string(m->left) + "," + std::to_string(m->right) + "," +
                                      std::to_string(m->top) + "," + std::to_string(m->bottom)});
    return a;
}

}  // namespace

TestClient::TestClient(const std::string& display, const ClientOptions& options) {
    signal(SIGPIPE, SIG_IGN);  // a client that died must not take the test with it
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("TestClient: pipe failed");
    ChildProcess::Spec spec;
    spec.arguments = argumentsFor(options);
    spec.environment = {{"DISPLAY", display}};
    spec.stdinFd = in[0];
    spec.stdoutFd = out[1];
    spec.stderrFd = 2;
    process_ = std::make_unique<ChildProcess>(spec);
    close(in[0]);
    close(out[1]);
    input_ = in[1];
    output_ = out[0];
    const auto ready = nextLine(std::chrono::seconds(10));
    if (!ready || ready->rfind("ready 0x", 0) != 0)
        throw std::runtime_error("TestClient: no ready line (got \"" + ready.value_or("") + "\")");
    window_ = static_cast<xcb_window_t>(std::stoul(ready->substr(8), nullptr, 16));
}

TestClient::~TestClient() {
    process_.reset();
    close(input_);
    close(output_);
}

void TestClient::send(const std::string& line) {
    const std::string text = line + "\n";
    if (write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        lastReply_ = "cannot write to the client";
}

bool TestClient::command(const std::string& line, std::chrono::milliseconds timeout) {
    const std::string name = line.substr(0, line.find(' '));
    lastReply_.clear();
    send(line);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const auto reply = nextLine(std::max(left, std::chrono::milliseconds(0)));
        if (!reply) {
            lastReply_ = "no answer to \"" + line + "\"";
            return false;
        }
        const bool ok = reply->rfind("ok " + name, 0) == 0;
        if (ok || reply->rfind("error " + name, 0) == 0) {
            lastReply_ = *reply;
            return ok;
        }
        unclaimed_.push_back(*reply);
    }
}

std::optional<std::string> TestClient::readLine(std::chrono::milliseconds timeout) {
    if (!unclaimed_.empty()) {
        std::string line = unclaimed_.front();
        unclaimed_.pop_front();
        return line;
    }
    return nextLine(timeout);
}

std::optional<std::string> TestClient::nextLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (buffer_.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(std::max<int64_t>(left.count(), 0))) <= 0)
            return std::nullopt;
        char chunk[4096];
        const ssize_t count = read(output_, chunk, sizeof chunk);
        if (count <= 0) return std::nullopt;
        buffer_.append(chunk, static_cast<size_t>(count));
    }
    const auto end = buffer_.find('\n');
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    return line;
}

std::optional<int> TestClient::closeInput(std::chrono::milliseconds timeout) {
    close(input_);
    input_ = -1;
    return process_->waitForExit(timeout);
}
