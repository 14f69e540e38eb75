#pragma once

// A private session for media tests: a runtime folder of its own (also the home of what it
// starts), a session bus, and unless told otherwise PipeWire and its session manager
// (which links streams to their targets). The test process is
// pointed at them (XDG_RUNTIME_DIR, PIPEWIRE_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS), so
// make it before anything in the process talks to PipeWire or the bus. Everything it
// started ends with it.
//
//   MediaSession session;                 // throws std::runtime_error when it cannot start
//   MediaSession bus(false);              // the bus alone
//   session.start({"kglobalaccel5"});     // more programs on the same bus

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/ChildProcess.h"

class MediaSession {
public:
    explicit MediaSession(bool withPipeWire = true);
    ~MediaSession();
    MediaSession(const MediaSession&) = delete;
    MediaSession& operator=(const MediaSession&) = delete;

    const std::string& runtimeDirectory() const { return directory_; }
    const std::string& busAddress() const { return bus_; }
    // Ends PipeWire and its session manager, as a crash would, and starts them anew.
    void restartPipeWire();
    ChildProcess& start(std::vector<std::string> arguments,
                        std::map<std::string, std::optional<std::string>> environment = {});

private:
    void startPipeWire();
    void waitForSessionManager();

    std::string directory_;
    std::string bus_;
    std::vector<std::unique_ptr<ChildProcess>> processes_;
    ChildProcess* pipeWire_ = nullptr;
    ChildProcess* sessionManager_ = nullptr;
};
