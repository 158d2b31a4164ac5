// The event rules on a real window of whichever display backend is built,
// driven through that backend's injector.
#include "os/backend.h"
#include "os/input.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "tests/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

TEST_CASE("a held key gives down, one repeat per repeat, then up - codes above 255 give nothing") {
    Window *w = open_test_window(320, 240, 0);
    inject_key(w, 'K', ACTION_DOWN);
    inject_key(w, 'K', ACTION_REPEAT);
    inject_key(w, 'K', ACTION_REPEAT);
    inject_key(w, 'K', ACTION_UP);
    os_pump_messages();
    // Not a virtual key: no event, and nothing reaches past the input table.
    window_key(w, 0x1234, ACTION_DOWN);
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 4);
    const u8 actions[] = {ACTION_DOWN, ACTION_REPEAT, ACTION_REPEAT, ACTION_UP};
    for (int i = 0; i < 4; i++) {
        CHECK(keys[i].key.action == actions[i]);
        CHECK(keys[i].key.key == 'K');
        CHECK(keys[i].window == w);
    }
    close_test_window(w);
}

TEST_CASE("the game's keys arrive with their virtual-key codes") {
    Window *w = open_test_window(320, 240, 0);
    const u32 codes[] = {'X', 'A', 'D', 'W', 'S', 'R', 0xBB, 0xBD, 0x10, 0x0D};
    for (u32 vk : codes) inject_key(w, vk, ACTION_DOWN);
    os_pump_messages();
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == COUNT_OF(codes));
    for (size_t i = 0; i < COUNT_OF(codes); i++) CHECK(keys[i].key.key == codes[i]);
    close_test_window(w);
}

TEST_CASE("characters: carriage return becomes line feed and backspace gives nothing") {
    Window *w = open_test_window(320, 240, 0);
    for (u32 c : {(u32)'a', 13u, 8u, 0x20ACu}) inject_char(w, c);
    os_pump_messages();
    std::vector<WindowEvent> text = events_of_kind(EVENT_TEXT);
    REQUIRE(text.size() == 3);
    CHECK(text[0].text.code == 'a');
    CHECK(text[1].text.code == 10);
    CHECK(text[2].text.code == 0x20AC);
    close_test_window(w);
}

TEST_CASE("wheel turns give one step of +1 or -1 per whole notch, at the pointer") {
    Window *w = open_test_window(320, 240, 0);
    std::vector<i32> amounts = {240, -120, 0, -1};
    for (int i = 0; i < 12; i++) amounts.push_back(-10);
    for (i32 amount : amounts) inject_wheel(w, amount, 30, 40);
    os_pump_messages();
    std::vector<WindowEvent> wheel = events_of_kind(EVENT_WHEEL);
    REQUIRE(wheel.size() == 4);
    CHECK(wheel[0].wheel.delta == 1);
    CHECK(wheel[1].wheel.delta == 1);
    CHECK(wheel[2].wheel.delta == -1);
    CHECK(wheel[3].wheel.delta == -1);  // -1 and 12 x -10
    Vec2i at = injected_pointer_screen(w, 30, 40);
    CHECK(wheel[0].wheel.position.x == at.x);
    CHECK(wheel[0].wheel.position.y == at.y);
    close_test_window(w);
}

TEST_CASE("double clicks: the second quick press is one, the third is not - buttons are apart") {
    Window *w = open_test_window(320, 240, 0);
    inject_mouse_button(w, BUTTON_MOUSE_LEFT, true, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_LEFT, false, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_RIGHT, true, 40, 30);  // another button between the clicks
    inject_mouse_button(w, BUTTON_MOUSE_RIGHT, false, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_LEFT, true, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_LEFT, false, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_LEFT, true, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_LEFT, false, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_MIDDLE, true, 40, 30);
    inject_mouse_button(w, BUTTON_MOUSE_MIDDLE, true, 140, 30);  // too far for a double click
    os_pump_messages();
    std::vector<WindowEvent> b = events_of_kind(EVENT_MOUSE_BUTTON);
    REQUIRE(b.size() == 10);
    const u16 buttons[] = {260, 260, 262, 262, 260, 260, 260, 260, 261, 261};
    const u8 actions[] = {ACTION_DOWN, ACTION_UP, ACTION_DOWN, ACTION_UP, ACTION_DOWN,
                          ACTION_UP,   ACTION_DOWN, ACTION_UP, ACTION_DOWN, ACTION_DOWN};
    const u8 doubles[] = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; i++) {
        CAPTURE(i);
        CHECK(b[i].mouse_button.button == buttons[i]);
        CHECK(b[i].mouse_button.action == actions[i]);
        CHECK(b[i].mouse_button.double_click == doubles[i]);
    }
    close_test_window(w);
}

