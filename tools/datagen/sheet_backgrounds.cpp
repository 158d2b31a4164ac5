// The background sheet: one picture per hope stage, from bright shallows (38)
// to the black abyss (42). Each is drawn full-window, so it is designed in a
// 1280 x 800 view and squeezed into its row.
#include <math.h>

#include "render/sprite.h"
#include "sheet.h"
#include "style.h"

static const double VIEW_W = 1280, VIEW_H = 800;
static const double PI = 3.14159265358979323846;

struct Stage {
    int row;
    int top, bottom;      // water colours
    double rays;          // strength of the light from above
    double caustics;      // shimmer near the surface
    int snow;             // marine snow specks
    int glowing;          // bioluminescent specks
    uint32_t seed;
};

static const Stage STAGES[5] = {
    {38, 0x8ff0ec, 0x2aa6c8, 0.30, 0.22, 40, 0, 380},
    {39, 0x46bfdc, 0x1f78b0, 0.20, 0.08, 80, 0, 390},
    {40, 0x2274ae, 0x113c6c, 0.12, 0.0, 140, 4, 400},
    {41, 0x13294c, 0x070e20, 0.04, 0.0, 180, 26, 410},
    {42, 0x05080f, 0x010203, 0.0, 0.0, 110, 14, 420},
};

static void water(Canvas *c, const Stage *s) {
    Color top = rgb(s->top), bottom = rgb(s->bottom);
    for (int y = c->clip_y0; y < c->clip_y1; y++) {
        double vy = (y + 0.5 - c->oy) / c->sy;
        double t = vy / VIEW_H;
        for (int x = c->clip_x0; x < c->clip_x1; x++) {
            double vx = (x + 0.5 - c->ox) / c->sx;
            Color col = mix(top, bottom, t * t * (3 - 2 * t) * 0.7 + t * 0.3);
            // Large slow clouds of darker and lighter water.
            double n = value_noise(vx / 260, vy / 200, s->seed) - 0.5;
            double k = 1 + n * 0.16;
            if (s->caustics > 0) {
                // Bright net near the surface: ridges of two noise fields.
                double a = value_noise(vx / 48, vy / 30, s->seed + 1), b = value_noise(vx / 36 + 9, vy / 26, s->seed + 2);
                double ridge = 1 - fabs(a - b) * 6;
                if (ridge > 0) k += ridge * s->caustics * (1 - t) * (1 - t);
            }
            float *d = c->px + ((size_t)y * c->w + x) * 4;
            d[0] = (float)(col.r * k > 1 ? 1 : col.r * k);
            d[1] = (float)(col.g * k > 1 ? 1 : col.g * k);
            d[2] = (float)(col.b * k > 1 ? 1 : col.b * k);
            d[3] = 1;
        }
    }
}

static void rays(Canvas *c, const Stage *s) {
    for (int i = 0; i < 9; i++) {
        double x = 60 + i * 150 + hash_unit(i, s->seed) * 60, wt = 30 + hash_unit(i, s->seed, 1) * 40;
        double wb = 90 + hash_unit(i, s->seed, 2) * 80, lean = (x - 640) * 0.35 + 80;
        double len = 500 + hash_unit(i, s->seed, 3) * 300;
        Color col = rgb(0xf4feff, s->rays * (0.6 + hash_unit(i, s->seed, 4) * 0.6));
        double pts[8] = {x - wt, -10, x + wt, -10, x + lean + wb, len, x + lean - wb, len};
        fill(c, polygon(pts, 4), soft(linear(col, with_alpha(col, 0), x, 0, x + lean, len), 6));
    }
}

