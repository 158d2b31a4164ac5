// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/clipboard.h"

static const ClipboardData NO_DATA = {0, nullptr};

int os_print_clipboard_formats(void) { return 0; }
int os_list_clipboard_formats(ClipboardFormatCallback callback) { return 1; }
ClipboardData os_get_clipboard_data(u32 format) { return NO_DATA; }
ClipboardData os_get_clipboard_text(void) { return NO_DATA; }
ClipboardData os_get_clipboard_file_name(void) { return NO_DATA; }
ClipboardData os_get_clipboard_png(void) { return NO_DATA; }
ClipboardData os_get_clipboard_bmp(void) { return NO_DATA; }
bool os_set_clipboard_text(Str text) { return false; }
bool os_set_clipboard_images(Str bmp, Str bmp_v5, Str png) { return false; }
bool os_copy_window_to_clipboard(Window *window) { return false; }
