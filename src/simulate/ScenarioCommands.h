#pragma once

#include "simulate/Scenario.h"

// The commands of a scenario, in groups by what they drive.
void defineSceneCommands(Scenario& scenario);   // the desktop before and between launches
void defineLaunchCommands(Scenario& scenario);  // copies of the program, applications
void defineDumpCommands(Scenario& scenario);    // observable state on standard output
// -- pinning commands --
void definePinCommands(Scenario& scenario);     // pin toggles, capture, accessibility views
void defineMirrorCommands(Scenario& scenario);  // window announcements, frame colour

// -- shell commands --
void defineShellCommands(Scenario& scenario);  // shortcut presses, status menu, language

// -- interface commands --
void defineInterfaceCommands(Scenario& scenario);  // window server, refreshes, mouse, keys

// -- settings window commands --
void defineSettingsCommands(Scenario& scenario);  // open, press its buttons, type, dump

inline void defineAllCommands(Scenario& scenario) {
    defineSceneCommands(scenario);
    defineLaunchCommands(scenario);
    defineDumpCommands(scenario);
    // -- pinning commands --
    definePinCommands(scenario);
    defineMirrorCommands(scenario);

    // -- shell commands --
    defineShellCommands(scenario);

    // -- interface commands --
    defineInterfaceCommands(scenario);

    // -- settings window commands --
    defineSettingsCommands(scenario);
}
