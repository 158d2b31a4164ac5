// What the win32 window, window-operation and context files share.
#pragma once

#include <windows.h>

#include "os/window.h"

// Style and extended style for a window's flags.
DWORD win32_window_style(u16 flags);
DWORD win32_window_ex_style(u16 flags);
// Brings window_pos, window_size, client_size and client_pos up to date.
void win32_read_geometry(Window *window);
// Creates the cursor table with the system cursors on first use.
void win32_ensure_cursor_table(void);
