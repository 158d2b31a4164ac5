// The clipboard through SDL, which carries text only: the text shows as the
// Unicode and plain text formats, and every other format is absent.  Without
// a display the clipboard cannot be opened.
#include <string.h>

#include "os/clipboard.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/sdl/sdl_shared.h"

static const ClipboardData NO_DATA = {0, nullptr};
static const u32 TEXT_FORMATS[] = {CLIPBOARD_UNICODE_TEXT, CLIPBOARD_TEXT};

// Bytes copied to the heap with a zero byte behind them.
static ClipboardData heap_copy(const void *bytes, u64 len) {
    char *copy = (char *)os_alloc(len + 1);
    if (!copy) return NO_DATA;
    memcpy(copy, bytes, len);
    copy[len] = 0;
    return ClipboardData{len, copy};
}

static bool has_text(void) { return sdl_ensure_video() && SDL_HasClipboardText(); }

int os_print_clipboard_formats(void) {
    if (!sdl_ensure_video()) return 0;
    if (SDL_HasClipboardText()) {
        for (u32 format : TEXT_FORMATS) {
            Str name = os_clipboard_standard_name(format);
            os_printf("CLIP %i = %.*s\n", (int)format, (int)name.len, name.data);
        }
    }
    return 1;
}

int os_list_clipboard_formats(ClipboardFormatCallback callback) {
    if (!sdl_ensure_video()) return 1;
    if (SDL_HasClipboardText())
        for (u32 format : TEXT_FORMATS) callback(format, os_clipboard_standard_name(format));
    return 0;
}

ClipboardData os_get_clipboard_text(void) {
    if (!has_text()) return NO_DATA;
    char *text = SDL_GetClipboardText();
    if (!text) return NO_DATA;
    ClipboardData result = text[0] ? heap_copy(text, strlen(text)) : NO_DATA;
    SDL_free(text);
    return result;
}

// The blocks the text formats would hold: the text and one zero character.
ClipboardData os_get_clipboard_data(u32 format) {
    if (format != CLIPBOARD_TEXT && format != CLIPBOARD_UNICODE_TEXT) return NO_DATA;
    if (!has_text()) return NO_DATA;
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

ClipboardData os_get_clipboard_file_name(void) { return NO_DATA; }
ClipboardData os_get_clipboard_png(void) { return NO_DATA; }
ClipboardData os_get_clipboard_bmp(void) { return NO_DATA; }

// SDL takes NUL-terminated text, so the text ends at its first zero byte.
bool os_set_clipboard_text(Str text) {
    if (!sdl_ensure_video()) return false;
    char *copy = (char *)os_alloc(text.len + 1);
    if (!copy) return false;
    if (text.len) memcpy(copy, text.data, text.len);
    copy[text.len] = 0;
    bool placed = SDL_SetClipboardText(copy) == 0;
    if (!placed) os_printf("FAILED SDL_SetClipboardText() %s\n", SDL_GetError());
    os_free(copy);
    return placed;
}

bool os_set_clipboard_images(Str bmp, Str bmp_v5, Str png) { return false; }
bool os_copy_window_to_clipboard(Window *window) { return false; }
