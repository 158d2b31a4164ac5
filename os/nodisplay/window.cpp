// Built without a display backend: no window can be made, so no message ever
// arrives, and the shared window code never reaches these with a window.
#include "os/backend.h"

bool backend_display_ready(void) { return false; }
SystemWindow backend_create_window(const WindowRequest *) { return SystemWindow{nullptr, nullptr}; }
bool backend_handle_message(void) { return false; }
void backend_wait_message(void) {}

void backend_read_geometry(Window *) {}
void backend_release_window(Window *, bool) {}
bool backend_set_window_icon(Window *, const u8 *, i32, i32) { return false; }
void backend_register_raw_mouse(Window *) {}
void backend_unregister_raw_mouse(void) {}
