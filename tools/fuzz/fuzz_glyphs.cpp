// libFuzzer target for the glyph scan on arbitrary images.  The first three
// bytes give the width (1 to 512) and the height (1 to 256); the rest,
// repeated, are the pixels, in an allocation of exactly the image's size.
#include <stdlib.h>
#include <string.h>

#include "os/memory.h"
#include "render/font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3) return 0;
    u32 width = 1 + data[0] + (data[1] & 1u) * 256;
    u32 height = 1 + data[2];
    // Kept to 16K pixels (a 256 x 64 font), so that a run stays quick.
    if (width * height > (1u << 14)) height = (1u << 14) / width;
    u64 bytes = (u64)width * height * 4;
    u8 *pixels = (u8 *)malloc(bytes);
    const u8 *pattern = data + 3;
    u64 filled = size - 3 < bytes ? size - 3 : bytes;
    memcpy(pixels, pattern, filled);
    if (filled == 0) memset(pixels, 0, bytes);
    for (filled = filled ? filled : bytes; filled < bytes; filled *= 2)
        memcpy(pixels + filled, pixels, filled < bytes - filled ? filled : bytes - filled);

    Image image = {width, height, pixels, (u32)bytes};
    Font font = {nullptr, 16, 4, -1, 0};
    build_font_glyphs(&image, &font);
    if (!font.glyphs) abort();
    u32 cell_w = (u8)(width / FONT_GRID), cell_h = (u8)(height / FONT_GRID);
    for (u32 code = 0; code < FONT_GLYPH_COUNT; code++) {
        const Glyph &g = font.glyphs[code];
        if (!g.width || !g.height) continue;
        // Every glyph lies inside its own cell and inside the image.
        u32 x0 = code % FONT_GRID * cell_w, y0 = code / FONT_GRID * cell_h;
        if (g.x < x0 || g.x + g.width > x0 + cell_w || g.y < y0 || g.y + g.height > y0 + cell_h) abort();
        if (g.x + g.width > width || g.y + g.height > height || g.y - y0 != g.top) abort();
    }
    os_free(font.glyphs);
    free(pixels);
    return 0;
}
