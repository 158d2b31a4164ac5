// The seam beneath the platform layer: what each display backend (os/win32/,
// os/sdl/, os/nodisplay/) provides, and the portable calls it makes into the
// code that holds the rules.  Everything above os/ uses the public headers
// only and never learns which backend it runs on.
//
// Two settings pick the backends: the system (files, threads, processes,
// clock, log: os/win32/ or os/posix/) and the display (windows, input, GL,
// sound device, monitors, clipboard: os/win32/, os/sdl/ or os/nodisplay/).
#pragma once

#include "os/system.h"

// ---- Monitors --------------------------------------------------------------
// Implemented per display backend: reports each monitor of the system through
// monitor_list_add, the first one first.  Reports nothing without a display.
void backend_enumerate_monitors(void);
// Implemented once (os/monitor_list.cpp): copies the record into the list,
// which takes ownership of name.data (heap memory, os_free).  A refresh rate of
// 0 or 1 counts as 60; a resolution that is not positive becomes rect_size.
void monitor_list_add(const Monitor *monitor);
