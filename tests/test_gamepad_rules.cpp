// The pads' rules as every backend meets them: dead zones, the trigger
// threshold, the left stick on the d-pad, the events for what changed, pads
// coming and going, and the input table those events write.
#include <doctest/doctest.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "os/backend.h"
#include "os/clock.h"
#include "os/gamepad.h"
#include "os/input.h"

static std::vector<WindowEvent> pad_events;

static void keep_event(WindowEvent *event) { pad_events.push_back(*event); }

// Every pad gone, quietly, and a fresh table: as a new process.
static void no_pads(void) {
    os_set_event_callback(nullptr);
    for (u8 pad = 0; pad < GAMEPAD_COUNT; pad++) gamepad_detached(pad);
    pad_events.clear();
    os_set_event_callback(keep_event);
    if (!os_counter_frequency) os_counter_frequency = 1000000000;
    input_begin_frame();
    memset(input_state, 0, sizeof(InputState));
    input_begin_frame();
}

static f64 length(Vec2i v) { return sqrt((f64)v.x * v.x + (f64)v.y * v.y); }

static u16 bit(u16 control) { return (u16)(1u << control); }

TEST_CASE("a stick inside its radial dead zone reads nothing, and past it reaches the full range") {
    CHECK(gamepad_stick_value(0, 0, GAMEPAD_LEFT_DEAD_ZONE).x == 0);
    // Radial, not per axis: 6000 on both axes is 8485 from the centre, past the zone.
    Vec2i both = gamepad_stick_value(6000, 6000, GAMEPAD_LEFT_DEAD_ZONE);
    CHECK(both.x > 0);
    CHECK(both.x == both.y);
    Vec2i inside = gamepad_stick_value(5500, -5500, GAMEPAD_LEFT_DEAD_ZONE);  // 7778
    CHECK((inside.x == 0 && inside.y == 0));
    Vec2i edge = gamepad_stick_value(GAMEPAD_LEFT_DEAD_ZONE, 0, GAMEPAD_LEFT_DEAD_ZONE);
    CHECK((edge.x == 0 && edge.y == 0));
    // Just past the zone is small, not a jump to the zone's size.
    CHECK(gamepad_stick_value(GAMEPAD_LEFT_DEAD_ZONE + 100, 0, GAMEPAD_LEFT_DEAD_ZONE).x < 200);
    CHECK(gamepad_stick_value(32767, 0, GAMEPAD_LEFT_DEAD_ZONE).x == GAMEPAD_AXIS_MAX);
    CHECK(gamepad_stick_value(-32768, 0, GAMEPAD_LEFT_DEAD_ZONE).x == -GAMEPAD_AXIS_MAX);
    // A corner lies past the circle: clamped to it, direction kept.
    Vec2i corner = gamepad_stick_value(-32768, 32767, GAMEPAD_RIGHT_DEAD_ZONE);
    CHECK(length(corner) == doctest::Approx(GAMEPAD_AXIS_MAX).epsilon(0.001));
    CHECK(abs(corner.x + corner.y) <= 1);
    // Half way between the zone and the rim reads half the range.
    i32 half = GAMEPAD_LEFT_DEAD_ZONE + (GAMEPAD_AXIS_MAX - GAMEPAD_LEFT_DEAD_ZONE) / 2;
    CHECK(gamepad_stick_value(0, half, GAMEPAD_LEFT_DEAD_ZONE).y == doctest::Approx(GAMEPAD_AXIS_MAX / 2).epsilon(0.001));
}

TEST_CASE("the triggers hold their buttons above the threshold, and the system's trigger bits count for nothing") {
    GamepadRaw raw = {};
    raw.left_trigger = GAMEPAD_TRIGGER_THRESHOLD;
    raw.right_trigger = GAMEPAD_TRIGGER_THRESHOLD + 1;
    CHECK(gamepad_held_buttons(&raw) == bit(GAMEPAD_RIGHT_TRIGGER));
    raw = GamepadRaw{};
    raw.buttons = bit(GAMEPAD_LEFT_TRIGGER) | bit(GAMEPAD_SOUTH);
    CHECK(gamepad_held_buttons(&raw) == bit(GAMEPAD_SOUTH));
}

