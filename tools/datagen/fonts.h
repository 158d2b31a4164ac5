// The four bitmap fonts: 16 x 16 cells of 16 x 16 pixels, one per byte value.
#pragma once

#include "sheet.h"

#define FONT_IMAGE_SIZE 256
#define FONT_CELL 16

bool write_font_images(const char *img_dir, const Fonts *fonts);
// Renders one font image (RGBA, FONT_IMAGE_SIZE square); caller frees.
unsigned char *render_font_image(const FontFile *f, double pixel_height);
