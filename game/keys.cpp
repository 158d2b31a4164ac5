#include "game/keys.h"

#include "os/input.h"

bool key_pressed(u16 key) { return input_state && (input_state->records[key].flags & INPUT_PRESSED); }

bool key_held(u16 key) { return input_state && (input_state->records[key].flags & INPUT_HELD); }

void key_consume_press(u16 key) {
    if (input_state) input_state->records[key].flags &= (u8)~INPUT_PRESSED;
}
