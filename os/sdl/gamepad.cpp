// Pads through SDL's game controllers, whose mappings give every supported
// pad the same standard layout.  Pads come and go while the program runs:
// each poll closes the controllers that went and opens new ones in free slots.
#include "os/backend.h"
#include "os/gamepad.h"
#include "os/log.h"
#include "os/sdl/sdl_shared.h"

static SDL_GameController *slots[GAMEPAD_COUNT];
static bool started;
static bool unavailable;

// Pads go with the display: started on the first poll once video is up.
static bool start_controllers(void) {
    if (started) return true;
    if (unavailable || !SDL_WasInit(SDL_INIT_VIDEO)) return false;
    // Read without the focus, as on every other system.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        os_printf("FAILED SDL_InitSubSystem(gamecontroller) %s: no gamepads\n", SDL_GetError());
        unavailable = true;
        return false;
    }
    started = true;
    return true;
}

static bool is_open(SDL_JoystickID id) {
    for (SDL_GameController *c : slots)
        if (c && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)) == id) return true;
    return false;
}

static void close_gone(void) {
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) {
        if (!slots[pad] || SDL_GameControllerGetAttached(slots[pad])) continue;
        SDL_GameControllerClose(slots[pad]);
        slots[pad] = nullptr;
        gamepad_detached(pad);
    }
}

// Looked for only when the number of joysticks changed: asking each for its
// mapping every frame costs more than the rest of the poll.
static int joysticks_seen = -1;

static void open_new(void) {
    int count = SDL_NumJoysticks();
    if (count == joysticks_seen) return;
    joysticks_seen = count;
    for (int i = 0; i < count; i++) {
        if (!SDL_IsGameController(i) || is_open(SDL_JoystickGetDeviceInstanceID(i))) continue;
        u8 pad = 0;
        while (pad < GAMEPAD_COUNT && slots[pad]) pad++;
        if (pad == GAMEPAD_COUNT) return;
        slots[pad] = SDL_GameControllerOpen(i);
        if (slots[pad]) gamepad_attached(pad);
    }
}

static u16 button_bits(SDL_GameController *c) {
    static const struct {
        SDL_GameControllerButton sdl;
        u16 pad;
    } MAP[] = {
        {SDL_CONTROLLER_BUTTON_A, GAMEPAD_SOUTH},
        {SDL_CONTROLLER_BUTTON_B, GAMEPAD_EAST},
        {SDL_CONTROLLER_BUTTON_X, GAMEPAD_WEST},
        {SDL_CONTROLLER_BUTTON_Y, GAMEPAD_NORTH},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, GAMEPAD_LEFT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, GAMEPAD_RIGHT_SHOULDER},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, GAMEPAD_DPAD_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, GAMEPAD_DPAD_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, GAMEPAD_DPAD_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, GAMEPAD_DPAD_RIGHT},
        {SDL_CONTROLLER_BUTTON_START, GAMEPAD_START},
        {SDL_CONTROLLER_BUTTON_BACK, GAMEPAD_BACK},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, GAMEPAD_LEFT_STICK_CLICK},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, GAMEPAD_RIGHT_STICK_CLICK},
    };
    u16 bits = 0;
    for (const auto &m : MAP)
        if (SDL_GameControllerGetButton(c, m.sdl)) bits |= (u16)(1u << m.pad);
    return bits;
}

// SDL's triggers run from 0 to 32767 and its y axes grow downward already.
static u16 trigger(SDL_GameController *c, SDL_GameControllerAxis axis) {
    Sint16 v = SDL_GameControllerGetAxis(c, axis);
    return v > 0 ? (u16)v : 0;
}

void backend_poll_gamepads(void) {
    if (!start_controllers()) return;
    close_gone();
    open_new();
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) {
        SDL_GameController *c = slots[pad];
        if (!c) continue;
        GamepadRaw raw = {};
        raw.buttons = button_bits(c);
        raw.left_x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
        raw.left_y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
        raw.right_x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX);
        raw.right_y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTY);
        raw.left_trigger = trigger(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
        raw.right_trigger = trigger(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
        gamepad_update(pad, &raw);
    }
}
