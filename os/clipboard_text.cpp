// The clipboards that hold UTF-8 text and nothing else (SDL's, the page's):
// the blocks their text formats are read as, and the C string they take.
#include <string.h>

#include "os/backend.h"
#include "os/memory.h"

static const ClipboardData NO_DATA = {0, nullptr};

// Bytes copied to the heap with a zero byte behind them.
static ClipboardData heap_copy(const void *bytes, u64 len) {
    char *copy = (char *)os_alloc(len + 1);
    if (!copy) return NO_DATA;
    memcpy(copy, bytes, len);
    copy[len] = 0;
    return ClipboardData{len, copy};
}

// UTF-8 as UTF-16 units with a zero unit behind them (os_free): at most one
// unit per byte.  A broken sequence gives what its bits spell, never more
// than its bytes.
static u16 *utf16_of(const char *text, u64 *units) {
    u64 len = strlen(text);
    u16 *wide = (u16 *)os_alloc((len + 1) * sizeof(u16));
    if (!wide) return nullptr;
    u64 n = 0;
    const u8 *p = (const u8 *)text;
    while (*p) {
        u32 c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more) c &= 0x3Fu >> more;
        for (int i = 0; i < more && (*p & 0xC0) == 0x80; i++) c = c << 6 | (*p++ & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            wide[n++] = (u16)(0xD800 + (c >> 10));
            wide[n++] = (u16)(0xDC00 + (c & 0x3FF));
        } else {
            wide[n++] = (u16)c;
        }
    }
    wide[n] = 0;
    *units = n;
    return wide;
}

ClipboardData clipboard_text_block(const char *text, u32 format) {
    if (!text) return NO_DATA;
    if (format == CLIPBOARD_TEXT) return heap_copy(text, strlen(text) + 1);
    if (format != CLIPBOARD_UNICODE_TEXT) return NO_DATA;
    u64 units = 0;
    u16 *wide = utf16_of(text, &units);
    if (!wide) return NO_DATA;
    ClipboardData result = heap_copy(wide, (units + 1) * sizeof(u16));
    os_free(wide);
    return result;
}

ClipboardData clipboard_text_utf8(const char *text, u32 format) {
    if (format != CLIPBOARD_UNICODE_TEXT || !text || !text[0]) return NO_DATA;
    return heap_copy(text, strlen(text));
}

char *clipboard_text_terminated(Str text) {
    char *copy = (char *)os_alloc(text.len + 1);
    if (!copy) return nullptr;
    if (text.len) memcpy(copy, text.data, text.len);
    copy[text.len] = 0;
    return copy;
}
