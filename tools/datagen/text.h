// Text drawn from TrueType outlines into coverage masks.
#pragma once

#include <stb/stb_truetype.h>

#include "raster.h"

struct FontFile {
    stbtt_fontinfo info;
    unsigned char *data;
};

bool font_load(FontFile *f, const char *path);
// Advance width of the text at a pixel height (ascent minus descent).
double text_width(const FontFile *f, const char *text, double size);
// Adds the text's coverage to the mask; x and baseline in the canvas's local frame.
void text_to_mask(Mask *m, const Canvas *c, const FontFile *f, const char *text, double x, double baseline, double size);
// Text with an optional outline (outline_px 0 for none), centred on cx.
void draw_label(Canvas *c, const FontFile *f, const char *text, double cx, double baseline, double size, Paint fill_paint,
                Color outline_color, double outline_px);
