#pragma once

#include <cstdint>
#include <memory>
#include <optional>

namespace desktop {

class DesktopCommandObject;

// One copy of the program per session: the first copy owns a well-known name on the session
// bus and takes the shell's commands there; a later copy finds the name owned. Without a
// session bus the program still runs, says so once in the log, and takes no commands.
// Main thread.
class DesktopBusName {
public:
    DesktopBusName();
    ~DesktopBusName();
    DesktopBusName(const DesktopBusName&) = delete;
    DesktopBusName& operator=(const DesktopBusName&) = delete;

    // The pid of another copy that owns the name (-1 when the bus does not say); nothing
    // when this copy owns it or when there is no bus. The name is asked for once, on the
    // first call; later calls repeat that answer.
    std::optional<int32_t> otherCopy();

private:
    bool asked_ = false;
    std::optional<int32_t> other_;
    std::unique_ptr<DesktopCommandObject> commands_;  // on the bus while the name is ours
};

}  // namespace desktop
