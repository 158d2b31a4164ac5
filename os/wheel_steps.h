// Whole wheel steps out of the fine amounts high-resolution wheels and
// touchpads send, gathered per window.
#pragma once

#include "os/types.h"

struct Window;

// One notch of a classic wheel, in the system's units.
#define WHEEL_NOTCH_AMOUNT 120

// Adds a signed wheel amount (positive away from the user) to what has
// gathered for the window and returns the whole steps now complete: +n up,
// -n down, 0 while less than a notch has gathered.  A turn against the
// gathered direction starts over from zero.
i32 wheel_take_steps(Window *window, i32 amount);

// Forgets what has gathered for a window that is closing, so that a window
// opened later at the same address starts from zero.
void wheel_forget(Window *window);
