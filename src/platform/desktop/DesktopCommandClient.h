#pragma once

#include <chrono>

#include "app/ShellCommand.h"

namespace desktop {

// Sends one command from the shell to the copy that runs in this session, over the session
// bus alone (no display needed). Says what went wrong on standard error.
class DesktopCommandClient {
public:
    // 0 once the running copy has done it (for quit: once it has ended); 1 when no copy runs,
    // there is no session bus, or the copy did not answer.
    int send(int argc, char** argv, ShellCommand command);

private:
    static constexpr std::chrono::seconds answerTimeout{10};
    static constexpr std::chrono::seconds quitTimeout{10};
};

}  // namespace desktop
