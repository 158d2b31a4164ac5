#include <doctest/doctest.h>

#include <windows.h>

#include "os/console.h"

// A console of the test's own, standing in for the standard handles while it
// lasts.  It stays attached afterwards: under Wine, freeing a console made by
// AllocConsole also cuts off the process's redirected standard output.
struct TestConsole {
    HANDLE saved_in, saved_out, in, out;
};

static bool open_test_console(TestConsole *c) {
    c->saved_in = GetStdHandle(STD_INPUT_HANDLE);
    c->saved_out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!GetConsoleWindow()) {
        // Wine attaches a console without a window to a process started from a terminal or a pipe.
        FreeConsole();
        if (!AllocConsole()) return false;
    }
    c->in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    c->out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    SetStdHandle(STD_INPUT_HANDLE, c->in);
    SetStdHandle(STD_OUTPUT_HANDLE, c->out);
    return c->in != INVALID_HANDLE_VALUE && c->out != INVALID_HANDLE_VALUE;
}

static void close_test_console(TestConsole *c) {
    SetStdHandle(STD_INPUT_HANDLE, c->saved_in);
    SetStdHandle(STD_OUTPUT_HANDLE, c->saved_out);
    CloseHandle(c->in);
    CloseHandle(c->out);
}

static COORD cursor(HANDLE out) {
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    GetConsoleScreenBufferInfo(out, &info);
    return info.dwCursorPosition;
}

// A console of its own is a window on the desktop, which a window manager
// moves and sizes in its own time.
TEST_SUITE_BEGIN("desktop");

TEST_CASE("the console cursor moves relative to itself and stops at column 0") {
    TestConsole c;
    REQUIRE(open_test_console(&c));
    DWORD written;
    WriteConsoleW(c.out, L"abc", 3, &written, nullptr);
    COORD start = cursor(c.out);
    os_move_console_cursor(-5, 0);
    COORD left = cursor(c.out);
    os_move_console_cursor(2, 1);
    COORD moved = cursor(c.out);
    i32 width = os_get_console_width();
    close_test_console(&c);

    CHECK(start.X == 3);
    CHECK(left.X == 0);
    CHECK(left.Y == start.Y);
    CHECK(moved.X == 2);
    CHECK(moved.Y == start.Y + 1);
    CHECK(width >= 40);
}

TEST_CASE("the console window moves and changes height, keeping what it is not told") {
    TestConsole c;
    REQUIRE(open_test_console(&c));
    ConsoleRect before = os_get_console_window_rect();
    os_move_console_window(30, 40);
    ConsoleRect moved = os_get_console_window_rect();
    os_set_console_window_height(before.height + 100);
    ConsoleRect taller = os_get_console_window_rect();
    os_flash_console_window();
    close_test_console(&c);

    CHECK(before.width > 0);
    CHECK(moved.x == 30);
    CHECK(moved.y == 40);
    CHECK(moved.width == before.width);
    CHECK(moved.height == before.height);
    CHECK(taller.x == 30);
    CHECK(taller.y == 40);
    CHECK(taller.width == before.width);
    CHECK(taller.height > before.height);
}

static INPUT_RECORD key_event(bool down, wchar_t ch) {
    INPUT_RECORD r = {};
    r.EventType = KEY_EVENT;
    r.Event.KeyEvent.bKeyDown = down;
    r.Event.KeyEvent.wRepeatCount = 1;
    r.Event.KeyEvent.uChar.UnicodeChar = ch;
    return r;
}

TEST_CASE("console key reads give a pressed key's character byte and 0 for anything else") {
    TestConsole c;
    REQUIRE(open_test_console(&c));
    INPUT_RECORD events[5] = {key_event(true, L'A'), key_event(false, L'A'), {}, key_event(true, 0x00E9),
                              key_event(true, 0x0141)};
    events[2].EventType = MOUSE_EVENT;
    DWORD written = 0;
    FlushConsoleInputBuffer(c.in);
    WriteConsoleInputW(c.in, events, 5, &written);
    i16 keys[5];
    for (i16 &k : keys) k = written == 5 ? os_read_console_key() : 99;
    close_test_console(&c);

    CHECK(written == 5);
    CHECK(keys[0] == 'A');
    CHECK(keys[1] == 0);
    CHECK(keys[2] == 0);
    CHECK(keys[3] == -23);  // 0xE9 as a signed byte
    CHECK(keys[4] == 0x41);  // only the low 8 bits of U+0141
}

TEST_SUITE_END();

TEST_CASE("standard output that is not a console has no width and no cursor") {
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, INVALID_HANDLE_VALUE);
    i32 width = os_get_console_width();
    os_move_console_cursor(1, 1);
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    CHECK(width == 0);
}
