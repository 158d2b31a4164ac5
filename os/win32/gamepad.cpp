// Pads through XInput, loaded at run time: without it (or without a pad) the
// pads simply never come.  Every connected pad is read once per pump.
#include <windows.h>
#include <xinput.h>

#include "os/backend.h"
#include "os/gamepad.h"
#include "os/log.h"

typedef DWORD(WINAPI *XInputGetStateFn)(DWORD, XINPUT_STATE *);

// Asking for an empty slot takes the system long (milliseconds on some
// machines): a slot without a pad is asked again only this often.
#define XINPUT_EMPTY_SLOT_MS 1000

static XInputGetStateFn get_state;
static bool tried_loading;
static bool connected[GAMEPAD_COUNT];
static ULONGLONG next_look[GAMEPAD_COUNT];

static void load_xinput(void) {
    tried_loading = true;
    HMODULE xinput = LoadLibraryA("xinput1_4.dll");
    if (!xinput) xinput = LoadLibraryA("xinput9_1_0.dll");
    if (xinput) get_state = (XInputGetStateFn)(void *)GetProcAddress(xinput, "XInputGetState");
    if (!get_state) os_printf("No XInput (xinput1_4.dll, xinput9_1_0.dll): no gamepads\n");
}

static i16 flip(SHORT v) { return (i16)(v == -32768 ? 32767 : -v); }

static GamepadRaw raw_of(const XINPUT_GAMEPAD &g) {
    static const struct {
        WORD xinput;
        u16 pad;
    } MAP[] = {
        {XINPUT_GAMEPAD_A, GAMEPAD_SOUTH},
        {XINPUT_GAMEPAD_B, GAMEPAD_EAST},
        {XINPUT_GAMEPAD_X, GAMEPAD_WEST},
        {XINPUT_GAMEPAD_Y, GAMEPAD_NORTH},
        {XINPUT_GAMEPAD_LEFT_SHOULDER, GAMEPAD_LEFT_SHOULDER},
        {XINPUT_GAMEPAD_RIGHT_SHOULDER, GAMEPAD_RIGHT_SHOULDER},
        {XINPUT_GAMEPAD_DPAD_UP, GAMEPAD_DPAD_UP},
        {XINPUT_GAMEPAD_DPAD_DOWN, GAMEPAD_DPAD_DOWN},
        {XINPUT_GAMEPAD_DPAD_LEFT, GAMEPAD_DPAD_LEFT},
        {XINPUT_GAMEPAD_DPAD_RIGHT, GAMEPAD_DPAD_RIGHT},
        {XINPUT_GAMEPAD_START, GAMEPAD_START},
        {XINPUT_GAMEPAD_BACK, GAMEPAD_BACK},
        {XINPUT_GAMEPAD_LEFT_THUMB, GAMEPAD_LEFT_STICK_CLICK},
        {XINPUT_GAMEPAD_RIGHT_THUMB, GAMEPAD_RIGHT_STICK_CLICK},
    };
    GamepadRaw raw = {};
    for (const auto &m : MAP)
        if (g.wButtons & m.xinput) raw.buttons |= (u16)(1u << m.pad);
    // XInput's y grows upward.
    raw.left_x = g.sThumbLX;
    raw.left_y = flip(g.sThumbLY);
    raw.right_x = g.sThumbRX;
    raw.right_y = flip(g.sThumbRY);
    raw.left_trigger = (u16)(g.bLeftTrigger * GAMEPAD_AXIS_MAX / 255);
    raw.right_trigger = (u16)(g.bRightTrigger * GAMEPAD_AXIS_MAX / 255);
    return raw;
}

void backend_poll_gamepads(void) {
    if (!tried_loading) load_xinput();
    if (!get_state) return;
    ULONGLONG now = GetTickCount64();
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) {
        if (!connected[pad] && now < next_look[pad]) continue;
        XINPUT_STATE state = {};
        if (get_state(pad, &state) != ERROR_SUCCESS) {
            next_look[pad] = now + XINPUT_EMPTY_SLOT_MS;
            if (connected[pad]) gamepad_detached(pad);
            connected[pad] = false;
            continue;
        }
        connected[pad] = true;
        GamepadRaw raw = raw_of(state.Gamepad);
        gamepad_update(pad, &raw);
    }
}
