// F11 and Alt+Enter switch the game's window between its place and fullscreen.
#pragma once

#include "os/window.h"

// Acts on this frame's presses (consumed): F11, or Enter with Alt held.
void window_keys_frame(Window *window);
