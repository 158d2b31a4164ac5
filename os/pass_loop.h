// Who drives the program's passes (frames).  A desktop program loops and
// sleeps between passes; a web page cannot block, so the browser calls one
// pass per animation frame and the display's refresh paces the game.
#pragma once

#include "os/types.h"

// One pass; false when no pass is left.
typedef bool (*PassFunction)(void *user);
// Runs once, after the last pass.
typedef void (*PassesDone)(void *user);

// Runs pass until it says stop, then done (may be null).  paced: the passes
// follow the display (a window's frames); else they run as fast as they can
// (a check without a window).  On the desktop this returns after done; in a
// page it returns at once and the browser runs the passes and done later, so
// everything user points at must outlive the call.
void os_run_passes(PassFunction pass, PassesDone done, void *user, bool paced);
// True where the display paces the passes, so that a pass must never sleep.
bool os_passes_follow_display(void);
// Where the display drives the passes, stops them for good (the halt of a
// page, which must never sleep) and says true; false on the desktop.
bool os_halt_passes(void);
