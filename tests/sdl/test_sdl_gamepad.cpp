// The game on a virtual SDL pad through the real backend: SDL's game
// controller reads the pad, the pump polls it, the rules make its events and
// the game acts on them.  The pad comes and goes while the game runs.
#include <SDL.h>

#include "game/entities.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "os/input.h"
#include "os/window_ops.h"
#include "tests/game_harness.h"
#include "tests/window_test_support.h"

// A pad of the standard layout: the buttons up to the d-pad, both sticks and triggers.
static int attach_pad(const char *name) {
    SDL_VirtualJoystickDesc desc = {};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    desc.button_mask = (1u << desc.nbuttons) - 1;
    desc.axis_mask = (1u << desc.naxes) - 1;
    desc.name = name;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    INFO(SDL_GetError());
    REQUIRE(index >= 0);
    return index;
}

static SDL_Joystick *pad_joystick;

static void press(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(pad_joystick, button, 1);
    harness_frame(16);
    SDL_JoystickSetVirtualButton(pad_joystick, button, 0);
    harness_frame(16);
}

static Entity *diver(void) { return (Entity *)entity_list.items; }

TEST_CASE("a virtual SDL pad starts the game, steers the diver, moves hope, and comes and goes while it runs") {
    // The window starts the display, and with it SDL's game controllers.
    Window *window = os_create_window(320, 200, STR("pad test"), WINDOW_HIDDEN);
    REQUIRE(window != nullptr);
    harness_reset();
    harness_pumps_messages = true;
    harness_frame(16);
    CHECK_FALSE(os_gamepad_connected(0));
    for (u16 i = gamepad_record(0, 0); i < gamepad_record(GAMEPAD_COUNT, 0); i++) CHECK(input_state->records[i].flags == 0);

    int index = attach_pad("Fathomer test pad");
    pad_joystick = SDL_JoystickOpen(index);
    REQUIRE(pad_joystick != nullptr);
    harness_frame(16);
    REQUIRE(os_gamepad_connected(0));

    press(SDL_CONTROLLER_BUTTON_A);
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
    press(SDL_CONTROLLER_BUTTON_A);
    CHECK(game_vars.game_state == GAME_STATE_PLAY);

    // Waiting at the surface: the left stick takes the diver left, the d-pad right.
    harness_frame(16);
    REQUIRE(entity_list.count == 1);
    float start_x = diver()->position.x;
    SDL_JoystickSetVirtualAxis(pad_joystick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    harness_frames(30, 16);
    SDL_JoystickSetVirtualAxis(pad_joystick, SDL_CONTROLLER_AXIS_LEFTX, 0);
    harness_frame(16);
    CHECK(diver()->position.x < start_x - 5);
    CHECK(diver()->velocity.x < 0);
    SDL_JoystickSetVirtualButton(pad_joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    harness_frames(40, 16);
    SDL_JoystickSetVirtualButton(pad_joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    harness_frame(16);
    CHECK(diver()->velocity.x > 0);

    press(SDL_CONTROLLER_BUTTON_A);
    CHECK(game_vars.play_phase == 2);
    float hope = game_vars.hope;
    press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    CHECK(game_vars.hope == doctest::Approx(hope + 20).epsilon(0.001));
    press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    CHECK(game_vars.hope == doctest::Approx(hope + 10).epsilon(0.001));

    // Unplugged with the stick held right: the game lets go of it at once.
    SDL_JoystickSetVirtualAxis(pad_joystick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    harness_frame(16);
    CHECK(key_held(KEY_D));
    SDL_JoystickClose(pad_joystick);
    REQUIRE(SDL_JoystickDetachVirtual(index) == 0);
    harness_frame(16);
    CHECK_FALSE(os_gamepad_connected(0));
    CHECK_FALSE(key_held(KEY_D));
    CHECK(input_state->records[gamepad_record(0, GAMEPAD_DPAD_RIGHT)].flags == INPUT_RELEASED);
    CHECK(i32(input_state->records[gamepad_record(0, GAMEPAD_LEFT_STICK)].value.x) == 0);

    // Plugged in again, it plays on.
    index = attach_pad("Fathomer test pad again");
    pad_joystick = SDL_JoystickOpen(index);
    REQUIRE(pad_joystick != nullptr);
    harness_frame(16);
    CHECK(os_gamepad_connected(0));
    hope = game_vars.hope;
    press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    CHECK(game_vars.hope == doctest::Approx(hope + 10).epsilon(0.001));

    SDL_JoystickClose(pad_joystick);
    SDL_JoystickDetachVirtual(index);
    harness_frame(16);
    CHECK_FALSE(os_gamepad_connected(0));
    harness_pumps_messages = false;
    os_set_event_callback(nullptr);
    os_destroy_window(window);
    os_pump_messages();
    CHECK(harness_halts == 0);
}
