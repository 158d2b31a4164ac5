// The operations on an existing window: each one's guard, the geometry over
// one per-backend move, the border and topmost bookkeeping, the cursor table
// and the software framebuffer's memory.  The backends only reach their systems.
#include "os/backend.h"
#include "os/memory.h"
#include "os/system.h"

void os_show_window(Window *window, bool show) {
    if (window_is_open(window)) backend_show_window(window, show);
}

void os_minimise_window(Window *window, bool minimise) {
    if (window_is_open(window)) backend_minimise_window(window, minimise);
}

void os_focus_window(Window *window) {
    if (!window_is_open(window)) return;
    window->flags |= WINDOW_FOCUSED;
    backend_focus_window(window);
}

void os_destroy_window(Window *window) {
    if (window_is_open(window)) backend_destroy_window(window);
}

void os_flash_window(Window *window) {
    if (window_is_open(window)) backend_flash_window(window);
}

void os_move_window(Window *window, i32 x, i32 y, i32 width, i32 height, bool client) {
    if (!window_is_open(window)) return;
    Rect32 r = {x, y, width, height};
    backend_move_outer(window, client ? os_outer_rect_for_client(window, r) : r);
}

void os_set_window_position(Window *window, i32 x, i32 y, bool client) {
    if (!window_is_open(window)) return;
    Rect32 r = {x, y, window->window_size.width, window->window_size.height};
    if (client) {
        Rect32 outer = os_outer_rect_for_client(window, Rect32{x, y, 0, 0});
        r.x = outer.x;
        r.y = outer.y;
    }
    backend_move_outer(window, r);
}

void os_set_window_size(Window *window, i32 width, i32 height, bool client) {
    if (window_is_open(window)) backend_move_outer(window, os_resized_about_centre(window, width, height, client));
}

void os_center_window(Window *window) {
    if (!window_is_open(window)) return;
    Monitor *monitor = os_get_default_monitor();
    if (!monitor) return;
    Size2i area = {monitor->rect_size.width, monitor->rect_size.height};
    Vec2i at = os_centred_position(area, Size2i{window->window_size.width, window->window_size.height});
    backend_move_outer(window, Rect32{at.x, at.y, window->window_size.width, window->window_size.height});
}

void os_set_window_border(Window *window, bool bordered) {
    if (!window_is_open(window)) return;
    bool borderless = window->flags & WINDOW_BORDERLESS;
    if (borderless != bordered) return;
    // Field by field: the record is packed, its pairs unaligned.
    Vec2i old_window_pos = {window->window_pos.x, window->window_pos.y};
    Vec2i old_client_pos = {window->client_pos.x, window->client_pos.y};
    Size2i old_client_size = {window->client_size.width, window->client_size.height};
    if (bordered) window->flags &= (u16)~WINDOW_BORDERLESS;
    else window->flags |= WINDOW_BORDERLESS;
    backend_apply_border(window, old_window_pos, old_client_pos, old_client_size);
}

void os_set_window_topmost(Window *window, bool topmost) {
    if (!window_is_open(window)) return;
    bool now = window->flags & WINDOW_TOPMOST;
    if (now == topmost) return;
    if (topmost) window->flags |= WINDOW_TOPMOST;
    else window->flags &= (u16)~WINDOW_TOPMOST;
    backend_apply_topmost(window, topmost);
}

void os_show_cursor(Window *window, bool show) {
    if (window_is_open(window)) backend_show_cursor(show);
}

void os_set_cursor(u8 index) {
    cursor_table_ensure();
    if (!cursor_table.handles || index >= cursor_table.capacity) return;
    backend_set_cursor(cursor_table.handles[index]);
}

u8 os_load_cursor(Str path) {
    cursor_table_ensure();
    if (path.len == 0) return 0;
    void *cursor = backend_load_cursor_file(path);
    if (!cursor) return 0;
    return cursor_table_add(&cursor_table, cursor);
}

u64 os_create_framebuffer(Window *window) {
    if (!window) return 0;
    if (window->framebuffer_pixels) os_free(window->framebuffer_pixels);
    window->framebuffer_size = Size2i{window->client_size.width, window->client_size.height};
    u64 capacity = os_framebuffer_capacity_for(window->client_size.width, window->client_size.height);
    window->framebuffer_pixels = (u32 *)os_alloc(capacity);
    window->framebuffer_capacity = window->framebuffer_pixels ? capacity : 0;
    window->flags |= WINDOW_FRAMEBUFFER;
    return window->framebuffer_capacity;
}

void os_resize_framebuffer(Window *window) {
    if (!window) return;
    window->framebuffer_size = Size2i{window->client_size.width, window->client_size.height};
    u64 need = os_framebuffer_capacity_for(window->client_size.width, window->client_size.height);
    if (window->framebuffer_capacity >= need) return;
    u32 *pixels = (u32 *)(window->framebuffer_pixels ? os_realloc(window->framebuffer_pixels, need) : os_alloc(need));
    if (!pixels) {
        // The old block is too small for the new size: drop it rather than let a
        // present read past it.
        if (window->framebuffer_pixels) os_free(window->framebuffer_pixels);
        window->framebuffer_pixels = nullptr;
        window->framebuffer_capacity = 0;
        return;
    }
    window->framebuffer_pixels = pixels;
    window->framebuffer_capacity = need;
}

void os_destroy_framebuffer(Window *window) {
    if (!window) return;
    if (window->framebuffer_pixels) os_free(window->framebuffer_pixels);
    window->flags &= (u16)~WINDOW_FRAMEBUFFER;
    window->framebuffer_pixels = nullptr;
    window->framebuffer_size = Size2i{0, 0};
    window->framebuffer_capacity = 0;
}

bool os_framebuffer_presentable(const Window *window) {
    return window_is_open(window) && (window->flags & WINDOW_FRAMEBUFFER) && window->framebuffer_pixels;
}

void os_present_framebuffer(Window *window) {
    if (os_framebuffer_presentable(window)) backend_present_framebuffer(window);
}

void os_present_framebuffer_rect(Window *window, i32 x, i32 y, i32 width, i32 height) {
    if (os_framebuffer_presentable(window)) backend_present_framebuffer_rect(window, Rect32{x, y, width, height});
}
