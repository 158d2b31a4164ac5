// The clipboard: which format each operation reads or writes, the format
// names, and BMP files from the DIB formats.  The backends open, list, read
// and place.
#include <string.h>

#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"

static const ClipboardData NO_DATA = {0, nullptr};

struct StandardFormat {
    u32 id;
    Str name;
};

static const StandardFormat STANDARD_FORMATS[] = {
    {1, STR("TEXT")},           {2, STR("BITMAP")},        {3, STR("METAFILEPICT")},
    {4, STR("SYLK")},           {5, STR("DIF")},           {6, STR("TIFF")},
    {7, STR("OEMTEXT")},        {8, STR("DIB")},           {9, STR("PALETTE")},
    {10, STR("PENDATA")},       {11, STR("RIFF")},         {12, STR("WAVE")},
    {13, STR("UNICODETEXT")},   {14, STR("ENHMETAFILE")},  {15, STR("HDROP")},
    {16, STR("LOCALE")},        {17, STR("DIBV5")},        {128, STR("OWNERDISPLAY")},
    {130, STR("DSPBITMAP")},    {131, STR("DSPMETAFILEPICT")}, {142, STR("DSPENHMETAFILE")},
    {512, STR("PRIVATEFIRST")}, {767, STR("PRIVATELAST")}, {768, STR("GDIOBJFIRST")},
    {1023, STR("GDIOBJLAST")},
};

Str os_clipboard_standard_name(u32 format) {
    for (const StandardFormat &f : STANDARD_FORMATS)
        if (f.id == format) return f.name;
    return Str{0, nullptr};
}

void os_free_clipboard_data(ClipboardData *data) {
    if (data->data) os_free(data->data);
    data->data = nullptr;
    data->len = 0;
}

static u32 read_u32(const u8 *p) { return (u32)p[0] | (u32)p[1] << 8 | (u32)p[2] << 16 | (u32)p[3] << 24; }
static u16 read_u16(const u8 *p) { return (u16)(p[0] | p[1] << 8); }
static void write_u32(u8 *p, u32 v) {
    p[0] = (u8)v;
    p[1] = (u8)(v >> 8);
    p[2] = (u8)(v >> 16);
    p[3] = (u8)(v >> 24);
}

enum : u32 { DIB_RGB = 0, DIB_BITFIELDS = 3, DIB_ALPHABITFIELDS = 6 };

// The pixel offset and file size are worked out from the bitmap itself: a
// 40-byte header may be followed by colour masks and a colour table, and an
// uncompressed bitmap may leave its image-size field 0.
ClipboardData os_bmp_from_dib(const void *dib, u64 size) {
    ClipboardData result = {0, nullptr};
    const u8 *block = (const u8 *)dib;
    if (size < 40) return result;
    u32 header_size = read_u32(block);
    if (header_size < 40 || header_size > size) return result;
    i32 width = (i32)read_u32(block + 4);
    i32 height = (i32)read_u32(block + 8);
    u16 bits = read_u16(block + 14);
    u32 compression = read_u32(block + 16);
    u32 image_size = read_u32(block + 20);
    u32 colours_used = read_u32(block + 32);

    u64 masks = 0;
    if (header_size == 40 && compression == DIB_BITFIELDS) masks = 12;
    if (header_size == 40 && compression == DIB_ALPHABITFIELDS) masks = 16;
    u64 colours = colours_used ? colours_used : (bits >= 1 && bits <= 8 ? 1u << bits : 0);
    u64 offset = 14 + (u64)header_size + masks + colours * 4;
    if (offset > size + 14) return result;  // the pixels would start past the block
    u64 pixels = image_size;
    if (pixels == 0 && (compression == DIB_RGB || compression == DIB_BITFIELDS || compression == DIB_ALPHABITFIELDS)) {
        u64 row = ((u64)(width < 0 ? -(i64)width : width) * bits + 31) / 32 * 4;
        pixels = row * (u64)(height < 0 ? -(i64)height : height);
    }
    u64 file_size = offset + pixels;

    u8 *out = (u8 *)os_alloc(size + 14 + 1);
    if (!out) return result;
    out[0] = 'B';
    out[1] = 'M';
    write_u32(out + 2, file_size > 0xffffffffu ? 0xffffffffu : (u32)file_size);
    write_u32(out + 6, 0);
    write_u32(out + 10, (u32)offset);
    memcpy(out + 14, block, size);
    result.len = file_size < size + 14 ? file_size : size + 14;
    out[result.len] = 0;
    result.data = (char *)out;
    return result;
}

// Registered names are read up to 127 characters of UTF-16, three bytes each at most.
#define CLIPBOARD_NAME_BYTES (128 * 3)

static u32 first_format(void) { return backend_clipboard_next_format(0); }

static Str registered_name(u32 format, char *buffer) {
    return Str{backend_clipboard_format_name(format, buffer, CLIPBOARD_NAME_BYTES), buffer};
}

static bool ascii_equal_any_case(Str a, Str b) {
    if (a.len != b.len) return false;
    for (u64 i = 0; i < a.len; i++) {
        char x = a.data[i], y = b.data[i];
        if (x >= 'a' && x <= 'z') x = (char)(x - 32);
        if (y >= 'a' && y <= 'z') y = (char)(y - 32);
        if (x != y) return false;
    }
    return true;
}

