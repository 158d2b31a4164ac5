// The system's own pointer and keyboard: the queries and synthetic input of
// os/input.h.  The backends reach the system.
#include "os/backend.h"
#include "os/input.h"

u64 os_get_cursor_pos(void) {
    Vec2i p = backend_cursor_position();
    return (u64)(u32)p.x | ((u64)(u32)p.y << 32);
}

bool os_is_mouse_button_down(u16 button) {
    return button >= BUTTON_MOUSE_LEFT && button <= BUTTON_MOUSE_RIGHT && backend_mouse_button_down(button);
}

void os_send_mouse_move(i32 dx, i32 dy) { backend_send_mouse_move(dx, dy); }

void os_send_mouse_position(i32 x, i32 y) { backend_send_mouse_position(x, y); }

void os_send_key(u16 vk, bool down) {
    if (os_key_is_sendable(vk)) backend_send_key(KeyStroke{vk, !down});
}

void os_type_text(const char *text) {
    if (text) backend_type_text(text);
}
