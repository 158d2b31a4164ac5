#include <windows.h>

#include <shlobj.h>
#include <string.h>

#include "os/input.h"
#include "os/system.h"
#include "os/window_ops.h"
#include "tests/win32/window_test_support.h"

static LPARAM key_lparam(bool was_down, bool up) {
    LPARAM l = 1;
    if (was_down) l |= 1 << 30;
    if (up) l |= (LPARAM)0xC0000000u;
    return l;
}

TEST_CASE("a held key gives down, one repeat per repeat message, then up") {
    Window *w = open_test_window(320, 240, 0);
    HWND h = hwnd_of(w);
    PostMessageW(h, WM_KEYDOWN, 'K', key_lparam(false, false));
    PostMessageW(h, WM_KEYDOWN, 'K', key_lparam(true, false));
    PostMessageW(h, WM_KEYDOWN, 'K', key_lparam(true, false));
    PostMessageW(h, WM_KEYUP, 'K', key_lparam(true, true));
    // Not a virtual key: no event, and nothing reaches past the input table.
    PostMessageW(h, WM_KEYDOWN, 0x1234, key_lparam(false, false));
    os_pump_messages();
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

static int system_commands;
static LRESULT CALLBACK count_system_commands(int code, WPARAM wparam, LPARAM lparam) {
    const CWPSTRUCT *m = (const CWPSTRUCT *)lparam;
    if (code == HC_ACTION && m->message == WM_SYSCOMMAND) system_commands++;
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_CASE("Alt is delivered but not passed on, so no window menu opens") {
    Window *w = open_test_window(320, 240, 0);
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, count_system_commands, nullptr, GetCurrentThreadId());
    REQUIRE(hook != nullptr);
    system_commands = 0;
    LRESULT down = SendMessageW(hwnd_of(w), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
    LRESULT up = SendMessageW(hwnd_of(w), WM_SYSKEYUP, VK_MENU, (LPARAM)0xE0000001u);
    os_pump_messages();
    UnhookWindowsHookEx(hook);
    CHECK(down == 0);
    CHECK(up == 0);
    CHECK(system_commands == 0);
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 2);
    CHECK(keys[0].key.action == ACTION_DOWN);
    CHECK(keys[0].key.key == VK_MENU);
    CHECK(keys[1].key.action == ACTION_UP);
    close_test_window(w);
}

TEST_CASE("characters: carriage return becomes line feed and backspace gives nothing") {
    Window *w = open_test_window(320, 240, 0);
    for (WPARAM c : {(WPARAM)'a', (WPARAM)13, (WPARAM)8, (WPARAM)0x20AC})
        PostMessageW(hwnd_of(w), WM_CHAR, c, 1);
    os_pump_messages();
    std::vector<WindowEvent> text = events_of_kind(EVENT_TEXT);
    REQUIRE(text.size() == 3);
    CHECK(text[0].text.code == 'a');
    CHECK(text[1].text.code == 10);
    CHECK(text[2].text.code == 0x20AC);
    close_test_window(w);
}

TEST_CASE("wheel messages give one step of +1 or -1 per whole notch, at the cursor") {
    Window *w = open_test_window(320, 240, 0);
    std::vector<short> amounts = {240, -120, 0, -1};
    for (int i = 0; i < 12; i++) amounts.push_back(-10);
    for (short amount : amounts) PostMessageW(hwnd_of(w), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)amount), 0);
    os_pump_messages();
    std::vector<WindowEvent> wheel = events_of_kind(EVENT_WHEEL);
    REQUIRE(wheel.size() == 4);
    CHECK(wheel[0].wheel.delta == 1);
    CHECK(wheel[1].wheel.delta == 1);
    CHECK(wheel[2].wheel.delta == -1);
    CHECK(wheel[3].wheel.delta == -1);  // -1 and 12 x -10
    POINT p;
    GetCursorPos(&p);
    CHECK(wheel[0].wheel.position.x == p.x);
    CHECK(wheel[0].wheel.position.y == p.y);
    close_test_window(w);
}

