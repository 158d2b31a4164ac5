#include <windows.h>
#include <string.h>

#include "os/memory.h"
#include "os/win32/utf16.h"

// The system calls take int counts.
static bool fits_int(u64 len) { return len <= 0x7FFFFFFF; }

wchar_t *os_utf16_from_utf8_alloc(Str text) {
    if (!fits_int(text.len)) return nullptr;
    int units = 0;
    if (text.len > 0) {
        units = MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, nullptr, 0);
        if (units <= 0) return nullptr;
    }
    wchar_t *out = (wchar_t *)os_alloc(((u64)units + 1) * sizeof(wchar_t));
    if (!out) return nullptr;
    if (units > 0 && MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, out, units) != units) {
        os_free(out);
        return nullptr;
    }
    out[units] = 0;
    return out;
}

int os_utf16_from_utf8(Str text, wchar_t *out, int out_units) {
    if (out_units <= 0) return 0;
    out[0] = 0;
    if (text.len == 0 || !fits_int(text.len)) return 0;
    int units = MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, nullptr, 0);
    if (units <= 0) return 0;
    if (units < out_units) {
        MultiByteToWideChar(CP_UTF8, 0, text.data, (int)text.len, out, units);
        out[units] = 0;
        return units;
    }
    wchar_t *whole = os_utf16_from_utf8_alloc(text);
    if (!whole) return 0;
    int keep = out_units - 1;
    // Never keep the first half of a surrogate pair without its second.
    if (keep > 0 && whole[keep - 1] >= 0xD800 && whole[keep - 1] <= 0xDBFF) keep--;
    memcpy(out, whole, (size_t)keep * sizeof(wchar_t));
    out[keep] = 0;
    os_free(whole);
    return keep;
}

Str os_utf8_from_utf16(const wchar_t *text, int units) {
    if (!text) return Str{0, nullptr};
    if (units < 0) units = (int)wcslen(text);
    int bytes = 0;
    if (units > 0) {
        bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0) return Str{0, nullptr};
    }
    char *out = (char *)os_alloc((u64)bytes + 1);
    if (!out) return Str{0, nullptr};
    if (bytes > 0 && WideCharToMultiByte(CP_UTF8, 0, text, units, out, bytes, nullptr, nullptr) != bytes) {
        os_free(out);
        return Str{0, nullptr};
    }
    out[bytes] = 0;
    return Str{(u64)bytes, out};
}
