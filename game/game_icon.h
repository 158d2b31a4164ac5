// The window's icon, drawn by the data generator like the game's other pictures.
#pragma once

#include "os/types.h"
#include "os/window.h"

// Gives the window the icon image at path (relative to the executable's
// directory).  An image that cannot be read, decoded or taken logs one line
// and leaves the window with the icon it had; start-up goes on either way.
bool load_window_icon(Window *window, Str path);
