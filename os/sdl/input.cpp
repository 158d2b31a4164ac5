// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/input.h"

u64 os_get_cursor_pos(void) { return 0; }
bool os_is_mouse_button_down(u16) { return false; }
void os_send_mouse_move(i32, i32) {}
void os_send_mouse_position(i32, i32) {}
void os_send_key(u16, bool) {}
void os_type_text(const char *) {}
