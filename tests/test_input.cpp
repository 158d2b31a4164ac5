#include <doctest/doctest.h>

#include <string.h>

#include <vector>

#include "os/clock.h"
#include "os/input.h"

// Packed fields are read as values (i32(...)): they are not aligned.
// Each case starts from no table, as a new process would.
static void fresh_input(void) {
    if (!os_counter_frequency) os_counter_frequency = 1000000000;
    if (input_state) os_free(input_state);
    if (touched_buttons.items) os_free(touched_buttons.items);
    if (touched_axes.items) os_free(touched_axes.items);
    input_state = nullptr;
    touched_buttons = DynArray{};
    touched_axes = DynArray{};
}

static void key(u16 vk, u8 action) {
    WindowEvent e = {};
    e.kind = EVENT_KEY;
    e.key.action = action;
    e.key.key = vk;
    handle_input_event(&e);
}

static void mouse(u16 button, u8 action, i32 x, i32 y) {
    WindowEvent e = {};
    e.kind = EVENT_MOUSE_BUTTON;
    e.mouse_button.action = action;
    e.mouse_button.button = button;
    e.mouse_button.x = x;
    e.mouse_button.y = y;
    handle_input_event(&e);
}

static void pointer(i32 x, i32 y, u8 pointer_flags) {
    WindowEvent e = {};
    e.kind = EVENT_POINTER;
    e.pointer.position = Vec2i{x, y};
    e.pointer.pointer_flags = pointer_flags;
    handle_input_event(&e);
}

static void wheel(i32 delta) {
    WindowEvent e = {};
    e.kind = EVENT_WHEEL;
    e.wheel.delta = delta;
    handle_input_event(&e);
}

static InputRecord &rec(int i) { return input_state->records[i]; }

TEST_CASE("the input table is created by the first frame and links the buttons to the pointer") {
    fresh_input();
    input_begin_frame();
    REQUIRE(input_state != nullptr);
    CHECK(touched_buttons.capacity == 32);
    CHECK(touched_axes.capacity == 64);
    for (int i = 260; i <= 263; i++) CHECK(rec(i).pointer_link == &rec(264).value);
    for (int i = 265; i <= 268; i++) CHECK(rec(i).pointer_link == &rec(269).value);
    CHECK(rec(264).pointer_link == nullptr);
    CHECK(rec(88).pointer_link == nullptr);
    CHECK((u8 *)&rec(499) + 64 == (u8 *)input_state + 32000);
}

TEST_CASE("a key pressed and released within one frame keeps both edges until the next frame") {
    fresh_input();
    input_begin_frame();
    key('X', ACTION_DOWN);
    key('X', ACTION_UP);
    CHECK(rec('X').flags == (INPUT_PRESSED | INPUT_RELEASED));
    CHECK(rec('X').transitions == 2);
    CHECK(rec('X').release_time >= rec('X').press_time);
    CHECK(touched_buttons.count == 2);
    input_begin_frame();
    CHECK(rec('X').flags == 0);
    CHECK(rec('X').transitions == 0);
    CHECK(touched_buttons.count == 0);
}

TEST_CASE("a key held across frames: pressed once, repeats per frame, held until its release") {
    fresh_input();
    input_begin_frame();
    key('A', ACTION_DOWN);
    CHECK(rec('A').flags == (INPUT_PRESSED | INPUT_HELD));
    input_begin_frame();
    CHECK(rec('A').flags == INPUT_HELD);
    key('A', ACTION_REPEAT);
    key('A', ACTION_REPEAT);
    CHECK(rec('A').flags == (INPUT_REPEATED | INPUT_HELD));
    CHECK(rec('A').transitions == 2);
    input_begin_frame();
    CHECK(rec('A').flags == INPUT_HELD);
    // A second down without a release in between (the release was missed) is a repeat.
    key('A', ACTION_DOWN);
    CHECK(rec('A').flags == (INPUT_REPEATED | INPUT_HELD));
    input_begin_frame();
    key('A', ACTION_UP);
    CHECK(rec('A').flags == INPUT_RELEASED);
    input_begin_frame();
    CHECK(rec('A').flags == 0);
}

TEST_CASE("the frame reset keeps held and the unused high bits - the game may consume a press") {
    fresh_input();
    input_begin_frame();
    key('D', ACTION_DOWN);
    rec('D').flags |= 0x30;
    rec('D').flags &= (u8)~INPUT_PRESSED;  // consumed by the game
    input_begin_frame();
    CHECK(rec('D').flags == (0x30 | INPUT_HELD));
}

TEST_CASE("mouse buttons store the press and release positions - keys store zeros") {
    fresh_input();
    input_begin_frame();
    mouse(BUTTON_MOUSE_RIGHT, ACTION_DOWN, 10, 20);
    mouse(BUTTON_MOUSE_RIGHT, ACTION_UP, 30, -40);
    CHECK(i32(rec(262).value.x) == 10);
    CHECK(i32(rec(262).value.y) == 20);
    CHECK(i32(rec(262).release_value.x) == 30);
    CHECK(i32(rec(262).release_value.y) == -40);
    CHECK(rec(262).flags == (INPUT_PRESSED | INPUT_RELEASED));
    key('W', ACTION_DOWN);
    CHECK(i32(rec('W').value.x) == 0);
    CHECK(i32(rec('W').value.y) == 0);
}

