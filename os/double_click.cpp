#include "os/double_click.h"

static i32 distance(i32 a, i32 b) { return a > b ? a - b : b - a; }

bool double_click_test(DoubleClickRecord *last, i32 x, i32 y, u32 now, u32 double_time, i32 width, i32 height) {
    // Time 0 means no press to pair with, whatever the clock reads: SDL's
    // clock starts at 0 with the program, so a cleared record would otherwise
    // pair with any press of the first half second.  The unsigned difference
    // also holds across the clock's wrap.
    bool twice = last->time != 0 && now - last->time < double_time && distance(x, last->x) < width &&
                 distance(y, last->y) < height;
    if (twice) {
        last->time = 0;
    } else {
        last->x = x;
        last->y = y;
        last->time = now;
    }
    return twice;
}