static void specks(Canvas *c, const Stage *s) {
    for (int i = 0; i < s->snow; i++) {
        double x = hash_unit(i, s->seed, 5) * VIEW_W, y = hash_unit(i, s->seed, 6) * VIEW_H;
        double r = 1.2 + hash_unit(i, s->seed, 7) * 2.2;
        Color col = s->row >= 41 ? rgb(0x9fb4c8, 0.25) : rgb(0xeafcff, 0.35);
        fill(c, circle(x, y, r), solid(col));
    }
    for (int i = 0; i < s->glowing; i++) {
        double x = hash_unit(i, s->seed, 8) * VIEW_W, y = 80 + hash_unit(i, s->seed, 9) * (VIEW_H - 100);
        Color col = hash_unit(i, s->seed, 10) < 0.6 ? rgb(0x6ff6ff) : rgb(0xc08aff);
        double r = 10 + hash_unit(i, s->seed, 11) * 14;
        glow(c, x, y, r, with_alpha(col, 0.35));
        fill(c, circle(x, y, 2.0), solid(with_alpha(col, 0.9)));
    }
}

static void fish_school(Canvas *c, double cx, double cy, int n, double size, Color col, uint32_t seed) {
    for (int i = 0; i < n; i++) {
        double a = hash_unit(i, seed) * 2 * PI, r = sqrt(hash_unit(i, seed, 1)) * 110;
        double x = cx + cos(a) * r * 1.6, y = cy + sin(a) * r * 0.6;
        fill(c, ellipse(x, y, 9 * size, 3.5 * size), solid(col));
        double tail[6] = {x + 8 * size, y, x + 14 * size, y - 4 * size, x + 14 * size, y + 4 * size};
        fill(c, polygon(tail, 3), solid(col));
    }
}

static void silhouettes(Canvas *c, const Stage *s) {
    switch (s->row) {
    case 38:
        fish_school(c, 980, 260, 26, 1.3, rgb(0x1c7f9a, 0.35), 7);
        for (int i = 0; i < 24; i++) {
            double x = hash_unit(i, 12) * VIEW_W, y = 200 + hash_unit(i, 13) * 600, r = 3 + hash_unit(i, 14) * 7;
            fill(c, outline(circle(x, y, r), 1.8), solid(rgb(0xffffff, 0.35)));
        }
        break;
    case 39:
        fish_school(c, 300, 520, 30, 1.5, rgb(0x14507a, 0.4), 8);
        fish_school(c, 1040, 220, 18, 1.0, rgb(0x14507a, 0.3), 9);
        break;
    case 40: {
        // A whale far off.
        Color col = rgb(0x0e3358, 0.55);
        fill(c, ellipse(860, 420, 230, 62, -0.05), solid(col));
        fill(c, ellipse(640, 432, 80, 40, 0.1), solid(col));
        double tail[8] = {600, 430, 520, 380, 545, 432, 515, 490};
        fill(c, polygon(tail, 4), solid(col));
        double fin[6] = {880, 470, 930, 530, 960, 470};
        fill(c, polygon(fin, 3), solid(col));
        break;
    }
    case 41:
        for (int i = 0; i < 3; i++) {
            double x = 250 + i * 380, y = 240 + (i % 2) * 260;
            Color col = rgb(0x7a5ab8, 0.22);
            fill(c, ellipse(x, y, 50, 34), solid(col));
            for (int k = 0; k < 5; k++) {
                double pts[12];
                for (int j = 0; j < 6; j++) pts[2 * j] = x - 30 + k * 15 + sin(j * 0.9 + k) * 8, pts[2 * j + 1] = y + 20 + j * 28;
                fill(c, polyline(pts, 6, 2.0), solid(col));
            }
        }
        break;
    case 42:
        // Only a lure and a pair of eyes, far away in the black.
        glow(c, 930, 560, 60, rgb(0x6ff6ff, 0.22));
        fill(c, circle(930, 560, 4), solid(rgb(0xbfffff, 0.8)));
        fill(c, ellipse(990, 600, 9, 4), solid(rgb(0xd8c060, 0.3)));
        fill(c, ellipse(1030, 600, 9, 4), solid(rgb(0xd8c060, 0.3)));
        break;
    }
}

void draw_backgrounds(Canvas *c) {
    for (int i = 0; i < 5; i++) {
        const Stage *s = &STAGES[i];
        const Sprite *r = &sprite_table[s->row];
        canvas_frame(c, r->x, r->y, r->w, r->h, r->w / VIEW_W, r->h / VIEW_H);
        water(c, s);
        if (s->rays > 0) rays(c, s);
        silhouettes(c, s);
        specks(c, s);
    }
}
