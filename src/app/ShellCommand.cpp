#include "app/ShellCommand.h"

#include <array>
#include <string>
#include <utility>

#include "app/Log.h"
#include "pinning/PinManager.h"
#include "platform/Platform.h"

namespace {

constexpr std::array<std::pair<ShellCommand, std::string_view>, 3> options = {{
    {ShellCommand::toggle, "--toggle"},
    {ShellCommand::unpinAll, "--unpin-all"},
    {ShellCommand::quit, "--quit"},
}};

}  // namespace

std::optional<ShellCommand> shellCommandNamed(std::string_view option) {
    for (const auto& [command, name] : options)
        if (name == option) return command;
    return std::nullopt;
}

std::string_view optionOf(ShellCommand command) {
    for (const auto& [known, name] : options)
        if (known == command) return name;
    return "";
}

void runShellCommand(ShellCommand command) {
    flog("command: " + std::string(optionOf(command)));
    switch (command) {
        case ShellCommand::toggle:
            PinManager::shared().toggleFrontmost();
            break;
        case ShellCommand::unpinAll:
            PinManager::shared().unpinAll();
            break;
        case ShellCommand::quit:
            platform::application().terminate();
            break;
    }
}
