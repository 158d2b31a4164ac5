// Built without a display backend: no cursor, no buttons, no synthetic input.
#include "os/backend.h"

Vec2i backend_cursor_position(void) { return Vec2i{0, 0}; }
bool backend_mouse_button_down(u16) { return false; }
void backend_send_mouse_move(i32, i32) {}
void backend_send_mouse_position(i32, i32) {}
void backend_send_key(KeyStroke) {}
void backend_type_text(const char *) {}
