// What the win32 window, window-operation and context files share.
#pragma once

#include <windows.h>

#include "os/window.h"

// Style and extended style for a window's flags.
DWORD win32_window_style(u16 flags);
DWORD win32_window_ex_style(u16 flags);
