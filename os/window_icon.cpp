// Window icons: the checks every backend shares, and the box filter that
// gives a backend a crisp smaller copy where its system would only sample.
#include "os/backend.h"

bool os_set_window_icon(Window *window, const u8 *rgba, i32 width, i32 height) {
    if (!window_is_open(window) || !rgba) return false;
    if (width <= 0 || height <= 0 || width > OS_WINDOW_ICON_MAX_SIDE || height > OS_WINDOW_ICON_MAX_SIDE) return false;
    return backend_set_window_icon(window, rgba, width, height);
}

// The source columns (or rows) [*first, *end) that output index i covers.
// The ranges tile the source without overlap; growing repeats a pixel.
static void covered_range(i32 i, i32 source, i32 out, i32 *first, i32 *end) {
    *first = (i32)((i64)i * source / out);
    *end = (i32)((i64)(i + 1) * source / out);
    if (*end <= *first) *end = *first + 1;
}

void icon_box_filter(const u8 *rgba, i32 width, i32 height, u8 *out, i32 out_width, i32 out_height) {
    for (i32 oy = 0; oy < out_height; oy++) {
        i32 y0, y1;
        covered_range(oy, height, out_height, &y0, &y1);
        for (i32 ox = 0; ox < out_width; ox++) {
            i32 x0, x1;
            covered_range(ox, width, out_width, &x0, &x1);
            // Colour weighted by alpha, so that clear pixels, whatever colour
            // they hold, do not darken or tint the edge.
            u64 r = 0, g = 0, b = 0, a = 0;
            for (i32 y = y0; y < y1; y++) {
                const u8 *p = rgba + ((i64)y * width + x0) * 4;
                for (i32 x = x0; x < x1; x++, p += 4) {
                    r += (u64)p[0] * p[3];
                    g += (u64)p[1] * p[3];
                    b += (u64)p[2] * p[3];
                    a += p[3];
                }
            }
            u64 n = (u64)(y1 - y0) * (u64)(x1 - x0);
            u8 *q = out + ((i64)oy * out_width + ox) * 4;
            q[0] = a ? (u8)((r + a / 2) / a) : 0;
            q[1] = a ? (u8)((g + a / 2) / a) : 0;
            q[2] = a ? (u8)((b + a / 2) / a) : 0;
            q[3] = (u8)((a + n / 2) / n);
        }
    }
}