TEST_CASE("pointer: value, previous value and the frame's start value") {
    fresh_input();
    input_begin_frame();
    pointer(100, 200, 1);
    pointer(110, 205, 0);
    CHECK(rec(264).flags == INPUT_PRESSED);
    CHECK(rec(264).transitions == 2);
    CHECK(i32(rec(264).value.x) == 110);
    CHECK(i32(rec(264).previous_value.x) == 100);
    CHECK(i32(rec(264).release_value.x) == 0);  // the value when this frame began
    CHECK(touched_axes.count == 2);
    input_begin_frame();
    CHECK(rec(264).flags == 0);
    CHECK(i32(rec(264).release_value.x) == 110);
    CHECK(i32(rec(264).release_value.y) == 205);
    // The leave event also stores where the pointer went.
    pointer(-5, 7, 2);
    CHECK(i32(rec(264).value.x) - i32(rec(264).release_value.x) == -115);
    input_begin_frame();
    input_begin_frame();  // a frame without movement
    CHECK(i32(rec(264).value.x) == i32(rec(264).release_value.x));
    CHECK(i32(rec(264).value.y) == i32(rec(264).release_value.y));
    // The link reaches the pointer's value, which lies unaligned in the packed record.
    Vec2i linked;
    memcpy(&linked, rec(260).pointer_link, sizeof(linked));
    CHECK(linked.x == -5);
}

TEST_CASE("a wheel step is an edge for one frame and its value stays until the next step") {
    fresh_input();
    input_begin_frame();
    wheel(1);
    wheel(-1);
    CHECK(rec(263).flags == INPUT_PRESSED);
    CHECK(i32(rec(263).value.x) == 0);
    CHECK(i32(rec(263).value.y) == -1);
    CHECK(i32(rec(263).previous_value.y) == 1);
    input_begin_frame();
    CHECK(rec(263).flags == 0);
    CHECK(i32(rec(263).value.y) == -1);
    CHECK(rec(263).transitions == 0);
}

TEST_CASE("transitions wrap after 255 events in one frame") {
    fresh_input();
    input_begin_frame();
    for (int i = 0; i < 257; i++) key('S', (i & 1) ? ACTION_UP : ACTION_DOWN);
    CHECK(rec('S').transitions == 1);
    CHECK(touched_buttons.count == 257);
    input_begin_frame();
    CHECK(rec('S').transitions == 0);
    CHECK(touched_buttons.count == 0);
}

TEST_CASE("events outside the table and other kinds change nothing") {
    fresh_input();
    input_begin_frame();
    key(500, ACTION_DOWN);
    key(0xFFFF, ACTION_DOWN);
    mouse(600, ACTION_DOWN, 1, 2);
    WindowEvent text = {};
    text.kind = EVENT_TEXT;
    text.text.code = 'x';
    handle_input_event(&text);
    CHECK(touched_buttons.count == 0);
    CHECK(touched_axes.count == 0);
    for (int i = 0; i < INPUT_RECORD_COUNT; i++) CHECK(rec(i).flags == 0);
}

static void focus(u8 gained) {
    WindowEvent e = {};
    e.kind = EVENT_FOCUS;
    e.focus.gained = gained;
    handle_input_event(&e);
}

// Holds A, Shift and the left button across a frame, taps S in the next one,
// with the cursor moved meanwhile.
static void hold_some_input(void) {
    fresh_input();
    input_begin_frame();
    pointer(5, 6, 1);
    key('A', ACTION_DOWN);
    key(0x10, ACTION_DOWN);
    mouse(BUTTON_MOUSE_LEFT, ACTION_DOWN, 5, 6);
    input_begin_frame();
    key('A', ACTION_DOWN);  // auto-repeat
    key('S', ACTION_DOWN);
    key('S', ACTION_UP);
    pointer(70, 80, 0);
}

// The records without their times and links, which differ between two runs.
static std::vector<InputRecord> records_without_times(void) {
    std::vector<InputRecord> out(input_state->records, input_state->records + INPUT_RECORD_COUNT);
    for (InputRecord &r : out) {
        r.press_time = r.release_time = 0;
        r.pointer_link = nullptr;
    }
    return out;
}

TEST_CASE("losing the focus releases every held key and button as their own releases would") {
    hold_some_input();
    key('A', ACTION_UP);
    key(0x10, ACTION_UP);
    mouse(BUTTON_MOUSE_LEFT, ACTION_UP, 70, 80);
    std::vector<InputRecord> released = records_without_times();
    u64 released_touches = touched_buttons.count;

    hold_some_input();
    focus(0);
    CHECK(memcmp(records_without_times().data(), released.data(), sizeof(InputState)) == 0);
    CHECK(touched_buttons.count == released_touches);
    CHECK(rec('A').flags == (INPUT_REPEATED | INPUT_RELEASED));
    CHECK(rec('A').transitions == 2);
    CHECK(rec(0x10).flags == INPUT_RELEASED);
    CHECK(i32(rec(BUTTON_MOUSE_LEFT).release_value.x) == 70);
    CHECK(i32(rec(BUTTON_MOUSE_LEFT).release_value.y) == 80);
    CHECK(rec('A').release_time >= rec('A').press_time);

    // Nothing is held afterwards, and a second loss or a gain changes nothing.
    input_begin_frame();
    focus(0);
    focus(1);
    CHECK(touched_buttons.count == 0);
    for (int i = 0; i < INPUT_RECORD_COUNT; i++) REQUIRE((rec(i).flags & (INPUT_HELD | INPUT_RELEASED)) == 0);
    // Pressed again after the focus came back: a fresh press.
    key('A', ACTION_DOWN);
    CHECK(rec('A').flags == (INPUT_PRESSED | INPUT_HELD));
}

TEST_CASE("gaining the focus releases nothing") {
    hold_some_input();
    std::vector<InputRecord> before = records_without_times();
    focus(1);
    CHECK(memcmp(records_without_times().data(), before.data(), sizeof(InputState)) == 0);
    CHECK((rec('A').flags & INPUT_HELD) != 0);
}
