// Window creation: what is asked of the system for the flags and the title,
// and the order of the steps around the system window.
#include "os/backend.h"
#include "os/gl_context.h"

// UTF-16 units of UTF-8 text: one per character, two for a character past
// U+FFFF (a four-byte sequence).
static u64 utf16_units(Str text) {
    u64 units = 0;
    for (u64 i = 0; i < text.len; i++) {
        u8 b = (u8)text.data[i];
        if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
    }
    return units;
}

WindowRequest window_request_for(i32 width, i32 height, Str title, u16 flags) {
    WindowRequest request = {};
    request.client_size = Size2i{width, height};
    if (flags & WINDOW_POPUP) {
        request.placed = true;
        request.position = Vec2i{0, 0};
        request.client_size = Size2i{WINDOW_POPUP_SIDE, WINDOW_POPUP_SIDE};
    }
    u64 units = utf16_units(title);
    request.title = units == 0 || units > WINDOW_TITLE_MAX_UNITS ? STR("Window") : title;
    request.flags = flags;
    request.opengl = (flags & WINDOW_OPENGL) && !(flags & WINDOW_FRAMEBUFFER);
    return request;
}

Window *os_create_window(i32 width, i32 height, Str title, u16 flags) {
    if (!backend_display_ready()) return nullptr;
    cursor_table_ensure();
    WindowRequest request = window_request_for(width, height, title, flags);
    SystemWindow made = backend_create_window(&request);
    if (!made.hwnd) return nullptr;
    Window *window = window_add(made.hwnd, made.hdc, flags);
    if (!window) {
        // No record ever stood for it, so no close sequence runs either.
        Window stray = {};
        stray.hwnd = made.hwnd;
        stray.hdc = made.hdc;
        backend_release_window(&stray, false);
        return nullptr;
    }
    if (flags & WINDOW_FRAMEBUFFER) os_create_framebuffer(window);
    else if (request.opengl) os_create_gl_context(window);
    return window;
}