TEST_CASE("pointer: entering, moving and leaving set the pointer flags") {
    Window *w = open_test_window(320, 240, WINDOW_TOPMOST);
    hold_pointer_inside(w);
    inject_pointer_move(w, 160, 120);
    inject_pointer_move(w, 161, 120);
    inject_pointer_leave(w);
    inject_pointer_move(w, 162, 120);
    os_pump_messages();
    std::vector<WindowEvent> p = events_of_kind(EVENT_POINTER);
    REQUIRE(p.size() == 4);
    CHECK(p[0].pointer.pointer_flags == 1);
    CHECK(p[1].pointer.pointer_flags == 0);
    CHECK(p[2].pointer.pointer_flags == 2);
    CHECK(p[3].pointer.pointer_flags == 1);
    CHECK((p[0].pointer.position.x == w->client_pos.x + 160));
    CHECK((p[0].pointer.position.y == w->client_pos.y + 120));
    CHECK((w->input_flags & POINTER_INSIDE) != 0);
    close_test_window(w);
}

TEST_CASE("several close requests give one EVENT_CLOSED and the record stays valid") {
    Window *w = open_test_window(320, 240, 0);
    inject_close(w);
    inject_close(w);
    os_pump_messages();
    std::vector<WindowEvent> closed = events_of_kind(EVENT_CLOSED);
    REQUIRE(closed.size() == 1);
    CHECK(closed[0].window == w);
    CHECK((w->flags & WINDOW_OPEN) == 0);
    CHECK((window_find(w->hwnd) == nullptr));
    // Operations on the closed window are ignored.
    os_show_window(w, true);
    os_destroy_window(w);
    os_pump_messages();
    CHECK(events_of_kind(EVENT_CLOSED).size() == 1);
}

TEST_CASE("closing the first of two windows leaves the second working") {
    Window *a = open_test_window(320, 240, 0);
    Window *b = open_test_window(200, 100, 0);
    inject_close(a);
    os_pump_messages();
    REQUIRE(events_of_kind(EVENT_CLOSED).size() == 1);
    CHECK(events_of_kind(EVENT_CLOSED)[0].window == a);
    recorded_events.clear();
    inject_key(b, 'B', ACTION_DOWN);
    os_pump_messages();
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 1);
    CHECK(keys[0].window == b);
    os_destroy_window(b);
    os_pump_messages();
    REQUIRE(events_of_kind(EVENT_CLOSED).size() == 1);
    CHECK(events_of_kind(EVENT_CLOSED)[0].window == b);
    CHECK((b->flags & WINDOW_OPEN) == 0);
}

TEST_CASE("dropped files arrive as UTF-8 with forward slashes, each NUL-ended, plus one NUL") {
    Window *w = open_test_window(320, 240, 0);
    inject_drop(w, {"C:\\data\\a.txt", "Z:\\tmp\\caf\xc3\xa9 \xe2\x82\xac.png"}, 5, 7);
    os_pump_messages();
    REQUIRE(events_of_kind(EVENT_DROP).size() == 1);
    const CapturedEvent *d = nullptr;
    for (const CapturedEvent &r : recorded_events)
        if (r.event.kind == EVENT_DROP) d = &r;
    CHECK(d->event.drop.count == 2);
    CHECK(d->event.drop.position.x == 5);
    CHECK(d->event.drop.position.y == 7);
    static const char expected[] = "C:/data/a.txt\0Z:/tmp/caf\xc3\xa9 \xe2\x82\xac.png\0";
    CHECK(d->drop_paths == std::string(expected, sizeof(expected)));
    close_test_window(w);
}

