// Gamepads: up to four pads, each a block of records in the input table
// above the mouse groups, written by the gamepad events that the pump hands
// to the one event callback.
//
// A pad's buttons are button records (INPUT_PRESSED, INPUT_RELEASED,
// INPUT_HELD as for keys); its sticks and triggers are axis records like the
// pointer (INPUT_PRESSED: changed this frame; value: now; release_value: at
// the frame's start).  The rules are the same on every system:
// - a stick inside its radial dead zone reads (0, 0); past it the distance
//   beyond the zone is stretched back to the full range, so values run from
//   -GAMEPAD_AXIS_MAX to GAMEPAD_AXIS_MAX, x growing rightward, y downward;
// - a trigger reads 0 to GAMEPAD_AXIS_MAX in value.x, and its button is held
//   while it stands above GAMEPAD_TRIGGER_THRESHOLD;
// - the left stick past its dead zone also holds the d-pad buttons of its
//   direction (eight sectors of 45 degrees), as if the d-pad were pressed.
// Pads are read whether or not a window has the focus.
#pragma once

#include "os/types.h"

#define GAMEPAD_COUNT 4
#define GAMEPAD_FIRST_RECORD 272
#define GAMEPAD_RECORDS_PER_PAD 20
#define GAMEPAD_AXIS_MAX 32767
#define GAMEPAD_LEFT_DEAD_ZONE 7849
#define GAMEPAD_RIGHT_DEAD_ZONE 8689
#define GAMEPAD_TRIGGER_THRESHOLD 3855  // 30 of 255

// A pad's records, counted from its first.  Buttons first, then the axes.
enum : u16 {
    GAMEPAD_SOUTH = 0,  // the bottom face button
    GAMEPAD_EAST = 1,
    GAMEPAD_WEST = 2,
    GAMEPAD_NORTH = 3,
    GAMEPAD_LEFT_SHOULDER = 4,
    GAMEPAD_RIGHT_SHOULDER = 5,
    GAMEPAD_LEFT_TRIGGER = 6,  // held above the threshold
    GAMEPAD_RIGHT_TRIGGER = 7,
    GAMEPAD_DPAD_UP = 8,
    GAMEPAD_DPAD_DOWN = 9,
    GAMEPAD_DPAD_LEFT = 10,
    GAMEPAD_DPAD_RIGHT = 11,
    GAMEPAD_START = 12,
    GAMEPAD_BACK = 13,
    GAMEPAD_LEFT_STICK_CLICK = 14,
    GAMEPAD_RIGHT_STICK_CLICK = 15,
    GAMEPAD_BUTTON_COUNT = 16,
    GAMEPAD_LEFT_STICK = 16,  // axis: x, y
    GAMEPAD_RIGHT_STICK = 17,
    GAMEPAD_LEFT_TRIGGER_AXIS = 18,  // axis: value.x, y 0
    GAMEPAD_RIGHT_TRIGGER_AXIS = 19,
};

// The input table index of a pad's record.
inline u16 gamepad_record(u8 pad, u16 control) {
    return (u16)(GAMEPAD_FIRST_RECORD + pad * GAMEPAD_RECORDS_PER_PAD + control);
}
// Which pad and control an input table index is; false outside the pads.
bool gamepad_control_of(u16 index, u8 *pad, u16 *control);

// True while the pad is there (pads 0 to GAMEPAD_COUNT - 1; false for others).
bool os_gamepad_connected(u8 pad);
