// The system clipboard: formats, text, file names and images.
#pragma once

#include "os/types.h"
#include "os/window.h"

// A copy of clipboard contents on the process heap, owned by the caller and
// released with os_free_clipboard_data.  Empty is {0, null}.  A zero byte
// follows the counted bytes.
struct ClipboardData {
    u64 len;
    char *data;
};
static_assert(sizeof(ClipboardData) == sizeof(Str) && offsetof(ClipboardData, data) == offsetof(Str, data),
              "ClipboardData has the layout of a Str");

enum : u32 {
    CLIPBOARD_TEXT = 1,
    CLIPBOARD_BITMAP = 2,
    CLIPBOARD_DIB = 8,
    CLIPBOARD_UNICODE_TEXT = 13,
    CLIPBOARD_DIBV5 = 17,
};

// Name and id are valid only during the call.
typedef void (*ClipboardFormatCallback)(u32 format, Str name);

// Prints "CLIP <id> = <name>" for each format; 0 if the clipboard cannot be opened.
int os_print_clipboard_formats(void);
// Names: the standard one, else the registered one, else "???".  0, or 1 if
// the clipboard cannot be opened.
int os_list_clipboard_formats(ClipboardFormatCallback callback);
ClipboardData os_get_clipboard_data(u32 format);
// UTF-8.
ClipboardData os_get_clipboard_text(void);
ClipboardData os_get_clipboard_file_name(void);
// PNG file bytes from the format named "PNG" (any case), else "image/png".
ClipboardData os_get_clipboard_png(void);
// A BMP file made from the bitmap on the clipboard.
ClipboardData os_get_clipboard_bmp(void);
void os_free_clipboard_data(ClipboardData *data);

// The set operations replace what the clipboard holds; true when everything
// asked for was placed.
bool os_set_clipboard_text(Str text);
// BMP files (the second with a version-5 header) go on as the DIB formats
// without their file header; empty or too short ones are left out.
bool os_set_clipboard_images(Str bmp, Str bmp_v5, Str png);
// The window's client area, or with null the primary screen, as a bitmap.
bool os_copy_window_to_clipboard(Window *window);

// The fixed name of a standard format, empty for any other id.
Str os_clipboard_standard_name(u32 format);
// A BMP file: a 14-byte file header followed by the whole DIB block.  Empty
// when the block is shorter than its 40-byte header or its header does not fit it.
ClipboardData os_bmp_from_dib(const void *dib, u64 size);
