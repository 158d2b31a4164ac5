// Built without a display backend: the clipboard never opens, so the shared
// clipboard code reaches no other hook here but the copy of a window.
#include "os/backend.h"

static const ClipboardData NO_DATA = {0, nullptr};

bool backend_clipboard_open(void) { return false; }
void backend_clipboard_close(void) {}
u32 backend_clipboard_next_format(u32) { return 0; }
u32 backend_clipboard_format_name(u32, char *, u32) { return 0; }
ClipboardData backend_clipboard_read(u32) { return NO_DATA; }
ClipboardData backend_clipboard_read_text(u32) { return NO_DATA; }
void backend_clipboard_empty(void) {}
bool backend_clipboard_place_text(Str) { return false; }
bool backend_clipboard_place(u32, const void *, u64) { return false; }
u32 backend_clipboard_register_format(const char *) { return 0; }
bool backend_copy_window_to_clipboard(Window *) { return false; }
