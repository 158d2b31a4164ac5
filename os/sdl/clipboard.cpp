// The clipboard through SDL, which carries text only: the text shows as the
// Unicode and plain text formats, and every other format is absent and cannot
// be placed.  Without a display the clipboard cannot be opened.
#include <string.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/sdl/sdl_shared.h"

static const ClipboardData NO_DATA = {0, nullptr};

// Bytes copied to the heap with a zero byte behind them.
static ClipboardData heap_copy(const void *bytes, u64 len) {
    char *copy = (char *)os_alloc(len + 1);
    if (!copy) return NO_DATA;
    memcpy(copy, bytes, len);
    copy[len] = 0;
    return ClipboardData{len, copy};
}

bool backend_clipboard_open(void) { return sdl_ensure_video(); }
void backend_clipboard_close(void) {}

// The Unicode text first, then the plain text, as the system lists them.
u32 backend_clipboard_next_format(u32 format) {
    if (format == 0) return SDL_HasClipboardText() ? (u32)CLIPBOARD_UNICODE_TEXT : 0u;
    return format == CLIPBOARD_UNICODE_TEXT ? (u32)CLIPBOARD_TEXT : 0u;
}

// SDL's formats are the standard ones; none has a registered name.
u32 backend_clipboard_format_name(u32, char *, u32) { return 0; }

// The blocks the text formats would hold: the text and one zero character.
ClipboardData backend_clipboard_read(u32 format) {
    if (format != CLIPBOARD_TEXT && format != CLIPBOARD_UNICODE_TEXT) return NO_DATA;
    if (!SDL_HasClipboardText()) return NO_DATA;
    char *text = SDL_GetClipboardText();
    if (!text) return NO_DATA;
    ClipboardData result = NO_DATA;
    if (format == CLIPBOARD_TEXT) {
        result = heap_copy(text, strlen(text) + 1);
    } else {
        u16 *wide = (u16 *)SDL_iconv_string("UTF-16LE", "UTF-8", text, strlen(text) + 1);
        if (wide) {
            u64 units = 0;
            while (wide[units]) units++;
            result = heap_copy(wide, (units + 1) * sizeof(u16));
            SDL_free(wide);
        }
    }
    SDL_free(text);
    return result;
}

// SDL hands the text over as UTF-8 already.
ClipboardData backend_clipboard_read_text(u32 format) {
    if (format != CLIPBOARD_UNICODE_TEXT || !SDL_HasClipboardText()) return NO_DATA;
    char *text = SDL_GetClipboardText();
    if (!text) return NO_DATA;
    ClipboardData result = text[0] ? heap_copy(text, strlen(text)) : NO_DATA;
    SDL_free(text);
    return result;
}

// Placing text replaces what SDL holds; it holds nothing else to take away.
void backend_clipboard_empty(void) {}

// SDL takes NUL-terminated text, so the text ends at its first zero byte.
bool backend_clipboard_place_text(Str text) {
    char *copy = (char *)os_alloc(text.len + 1);
    if (!copy) return false;
    if (text.len) memcpy(copy, text.data, text.len);
    copy[text.len] = 0;
    bool placed = SDL_SetClipboardText(copy) == 0;
    if (!placed) os_printf("FAILED SDL_SetClipboardText() %s\n", SDL_GetError());
    os_free(copy);
    return placed;
}

bool backend_clipboard_place(u32, const void *, u64) { return false; }
u32 backend_clipboard_register_format(const char *) { return 0; }
bool backend_copy_window_to_clipboard(Window *) { return false; }
