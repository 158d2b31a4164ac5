// A window that fits the screen it opens on: a client area of a fixed size
// is shrunk, keeping its aspect, where the work area cannot hold it.
#include "os/backend.h"
#include "os/clock.h"

Rect32 os_fitted_outer_rect(Rect32 work, Size2i client, Size2i frame) {
    i64 w = client.width, h = client.height;
    i32 room_w = work.width - frame.width;
    i32 room_h = work.height - frame.height;
    if (client.width <= 0 || client.height <= 0 || room_w <= 0 || room_h <= 0)
        return Rect32{work.x, work.y, client.width + frame.width, client.height + frame.height};
    if (w > room_w || h > room_h) {
        // Cross-multiplied so that the side that limits is chosen exactly.
        if ((i64)room_w * client.height <= (i64)room_h * client.width) {
            w = room_w;
            h = (i64)room_w * client.height / client.width;
        } else {
            h = room_h;
            w = (i64)room_h * client.width / client.height;
        }
        if (w < 1) w = 1;
        if (h < 1) h = 1;
    }
    i32 out_w = (i32)w + frame.width;
    i32 out_h = (i32)h + frame.height;
    return Rect32{work.x + (work.width - out_w) / 2, work.y + (work.height - out_h) / 2, out_w, out_h};
}

static Size2i frame_of(const Window *window) {
    return Size2i{window->window_size.width - window->client_size.width,
                  window->window_size.height - window->client_size.height};
}

// Room to spare beyond which no frame a system draws could matter.
#define FIT_FRAME_MARGIN 120

static void wait_for_frame(Window *window, Rect32 work, i32 width, i32 height) {
    if (window->flags & (WINDOW_BORDERLESS | WINDOW_POPUP)) return;
    if (work.width - width > FIT_FRAME_MARGIN && work.height - height > FIT_FRAME_MARGIN) return;
    for (i32 waited = 0; waited < FIT_FRAME_WAIT_MS; waited += 10) {
        Size2i frame = frame_of(window);
        if (frame.width > 0 || frame.height > 0) return;
        os_pump_messages();
        if (!window_is_open(window)) return;
        os_sleep_microseconds(10000);
    }
}

void os_fit_window(Window *window, i32 width, i32 height) {
    if (!window_is_open(window) || (window->flags & WINDOW_FULLSCREEN)) return;
    Monitor *monitor = os_get_default_monitor();
    Rect32 work = {monitor->work_pos.x, monitor->work_pos.y, monitor->work_size.width, monitor->work_size.height};
    wait_for_frame(window, work, width, height);
    if (!window_is_open(window)) return;
    Size2i frame = frame_of(window);
    Rect32 fitted = os_fitted_outer_rect(work, Size2i{width, height}, frame);
    // The system may have cut a window too large for it to another shape; one
    // it left whole, where it fits, is left where it is.
    bool whole = window->client_size.width == width && window->client_size.height == height;
    if (whole && fitted.width == window->window_size.width && fitted.height == window->window_size.height) return;
    backend_move_outer(window, fitted);
}
