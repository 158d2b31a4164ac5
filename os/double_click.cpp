#include "os/double_click.h"

static i32 distance(i32 a, i32 b) { return a > b ? a - b : b - a; }

bool double_click_test(DoubleClickRecord *last, i32 x, i32 y, u32 now, u32 double_time, i32 width, i32 height) {
    // The unsigned difference holds across the clock's wrap.
    bool twice = last->has_last && now - last->time < double_time && distance(x, last->x) < width &&
                 distance(y, last->y) < height;
    if (twice) {
        last->has_last = false;
    } else {
        last->x = x;
        last->y = y;
        last->time = now;
        last->has_last = true;
    }
    return twice;
}
