#include <string.h>

#include "os/memory.h"
#include "render/font.h"
#include "render/renderer.h"

Font font_small = {nullptr, 16, 4, -1, 0};
Font font_small_bold = {nullptr, 16, 4, -1, 0};
Font font_bigger = {nullptr, 16, 5, 0, 0};
Font font_bigger_bold = {nullptr, 16, 5, 0, 0};

static bool has_ink(const Image *image, u32 x, u32 y) {
    return image->pixels[((u64)y * image->width + x) * 4 + 3] != 0;
}

static bool column_has_ink(const Image *image, u32 x, u32 y0, u32 rows) {
    for (u32 y = y0; y < y0 + rows; y++)
        if (has_ink(image, x, y)) return true;
    return false;
}

static bool row_has_ink(const Image *image, u32 y, u32 x0, u32 columns) {
    for (u32 x = x0; x < x0 + columns; x++)
        if (has_ink(image, x, y)) return true;
    return false;
}

static Glyph scan_cell(const Image *image, u32 x0, u32 y0, u8 cell_w, u8 cell_h) {
    Glyph g = {0, 0, 0, 0, 0};
    u32 left = x0, right = x0 + cell_w;  // right: one past the last inked column
    while (left < x0 + cell_w && !column_has_ink(image, left, y0, cell_h)) left++;
    if (left == x0 + cell_w) return g;
    while (!column_has_ink(image, right - 1, y0, cell_h)) right--;
    u32 width = right - left;
    u32 top = y0, bottom = y0 + cell_h;
    while (!row_has_ink(image, top, left, width)) top++;
    while (!row_has_ink(image, bottom - 1, left, width)) bottom--;
    g.x = (u16)left;
    g.y = (u16)top;
    g.width = (u8)width;
    g.height = (u8)(bottom - top);
    g.top = (u8)(top - y0);
    return g;
}

void build_font_glyphs(const Image *image, Font *font) {
    font->glyphs = (Glyph *)os_alloc_zeroed(FONT_GLYPH_COUNT * sizeof(Glyph));
    if (!font->glyphs) return;
    u8 cell_w = (u8)(image->width / FONT_GRID);
    u8 cell_h = (u8)(image->height / FONT_GRID);
    for (u32 row = 0; row < FONT_GRID; row++) {
        for (u32 column = 0; column < FONT_GRID; column++) {
            u32 code = row * FONT_GRID + column;
            Glyph g = {0, 0, 0, 0, 0};
            if (cell_w && cell_h) g = scan_cell(image, column * cell_w, row * cell_h, cell_w, cell_h);
            if (code == ' ' && (g.width == 0 || g.height == 0)) {
                g = Glyph{0, 0, font->space_width, 0, 0};
            } else if (g.width == 0 || g.height == 0) {
                continue;
            }
            font->glyphs[code] = g;
        }
    }
}

void draw_text(i32 x, i32 y, Str text) {
    const Font *font = &font_bigger;
    if (text.len == 0 || !font->glyphs) return;
    i32 pen_x = x, pen_y = y;
    GlBuffer *batch = &renderer.instance_buffer;
    for (u64 i = 0; i < text.len; i++) {
        u8 byte = (u8)text.data[i];
        if (byte == '\n') {
            pen_x = x;
            pen_y += font->line_height;
            continue;
        }
        const Glyph *g = &font->glyphs[byte];
        SpriteInstance *s = push_instance();
        memset(s, 0, sizeof(*s));
        s->position[0] = (f32)pen_x;
        s->position[1] = (f32)(pen_y + g->top);
        s->size[0] = g->width;
        s->size[1] = g->height;
        memset(s->tint, 255, sizeof(s->tint));
        s->tex_x = g->x;
        s->tex_y = g->y;
        s->tex_w = g->width;
        s->tex_h = g->height;
        s->layer = font->layer;
        pen_x += g->width + font->spacing;
        if (batch->count >= batch->capacity) return;
    }
}

void draw_hud(f32 depth, f32 speed, f32 hope) {
    Str text = arena_printf(&temp_arena, "Depth: %f\nSpeed %f\nHope %.1f %%", (f64)depth, (f64)speed, (f64)hope);
    draw_text(10, 10, text);
}