TEST_CASE("the left stick past its dead zone holds the d-pad of its direction, diagonals two, the right stick none") {
    struct {
        i16 x, y;
        u16 held;
    } cases[] = {
        {32767, 0, bit(GAMEPAD_DPAD_RIGHT)},
        {-32768, 0, bit(GAMEPAD_DPAD_LEFT)},
        {0, -32768, bit(GAMEPAD_DPAD_UP)},  // y grows downward
        {0, 32767, bit(GAMEPAD_DPAD_DOWN)},
        {23000, 23000, (u16)(bit(GAMEPAD_DPAD_RIGHT) | bit(GAMEPAD_DPAD_DOWN))},
        {-23000, -23000, (u16)(bit(GAMEPAD_DPAD_LEFT) | bit(GAMEPAD_DPAD_UP))},
        // 20 degrees below the horizontal: right only; 25 degrees: right and down.
        {30000, 10919, bit(GAMEPAD_DPAD_RIGHT)},
        {30000, 13989, (u16)(bit(GAMEPAD_DPAD_RIGHT) | bit(GAMEPAD_DPAD_DOWN))},
        {7000, 0, 0},  // inside the zone
    };
    for (const auto &c : cases) {
        CAPTURE(c.x);
        CAPTURE(c.y);
        GamepadRaw raw = {};
        raw.left_x = c.x;
        raw.left_y = c.y;
        CHECK(gamepad_held_buttons(&raw) == c.held);
        // The physical d-pad adds to it.
        raw.buttons = bit(GAMEPAD_DPAD_UP);
        CHECK(gamepad_held_buttons(&raw) == (c.held | bit(GAMEPAD_DPAD_UP)));
    }
    GamepadRaw right = {};
    right.right_x = 32767;
    CHECK(gamepad_held_buttons(&right) == 0);
}

TEST_CASE("a pad's states give events only for what changed, and the table follows them") {
    no_pads();
    GamepadRaw raw = {};
    gamepad_update(1, &raw);
    // The first state makes the pad come; a pad at rest says nothing more.
    REQUIRE(pad_events.size() == 1);
    CHECK(pad_events[0].kind == EVENT_GAMEPAD);
    CHECK(pad_events[0].gamepad.pad == 1);
    CHECK(pad_events[0].gamepad.connected == 1);
    CHECK(pad_events[0].window == nullptr);
    CHECK(os_gamepad_connected(1));
    CHECK_FALSE(os_gamepad_connected(0));
    CHECK_FALSE(os_gamepad_connected(GAMEPAD_COUNT));
    pad_events.clear();
    gamepad_update(1, &raw);
    CHECK(pad_events.empty());

    // South down and the left stick a little, jittering inside the zone: one button event only.
    raw.buttons = bit(GAMEPAD_SOUTH);
    raw.left_x = 3000;
    gamepad_update(1, &raw);
    raw.left_x = -2500;
    gamepad_update(1, &raw);
    REQUIRE(pad_events.size() == 1);
    CHECK(pad_events[0].kind == EVENT_GAMEPAD_BUTTON);
    CHECK(pad_events[0].gamepad.action == ACTION_DOWN);
    CHECK(pad_events[0].gamepad.control == gamepad_record(1, GAMEPAD_SOUTH));
    for (WindowEvent &e : pad_events) handle_input_event(&e);
    const InputRecord *south = &input_state->records[gamepad_record(1, GAMEPAD_SOUTH)];
    CHECK(south->flags == (INPUT_PRESSED | INPUT_HELD));

    // The right trigger half down: its axis and its button; the left stick full left: axis and d-pad.
    pad_events.clear();
    input_begin_frame();
    raw.right_trigger = 16000;
    raw.left_x = -32768;
    gamepad_update(1, &raw);
    for (WindowEvent &e : pad_events) handle_input_event(&e);
    CHECK(south->flags == INPUT_HELD);
    CHECK(input_state->records[gamepad_record(1, GAMEPAD_RIGHT_TRIGGER)].flags == (INPUT_PRESSED | INPUT_HELD));
    CHECK(input_state->records[gamepad_record(1, GAMEPAD_DPAD_LEFT)].flags == (INPUT_PRESSED | INPUT_HELD));
    const InputRecord *trigger = &input_state->records[gamepad_record(1, GAMEPAD_RIGHT_TRIGGER_AXIS)];
    CHECK(i32(trigger->value.x) == 16000);
    CHECK(trigger->flags == INPUT_PRESSED);
    const InputRecord *stick = &input_state->records[gamepad_record(1, GAMEPAD_LEFT_STICK)];
    CHECK(i32(stick->value.x) == -GAMEPAD_AXIS_MAX);
    CHECK(i32(stick->value.y) == 0);
    CHECK(i32(stick->release_value.x) == 0);
    input_begin_frame();
    CHECK(i32(stick->release_value.x) == -GAMEPAD_AXIS_MAX);
    CHECK(stick->flags == 0);
    // Nothing of pad 1 reached pad 0's records.
    for (u16 c = 0; c < GAMEPAD_RECORDS_PER_PAD; c++) CHECK(input_state->records[gamepad_record(0, c)].flags == 0);
    os_set_event_callback(nullptr);
}

