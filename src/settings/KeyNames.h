#pragma once

#include <map>
#include <string>

// Display names of virtual key codes, with the US layout's legends for character keys.
const std::map<int, std::string>& keyNames();

// The stored shortcut as text: modifier symbols (control, option, shift, command,
// function) and the key's name, joined by "+", for example "⌥+P".
std::string formatShortcut();
