#include <windows.h>

#include "tests/win32/window_test_support.h"

TEST_SUITE_BEGIN("desktop");

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

TEST_CASE("a key message above 255 or a destroy after a close gives nothing more") {
    Window *w = open_test_window(320, 240, 0);
    HWND h = hwnd_of(w);
    PostMessageW(h, WM_KEYDOWN, 0x1234, 1);
    PostMessageW(h, WM_CLOSE, 0, 0);
    PostMessageW(h, WM_DESTROY, 0, 0);
    os_pump_messages();
    CHECK(events_of_kind(EVENT_KEY).empty());
    CHECK(events_of_kind(EVENT_CLOSED).size() == 1);
    CHECK_FALSE(IsWindow(h));
}

TEST_SUITE_END();
