#include "platform/desktop/DesktopBusAddress.h"

#include <array>
#include <utility>

namespace desktop {
namespace {

constexpr std::array<std::pair<ShellCommand, const char*>, 3> methods = {{
    {ShellCommand::toggle, "Toggle"},
    {ShellCommand::unpinAll, "UnpinAll"},
    {ShellCommand::quit, "Quit"},
}};

}  // namespace

const char* DesktopBusAddress::methodOf(ShellCommand command) {
    for (const auto& [known, method] : methods)
        if (known == command) return method;
    return "";
}

std::optional<ShellCommand> DesktopBusAddress::commandOf(std::string_view method) {
    for (const auto& [command, name] : methods)
        if (name == method) return command;
    return std::nullopt;
}

}  // namespace desktop
