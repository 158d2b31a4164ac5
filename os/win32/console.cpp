#include <windows.h>

#include "os/console.h"

static bool console_window_rect(HWND *window, RECT *rect) {
    *window = GetConsoleWindow();
    return *window && GetWindowRect(*window, rect);
}

void os_move_console_window(i32 x, i32 y) {
    HWND window;
    RECT r;
    if (!console_window_rect(&window, &r)) return;
    MoveWindow(window, x, y, r.right - r.left, r.bottom - r.top, FALSE);
}

void os_set_console_window_height(i32 height) {
    HWND window;
    RECT r;
    if (!console_window_rect(&window, &r)) return;
    MoveWindow(window, r.left, r.top, r.right - r.left, height, FALSE);
}

ConsoleRect os_get_console_window_rect(void) {
    ConsoleRect result = {0, 0, 0, 0};
    HWND window;
    RECT r;
    if (!console_window_rect(&window, &r)) return result;
    result.x = r.left;
    result.y = r.top;
    result.width = r.right - r.left;
    result.height = r.bottom - r.top;
    return result;
}

void os_flash_console_window(void) {
    FLASHWINFO info;
    info.cbSize = sizeof(info);
    info.hwnd = GetConsoleWindow();
    info.dwFlags = FLASHW_TIMERNOFG;
    info.uCount = 1;
    info.dwTimeout = 0;
    if (info.hwnd) FlashWindowEx(&info);
}

i16 os_read_console_key(void) {
    INPUT_RECORD record;
    DWORD got = 0;
    if (!ReadConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), &record, 1, &got) || got != 1) return 0;
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) return 0;
    return (i16)(i8)(u8)(record.Event.KeyEvent.uChar.UnicodeChar & 0xFF);
}

void os_move_console_cursor(i32 dx, i32 dy) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(out, &info)) return;
    i32 x = info.dwCursorPosition.X + dx;
    COORD to;
    to.X = (SHORT)(x < 0 ? 0 : x);
    to.Y = (SHORT)(info.dwCursorPosition.Y + dy);
    SetConsoleCursorPosition(out, to);
}

i32 os_get_console_width(void) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}
