// Pads through the browser's Gamepad API.  Only pads in the standard mapping
// are taken, since only there do the buttons' places mean the same on every
// pad; the browser shows a pad only after one of its buttons has been pressed.
// Each pump samples every pad once; a pad's index in the browser is its slot.
#include <emscripten/html5.h>
#include <math.h>
#include <string.h>

#include "os/backend.h"
#include "os/gamepad.h"

static bool present[GAMEPAD_COUNT];
static bool unavailable;

// The standard mapping's button numbers.
static const u8 STANDARD_BUTTONS[][2] = {
    {0, GAMEPAD_SOUTH},          {1, GAMEPAD_EAST},           {2, GAMEPAD_WEST},
    {3, GAMEPAD_NORTH},          {4, GAMEPAD_LEFT_SHOULDER},  {5, GAMEPAD_RIGHT_SHOULDER},
    {8, GAMEPAD_BACK},           {9, GAMEPAD_START},          {10, GAMEPAD_LEFT_STICK_CLICK},
    {11, GAMEPAD_RIGHT_STICK_CLICK}, {12, GAMEPAD_DPAD_UP},   {13, GAMEPAD_DPAD_DOWN},
    {14, GAMEPAD_DPAD_LEFT},     {15, GAMEPAD_DPAD_RIGHT},
};
#define STANDARD_LEFT_TRIGGER 6
#define STANDARD_RIGHT_TRIGGER 7

// The browser's axes run from -1 to 1, y growing downward as here.
static i16 stick_axis(const EmscriptenGamepadEvent *state, int axis) {
    if (axis >= state->numAxes) return 0;
    double v = state->axis[axis];
    if (!(v > -1.0)) v = -1.0;  // NaN as well
    if (v > 1.0) v = 1.0;
    return (i16)lround(v * GAMEPAD_AXIS_MAX);
}

static u16 trigger_axis(const EmscriptenGamepadEvent *state, int button) {
    if (button >= state->numButtons) return 0;
    double v = state->analogButton[button];
    if (!(v > 0.0)) return 0;
    if (v > 1.0) v = 1.0;
    return (u16)lround(v * GAMEPAD_AXIS_MAX);
}

static void read_pad(const EmscriptenGamepadEvent *state, GamepadRaw *raw) {
    *raw = {};
    for (const auto &b : STANDARD_BUTTONS)
        if (b[0] < state->numButtons && state->digitalButton[b[0]]) raw->buttons |= (u16)(1u << b[1]);
    raw->left_x = stick_axis(state, 0);
    raw->left_y = stick_axis(state, 1);
    raw->right_x = stick_axis(state, 2);
    raw->right_y = stick_axis(state, 3);
    raw->left_trigger = trigger_axis(state, STANDARD_LEFT_TRIGGER);
    raw->right_trigger = trigger_axis(state, STANDARD_RIGHT_TRIGGER);
}

void backend_poll_gamepads(void) {
    if (unavailable) return;
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) {
        unavailable = true;  // no Gamepad API in this browser
        return;
    }
    int count = emscripten_get_num_gamepads();
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) {
        EmscriptenGamepadEvent state;
        bool there = pad < count && emscripten_get_gamepad_status(pad, &state) == EMSCRIPTEN_RESULT_SUCCESS &&
                     state.connected && strcmp(state.mapping, "standard") == 0;
        if (!there) {
            if (present[pad]) gamepad_detached(pad);
            present[pad] = false;
            continue;
        }
        if (!present[pad]) gamepad_attached(pad);
        present[pad] = true;
        GamepadRaw raw;
        read_pad(&state, &raw);
        gamepad_update(pad, &raw);
    }
}
