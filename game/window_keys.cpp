#include "game/window_keys.h"

#include "game/keys.h"
#include "os/input.h"
#include "os/window_ops.h"

// Alt counts when it was down at any time in the frame: a quick Alt+Enter can
// bring Alt's release in the same pump as Enter's press.
static bool alt_down_this_frame(void) {
    return input_state && (input_state->records[KEY_ALT].flags & (INPUT_HELD | INPUT_RELEASED));
}

void window_keys_frame(Window *window) {
    bool toggle = false;
    if (key_pressed(KEY_F11)) {
        key_consume_press(KEY_F11);
        toggle = true;
    }
    if (key_pressed(KEY_ENTER) && alt_down_this_frame()) {
        key_consume_press(KEY_ENTER);
        toggle = true;
    }
    if (toggle) os_set_window_fullscreen(window, !(window->flags & WINDOW_FULLSCREEN));
}