TEST_CASE("double clicks: the second quick press is one, the third is not - buttons are apart") {
    Window *w = open_test_window(320, 240, 0);
    HWND h = hwnd_of(w);
    LPARAM at = MAKELPARAM(40, 30);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    PostMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, at);  // another button between the clicks
    PostMessageW(h, WM_RBUTTONUP, 0, at);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    PostMessageW(h, WM_MBUTTONDOWN, MK_MBUTTON, at);
    PostMessageW(h, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(140, 30));  // too far for a double click
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
    // Keep the real cursor inside so that leave tracking does not fire by itself.
    SetCursorPos(w->client_pos.x + 160, w->client_pos.y + 120);
    pump_until([] { return false; });
    w->input_flags &= (u8)~POINTER_INSIDE;
    recorded_events.clear();
    HWND h = hwnd_of(w);
    PostMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(160, 120));
    PostMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(161, 120));
    PostMessageW(h, WM_MOUSELEAVE, 0, 0);
    PostMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(162, 120));
    os_pump_messages();
    std::vector<WindowEvent> p = events_of_kind(EVENT_POINTER);
    REQUIRE(p.size() == 4);
    CHECK(p[0].pointer.pointer_flags == 1);
    CHECK(p[1].pointer.pointer_flags == 0);
    CHECK(p[2].pointer.pointer_flags == 2);
    CHECK(p[3].pointer.pointer_flags == 1);
    CHECK(p[0].pointer.position.x == w->client_pos.x + 160);
    CHECK(p[0].pointer.position.y == w->client_pos.y + 120);
    CHECK((w->input_flags & POINTER_INSIDE) != 0);
    close_test_window(w);
}

TEST_CASE("several close messages give one EVENT_CLOSED and the record stays valid") {
    Window *w = open_test_window(320, 240, 0);
    HWND h = hwnd_of(w);
    PostMessageW(h, WM_CLOSE, 0, 0);
    PostMessageW(h, WM_CLOSE, 0, 0);
    PostMessageW(h, WM_DESTROY, 0, 0);
    os_pump_messages();
    std::vector<WindowEvent> closed = events_of_kind(EVENT_CLOSED);
    REQUIRE(closed.size() == 1);
    CHECK(closed[0].window == w);
    CHECK((w->flags & WINDOW_OPEN) == 0);
    CHECK_FALSE(IsWindow(h));
    // Operations on the closed window are ignored.
    os_show_window(w, true);
    os_pump_messages();
    CHECK(events_of_kind(EVENT_CLOSED).size() == 1);
}

