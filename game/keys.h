// The game's keys and its view of the input table.  The tools that drive the
// game from scripts (the demo player, the adversity driver) name its keys
// from here.
#pragma once

#include <string.h>

#include "os/gamepad.h"
#include "os/types.h"

// Windows virtual-key codes, as indexed in the input table.
#define KEY_A 0x41
#define KEY_D 0x44
#define KEY_R 0x52
#define KEY_S 0x53
#define KEY_W 0x57
#define KEY_X 0x58
#define KEY_PLUS 0xBB   // the key carrying = and +
#define KEY_MINUS 0xBD  // the key carrying - and _

// Keys of the window, the pause and the sound.
#define KEY_ENTER 0x0D
#define KEY_ALT 0x12  // either Alt key
#define KEY_0 0x30
#define KEY_9 0x39
#define KEY_M 0x4D
#define KEY_P 0x50
#define KEY_F11 0x7A

struct GameKeyName {
    const char *name;
    u16 key;
};

inline const GameKeyName GAME_KEY_NAMES[] = {
    {"A", KEY_A}, {"D", KEY_D}, {"R", KEY_R},       {"S", KEY_S},
    {"W", KEY_W}, {"X", KEY_X}, {"PLUS", KEY_PLUS}, {"MINUS", KEY_MINUS},
    {"P", KEY_P}, {"M", KEY_M}, {"9", KEY_9},       {"0", KEY_0},
    {"F11", KEY_F11}, {"ENTER", KEY_ENTER}, {"ALT", KEY_ALT},
};

// The key of a name in GAME_KEY_NAMES ("X", "PLUS"), or 0.
inline u16 game_key_named(const char *name) {
    for (const GameKeyName &k : GAME_KEY_NAMES)
        if (strcmp(k.name, name) == 0) return k.key;
    return 0;
}

bool key_pressed(u16 key);
bool key_held(u16 key);
// Clears the press so nothing else in the same frame acts on it again.
void key_consume_press(u16 key);

// ---- Pads: every pad's buttons act as the game's keys ----------------------

struct GamePadKey {
    u16 control;  // GAMEPAD_* of each pad
    u16 key;
};

// The left stick reaches the game as the d-pad (os/gamepad.h).
inline const GamePadKey GAME_PAD_KEYS[] = {
    {GAMEPAD_DPAD_LEFT, KEY_A},
    {GAMEPAD_DPAD_RIGHT, KEY_D},
    {GAMEPAD_DPAD_UP, KEY_W},
    {GAMEPAD_DPAD_DOWN, KEY_S},
    {GAMEPAD_SOUTH, KEY_X},
    {GAMEPAD_NORTH, KEY_R},
    {GAMEPAD_RIGHT_SHOULDER, KEY_PLUS},
    {GAMEPAD_LEFT_SHOULDER, KEY_MINUS},
    {GAMEPAD_START, KEY_P},
};
