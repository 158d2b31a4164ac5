#include <windows.h>
#include <string.h>

#include "os/clipboard.h"
#include "os/log.h"
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

// The registered name of a format in UTF-8, zero-terminated; 0 bytes if it has none.
static int registered_name(UINT format, char *out, int out_size) {
    wchar_t wide[FORMAT_NAME_UNITS];
    int units = GetClipboardFormatNameW(format, wide, FORMAT_NAME_UNITS);
    Str name = units > 0 ? os_utf8_from_utf16(wide, units) : Str{0, nullptr};
    int bytes = name.len < (u64)out_size ? (int)name.len : 0;
    if (bytes) memcpy(out, name.data, (size_t)bytes);
    os_free((void *)name.data);
    out[bytes] = 0;
    return bytes;
}

static bool name_is(UINT format, const wchar_t *name, bool any_case) {
    wchar_t wide[FORMAT_NAME_UNITS];
    int units = GetClipboardFormatNameW(format, wide, FORMAT_NAME_UNITS);
    if (units <= 0 || (size_t)units != wcslen(name)) return false;
    wide[units] = 0;
    return any_case ? lstrcmpiW(wide, name) == 0 : wcscmp(wide, name) == 0;
}

// The format's whole block, copied while locked, plus a zero byte.  The
// clipboard must be open.
static ClipboardData copy_block(UINT format) {
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

// UTF-16 text of a format up to its first zero unit, never past its block.
static ClipboardData copy_utf16_text(UINT format) {
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

int os_print_clipboard_formats(void) {
    if (!OpenClipboard(nullptr)) return 0;
    char name[FORMAT_NAME_UNITS * 3];
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        Str shown = {(u64)registered_name(format, name, sizeof(name)), name};
        if (!shown.len) shown = os_clipboard_standard_name(format);
        if (!shown.len) shown = STR("??? UNKNOWN");
        os_printf("CLIP %i = %.*s\n", (int)format, (int)shown.len, shown.data);
    }
    CloseClipboard();
    return 1;
}

int os_list_clipboard_formats(ClipboardFormatCallback callback) {
    if (!OpenClipboard(nullptr)) return 1;
    char name[FORMAT_NAME_UNITS * 3];
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        Str given = os_clipboard_standard_name(format);
        if (!given.len) given = Str{(u64)registered_name(format, name, sizeof(name)), name};
        if (!given.len) given = STR("???");
        callback(format, given);
    }
    CloseClipboard();
    return 0;
}

ClipboardData os_get_clipboard_data(u32 format) {
    if (!OpenClipboard(nullptr)) return NO_DATA;
    ClipboardData result = copy_block(format);
    CloseClipboard();
    return result;
}

ClipboardData os_get_clipboard_text(void) {
    if (!OpenClipboard(nullptr)) return NO_DATA;
    ClipboardData result = copy_utf16_text(CF_UNICODETEXT);
    if (!result.len) {
        // Plain text, byte for byte.
        HANDLE block = GetClipboardData(CF_TEXT);
        const char *text = block ? (const char *)GlobalLock(block) : nullptr;
        if (text) {
            u64 size = GlobalSize(block), len = 0;
            while (len < size && text[len]) len++;
            char *copy = len ? (char *)os_alloc(len + 1) : nullptr;
            if (copy) {
                memcpy(copy, text, len);
                copy[len] = 0;
                result.len = len;
                result.data = copy;
            }
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return result;
}

ClipboardData os_get_clipboard_file_name(void) {
    if (!OpenClipboard(nullptr)) return NO_DATA;
    ClipboardData result = NO_DATA;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!name_is(format, L"FileNameW", false)) continue;
        result = copy_utf16_text(format);
        break;
    }
    CloseClipboard();
    return result;
}

ClipboardData os_get_clipboard_png(void) {
    if (!OpenClipboard(nullptr)) return NO_DATA;
    UINT png = 0, image_png = 0;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!png && name_is(format, L"PNG", true)) png = format;
        if (!image_png && name_is(format, L"image/png", false)) image_png = format;
    }
    ClipboardData result = NO_DATA;
    if (png) result = copy_block(png);
    if (!result.len && image_png) result = copy_block(image_png);
    CloseClipboard();
    return result;
}

// Null when the format is missing or its block is shorter than the header it needs.
static ClipboardData bmp_from_format(UINT format, u64 min_size) {
    ClipboardData result = NO_DATA;
    HANDLE block = GetClipboardData(format);
    if (!block) return result;
    SIZE_T size = GlobalSize(block);
    if (size < min_size) return result;
    const void *dib = GlobalLock(block);
    if (!dib) return result;
    result = os_bmp_from_dib(dib, size);
    GlobalUnlock(block);
    return result;
}

ClipboardData os_get_clipboard_bmp(void) {
    if (!OpenClipboard(nullptr)) return NO_DATA;
    bool has_v5 = false, has_dib = false;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (format == CF_DIBV5) has_v5 = true;
        if (format == CF_DIB) has_dib = true;
    }
    ClipboardData result = NO_DATA;
    if (has_v5) result = bmp_from_format(CF_DIBV5, 124);
    if (!result.len && has_dib) result = bmp_from_format(CF_DIB, 40);
    CloseClipboard();
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

bool os_set_clipboard_text(Str text) {
    wchar_t *wide = os_utf16_from_utf8_alloc(text);
    if (!wide) return false;
    u64 units = wcslen(wide);
    if (!OpenClipboard(nullptr)) {
        os_free(wide);
        return false;
    }
    EmptyClipboard();
    bool placed = place(CF_UNICODETEXT, make_block(wide, units * sizeof(wchar_t), sizeof(wchar_t)));
    placed = place(CF_TEXT, make_block(text.data, text.len, 1)) && placed;
    CloseClipboard();
    os_free(wide);
    return placed;
}

bool os_set_clipboard_images(Str bmp, Str bmp_v5, Str png) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    bool placed = true;
    if (bmp.len > 54) placed = place(CF_DIB, make_block(bmp.data + 14, bmp.len - 14, 0)) && placed;
    if (bmp_v5.len > 138) placed = place(CF_DIBV5, make_block(bmp_v5.data + 14, bmp_v5.len - 14, 0)) && placed;
    if (png.len) {
        UINT format = RegisterClipboardFormatW(L"image/png");
        HGLOBAL block = make_block(png.data, png.len, 0);
        if (format) {
            placed = place(format, block) && placed;
        } else {
            if (block) GlobalFree(block);
            placed = false;
        }
    }
    CloseClipboard();
    return placed;
}

bool os_copy_window_to_clipboard(Window *window) {
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
