#include <windows.h>

#include "os/memory.h"
#include "os/system.h"
#include "os/win32/window_shared.h"
#include "os/window_ops.h"

static bool is_open(Window *window) { return window && (window->flags & WINDOW_OPEN); }

static HWND hwnd_of(Window *window) { return (HWND)window->hwnd; }

void os_show_window(Window *window, bool show) {
    if (is_open(window)) ShowWindow(hwnd_of(window), show ? SW_SHOW : SW_HIDE);
}

void os_minimise_window(Window *window, bool minimise) {
    if (!is_open(window)) return;
    if (minimise) CloseWindow(hwnd_of(window));
    else OpenIcon(hwnd_of(window));
}

void os_focus_window(Window *window) {
    if (!is_open(window)) return;
    window->flags |= WINDOW_FOCUSED;
    SetForegroundWindow(hwnd_of(window));
    SetFocus(hwnd_of(window));
}

void os_destroy_window(Window *window) {
    if (is_open(window)) DestroyWindow(hwnd_of(window));
}

void os_flash_window(Window *window) {
    if (!is_open(window)) return;
    FLASHWINFO info = {sizeof(info), hwnd_of(window), FLASHW_TIMERNOFG, 1, 0};
    FlashWindowEx(&info);
}

static void move_outer(Window *window, Rect32 r) { MoveWindow(hwnd_of(window), r.x, r.y, r.width, r.height, FALSE); }

void os_move_window(Window *window, i32 x, i32 y, i32 width, i32 height, bool client) {
    if (!is_open(window)) return;
    Rect32 r = {x, y, width, height};
    move_outer(window, client ? os_outer_rect_for_client(window, r) : r);
}

void os_set_window_position(Window *window, i32 x, i32 y, bool client) {
    if (!is_open(window)) return;
    Rect32 r = {x, y, window->window_size.width, window->window_size.height};
    if (client) {
        Rect32 outer = os_outer_rect_for_client(window, Rect32{x, y, 0, 0});
        r.x = outer.x;
        r.y = outer.y;
    }
    move_outer(window, r);
}

void os_set_window_size(Window *window, i32 width, i32 height, bool client) {
    if (is_open(window)) move_outer(window, os_resized_about_centre(window, width, height, client));
}

void os_center_window(Window *window) {
    if (!is_open(window)) return;
    Monitor *monitor = os_get_default_monitor();
    if (!monitor) return;
    Size2i area = {monitor->rect_size.width, monitor->rect_size.height};
    Vec2i at = os_centred_position(area, window->window_size);
    move_outer(window, Rect32{at.x, at.y, window->window_size.width, window->window_size.height});
}

void os_set_window_border(Window *window, bool bordered) {
    if (!is_open(window)) return;
    bool borderless = window->flags & WINDOW_BORDERLESS;
    if (borderless != bordered) return;
    Vec2i old_window_pos = window->window_pos;
    Vec2i old_client_pos = window->client_pos;
    Size2i old_client_size = window->client_size;
    if (bordered) window->flags &= (u16)~WINDOW_BORDERLESS;
    else window->flags |= WINDOW_BORDERLESS;
    // The visibility bit comes from the window as it is now, not from its creation.
    DWORD style = win32_window_style((u16)(window->flags | WINDOW_HIDDEN));
    if (IsWindowVisible(hwnd_of(window))) style |= WS_VISIBLE;
    HWND hwnd = hwnd_of(window);
    SetWindowLongPtrA(hwnd, GWL_STYLE, (LONG_PTR)style);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (!bordered) {
        move_outer(window, Rect32{old_client_pos.x, old_client_pos.y, old_client_size.width, old_client_size.height});
        return;
    }
    RECT r = {0, 0, old_client_size.width, old_client_size.height};
    AdjustWindowRectEx(&r, style, FALSE, win32_window_ex_style(window->flags));
    win32_read_geometry(window);
    i32 x = old_window_pos.x + old_client_pos.x - window->client_pos.x;
    i32 y = old_window_pos.y + old_client_pos.y - window->client_pos.y;
    move_outer(window, Rect32{x, y, r.right - r.left, r.bottom - r.top});
}

