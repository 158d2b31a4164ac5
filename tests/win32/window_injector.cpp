// The injector of the shared window tests on Windows: messages posted to the
// window, as the system would post them.
#include <windows.h>

#include <shlobj.h>

#include "tests/win32/window_test_support.h"

static LPARAM key_lparam(u8 action) {
    LPARAM l = 1;
    if (action == ACTION_REPEAT) l |= 1 << 30;
    if (action == ACTION_UP) l |= (LPARAM)0xC0000000u;
    return l;
}

void inject_key(Window *window, u32 vk, u8 action) {
    PostMessageW(hwnd_of(window), action == ACTION_UP ? WM_KEYUP : WM_KEYDOWN, vk, key_lparam(action));
}

void inject_char(Window *window, u32 code) { PostMessageW(hwnd_of(window), WM_CHAR, code, 1); }

void inject_wheel(Window *window, i32 amount, i32 x, i32 y) {
    POINT p = {x, y};
    ClientToScreen(hwnd_of(window), &p);
    PostMessageW(hwnd_of(window), WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(i16)amount), MAKELPARAM(p.x, p.y));
}

void inject_mouse_button(Window *window, u16 button, bool down, i32 x, i32 y) {
    static const UINT DOWN[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
    static const UINT UP[] = {WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
    int i = button - BUTTON_MOUSE_LEFT;
    PostMessageW(hwnd_of(window), down ? DOWN[i] : UP[i], 0, MAKELPARAM(x, y));
}

void inject_pointer_move(Window *window, i32 x, i32 y) { PostMessageW(hwnd_of(window), WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

void inject_pointer_leave(Window *window) { PostMessageW(hwnd_of(window), WM_MOUSELEAVE, 0, 0); }

void inject_focus(Window *window, bool gained) { SendMessageW(hwnd_of(window), gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0); }

void inject_close(Window *window) { PostMessageW(hwnd_of(window), WM_CLOSE, 0, 0); }

// An HDROP as the shell builds it: DROPFILES, then the UTF-16 paths, each
// NUL-terminated, and one more NUL.
void inject_drop(Window *window, const std::vector<std::string> &paths, i32 x, i32 y) {
    std::wstring units;
    for (const std::string &path : paths) {
        int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), (int)path.size(), nullptr, 0);
        std::wstring wide((size_t)n, L'\0');
        MultiByteToWideChar(CP_UTF8, 0, path.data(), (int)path.size(), wide.data(), n);
        units += wide;
        units += L'\0';
    }
    units += L'\0';
    HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + units.size() * sizeof(wchar_t));
    DROPFILES *d = (DROPFILES *)GlobalLock(h);
    d->pFiles = sizeof(DROPFILES);
    d->pt = POINT{x, y};
    d->fNC = FALSE;
    d->fWide = TRUE;
    memcpy((char *)d + sizeof(DROPFILES), units.data(), units.size() * sizeof(wchar_t));
    GlobalUnlock(h);
    PostMessageW(hwnd_of(window), WM_DROPFILES, (WPARAM)h, 0);
}

// The window procedure reads the cursor itself.
Vec2i injected_pointer_screen(Window *, i32, i32) {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return Vec2i{p.x, p.y};
}

void hold_pointer_inside(Window *window) {
    SetCursorPos(window->client_pos.x + window->client_size.width / 2,
                 window->client_pos.y + window->client_size.height / 2);
    pump_until([] { return false; });
    window->input_flags &= (u8)~POINTER_INSIDE;
    recorded_events.clear();
}

void test_sleep_ms(int ms) { Sleep((DWORD)ms); }

bool test_window_visible(Window *window) { return IsWindowVisible(hwnd_of(window)) != FALSE; }

u32 test_window_pixel(Window *window, i32 x, i32 y) {
    GdiFlush();
    COLORREF c = GetPixel((HDC)window->hdc, x, y);
    return (u32)GetRValue(c) << 16 | (u32)GetGValue(c) << 8 | GetBValue(c);
}
