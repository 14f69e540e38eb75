#pragma once

#include <xcb/xcb.h>

// The atom named `name`, created when missing; XCB_ATOM_NONE when the server does not answer.
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name);
