// The clipboard of a page, which carries text only and only as the browser
// allows: text placed goes to the system's clipboard (navigator.clipboard,
// asynchronously, where the page may write), and the text a page can read
// synchronously is what it last placed or what was pasted onto it.  Every
// other format is absent and cannot be placed.
#include <emscripten.h>
#include <string.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"

static const ClipboardData NO_DATA = {0, nullptr};

// The bytes of the known text's UTF-8, watching for pastes from the first call on.
EM_JS(int, web_clipboard_length, (void), {
    if (!Module.clipboardWatched) {
        Module.clipboardWatched = true;
        Module.clipboardText = Module.clipboardText || "";
        document.addEventListener('paste', function(e) {
            var text = e.clipboardData && e.clipboardData.getData('text/plain');
            if (text) Module.clipboardText = text;
        });
    }
    return lengthBytesUTF8(Module.clipboardText || "");
});

EM_JS(void, web_clipboard_copy, (char *out, int size), { stringToUTF8(Module.clipboardText || "", out, size); });

// The known text on the heap (os_free), or null when there is none.
static char *web_clipboard_text(void) {
    int len = web_clipboard_length();
    if (len <= 0) return nullptr;
    char *text = (char *)os_alloc((u64)len + 1);
    if (text) web_clipboard_copy(text, len + 1);
    return text;
}

EM_JS(int, web_clipboard_place, (const char *text), {
    Module.clipboardText = UTF8ToString(text);
    if (!navigator.clipboard || !navigator.clipboard.writeText) return 0;
    navigator.clipboard.writeText(Module.clipboardText).catch(function() {});
    return 1;
});

bool backend_clipboard_open(void) { return true; }
void backend_clipboard_close(void) {}

static bool has_text(void) {
    char *text = web_clipboard_text();
    bool has = text && text[0];
    os_free(text);
    return has;
}

// The Unicode text first, then the plain text, as the system lists them.
u32 backend_clipboard_next_format(u32 format) {
    if (format == 0) return has_text() ? (u32)CLIPBOARD_UNICODE_TEXT : 0u;
    return format == CLIPBOARD_UNICODE_TEXT ? (u32)CLIPBOARD_TEXT : 0u;
}

u32 backend_clipboard_format_name(u32, char *, u32) { return 0; }

// The blocks the text formats would hold: the text and one zero character.
ClipboardData backend_clipboard_read(u32 format) {
    if (format != CLIPBOARD_TEXT && format != CLIPBOARD_UNICODE_TEXT) return NO_DATA;
    char *text = web_clipboard_text();
    ClipboardData result = clipboard_text_block(text, format);
    os_free(text);
    return result;
}

ClipboardData backend_clipboard_read_text(u32 format) {
    if (format != CLIPBOARD_UNICODE_TEXT) return NO_DATA;
    char *text = web_clipboard_text();
    ClipboardData result = clipboard_text_utf8(text, format);
    os_free(text);
    return result;
}

void backend_clipboard_empty(void) {}

// The text ends at its first zero byte, as a C string does.
bool backend_clipboard_place_text(Str text) {
    char *copy = clipboard_text_terminated(text);
    if (!copy) return false;
    bool placed = web_clipboard_place(copy) != 0;
    if (!placed) os_printf("FAILED navigator.clipboard.writeText the page may not write the clipboard\n");
    os_free(copy);
    return placed;
}

bool backend_clipboard_place(u32, const void *, u64) { return false; }
u32 backend_clipboard_register_format(const char *) { return 0; }
bool backend_copy_window_to_clipboard(Window *) { return false; }