TEST_CASE("the drop list: an empty path keeps its NUL and an empty list is one NUL") {
    Window *w = open_test_window(64, 64, 0);
    Str paths[] = {STR("a\\b"), Str{0, nullptr}, STR("c")};
    window_drop(w, Vec2i{1, 2}, paths, 3);
    window_drop(w, Vec2i{0, 0}, nullptr, 0);
    REQUIRE(recorded_events.size() == 2);
    CHECK(recorded_events[0].drop_paths == std::string("a/b\0\0c\0", 8));
    CHECK(recorded_events[1].event.drop.count == 0);
    CHECK(recorded_events[1].drop_paths == std::string("\0", 1));
    close_test_window(w);
}

TEST_CASE("moves, resizes and focus changes are reported with the new geometry") {
    Window *w = open_test_window(320, 240, 0);
    os_move_window(w, 50, 60, 500, 400, false);
    os_pump_messages();
    std::vector<WindowEvent> moved = events_of_kind(EVENT_MOVED);
    std::vector<WindowEvent> resized = events_of_kind(EVENT_RESIZED);
    REQUIRE(!moved.empty());
    REQUIRE(!resized.empty());
    CHECK((moved.back().moved.x == w->client_pos.x));
    CHECK((moved.back().moved.y == w->client_pos.y));
    CHECK((resized.back().resized.width == w->client_size.width));
    CHECK((resized.back().resized.height == w->client_size.height));
    CHECK((w->window_pos.x == 50));
    CHECK((w->window_pos.y == 60));
    CHECK((w->window_size.width == 500));
    CHECK((w->window_size.height == 400));
    recorded_events.clear();
    inject_focus(w, false);
    CHECK((w->flags & WINDOW_FOCUSED) == 0);
    inject_focus(w, true);
    CHECK((w->flags & WINDOW_FOCUSED) != 0);
    std::vector<WindowEvent> focus = events_of_kind(EVENT_FOCUS);
    REQUIRE(focus.size() == 2);
    CHECK(focus[0].focus.gained == 0);
    CHECK(focus[1].focus.gained == 1);
    close_test_window(w);
}

TEST_CASE("raw mouse input follows the focus of a window that asked for it") {
    Window *w = open_test_window(64, 64, 0);
    os_set_raw_mouse(w, true);
    CHECK((w->input_flags == (RAW_MOUSE_WANTED | RAW_MOUSE_ACTIVE | RAW_MOUSE_REGISTERED)));
    inject_focus(w, false);
    CHECK((w->input_flags == RAW_MOUSE_WANTED));
    inject_focus(w, true);
    CHECK((w->input_flags == (RAW_MOUSE_WANTED | RAW_MOUSE_ACTIVE | RAW_MOUSE_REGISTERED)));
    os_set_raw_mouse(w, false);
    CHECK((w->input_flags == 0));
    os_set_raw_mouse(w, true);
    close_test_window(w);
    CHECK((w->input_flags & (RAW_MOUSE_ACTIVE | RAW_MOUSE_REGISTERED)) == 0);
}

TEST_CASE("an injected X key reaches the input table through handle_input_event") {
    os_init();  // the input table stamps events with the tick counter
    Window *w = open_test_window(320, 240, 0);
    os_set_event_callback(handle_input_event);
    input_begin_frame();
    input_begin_frame();
    inject_key(w, 'X', ACTION_DOWN);
    os_pump_messages();
    REQUIRE(input_state != nullptr);
    CHECK(input_state->records[88].flags == (INPUT_PRESSED | INPUT_HELD));
    input_begin_frame();
    CHECK(input_state->records[88].flags == INPUT_HELD);
    inject_key(w, 'X', ACTION_UP);
    os_pump_messages();
    CHECK(input_state->records[88].flags == INPUT_RELEASED);
    input_begin_frame();
    os_set_event_callback(record_event);
    close_test_window(w);
}

TEST_SUITE_END();
