// Borderless fullscreen on the window's monitor and back: the window's old
// place, size and border are kept here (its record's layout is fixed), one
// entry per window that is fullscreen now.
#include "os/backend.h"

struct FullscreenPlace {
    Window *window;
    Rect32 outer;
    Rect32 client;
};

// More windows than this fullscreen at once are refused.
#define FULLSCREEN_PLACES 8
static FullscreenPlace places[FULLSCREEN_PLACES];

static FullscreenPlace *place_of(Window *window) {
    for (FullscreenPlace &p : places)
        if (p.window == window) return &p;
    return nullptr;
}

static i64 overlap(Rect32 a, Rect32 b) {
    i64 w = (i64)(a.x + a.width < b.x + b.width ? a.x + a.width : b.x + b.width) - (a.x > b.x ? a.x : b.x);
    i64 h = (i64)(a.y + a.height < b.y + b.height ? a.y + a.height : b.y + b.height) - (a.y > b.y ? a.y : b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

Rect32 os_monitor_rect_for(const Monitor *monitors, i32 count, Rect32 rect) {
    if (!monitors || count <= 0) return Rect32{0, 0, 0, 0};
    i32 best = 0;
    i64 best_area = 0;
    for (i32 i = 0; i < count; i++) {
        const Monitor &m = monitors[i];
        i64 area = overlap(rect, Rect32{m.rect_pos.x, m.rect_pos.y, m.rect_size.width, m.rect_size.height});
        if (area > best_area) {
            best = i;
            best_area = area;
        }
    }
    const Monitor &m = monitors[best];
    return Rect32{m.rect_pos.x, m.rect_pos.y, m.rect_size.width, m.rect_size.height};
}

static Rect32 monitor_rect_of(const Window *window) {
    i32 count = 0;
    Monitor *first = nullptr;
    os_get_monitors(&count, &first);
    Rect32 outer = {window->window_pos.x, window->window_pos.y, window->window_size.width, window->window_size.height};
    if (count > 0) return os_monitor_rect_for(first, count, outer);
    Monitor *fallback = os_get_default_monitor();
    return Rect32{fallback->rect_pos.x, fallback->rect_pos.y, fallback->rect_size.width, fallback->rect_size.height};
}

void os_set_window_fullscreen(Window *window, bool fullscreen) {
    if (!window_is_open(window)) return;
    bool now = window->flags & WINDOW_FULLSCREEN;
    if (now == fullscreen) return;
    if (fullscreen) {
        FullscreenPlace *place = place_of(nullptr);
        if (!place) return;
        place->window = window;
        place->outer = Rect32{window->window_pos.x, window->window_pos.y, window->window_size.width,
                              window->window_size.height};
        place->client = Rect32{window->client_pos.x, window->client_pos.y, window->client_size.width,
                               window->client_size.height};
        window->flags |= WINDOW_FULLSCREEN;
        backend_enter_fullscreen(window, monitor_rect_of(window));
        return;
    }
    FullscreenPlace *place = place_of(window);
    window->flags &= (u16)~WINDOW_FULLSCREEN;
    // Without a kept place (more fullscreen windows than places), the window
    // stays on the monitor, only bordered again.
    FullscreenPlace back = place ? *place : FullscreenPlace{};
    if (!place) {
        back.outer = Rect32{window->window_pos.x, window->window_pos.y, window->window_size.width,
                            window->window_size.height};
        back.client = Rect32{window->client_pos.x, window->client_pos.y, window->client_size.width,
                             window->client_size.height};
    }
    if (place) *place = FullscreenPlace{};
    backend_leave_fullscreen(window, back.outer, back.client);
}

void window_forget_fullscreen(Window *window) {
    if (FullscreenPlace *place = place_of(window)) *place = FullscreenPlace{};
}
