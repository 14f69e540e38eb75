#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace desktop {

class X11Connection;

// Small readers of window properties; each gives nothing when the property is absent or
// of another shape, and never fails otherwise.
std::optional<std::vector<uint32_t>> readCardinals(X11Connection& connection, xcb_window_t window,
                                                   xcb_atom_t property, xcb_atom_t type);
std::optional<uint32_t> readCardinal(X11Connection& connection, xcb_window_t window,
                                     xcb_atom_t property, xcb_atom_t type);
std::optional<std::string> readBytes(X11Connection& connection, xcb_window_t window,
                                     xcb_atom_t property);

}  // namespace desktop
