// The rules that turn a window system's messages into events, on a record
// that no system window stands behind: they run and fail the same on every
// tree, display or none.
#include <doctest/doctest.h>

#include <string.h>

#include <string>
#include <vector>

#include "os/backend.h"

static std::vector<WindowEvent> seen;
static std::string seen_drop;

static void capture(WindowEvent *event) {
    seen.push_back(*event);
    if (event->kind == EVENT_DROP) {
        const char *p = event->drop.paths;
        size_t n = 0;
        for (u32 i = 0; i < event->drop.count; i++) n += strlen(p + n) + 1;
        seen_drop.assign(p, n + 1);
    }
}

// Long-lived, as window records are: the rules may remember a window by address.
static Window rules_window;

static Window *fresh_window(u16 flags) {
    rules_window = Window{};
    rules_window.flags = flags;
    seen.clear();
    os_set_event_callback(capture);
    return &rules_window;
}

static const DoubleClickLimits LIMITS = {500, 4, 4};
static const Vec2i AT = {40, 30};

TEST_CASE("mouse buttons: left, middle and right give events, neighbouring indices none") {
    Window *w = fresh_window(WINDOW_OPEN);
    for (u16 button : {(u16)(BUTTON_MOUSE_LEFT - 1), (u16)BUTTON_MOUSE_LEFT, (u16)BUTTON_MOUSE_MIDDLE,
                       (u16)BUTTON_MOUSE_RIGHT, (u16)BUTTON_MOUSE_WHEEL, (u16)0})
        window_mouse_button(w, button, true, AT, Vec2i{140, 130}, 1000, LIMITS);
    REQUIRE(seen.size() == 3);
    CHECK(seen[0].mouse_button.button == BUTTON_MOUSE_LEFT);
    CHECK(seen[1].mouse_button.button == BUTTON_MOUSE_MIDDLE);
    CHECK(seen[2].mouse_button.button == BUTTON_MOUSE_RIGHT);
    CHECK(seen[2].kind == EVENT_MOUSE_BUTTON);
    CHECK(seen[2].mouse_button.action == ACTION_DOWN);
    CHECK(seen[2].mouse_button.x == 140);
    CHECK(seen[2].mouse_button.y == 130);
    CHECK(seen[2].window == w);
    window_mouse_button(nullptr, BUTTON_MOUSE_LEFT, true, AT, AT, 1000, LIMITS);
    CHECK(seen.size() == 3);
}

TEST_CASE("double clicks per button: a first press at time 0 pairs, releases never do") {
    Window *w = fresh_window(WINDOW_OPEN);
    // Far from every earlier press, so each button starts afresh.
    const Vec2i far = {-5000, -5000};
    window_mouse_button(w, BUTTON_MOUSE_LEFT, true, far, far, 0, LIMITS);
    window_mouse_button(w, BUTTON_MOUSE_LEFT, false, far, far, 50, LIMITS);
    window_mouse_button(w, BUTTON_MOUSE_RIGHT, true, far, far, 60, LIMITS);
    window_mouse_button(w, BUTTON_MOUSE_LEFT, true, far, far, 100, LIMITS);
    window_mouse_button(w, BUTTON_MOUSE_LEFT, false, far, far, 150, LIMITS);
    window_mouse_button(w, BUTTON_MOUSE_LEFT, true, far, far, 200, LIMITS);
    window_mouse_button(w, BUTTON_MOUSE_RIGHT, true, far, far, 210, LIMITS);
    REQUIRE(seen.size() == 7);
    const u8 doubles[] = {0, 0, 0, 1, 0, 0, 1};
    for (int i = 0; i < 7; i++) {
        CAPTURE(i);
        CHECK(seen[i].mouse_button.double_click == doubles[i]);
    }
    CHECK(seen[1].mouse_button.action == ACTION_UP);
}

TEST_CASE("keys, text and wheels: the codes and steps that pass") {
    Window *w = fresh_window(WINDOW_OPEN);
    window_key(w, 255, ACTION_REPEAT);
    window_key(w, 256, ACTION_DOWN);
    window_char(w, 8);
    window_char(w, 13);
    window_char(w, 0xD83D);
    window_wheel(w, 120, AT);
    window_wheel(w, -120, AT);  // one notch down
    REQUIRE(seen.size() == 5);
    CHECK(seen[0].kind == EVENT_KEY);
    CHECK(seen[0].key.key == 255);
    CHECK(seen[0].key.action == ACTION_REPEAT);
    CHECK(seen[1].text.code == 10);
    CHECK(seen[2].text.code == 0xD83D);
    CHECK(seen[3].wheel.delta == 1);
    CHECK(seen[4].wheel.delta == -1);
    CHECK(seen[4].wheel.position.x == AT.x);
}

TEST_CASE("the pointer enters once, moves, leaves, and enters again") {
    Window *w = fresh_window(WINDOW_OPEN);
    CHECK(window_pointer_moved(w, Vec2i{1, 2}));
    CHECK_FALSE(window_pointer_moved(w, Vec2i{3, 4}));
    window_pointer_left(w, Vec2i{5, 6});
    CHECK_FALSE((w->input_flags & POINTER_INSIDE) != 0);
    CHECK(window_pointer_moved(w, Vec2i{7, 8}));
    REQUIRE(seen.size() == 4);
    const u8 flags[] = {1, 0, 2, 1};
    for (int i = 0; i < 4; i++) CHECK(seen[i].pointer.pointer_flags == flags[i]);
    CHECK(seen[2].pointer.position.x == 5);
}

TEST_CASE("moves and resizes of closed windows are dropped; focus follows either way") {
    Window *w = fresh_window(0);
    window_moved(w, 10, 20);
    window_resized(w, 30, 40);
    CHECK(seen.empty());
    w->flags = WINDOW_OPEN;
    window_moved(w, 10, 20);
    window_resized(w, 30, 40);
    window_focus(w, false);
    CHECK_FALSE((w->flags & WINDOW_FOCUSED) != 0);
    window_focus(w, true);
    CHECK((w->flags & WINDOW_FOCUSED) != 0);
    REQUIRE(seen.size() == 4);
    CHECK(seen[0].kind == EVENT_MOVED);
    CHECK(seen[0].moved.y == 20);
    CHECK(seen[1].kind == EVENT_RESIZED);
    CHECK(seen[1].resized.width == 30);
    CHECK(seen[2].focus.gained == 0);
    CHECK(seen[3].focus.gained == 1);
}

TEST_CASE("dropped paths: forward slashes, a NUL after each and one more after the last") {
    Window *w = fresh_window(WINDOW_OPEN);
    const Str paths[] = {STR("C:\\games\\a.rec"), STR("b")};
    window_drop(w, Vec2i{3, 4}, paths, 2);
    window_drop(w, Vec2i{0, 0}, paths, 0);
    REQUIRE(seen.size() == 2);
    CHECK(seen[0].drop.count == 2);
    CHECK(seen[0].drop.position.y == 4);
    CHECK(seen[1].drop.count == 0);
    // The last list captured is the empty one: a single NUL.
    CHECK(seen_drop == std::string("\0", 1));
    seen.clear();
    window_drop(w, Vec2i{3, 4}, paths, 2);
    CHECK(seen_drop == std::string("C:/games/a.rec\0b\0\0", 18));
}
