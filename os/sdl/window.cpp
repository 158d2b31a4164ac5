// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/window.h"

Window *os_create_window(i32, i32, Str, u16) { return nullptr; }
void os_set_event_callback(WindowEventCallback) {}
int os_pump_messages(void) { return 0; }
void os_wait_message(void) {}
void os_set_raw_mouse(Window *, bool) {}
