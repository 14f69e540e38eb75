#pragma once

// Turns a compositor's output off or on, or scales it, through KDE's output management, on a
// connection of its own; outputs are counted in the order the compositor announced their devices.
// Waits for the compositor's answer: false when it refused the change or lacks output management.
namespace OutputSettings {

bool enable(int output, bool on);
bool scale(int output, double factor);

}  // namespace OutputSettings
