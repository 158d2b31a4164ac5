// Win32 window operations, cursors and framebuffer presentation.
#include <windows.h>

#include "os/backend.h"
#include "os/memory.h"
#include "os/win32/utf16.h"
#include "os/win32/window_shared.h"

static HWND hwnd_of(Window *window) { return (HWND)window->hwnd; }

void backend_show_window(Window *window, bool show) { ShowWindow(hwnd_of(window), show ? SW_SHOW : SW_HIDE); }

void backend_minimise_window(Window *window, bool minimise) {
    if (minimise) CloseWindow(hwnd_of(window));
    else OpenIcon(hwnd_of(window));
}

void backend_focus_window(Window *window) {
    SetForegroundWindow(hwnd_of(window));
    SetFocus(hwnd_of(window));
}

// The closing itself follows in the window procedure.
void backend_destroy_window(Window *window) { DestroyWindow(hwnd_of(window)); }

void backend_flash_window(Window *window) {
    FLASHWINFO info = {sizeof(info), hwnd_of(window), FLASHW_TIMERNOFG, 1, 0};
    FlashWindowEx(&info);
}

// The geometry fields follow through the WM_MOVE and WM_SIZE this sends.
void backend_move_outer(Window *window, Rect32 r) {
    MoveWindow(hwnd_of(window), r.x, r.y, r.width, r.height, FALSE);
}

void backend_apply_border(Window *window, Vec2i old_window_pos, Vec2i old_client_pos, Size2i old_client_size) {
    bool bordered = !(window->flags & WINDOW_BORDERLESS);
    // The visibility bit comes from the window as it is now, not from its creation.
    DWORD style = win32_window_style((u16)(window->flags | WINDOW_HIDDEN));
    HWND hwnd = hwnd_of(window);
    if (IsWindowVisible(hwnd)) style |= WS_VISIBLE;
    SetWindowLongPtrA(hwnd, GWL_STYLE, (LONG_PTR)style);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (!bordered) {
        backend_move_outer(window,
                           Rect32{old_client_pos.x, old_client_pos.y, old_client_size.width, old_client_size.height});
        return;
    }
    RECT r = {0, 0, old_client_size.width, old_client_size.height};
    AdjustWindowRectEx(&r, style, FALSE, win32_window_ex_style(window->flags));
    backend_read_geometry(window);
    i32 x = old_window_pos.x + old_client_pos.x - window->client_pos.x;
    i32 y = old_window_pos.y + old_client_pos.y - window->client_pos.y;
    backend_move_outer(window, Rect32{x, y, r.right - r.left, r.bottom - r.top});
}

// The style follows the flags (WINDOW_FULLSCREEN gives a popup), then the
// window is placed with the frame change in the same call.
static void restyle_and_place(Window *window, Rect32 r) {
    HWND hwnd = hwnd_of(window);
    DWORD style = win32_window_style((u16)(window->flags | WINDOW_HIDDEN));
    if (IsWindowVisible(hwnd)) style |= WS_VISIBLE;
    SetWindowLongPtrA(hwnd, GWL_STYLE, (LONG_PTR)style);
    SetWindowPos(hwnd, nullptr, r.x, r.y, r.width, r.height, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void backend_enter_fullscreen(Window *window, Rect32 monitor) { restyle_and_place(window, monitor); }

void backend_leave_fullscreen(Window *window, Rect32 outer, Rect32) { restyle_and_place(window, outer); }

void backend_apply_topmost(Window *window, bool topmost) {
    SetWindowPos(hwnd_of(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void backend_show_cursor(bool show) {
    if (show) {
        while (ShowCursor(TRUE) < 0) {}
    } else {
        while (ShowCursor(FALSE) >= 0) {}
    }
}

void *backend_system_cursor(u8 index) {
    static const LPCWSTR SYSTEM_CURSORS[CURSOR_SYSTEM_COUNT] = {
        nullptr,    IDC_ARROW, IDC_HAND, IDC_WAIT,   IDC_IBEAM,  IDC_CROSS,    IDC_NO,
        IDC_HELP,   IDC_SIZEALL, IDC_SIZEWE, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZENESW,
    };
    if (index == 0 || index >= CURSOR_SYSTEM_COUNT) return nullptr;
    return LoadCursorW(nullptr, SYSTEM_CURSORS[index]);
}

void backend_set_cursor(void *cursor) { SetCursor((HCURSOR)cursor); }

void *backend_load_cursor_file(Str path) {
    wchar_t *wide = os_utf16_from_utf8_alloc(path);
    if (!wide) return nullptr;
    HANDLE cursor = LoadImageW(nullptr, wide, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED);
    os_free(wide);
    return cursor;
}

static BITMAPINFO bitmap_info(Window *window) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = window->framebuffer_size.width;
    info.bmiHeader.biHeight = -window->framebuffer_size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void backend_present_framebuffer(Window *window) {
    BITMAPINFO info = bitmap_info(window);
    StretchDIBits((HDC)window->hdc, 0, 0, window->client_size.width, window->client_size.height, 0, 0,
                  window->framebuffer_size.width, window->framebuffer_size.height, window->framebuffer_pixels, &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

// The source rectangle of a top-down bitmap is counted from its last row.
void backend_present_framebuffer_rect(Window *window, Rect32 r) {
    BITMAPINFO info = bitmap_info(window);
    StretchDIBits((HDC)window->hdc, r.x, r.y, r.width, r.height, r.x, window->framebuffer_size.height - r.y - r.height,
                  r.width, r.height, window->framebuffer_pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}
