#pragma once

#include <optional>
#include <string_view>

// What a shell can ask the running copy to do, so that a desktop without a global shortcut
// for programs (or a tiling window manager) can bind the same actions to its own keys.
enum class ShellCommand { toggle, unpinAll, quit };

// "--toggle", "--unpin-all", "--quit"; nothing for any other text.
std::optional<ShellCommand> shellCommandNamed(std::string_view option);
std::string_view optionOf(ShellCommand command);

// Runs the command in the running copy, on the main thread, down the same road as the
// shortcut (toggle) and the menu (unpin all, quit).
void runShellCommand(ShellCommand command);
