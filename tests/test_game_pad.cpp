// The game played on a pad: its states through the pads' rules and the input
// table, as a backend's states would drive them.
#include <doctest/doctest.h>

#include "game/entities.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "game/pause.h"
#include "game_harness.h"
#include "os/backend.h"

static void to_next_frame(WindowEvent *event) { harness_event(*event); }

// A fresh game whose pad 0 is there, at rest.
static void pad_game(void) {
    harness_reset();
    os_set_event_callback(nullptr);
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) gamepad_detached(pad);
    os_set_event_callback(to_next_frame);
    GamepadRaw rest = {};
    gamepad_update(0, &rest);
}

static GamepadRaw state;

// The pad's state for the next frame, then the frame.
static void pad_frame(u16 buttons, i16 left_x = 0, i16 left_y = 0) {
    state.buttons = buttons;
    state.left_x = left_x;
    state.left_y = left_y;
    gamepad_update(0, &state);
    harness_frame(16);
}

static u16 bit(u16 control) { return (u16)(1u << control); }

static Entity *diver(void) { return (Entity *)entity_list.items; }

TEST_CASE("on a pad, south starts and skips the opening, the shoulders move hope, north shows the boxes") {
    pad_game();
    pad_frame(bit(GAMEPAD_SOUTH));
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
    // Held from the title, it does not skip the opening too.
    pad_frame(bit(GAMEPAD_SOUTH));
    CHECK(game_vars.game_state == GAME_STATE_INTRO);
    pad_frame(0);
    pad_frame(bit(GAMEPAD_SOUTH));
    CHECK(game_vars.game_state == GAME_STATE_PLAY);
    pad_frame(0);
    pad_frame(bit(GAMEPAD_SOUTH));
    CHECK(game_vars.play_phase == 2);
    pad_frame(0);

    float hope = game_vars.hope;
    pad_frame(bit(GAMEPAD_RIGHT_SHOULDER));
    CHECK(game_vars.hope == doctest::Approx(hope + 10).epsilon(0.001));
    pad_frame(bit(GAMEPAD_RIGHT_SHOULDER));  // held: once
    CHECK(game_vars.hope == doctest::Approx(hope + 10).epsilon(0.001));
    pad_frame(bit(GAMEPAD_LEFT_SHOULDER));
    pad_frame(0);
    pad_frame(bit(GAMEPAD_LEFT_SHOULDER));
    CHECK(game_vars.hope == doctest::Approx(hope - 10).epsilon(0.001));

    CHECK_FALSE(game_vars.show_collision_boxes);
    pad_frame(bit(GAMEPAD_NORTH));
    CHECK(game_vars.show_collision_boxes);
    // Back, east and west are no keys of this game; start pauses as P does.
    pad_frame(bit(GAMEPAD_BACK) | bit(GAMEPAD_EAST) | bit(GAMEPAD_WEST));
    CHECK(game_vars.show_collision_boxes);
    CHECK_FALSE(game_paused());
    pad_frame(bit(GAMEPAD_START));
    CHECK(game_paused());
    pad_frame(bit(GAMEPAD_START));  // held: once
    CHECK(game_paused());
    pad_frame(0);
    pad_frame(bit(GAMEPAD_START));
    CHECK_FALSE(game_paused());
    CHECK(harness_halts == 0);
    os_set_event_callback(nullptr);
}

// The diver's place after falling steered one way for a while.
static Vec2f steered(bool on_pad, u16 key, u16 buttons, i16 x, i16 y) {
    pad_game();
    for (int i = 0; i < 3; i++) {
        pad_frame(bit(GAMEPAD_SOUTH));
        pad_frame(0);
    }
    if (!on_pad) harness_key_down(key);
    for (int i = 0; i < 40; i++) {
        if (on_pad) pad_frame(buttons, x, y);
        else pad_frame(0);
    }
    if (!on_pad) harness_key_up(key);
    pad_frame(0);
    os_set_event_callback(nullptr);
    REQUIRE(entity_list.count == 1);
    return diver()->position;
}

TEST_CASE("the left stick and the d-pad steer the diver exactly as A, D, W and S do") {
    struct {
        u16 key, dpad;
        i16 x, y;
    } ways[] = {
        {KEY_A, GAMEPAD_DPAD_LEFT, -32768, 0},
        {KEY_D, GAMEPAD_DPAD_RIGHT, 30000, 4000},
        {KEY_W, GAMEPAD_DPAD_UP, 0, -20000},
        {KEY_S, GAMEPAD_DPAD_DOWN, -3000, 32767},
    };
    Vec2f still = steered(true, 0, 0, 0, 0);
    for (const auto &w : ways) {
        CAPTURE(w.key);
        Vec2f by_key = steered(false, w.key, 0, 0, 0);
        Vec2f by_dpad = steered(true, 0, bit(w.dpad), 0, 0);
        Vec2f by_stick = steered(true, 0, 0, w.x, w.y);
        CHECK((by_key.x != still.x || by_key.y != still.y));
        CHECK(by_dpad.x == by_key.x);
        CHECK(by_dpad.y == by_key.y);
        CHECK(by_stick.x == by_key.x);
        CHECK(by_stick.y == by_key.y);
    }
    // A stick resting a little off centre steers nothing.
    Vec2f drift = steered(true, 0, 0, 5000, -4000);
    CHECK(drift.x == still.x);
    CHECK(drift.y == still.y);
}
