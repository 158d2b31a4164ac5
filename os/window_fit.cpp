// A window that fits the screen it opens on: a client area of a fixed size
// is shrunk, keeping its aspect, where the work area cannot hold it.
#include "os/backend.h"

Rect32 os_fitted_outer_rect(Rect32 work, Rect32 outer, Size2i frame) {
    i32 client_w = outer.width - frame.width;
    i32 client_h = outer.height - frame.height;
    if (outer.width <= work.width && outer.height <= work.height) return outer;
    i32 room_w = work.width - frame.width;
    i32 room_h = work.height - frame.height;
    // Nothing sensible fits: leave the window to the system.
    if (client_w <= 0 || client_h <= 0 || room_w <= 0 || room_h <= 0) return outer;
    i64 w, h;
    // Cross-multiplied so that the side that limits is chosen exactly.
    if ((i64)room_w * client_h <= (i64)room_h * client_w) {
        w = room_w;
        h = (i64)room_w * client_h / client_w;
    } else {
        h = room_h;
        w = (i64)room_h * client_w / client_h;
    }
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    i32 out_w = (i32)w + frame.width;
    i32 out_h = (i32)h + frame.height;
    return Rect32{work.x + (work.width - out_w) / 2, work.y + (work.height - out_h) / 2, out_w, out_h};
}

void os_fit_window(Window *window) {
    if (!window_is_open(window) || (window->flags & WINDOW_FULLSCREEN)) return;
    Monitor *monitor = os_get_default_monitor();
    Rect32 work = {monitor->work_pos.x, monitor->work_pos.y, monitor->work_size.width, monitor->work_size.height};
    Rect32 outer = {window->window_pos.x, window->window_pos.y, window->window_size.width, window->window_size.height};
    Size2i frame = {window->window_size.width - window->client_size.width,
                    window->window_size.height - window->client_size.height};
    Rect32 fitted = os_fitted_outer_rect(work, outer, frame);
    if (fitted.x == outer.x && fitted.y == outer.y && fitted.width == outer.width && fitted.height == outer.height)
        return;
    backend_move_outer(window, fitted);
}