void os_set_window_topmost(Window *window, bool topmost) {
    if (!is_open(window)) return;
    bool now = window->flags & WINDOW_TOPMOST;
    if (now == topmost) return;
    if (topmost) window->flags |= WINDOW_TOPMOST;
    else window->flags &= (u16)~WINDOW_TOPMOST;
    SetWindowPos(hwnd_of(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void os_show_cursor(Window *window, bool show) {
    if (!is_open(window)) return;
    if (show) {
        while (ShowCursor(TRUE) < 0) {}
    } else {
        while (ShowCursor(FALSE) >= 0) {}
    }
}

void win32_ensure_cursor_table(void) {
    if (cursor_table.handles || !cursor_table_create(&cursor_table)) return;
    static const LPCWSTR SYSTEM_CURSORS[CURSOR_SYSTEM_COUNT] = {
        nullptr,    IDC_ARROW, IDC_HAND, IDC_WAIT,   IDC_IBEAM,  IDC_CROSS,    IDC_NO,
        IDC_HELP,   IDC_SIZEALL, IDC_SIZEWE, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZENESW,
    };
    for (int i = 1; i < CURSOR_SYSTEM_COUNT; i++) cursor_table.handles[i] = LoadCursorW(nullptr, SYSTEM_CURSORS[i]);
}

void os_set_cursor(u8 index) {
    win32_ensure_cursor_table();
    if (!cursor_table.handles || index >= cursor_table.capacity) return;
    SetCursor((HCURSOR)cursor_table.handles[index]);
}

u8 os_load_cursor(Str path) {
    win32_ensure_cursor_table();
    if (path.len == 0 || path.len > 0x7FFFFFFF) return 0;
    int units = MultiByteToWideChar(CP_UTF8, 0, path.data, (int)path.len, nullptr, 0);
    wchar_t *wide = (wchar_t *)os_alloc(((u64)units + 1) * sizeof(wchar_t));
    if (!wide) return 0;
    MultiByteToWideChar(CP_UTF8, 0, path.data, (int)path.len, wide, units);
    wide[units] = 0;
    HANDLE cursor = LoadImageW(nullptr, wide, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE | LR_SHARED);
    os_free(wide);
    if (!cursor) return 0;
    return cursor_table_add(&cursor_table, cursor);
}

u64 os_create_framebuffer(Window *window) {
    if (!window) return 0;
    if (window->framebuffer_pixels) os_free(window->framebuffer_pixels);
    window->framebuffer_size = window->client_size;
    u64 capacity = os_framebuffer_capacity_for(window->client_size.width, window->client_size.height);
    window->framebuffer_pixels = (u32 *)os_alloc(capacity);
    window->framebuffer_capacity = window->framebuffer_pixels ? capacity : 0;
    window->flags |= WINDOW_FRAMEBUFFER;
    return window->framebuffer_capacity;
}

void os_resize_framebuffer(Window *window) {
    if (!window) return;
    window->framebuffer_size = window->client_size;
    u64 need = os_framebuffer_capacity_for(window->client_size.width, window->client_size.height);
    if (window->framebuffer_capacity >= need) return;
    u32 *pixels = (u32 *)(window->framebuffer_pixels ? os_realloc(window->framebuffer_pixels, need) : os_alloc(need));
    if (!pixels) {
        // The old block is too small for the new size: drop it rather than let a
        // present read past it.
        if (window->framebuffer_pixels) os_free(window->framebuffer_pixels);
        window->framebuffer_pixels = nullptr;
        window->framebuffer_capacity = 0;
        return;
    }
    window->framebuffer_pixels = pixels;
    window->framebuffer_capacity = need;
}

void os_destroy_framebuffer(Window *window) {
    if (!window) return;
    if (window->framebuffer_pixels) os_free(window->framebuffer_pixels);
    window->flags &= (u16)~WINDOW_FRAMEBUFFER;
    window->framebuffer_pixels = nullptr;
    window->framebuffer_size = Size2i{0, 0};
    window->framebuffer_capacity = 0;
}

static bool can_present(Window *window, BITMAPINFO *info) {
    if (!window || !(window->flags & WINDOW_OPEN) || !(window->flags & WINDOW_FRAMEBUFFER) ||
        !window->framebuffer_pixels)
        return false;
    *info = {};
    info->bmiHeader.biSize = 40;
    info->bmiHeader.biWidth = window->framebuffer_size.width;
    info->bmiHeader.biHeight = -window->framebuffer_size.height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
    return true;
}

void os_present_framebuffer(Window *window) {
    BITMAPINFO info;
    if (!can_present(window, &info)) return;
    StretchDIBits((HDC)window->hdc, 0, 0, window->client_size.width, window->client_size.height, 0, 0,
                  window->framebuffer_size.width, window->framebuffer_size.height, window->framebuffer_pixels, &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

void os_present_framebuffer_rect(Window *window, i32 x, i32 y, i32 width, i32 height) {
    BITMAPINFO info;
    if (!can_present(window, &info)) return;
    StretchDIBits((HDC)window->hdc, x, y, width, height, x, window->framebuffer_size.height - y - height, width, height,
                  window->framebuffer_pixels, &info, DIB_RGB_COLORS, SRCCOPY);
}
