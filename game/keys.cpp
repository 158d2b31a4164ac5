#include "game/keys.h"

#include "os/input.h"

// Whether the key's record or any pad's record of a button that acts as it
// has one of the bits; with clear, the bits are taken from all of them.
static bool key_flags(u16 key, u8 bits, bool clear) {
    if (!input_state) return false;
    InputRecord *records = input_state->records;
    bool found = records[key].flags & bits;
    if (clear) records[key].flags &= (u8)~bits;
    for (const GamePadKey &m : GAME_PAD_KEYS) {
        if (m.key != key) continue;
        for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) {
            InputRecord *r = &records[gamepad_record(pad, m.control)];
            found = found || (r->flags & bits);
            if (clear) r->flags &= (u8)~bits;
        }
    }
    return found;
}

bool key_pressed(u16 key) { return key_flags(key, INPUT_PRESSED, false); }

bool key_held(u16 key) { return key_flags(key, INPUT_HELD, false); }

void key_consume_press(u16 key) { key_flags(key, INPUT_PRESSED, true); }
