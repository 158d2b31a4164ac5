// The double-click rule, kept per mouse button.
#pragma once

#include "os/types.h"

struct DoubleClickRecord {
    i32 x, y;       // client coordinates of the last press
    u32 time;       // message time of the last press
    bool has_last;  // a press waits to be paired; clear at first and after a double click
};

// A press at (x, y) at time now is a double click when it comes within
// double_time of the last press and inside the rectangle around it.  A double
// click forgets the last press so that a third press starts afresh; any other
// press becomes the new last press.  Times are the system's wrapping 32-bit
// milliseconds: every value, 0 included, is a real time.
bool double_click_test(DoubleClickRecord *last, i32 x, i32 y, u32 now, u32 double_time, i32 width, i32 height);
