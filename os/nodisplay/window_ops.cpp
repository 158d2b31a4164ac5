// Built without a display backend: there is never an open window to act on,
// no system cursor and nothing to present on.
#include "os/backend.h"

void backend_show_window(Window *, bool) {}
void backend_minimise_window(Window *, bool) {}
void backend_focus_window(Window *) {}
void backend_destroy_window(Window *) {}
void backend_flash_window(Window *) {}
void backend_present_framebuffer(Window *) {}
void backend_present_framebuffer_rect(Window *, Rect32) {}

void backend_move_outer(Window *, Rect32) {}
void backend_apply_border(Window *, Vec2i, Vec2i, Size2i) {}
void backend_apply_topmost(Window *, bool) {}
void backend_enter_fullscreen(Window *, Rect32) {}
void backend_leave_fullscreen(Window *, Rect32, Rect32) {}
void *backend_system_cursor(u8) { return nullptr; }
void backend_set_cursor(void *) {}
void *backend_load_cursor_file(Str) { return nullptr; }
void backend_show_cursor(bool) {}
