#include <string.h>

#include "os/clipboard.h"
#include "os/memory.h"

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
