#include <windows.h>

#include "os/input.h"
#include "os/window_ops.h"
#include "tests/win32/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

// The desktop's key state is shared by every program of the Wine server: one
// that closed on Alt+F4 never saw Alt come up, and a held Alt would turn typed
// characters into system ones.  The modifiers are let go first.
static void release_modifiers(void) {
    const WORD keys[3] = {VK_MENU, VK_CONTROL, VK_SHIFT};
    INPUT up[3] = {};
    for (int i = 0; i < 3; i++) {
        up[i].type = INPUT_KEYBOARD;
        up[i].ki.wVk = keys[i];
        up[i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(3, up, sizeof(INPUT));
}

// A window manager may hand the focus to another window for a moment (one
// closing elsewhere on the display): the focus is asked for until it is there.
static Window *focused_window(void) {
    Window *w = open_test_window(320, 240, WINDOW_TOPMOST);
    for (int i = 0; i < 20 && GetForegroundWindow() != hwnd_of(w); i++) {
        os_focus_window(w);
        pump_until([] { return false; });
    }
    release_modifiers();
    pump_until([] { return false; });
    recorded_events.clear();
    return w;
}

TEST_CASE("typed text arrives as the layout's key sequence") {
    Window *w = focused_window();
    REQUIRE(GetForegroundWindow() == hwnd_of(w));
    os_type_text("Hi!");
    // Ten strokes: Shift, H, H, Shift, I, I, Shift, 1, 1, Shift.
    pump_until([] { return events_of_kind(EVENT_KEY).size() >= 10; });
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 10);
    const u16 vk[] = {VK_SHIFT, 'H', 'H', VK_SHIFT, 'I', 'I', VK_SHIFT, '1', '1', VK_SHIFT};
    const u8 action[] = {ACTION_DOWN, ACTION_DOWN, ACTION_UP, ACTION_UP, ACTION_DOWN,
                         ACTION_UP,   ACTION_DOWN, ACTION_DOWN, ACTION_UP, ACTION_UP};
    for (int i = 0; i < 10; i++) {
        CAPTURE(i);
        CHECK(keys[i].key.key == vk[i]);
        CHECK(keys[i].key.action == action[i]);
    }
    std::vector<WindowEvent> text = events_of_kind(EVENT_TEXT);
    REQUIRE(text.size() == 3);
    CHECK(text[0].text.code == 'H');
    CHECK(text[1].text.code == 'i');
    CHECK(text[2].text.code == '!');
    close_test_window(w);
}

TEST_CASE("single keys: listed keys are sent, others such as F1 are not") {
    Window *w = focused_window();
    REQUIRE(GetForegroundWindow() == hwnd_of(w));
    os_send_key(VK_F1, true);
    os_send_key(VK_F1, false);
    os_send_key('Q', true);
    os_send_key('Q', false);
    pump_until([] { return events_of_kind(EVENT_KEY).size() >= 2; });
    pump_until([] { return false; });
    std::vector<WindowEvent> keys = events_of_kind(EVENT_KEY);
    REQUIRE(keys.size() == 2);
    CHECK(keys[0].key.key == 'Q');
    CHECK(keys[0].key.action == ACTION_DOWN);
    CHECK(keys[1].key.key == 'Q');
    CHECK(keys[1].key.action == ACTION_UP);
    close_test_window(w);
}

TEST_CASE("cursor position: absolute synthetic moves and the packed query") {
    // A window of this process first, so that the display connection is up.
    Window *w = open_test_window(100, 100, 0);
    POINT p;
    // The first warp of a fresh display connection can be lost: repeat it.
    bool placed = pump_until([&] {
        SetCursorPos(123, 456);
        return GetCursorPos(&p) && p.x == 123 && p.y == 456;
    });
    REQUIRE(placed);
    u64 packed = os_get_cursor_pos();
    CHECK((i32)(u32)packed == 123);
    CHECK((i32)(u32)(packed >> 32) == 456);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    // The middle of the screen in the 0 to 65535 range.
    os_send_mouse_position(32768, 32768);
    bool moved = pump_until([&] { return GetCursorPos(&p) && p.x != 123; });
    CHECK(moved);
    CHECK(abs(p.x - sw / 2) <= 1);
    CHECK(abs(p.y - sh / 2) <= 1);
    CHECK_FALSE(os_is_mouse_button_down(BUTTON_MOUSE_LEFT));
    CHECK_FALSE(os_is_mouse_button_down(999));
    CHECK_FALSE(os_is_mouse_button_down('A'));
    close_test_window(w);
}

TEST_SUITE_END();
