// The Win32 clipboard, opened without an owner window.
#include <windows.h>
#include <string.h>

#include "os/backend.h"
#include "os/memory.h"
#include "os/win32/utf16.h"

// Registered names are read up to 127 characters.
#define FORMAT_NAME_UNITS 128

static const ClipboardData NO_DATA = {0, nullptr};

// UTF-16 (units, not terminated) to UTF-8 on the heap, followed by a zero
// byte; empty text gives no data.
static ClipboardData utf8_from_utf16(const wchar_t *text, u64 units) {
    if (units == 0 || units > 0x7fffffff) return NO_DATA;
    Str utf8 = os_utf8_from_utf16(text, (int)units);
    return ClipboardData{utf8.len, (char *)utf8.data};
}

bool backend_clipboard_open(void) { return OpenClipboard(nullptr) != 0; }
void backend_clipboard_close(void) { CloseClipboard(); }
u32 backend_clipboard_next_format(u32 format) { return EnumClipboardFormats(format); }

u32 backend_clipboard_format_name(u32 format, char *out, u32 out_size) {
    wchar_t wide[FORMAT_NAME_UNITS];
    int units = GetClipboardFormatNameW(format, wide, FORMAT_NAME_UNITS);
    Str name = units > 0 ? os_utf8_from_utf16(wide, units) : Str{0, nullptr};
    u32 bytes = name.len < out_size ? (u32)name.len : 0;
    if (bytes) memcpy(out, name.data, bytes);
    os_free((void *)name.data);
    out[bytes] = 0;
    return bytes;
}

// Copied while locked.
ClipboardData backend_clipboard_read(u32 format) {
    ClipboardData result = NO_DATA;
    HANDLE block = GetClipboardData(format);
    if (!block) return result;
    SIZE_T size = GlobalSize(block);
    if (size == 0) return result;
    void *locked = GlobalLock(block);
    if (!locked) return result;
    char *copy = (char *)os_alloc((u64)size + 1);
    if (copy) {
        memcpy(copy, locked, size);
        copy[size] = 0;
        result.len = size;
        result.data = copy;
    }
    GlobalUnlock(block);
    return result;
}

ClipboardData backend_clipboard_read_text(u32 format) {
    ClipboardData result = NO_DATA;
    HANDLE block = GetClipboardData(format);
    if (!block) return result;
    u64 units_max = GlobalSize(block) / sizeof(wchar_t);
    const wchar_t *text = (const wchar_t *)GlobalLock(block);
    if (!text) return result;
    u64 units = 0;
    while (units < units_max && text[units]) units++;
    result = utf8_from_utf16(text, units);
    GlobalUnlock(block);
    return result;
}

// A movable block holding the bytes, then `zeros` zero bytes.
static HGLOBAL make_block(const void *bytes, u64 size, u64 zeros) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)(size + zeros));
    if (!block) return nullptr;
    u8 *p = (u8 *)GlobalLock(block);
    if (!p) {
        GlobalFree(block);
        return nullptr;
    }
    if (size) memcpy(p, bytes, size);
    memset(p + size, 0, zeros);
    GlobalUnlock(block);
    return block;
}

// The clipboard owns a block once it took it; a refused one is freed here.
static bool place(UINT format, HGLOBAL block) {
    if (!block) return false;
    if (SetClipboardData(format, block)) return true;
    GlobalFree(block);
    return false;
}

void backend_clipboard_empty(void) { EmptyClipboard(); }

bool backend_clipboard_place_text(Str text) {
    wchar_t *wide = os_utf16_from_utf8_alloc(text);
    if (!wide) return false;
    bool placed = place(CF_UNICODETEXT, make_block(wide, wcslen(wide) * sizeof(wchar_t), sizeof(wchar_t)));
    placed = place(CF_TEXT, make_block(text.data, text.len, 1)) && placed;
    os_free(wide);
    return placed;
}

bool backend_clipboard_place(u32 format, const void *bytes, u64 size) {
    return place(format, make_block(bytes, size, 0));
}

u32 backend_clipboard_register_format(const char *name) {
    wchar_t *wide = os_utf16_from_utf8_alloc(str_from_cstr(name));
    u32 format = wide ? RegisterClipboardFormatW(wide) : 0;
    os_free(wide);
    return format;
}

bool backend_copy_window_to_clipboard(Window *window) {
    HWND hwnd = window ? (HWND)window->hwnd : nullptr;
    HDC source = window ? (HDC)window->hdc : nullptr;
    bool own_dc = !source;
    if (own_dc) source = GetDC(hwnd);
    if (!source) return false;
    int width, height;
    if (window) {
        RECT client;
        GetClientRect(hwnd, &client);
        width = client.right - client.left;
        height = client.bottom - client.top;
    } else {
        width = GetDeviceCaps(source, HORZRES);
        height = GetDeviceCaps(source, VERTRES);
    }
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(source, width, height) : nullptr;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
    }
    if (memory) DeleteDC(memory);
    if (own_dc) ReleaseDC(hwnd, source);
    if (!bitmap) return false;
    bool placed = false;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        placed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
        CloseClipboard();
    }
    if (!placed) DeleteObject(bitmap);
    return placed;
}
