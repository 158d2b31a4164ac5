// Built without a display backend: no window can be created, so no
// message ever arrives for a callback.
#include "os/window.h"

Window *os_create_window(i32, i32, Str, u16) { return nullptr; }
void os_set_event_callback(WindowEventCallback) {}
int os_pump_messages(void) { return 0; }
void os_wait_message(void) {}
void os_set_raw_mouse(Window *, bool) {}
