#include "text.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

bool font_load(FontFile *f, const char *path) {
    *f = FontFile{};
    FILE *file = fopen(path, "rb");
    if (!file) return false;
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    fseek(file, 0, SEEK_SET);
    f->data = (unsigned char *)malloc(size > 0 ? (size_t)size : 1);
    bool ok = size > 0 && fread(f->data, 1, (size_t)size, file) == (size_t)size;
    fclose(file);
    if (ok) ok = stbtt_InitFont(&f->info, f->data, stbtt_GetFontOffsetForIndex(f->data, 0)) != 0;
    if (!ok) {
        free(f->data);
        *f = FontFile{};
    }
    return ok;
}

double text_width(const FontFile *f, const char *text, double size) {
    double scale = stbtt_ScaleForPixelHeight(&f->info, (float)size);
    double w = 0;
    for (const char *p = text; *p; p++) {
        int adv, lsb;
        stbtt_GetCodepointHMetrics(&f->info, (unsigned char)*p, &adv, &lsb);
        w += adv * scale;
        if (p[1]) w += scale * stbtt_GetCodepointKernAdvance(&f->info, (unsigned char)*p, (unsigned char)p[1]);
    }
    return w;
}

void text_to_mask(Mask *m, const Canvas *c, const FontFile *f, const char *text, double x, double baseline, double size) {
    double scale = stbtt_ScaleForPixelHeight(&f->info, (float)(size * c->sy));
    double pen = c->ox + x * c->sx;
    double base = c->oy + baseline * c->sy;
    int by = (int)floor(base);
    double shift_y = base - by;
    for (const char *p = text; *p; p++) {
        int cp = (unsigned char)*p;
        int bx = (int)floor(pen);
        double shift_x = pen - bx;
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(&f->info, cp, (float)scale, (float)scale, (float)shift_x, (float)shift_y, &x0, &y0,
                                            &x1, &y1);
        int gw = x1 - x0, gh = y1 - y0;
        if (gw > 0 && gh > 0) {
            unsigned char *buf = (unsigned char *)calloc((size_t)gw * gh, 1);
            stbtt_MakeCodepointBitmapSubpixel(&f->info, buf, gw, gh, gw, (float)scale, (float)scale, (float)shift_x,
                                              (float)shift_y, cp);
            for (int y = 0; y < gh; y++) {
                int my = by + y0 + y - m->y0;
                if (my < 0 || my >= m->h) continue;
                for (int xx = 0; xx < gw; xx++) {
                    int mx = bx + x0 + xx - m->x0;
                    if (mx < 0 || mx >= m->w) continue;
                    float v = buf[y * gw + xx] / 255.0f;
                    float *d = m->a + (size_t)my * m->w + mx;
                    *d = *d + v > 1 ? 1 : *d + v;
                }
            }
            free(buf);
        }
        int adv, lsb;
        stbtt_GetCodepointHMetrics(&f->info, cp, &adv, &lsb);
        pen += adv * scale;
        if (p[1]) pen += scale * stbtt_GetCodepointKernAdvance(&f->info, cp, (unsigned char)p[1]);
    }
}

void draw_label(Canvas *c, const FontFile *f, const char *text, double cx, double baseline, double size, Paint fill_paint,
                Color outline_color, double outline_px) {
    Mask m = mask_for_clip(c);
    double w = text_width(f, text, size);
    text_to_mask(&m, c, f, text, cx - w * 0.5, baseline, size);
    if (outline_px > 0) {
        Mask o = mask_for_clip(c);
        mask_dilate(&o, &m, outline_px);
        mask_fill(c, &o, solid(outline_color));
        mask_free(&o);
    }
    mask_fill(c, &m, fill_paint);
    mask_free(&m);
}
