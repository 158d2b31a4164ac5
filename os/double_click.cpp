#include "os/double_click.h"

static i32 distance(i32 a, i32 b) { return a > b ? a - b : b - a; }

bool double_click_test(DoubleClickRecord *last, i32 x, i32 y, u32 now, u32 double_time, i32 width, i32 height) {
    bool twice = now < last->time + double_time && distance(x, last->x) < width && distance(y, last->y) < height;
    if (twice) {
        last->time = 0;
    } else {
        last->x = x;
        last->y = y;
        last->time = now;
    }
    return twice;
}