TEST_CASE("a pad that goes releases what it held and rests its axes before it is gone") {
    no_pads();
    GamepadRaw raw = {};
    raw.buttons = bit(GAMEPAD_NORTH) | bit(GAMEPAD_START);
    raw.right_y = 32767;
    gamepad_update(3, &raw);
    for (WindowEvent &e : pad_events) handle_input_event(&e);
    pad_events.clear();
    input_begin_frame();

    gamepad_detached(3);
    REQUIRE(pad_events.size() == 4);
    CHECK(pad_events.back().kind == EVENT_GAMEPAD);
    CHECK(pad_events.back().gamepad.connected == 0);
    for (WindowEvent &e : pad_events) handle_input_event(&e);
    CHECK(input_state->records[gamepad_record(3, GAMEPAD_NORTH)].flags == INPUT_RELEASED);
    CHECK(input_state->records[gamepad_record(3, GAMEPAD_START)].flags == INPUT_RELEASED);
    CHECK(i32(input_state->records[gamepad_record(3, GAMEPAD_RIGHT_STICK)].value.y) == 0);
    CHECK_FALSE(os_gamepad_connected(3));
    // Going twice, or a pad that never came, says nothing.
    pad_events.clear();
    gamepad_detached(3);
    gamepad_detached(2);
    gamepad_detached(200);
    gamepad_update(GAMEPAD_COUNT, &raw);
    CHECK(pad_events.empty());
    // Coming back starts from rest: the buttons still down are pressed anew.
    gamepad_attached(3);
    gamepad_update(3, &raw);
    CHECK(pad_events.size() == 4);
    os_set_event_callback(nullptr);
}

TEST_CASE("forged pad events stay inside their pad's records, and a focus loss leaves the pads alone") {
    no_pads();
    auto event = [](u8 kind, u8 pad, u16 control, u8 action) {
        WindowEvent e = {};
        e.kind = kind;
        e.gamepad.pad = pad;
        e.gamepad.control = control;
        e.gamepad.action = action;
        e.gamepad.value = Vec2i{5, 6};
        handle_input_event(&e);
    };
    event(EVENT_GAMEPAD_BUTTON, 0, 88, ACTION_DOWN);                                      // a key
    event(EVENT_GAMEPAD_BUTTON, 0, gamepad_record(1, GAMEPAD_SOUTH), ACTION_DOWN);         // another pad's
    event(EVENT_GAMEPAD_BUTTON, 0, gamepad_record(0, GAMEPAD_LEFT_STICK), ACTION_DOWN);    // an axis
    event(EVENT_GAMEPAD_AXIS, 0, gamepad_record(0, GAMEPAD_SOUTH), 0);                     // a button
    event(EVENT_GAMEPAD_AXIS, 0, gamepad_record(GAMEPAD_COUNT, 0), 0);                     // past the pads
    event(EVENT_GAMEPAD_BUTTON, 0, 60000, ACTION_DOWN);
    for (u16 i = 0; i < INPUT_RECORD_COUNT; i++) {
        CAPTURE(i);
        CHECK(input_state->records[i].flags == 0);
    }

    event(EVENT_GAMEPAD_BUTTON, 2, gamepad_record(2, GAMEPAD_EAST), ACTION_DOWN);
    WindowEvent focus = {};
    focus.kind = EVENT_FOCUS;
    focus.focus.gained = 0;
    handle_input_event(&focus);
    CHECK((input_state->records[gamepad_record(2, GAMEPAD_EAST)].flags & INPUT_HELD) != 0);
    os_set_event_callback(nullptr);
}