int os_print_clipboard_formats(void) {
    if (!backend_clipboard_open()) return 0;
    char buffer[CLIPBOARD_NAME_BYTES];
    for (u32 format = first_format(); format; format = backend_clipboard_next_format(format)) {
        Str shown = registered_name(format, buffer);
        if (!shown.len) shown = os_clipboard_standard_name(format);
        if (!shown.len) shown = STR("??? UNKNOWN");
        os_printf("CLIP %i = %.*s\n", (int)format, (int)shown.len, shown.data);
    }
    backend_clipboard_close();
    return 1;
}

int os_list_clipboard_formats(ClipboardFormatCallback callback) {
    if (!backend_clipboard_open()) return 1;
    char buffer[CLIPBOARD_NAME_BYTES];
    for (u32 format = first_format(); format; format = backend_clipboard_next_format(format)) {
        Str given = os_clipboard_standard_name(format);
        if (!given.len) given = registered_name(format, buffer);
        if (!given.len) given = STR("???");
        callback(format, given);
    }
    backend_clipboard_close();
    return 0;
}

ClipboardData os_get_clipboard_data(u32 format) {
    if (!backend_clipboard_open()) return NO_DATA;
    ClipboardData result = backend_clipboard_read(format);
    backend_clipboard_close();
    return result;
}

ClipboardData os_get_clipboard_text(void) {
    if (!backend_clipboard_open()) return NO_DATA;
    ClipboardData result = backend_clipboard_read_text(CLIPBOARD_UNICODE_TEXT);
    if (!result.len) {
        // Plain text, byte for byte, up to its first zero byte.
        result = backend_clipboard_read(CLIPBOARD_TEXT);
        if (result.data) result.len = strnlen(result.data, result.len);
        if (!result.len) os_free_clipboard_data(&result);
    }
    backend_clipboard_close();
    return result;
}

ClipboardData os_get_clipboard_file_name(void) {
    if (!backend_clipboard_open()) return NO_DATA;
    ClipboardData result = NO_DATA;
    char buffer[CLIPBOARD_NAME_BYTES];
    for (u32 format = first_format(); format; format = backend_clipboard_next_format(format)) {
        if (!str_equal(registered_name(format, buffer), STR("FileNameW"))) continue;
        result = backend_clipboard_read_text(format);
        break;
    }
    backend_clipboard_close();
    return result;
}

ClipboardData os_get_clipboard_png(void) {
    if (!backend_clipboard_open()) return NO_DATA;
    u32 png = 0, image_png = 0;
    char buffer[CLIPBOARD_NAME_BYTES];
    for (u32 format = first_format(); format; format = backend_clipboard_next_format(format)) {
        Str name = registered_name(format, buffer);
        if (!png && ascii_equal_any_case(name, STR("PNG"))) png = format;
        if (!image_png && str_equal(name, STR("image/png"))) image_png = format;
    }
    ClipboardData result = NO_DATA;
    if (png) result = backend_clipboard_read(png);
    if (!result.len && image_png) result = backend_clipboard_read(image_png);
    backend_clipboard_close();
    return result;
}

// Empty when the format is missing or its block is shorter than the header it needs.
static ClipboardData bmp_from_format(u32 format, u64 min_size) {
    ClipboardData block = backend_clipboard_read(format);
    ClipboardData result = block.len >= min_size ? os_bmp_from_dib(block.data, block.len) : NO_DATA;
    os_free_clipboard_data(&block);
    return result;
}

ClipboardData os_get_clipboard_bmp(void) {
    if (!backend_clipboard_open()) return NO_DATA;
    bool has_v5 = false, has_dib = false;
    for (u32 format = first_format(); format; format = backend_clipboard_next_format(format)) {
        if (format == CLIPBOARD_DIBV5) has_v5 = true;
        if (format == CLIPBOARD_DIB) has_dib = true;
    }
    ClipboardData result = NO_DATA;
    if (has_v5) result = bmp_from_format(CLIPBOARD_DIBV5, 124);
    if (!result.len && has_dib) result = bmp_from_format(CLIPBOARD_DIB, 40);
    backend_clipboard_close();
    return result;
}

bool os_set_clipboard_text(Str text) {
    if (!backend_clipboard_open()) return false;
    backend_clipboard_empty();
    bool placed = backend_clipboard_place_text(text);
    backend_clipboard_close();
    return placed;
}

// The DIB formats hold the files without their 14-byte file header; a file no
// longer than its headers is left out.
bool os_set_clipboard_images(Str bmp, Str bmp_v5, Str png) {
    if (!backend_clipboard_open()) return false;
    backend_clipboard_empty();
    bool placed = true;
    if (bmp.len > 54) placed = backend_clipboard_place(CLIPBOARD_DIB, bmp.data + 14, bmp.len - 14) && placed;
    if (bmp_v5.len > 138)
        placed = backend_clipboard_place(CLIPBOARD_DIBV5, bmp_v5.data + 14, bmp_v5.len - 14) && placed;
    if (png.len) {
        u32 format = backend_clipboard_register_format("image/png");
        placed = format && backend_clipboard_place(format, png.data, png.len) && placed;
    }
    backend_clipboard_close();
    return placed;
}

bool os_copy_window_to_clipboard(Window *window) { return backend_copy_window_to_clipboard(window); }
