#include "fonts.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <stb/stb_image_write.h>

// Pixel heights (ascent minus descent) that keep every printable character,
// from the tallest bracket to the widest W, inside a 16-pixel cell.
static const double SMALL_HEIGHT = 13.0;
static const double BIGGER_HEIGHT = 15.0;

// Faint anti-aliasing specks below this are dropped so the glyph boxes stay tight.
#define FONT_MIN_ALPHA 12

unsigned char *render_font_image(const FontFile *f, double pixel_height) {
    float scale = stbtt_ScaleForPixelHeight(&f->info, (float)pixel_height);
    // One baseline for the whole font, so the scanned tops line glyphs up.
    int top = 0, bottom = 0;
    for (int cp = 33; cp < 127; cp++) {
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBox(&f->info, cp, scale, scale, &x0, &y0, &x1, &y1);
        if (y0 < top) top = y0;
        if (y1 > bottom) bottom = y1;
        if (x1 - x0 > FONT_CELL) return nullptr;
    }
    if (bottom - top > FONT_CELL) return nullptr;
    int baseline = -top + (FONT_CELL - (bottom - top)) / 2;

    unsigned char *img = (unsigned char *)calloc(FONT_IMAGE_SIZE * FONT_IMAGE_SIZE * 4, 1);
    unsigned char glyph[FONT_CELL * FONT_CELL];
    for (int cp = 33; cp < 127; cp++) {
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBox(&f->info, cp, scale, scale, &x0, &y0, &x1, &y1);
        int w = x1 - x0, h = y1 - y0;
        memset(glyph, 0, sizeof glyph);
        stbtt_MakeCodepointBitmap(&f->info, glyph, w, h, FONT_CELL, scale, scale, cp);
        int cx = (cp % 16) * FONT_CELL + (FONT_CELL - w) / 2;
        int cy = (cp / 16) * FONT_CELL + baseline + y0;
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) {
                unsigned char a = glyph[y * FONT_CELL + x];
                if (a < FONT_MIN_ALPHA) continue;
                unsigned char *d = img + ((size_t)(cy + y) * FONT_IMAGE_SIZE + cx + x) * 4;
                d[0] = d[1] = d[2] = 255;
                d[3] = a;
            }
        }
    }
    return img;
}

bool write_font_images(const char *img_dir, const Fonts *fonts) {
    struct {
        const char *name;
        const FontFile *font;
        double height;
    } images[4] = {
        {"small.png", &fonts->regular, SMALL_HEIGHT},
        {"small_bold.png", &fonts->bold, SMALL_HEIGHT},
        {"bigger.png", &fonts->regular, BIGGER_HEIGHT},
        {"bigger_bold.png", &fonts->bold, BIGGER_HEIGHT},
    };
    for (int i = 0; i < 4; i++) {
        unsigned char *img = render_font_image(images[i].font, images[i].height);
        if (!img) {
            fprintf(stderr, "datagen: %s does not fit its cells\n", images[i].name);
            return false;
        }
        char path[1024];
        snprintf(path, sizeof path, "%s/%s", img_dir, images[i].name);
        bool ok = stbi_write_png(path, FONT_IMAGE_SIZE, FONT_IMAGE_SIZE, 4, img, FONT_IMAGE_SIZE * 4) != 0;
        free(img);
        if (!ok) {
            fprintf(stderr, "datagen: cannot write %s\n", path);
            return false;
        }
    }
    return true;
}