TEST_CASE("closing the first of two windows leaves the second working") {
    Window *a = open_test_window(320, 240, 0);
    Window *b = open_test_window(200, 100, 0);
    PostMessageW(hwnd_of(a), WM_CLOSE, 0, 0);
    os_pump_messages();
    REQUIRE(events_of_kind(EVENT_CLOSED).size() == 1);
    CHECK(events_of_kind(EVENT_CLOSED)[0].window == a);
    recorded_events.clear();
    PostMessageW(hwnd_of(b), WM_KEYDOWN, 'B', 1);
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

// An HDROP as the shell builds it: DROPFILES, then the UTF-16 paths.
static HGLOBAL make_drop(const wchar_t *paths, size_t units, POINT at) {
    HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    DROPFILES *d = (DROPFILES *)GlobalLock(h);
    d->pFiles = sizeof(DROPFILES);
    d->pt = at;
    d->fNC = FALSE;
    d->fWide = TRUE;
    memcpy((char *)d + sizeof(DROPFILES), paths, units * sizeof(wchar_t));
    GlobalUnlock(h);
    return h;
}

TEST_CASE("dropped files arrive as UTF-8 with forward slashes, each NUL-ended, plus one NUL") {
    Window *w = open_test_window(320, 240, 0);
    static const wchar_t two[] = L"C:\\data\\a.txt\0Z:\\tmp\\caf\u00e9 \u20ac.png\0";
    PostMessageW(hwnd_of(w), WM_DROPFILES, (WPARAM)make_drop(two, COUNT_OF(two), POINT{5, 7}), 0);
    static const wchar_t none[] = L"\0";
    PostMessageW(hwnd_of(w), WM_DROPFILES, (WPARAM)make_drop(none, COUNT_OF(none), POINT{1, 2}), 0);
    os_pump_messages();
    REQUIRE(recorded_events.size() == 2);
    const RecordedEvent &d = recorded_events[0];
    CHECK(d.event.kind == EVENT_DROP);
    CHECK(d.event.drop.count == 2);
    CHECK(d.event.drop.position.x == 5);
    CHECK(d.event.drop.position.y == 7);
    static const char expected[] = "C:/data/a.txt\0Z:/tmp/caf\xc3\xa9 \xe2\x82\xac.png\0";
    CHECK(d.drop_paths == std::string(expected, sizeof(expected)));
    // An empty path (what Wine reports for an empty list) still gets its NUL
    // and the list's closing NUL.
    const RecordedEvent &e = recorded_events[1];
    CHECK(e.event.kind == EVENT_DROP);
    CHECK(e.drop_paths.size() == e.event.drop.count + 1);
    CHECK(e.drop_paths.find_first_not_of('\0') == std::string::npos);
    close_test_window(w);
}

TEST_CASE("moves, resizes and focus changes are reported with the new geometry") {
    Window *w = open_test_window(320, 240, 0);
    MoveWindow(hwnd_of(w), 50, 60, 500, 400, FALSE);
    os_pump_messages();
    std::vector<WindowEvent> moved = events_of_kind(EVENT_MOVED);
    std::vector<WindowEvent> resized = events_of_kind(EVENT_RESIZED);
    REQUIRE(!moved.empty());
    REQUIRE(!resized.empty());
    CHECK(moved.back().moved.x == w->client_pos.x);
    CHECK(moved.back().moved.y == w->client_pos.y);
    CHECK(resized.back().resized.width == w->client_size.width);
    CHECK(resized.back().resized.height == w->client_size.height);
    CHECK(w->window_pos.x == 50);
    CHECK(w->window_pos.y == 60);
    CHECK(w->window_size.width == 500);
    CHECK(w->window_size.height == 400);
    recorded_events.clear();
    SendMessageW(hwnd_of(w), WM_KILLFOCUS, 0, 0);
    CHECK((w->flags & WINDOW_FOCUSED) == 0);
    SendMessageW(hwnd_of(w), WM_SETFOCUS, 0, 0);
    CHECK((w->flags & WINDOW_FOCUSED) != 0);
    std::vector<WindowEvent> focus = events_of_kind(EVENT_FOCUS);
    REQUIRE(focus.size() == 2);
    CHECK(focus[0].focus.gained == 0);
    CHECK(focus[1].focus.gained == 1);
    close_test_window(w);
}

TEST_CASE("a posted X key reaches the input table through handle_input_event") {
    os_init();  // the input table stamps events with the tick counter
    Window *w = open_test_window(320, 240, 0);
    os_set_event_callback(handle_input_event);
    input_begin_frame();
    input_begin_frame();
    PostMessageW(hwnd_of(w), WM_KEYDOWN, 'X', 1);
    os_pump_messages();
    REQUIRE(input_state != nullptr);
    CHECK(input_state->records[88].flags == (INPUT_PRESSED | INPUT_HELD));
    input_begin_frame();
    CHECK(input_state->records[88].flags == INPUT_HELD);
    PostMessageW(hwnd_of(w), WM_KEYUP, 'X', (LPARAM)0xC0000001u);
    os_pump_messages();
    CHECK(input_state->records[88].flags == INPUT_RELEASED);
    input_begin_frame();
    os_set_event_callback(record_event);
    close_test_window(w);
}
