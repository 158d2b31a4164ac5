// Built without a display backend: no window can be created, so no
// message ever arrives.
#include "os/backend.h"

Window *os_create_window(i32, i32, Str, u16) { return nullptr; }
int os_pump_messages(void) { return 0; }
void os_wait_message(void) {}

// The shared window code calls these only for a window, and there is none.
void backend_read_geometry(Window *) {}
void backend_release_window(Window *, bool) {}
bool backend_set_window_icon(Window *, const u8 *, i32, i32) { return false; }
void backend_register_raw_mouse(Window *) {}
void backend_unregister_raw_mouse(void) {}
