// The clipboard through SDL, which carries text only: the text shows as the
// Unicode and plain text formats, and every other format is absent and cannot
// be placed.  Without a display the clipboard cannot be opened.
#include <string.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/sdl/sdl_shared.h"

static const ClipboardData NO_DATA = {0, nullptr};

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
    ClipboardData result = clipboard_text_block(text, format);
    SDL_free(text);
    return result;
}

// SDL hands the text over as UTF-8 already.
ClipboardData backend_clipboard_read_text(u32 format) {
    if (format != CLIPBOARD_UNICODE_TEXT || !SDL_HasClipboardText()) return NO_DATA;
    char *text = SDL_GetClipboardText();
    ClipboardData result = clipboard_text_utf8(text, format);
    SDL_free(text);
    return result;
}

// Placing text replaces what SDL holds; it holds nothing else to take away.
void backend_clipboard_empty(void) {}

// SDL takes NUL-terminated text, so the text ends at its first zero byte.
bool backend_clipboard_place_text(Str text) {
    char *copy = clipboard_text_terminated(text);
    if (!copy) return false;
    bool placed = SDL_SetClipboardText(copy) == 0;
    if (!placed) os_printf("FAILED SDL_SetClipboardText() %s\n", SDL_GetError());
    os_free(copy);
    return placed;
}

bool backend_clipboard_place(u32, const void *, u64) { return false; }
u32 backend_clipboard_register_format(const char *) { return 0; }
bool backend_copy_window_to_clipboard(Window *) { return false; }
