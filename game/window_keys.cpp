#include "game/window_keys.h"

#include "game/keys.h"
#include "os/window_ops.h"

void window_keys_frame(Window *window) {
    bool toggle = false;
    if (key_pressed(KEY_F11)) {
        key_consume_press(KEY_F11);
        toggle = true;
    }
    if (key_pressed(KEY_ENTER) && key_held(KEY_ALT)) {
        key_consume_press(KEY_ENTER);
        toggle = true;
    }
    if (toggle) os_set_window_fullscreen(window, !(window->flags & WINDOW_FULLSCREEN));
}
