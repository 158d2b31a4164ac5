// Bitmap fonts: a 16 x 16 grid of character cells per image, one per byte value.
#pragma once

#include "os/types.h"
#include "render/image.h"

#define FONT_GLYPH_COUNT 256
#define FONT_GRID 16
// Each font image has a column of this width in its layer.
#define FONT_COLUMN_WIDTH 256

struct Glyph {
    u16 x;     // left texel of the ink in the layer
    u16 y;     // top texel of the ink, counted from the top
    u8 width;
    u8 height;
    u8 top;    // rows between the top of the cell and the top of the ink
};

struct Font {
    Glyph *glyphs;  // FONT_GLYPH_COUNT entries by byte value; null until built
    u8 line_height;
    u8 space_width;
    i8 spacing;  // added after every glyph
    u8 layer;
};

extern Font font_small;
extern Font font_small_bold;
extern Font font_bigger;
extern Font font_bigger_bold;

// Scans the decoded image (top row first) for the ink of every cell and stores
// the glyph table in the font.  x and y are image pixels.
void build_font_glyphs(const Image *image, Font *font);
// Pushes one instance per byte of text other than a line feed, with the
// bigger font; stops when the batch is full.  Draws nothing without glyphs.
void draw_text(i32 x, i32 y, Str text);
// The depth, speed and hope lines at (10, 10).
void draw_hud(f32 depth, f32 speed, f32 hope);
