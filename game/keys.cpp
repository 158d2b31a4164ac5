#include "game/keys.h"

#include "os/input.h"

// Whether the key or any pad's button for it has one of the bits.
static bool any_flag(u16 key, u8 bits) {
    if (!input_state) return false;
    if (input_state->records[key].flags & bits) return true;
    for (const GamePadKey &m : GAME_PAD_KEYS) {
        if (m.key != key) continue;
        for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++)
            if (input_state->records[gamepad_record(pad, m.control)].flags & bits) return true;
    }
    return false;
}

bool key_pressed(u16 key) { return any_flag(key, INPUT_PRESSED); }

bool key_held(u16 key) { return any_flag(key, INPUT_HELD); }

void key_consume_press(u16 key) {
    if (!input_state) return;
    input_state->records[key].flags &= (u8)~INPUT_PRESSED;
    for (const GamePadKey &m : GAME_PAD_KEYS) {
        if (m.key != key) continue;
        for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++)
            input_state->records[gamepad_record(pad, m.control)].flags &= (u8)~INPUT_PRESSED;
    }
}
