#include "icon.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <stb/stb_image_write.h>

#include "diver.h"
#include "style.h"

static const int ICON_SIZES[] = {256, 48, 32, 16};
#define ICON_COUNT 4

struct Bytes {
    unsigned char *data;
    int len;
};

static void append(void *context, void *data, int size) {
    Bytes *b = (Bytes *)context;
    unsigned char *grown = (unsigned char *)realloc(b->data, (size_t)b->len + (size_t)size);
    if (!grown) return;
    memcpy(grown + b->len, data, (size_t)size);
    b->data = grown;
    b->len += size;
}

// Drawn in a 64-unit frame scaled to the size, so every size is drawn afresh
// rather than shrunk from the largest.
static Bytes draw_icon_png(int size) {
    Canvas c = canvas_create(size, size);
    double k = size / 64.0;
    canvas_frame(&c, 0, 0, size, size, k, k);
    fill(&c, box(32, 32, 31, 31, 9), linear(rgb(PAL_SEA), rgb(PAL_ABYSS), 32, 0, 32, 64));
    if (size >= 32) {
        fill(&c, circle(12, 18, 2.6), solid(rgb(PAL_FOAM, 0.55)));
        fill(&c, circle(16, 10, 1.7), solid(rgb(PAL_FOAM, 0.45)));
        fill(&c, circle(51, 40, 2.0), solid(rgb(PAL_FOAM, 0.4)));
    }
    DiverPose pose = {};
    pose.mouth = 0.6;
    pose.lamp = 0.8;
    pose.eyes = EYES_OPEN;
    // The helmet fills the tile; the suit below is cut by the rounded edge.
    draw_diver(&c, 32, 31, 0.95, &pose);
    fill(&c, grown(outline(box(32, 32, 31, 31, 9), 3), 3), erase());
    unsigned char *rgba = canvas_to_rgba8(&c, false);
    Bytes png = {nullptr, 0};
    stbi_write_png_to_func(append, &png, size, size, 4, rgba, size * 4);
    free(rgba);
    canvas_free(&c);
    return png;
}

static void put16(unsigned char *p, unsigned v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
}

static void put32(unsigned char *p, unsigned v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

bool write_icon_png(const char *path) {
    Bytes png = draw_icon_png(ICON_SIZES[0]);
    FILE *f = png.len > 0 ? fopen(path, "wb") : nullptr;
    bool ok = f && fwrite(png.data, (size_t)png.len, 1, f) == 1;
    ok = f && fclose(f) == 0 && ok;
    free(png.data);
    if (!ok) fprintf(stderr, "datagen: cannot write %s\n", path);
    return ok;
}

bool write_icon(const char *path) {
    Bytes images[ICON_COUNT];
    bool ok = true;
    for (int i = 0; i < ICON_COUNT; i++) {
        images[i] = draw_icon_png(ICON_SIZES[i]);
        ok = ok && images[i].len > 0;
    }
    // Directory: 6-byte header, then one 16-byte entry per image.
    unsigned char head[6 + 16 * ICON_COUNT] = {};
    put16(head + 2, 1);
    put16(head + 4, ICON_COUNT);
    unsigned offset = sizeof(head);
    for (int i = 0; i < ICON_COUNT; i++) {
        unsigned char *e = head + 6 + 16 * i;
        e[0] = (unsigned char)(ICON_SIZES[i] & 0xFF);  // 0 stands for 256
        e[1] = (unsigned char)(ICON_SIZES[i] & 0xFF);
        put16(e + 4, 1);
        put16(e + 6, 32);
        put32(e + 8, (unsigned)images[i].len);
        put32(e + 12, offset);
        offset += (unsigned)images[i].len;
    }
    FILE *f = ok ? fopen(path, "wb") : nullptr;
    if (f) {
        ok = fwrite(head, sizeof(head), 1, f) == 1;
        for (int i = 0; i < ICON_COUNT; i++) ok = ok && fwrite(images[i].data, (size_t)images[i].len, 1, f) == 1;
        ok = fclose(f) == 0 && ok;
    } else {
        ok = false;
    }
    for (int i = 0; i < ICON_COUNT; i++) free(images[i].data);
    if (!ok) fprintf(stderr, "datagen: cannot write %s\n", path);
    return ok;
}
