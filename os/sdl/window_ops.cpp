// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/window_ops.h"

void os_show_window(Window *, bool) {}
void os_minimise_window(Window *, bool) {}
void os_focus_window(Window *) {}
void os_destroy_window(Window *) {}
void os_flash_window(Window *) {}
void os_move_window(Window *, i32, i32, i32, i32, bool) {}
void os_set_window_position(Window *, i32, i32, bool) {}
void os_set_window_size(Window *, i32, i32, bool) {}
void os_center_window(Window *) {}
void os_set_window_border(Window *, bool) {}
void os_set_window_topmost(Window *, bool) {}
void os_show_cursor(Window *, bool) {}
void os_set_cursor(u8) {}
u8 os_load_cursor(Str) { return 0; }
u64 os_create_framebuffer(Window *) { return 0; }
void os_resize_framebuffer(Window *) {}
void os_destroy_framebuffer(Window *) {}
void os_present_framebuffer(Window *) {}
void os_present_framebuffer_rect(Window *, i32, i32, i32, i32) {}
