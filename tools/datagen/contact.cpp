#include "contact.h"

#include <stdio.h>

#include "render/sprite.h"
#include "style.h"

#define CONTACT_CELL 240
#define CONTACT_COLS 8
#define CONTACT_THUMB_W 224
#define CONTACT_THUMB_H 200

// Copies a rectangle of src into dst at (dx, dy), scaled by k with an area filter.
static void blit_scaled(Canvas *dst, int dx, int dy, const Canvas *src, int sx, int sy, int sw, int sh, double k) {
    int w = (int)(sw * k + 0.5), h = (int)(sh * k + 0.5);
    for (int y = 0; y < h; y++) {
        int y0 = sy + (int)(y / k), y1 = sy + (int)((y + 1) / k);
        if (y1 <= y0) y1 = y0 + 1;
        for (int x = 0; x < w; x++) {
            int x0 = sx + (int)(x / k), x1 = sx + (int)((x + 1) / k);
            if (x1 <= x0) x1 = x0 + 1;
            double acc[4] = {};
            for (int yy = y0; yy < y1; yy++)
                for (int xx = x0; xx < x1; xx++)
                    for (int i = 0; i < 4; i++) acc[i] += src->px[((size_t)yy * src->w + xx) * 4 + i];
            double n = (double)(x1 - x0) * (y1 - y0);
            float *d = dst->px + ((size_t)(dy + y) * dst->w + dx + x) * 4;
            double a = acc[3] / n;
            for (int i = 0; i < 4; i++) d[i] = (float)(acc[i] / n + d[i] * (1 - a));
        }
    }
}

Canvas draw_contact_sheet(const Canvas *sprites, const Canvas *backgrounds, const Fonts *fonts) {
    int rows = (SPRITE_TABLE_ROWS + CONTACT_COLS - 1) / CONTACT_COLS;
    Canvas out = canvas_create(CONTACT_COLS * CONTACT_CELL, rows * CONTACT_CELL);
    fill_rect_all(&out, solid(rgb(0x1b2530)));
    for (int i = 0; i < SPRITE_TABLE_ROWS; i++) {
        const Sprite *s = &sprite_table[i];
        const Canvas *src = i < SPRITE_FIRST_BACKGROUND_ROW ? sprites : backgrounds;
        int frames = s->frame_count > 1 ? s->frame_count : 1;
        int sw = s->w * frames, sh = s->h;
        double k = (double)CONTACT_THUMB_W / sw;
        if ((double)CONTACT_THUMB_H / sh < k) k = (double)CONTACT_THUMB_H / sh;
        if (k > 3) k = 3;
        int cx = (i % CONTACT_COLS) * CONTACT_CELL, cy = (i / CONTACT_COLS) * CONTACT_CELL;
        int tw = (int)(sw * k + 0.5), th = (int)(sh * k + 0.5);
        int tx = cx + (CONTACT_CELL - tw) / 2, ty = cy + 8 + (CONTACT_THUMB_H - th) / 2;
        // A checkerboard shows what is transparent.
        canvas_frame(&out, tx, ty, tw, th);
        for (int y = 0; y < th; y += 8)
            for (int x = 0; x < tw; x += 8)
                fill(&out, box(x + 4, y + 4, 4, 4), solid(rgb(((x + y) / 8) % 2 ? 0x3a4654 : 0x2c3642)));
        blit_scaled(&out, tx, ty, src, s->x, s->y, sw, sh, k);
        canvas_frame(&out, cx, cy, CONTACT_CELL, CONTACT_CELL);
        for (int f = 1; f < frames; f++) {
            double x = tx - cx + s->w * k * f;
            fill(&out, capsule(x, ty - cy, x, ty - cy + th, 0.6, 0.6), solid(rgb(0xffd75a, 0.8)));
        }
        char text[64];
        if (frames > 1)
            snprintf(text, sizeof text, "%d   %dx%d, %d frames", i, s->w, s->h, frames);
        else if (i >= 11 && i <= 15)
            snprintf(text, sizeof text, "%d   %dx%d (unused)", i, s->w, s->h);
        else
            snprintf(text, sizeof text, "%d   %dx%d", i, s->w, s->h);
        draw_label(&out, &fonts->bold, text, CONTACT_CELL / 2, CONTACT_CELL - 12, 17, solid(rgb(0xeafcff)), rgb(0), 0);
    }
    canvas_frame(&out, 0, 0, out.w, out.h);
    return out;
}
