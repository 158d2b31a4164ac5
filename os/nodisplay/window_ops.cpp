// Built without a display backend: there is never an open window to act on,
// no system cursor and nothing to present on.
#include "os/backend.h"

void os_show_window(Window *, bool) {}
void os_minimise_window(Window *, bool) {}
void os_focus_window(Window *) {}
void os_destroy_window(Window *) {}
void os_flash_window(Window *) {}
void os_show_cursor(Window *, bool) {}
void os_present_framebuffer(Window *) {}
void os_present_framebuffer_rect(Window *, i32, i32, i32, i32) {}

void backend_move_outer(Window *, Rect32) {}
void backend_apply_border(Window *, Vec2i, Vec2i, Size2i) {}
void backend_apply_topmost(Window *, bool) {}
void *backend_system_cursor(u8) { return nullptr; }
void backend_set_cursor(void *) {}
void *backend_load_cursor_file(Str) { return nullptr; }
