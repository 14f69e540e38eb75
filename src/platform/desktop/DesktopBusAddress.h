#pragma once

#include <optional>
#include <string_view>

#include "app/ShellCommand.h"

namespace desktop {

// Where the running copy answers commands from the shell: one well-known name on the
// session bus, one object, one method per command.
struct DesktopBusAddress {
    static constexpr const char* service = "org.veltrin.Veltrin";
    static constexpr const char* path = "/org/veltrin/Veltrin";
    static constexpr const char* interface = "org.veltrin.Veltrin";

    // "Toggle", "UnpinAll", "Quit".
    static const char* methodOf(ShellCommand command);
    static std::optional<ShellCommand> commandOf(std::string_view method);
};

}  // namespace desktop
