// The larger pictures: the surface, the start prompt and the opening sequence.
#include <math.h>

#include "diver.h"
#include "sheet.h"
#include "style.h"

static const double PI = 3.14159265358979323846;

// Draws a line of text centred on cx, shrunk to fit max_w.
static void label(Canvas *c, const FontFile *f, const char *text, double cx, double baseline, double size, double max_w,
                  Paint p, double outline_px) {
    double w = text_width(f, text, size);
    if (w > max_w) size *= max_w / w;
    draw_label(c, f, text, cx, baseline, size, p, rgb(PAL_INK), outline_px);
}

static void light_ray(Canvas *c, double x_top, double w_top, double w_bottom, double lean, double len, Color col) {
    double pts[8] = {x_top - w_top, 0, x_top + w_top, 0, x_top + lean + w_bottom, len, x_top + lean - w_bottom, len};
    fill(c, polygon(pts, 4), soft(linear(col, with_alpha(col, 0), x_top, 0, x_top + lean, len), 3));
}

static void small_fish(Canvas *c, double x, double y, double s, Color col) {
    fill(c, ellipse(x, y, 7 * s, 3 * s), solid(col));
    double tail[6] = {x + 6 * s, y, x + 11 * s, y - 3.5 * s, x + 11 * s, y + 3.5 * s};
    fill(c, polygon(tail, 3), solid(col));
}

static void anchor_shape(Canvas *c, double x, double y) {
    Color iron = rgb(0x3a4452);
    fill(c, grown(outline(circle(x, y, 6), 3), 1.3), solid(rgb(PAL_INK)));
    fill(c, outline(circle(x, y, 6), 3), solid(iron));
    inked(c, capsule(x, y + 6, x, y + 46, 3, 3), solid(iron));
    inked(c, capsule(x - 12, y + 16, x + 12, y + 16, 2.5, 2.5), solid(iron));
    double arc[2 * 9];
    for (int i = 0; i < 9; i++) {
        double a = PI * 0.1 + i * PI * 0.8 / 8;
        arc[2 * i] = x - cos(a) * 20;
        arc[2 * i + 1] = y + 30 + sin(a) * 16;
    }
    fill(c, polyline(arc, 9, 4.3), solid(rgb(PAL_INK)));
    fill(c, polyline(arc, 9, 3), solid(iron));
    double fl[6] = {x - 22, y + 30, x - 14, y + 38, x - 23, y + 40};
    double fr[6] = {x + 22, y + 30, x + 14, y + 38, x + 23, y + 40};
    inked(c, polygon(fl, 3), solid(iron), 1.0);
    inked(c, polygon(fr, 3), solid(iron), 1.0);
}

void draw_surface(Canvas *c) {
    frame_of(c, 30, 0);
    const double W = 1285;
    // Sun rays fanning down from the surface.
    for (int i = 0; i < 14; i++) {
        double x = 40 + i * 92 + hash_unit(i, 30) * 40;
        light_ray(c, x, 14 + hash_unit(i, 31) * 14, 40 + hash_unit(i, 32) * 30, (x - 640) * 0.25, 280,
                  rgb(0xeafcff, 0.22 + hash_unit(i, 33) * 0.12));
    }
    // Pier piles at both ends, fading into the water.
    double piles[4] = {70, 150, 1140, 1222};
    for (int i = 0; i < 4; i++) {
        double x = piles[i];
        fill(c, box(x, 150, 17, 160, 5), linear(rgb(PAL_INK, 0.95), rgb(PAL_INK, 0.0), 0, 20, 0, 294));
        fill(c, box(x, 150, 15, 160, 4), linear(rgb(PAL_WOOD, 1.0), rgb(PAL_WOOD_DARK, 0.0), 0, 20, 0, 290));
        for (int k = 0; k < 7; k++) {
            double by = 30 + k * 24 + hash_unit(i, k, 34) * 10, bx = x - 12 + hash_unit(i, k, 35) * 24;
            fill(c, circle(bx, by, 3 + hash_unit(i, k, 36) * 2), solid(rgb(0xd8d0b8, 0.8 - k * 0.1)));
        }
        double weed[2 * 8];
        for (int k = 0; k < 8; k++) weed[2 * k] = x + 16 + sin(k * 0.9 + i) * 5, weed[2 * k + 1] = 20 + k * 16;
        fill(c, polyline(weed, 8, 2.5), solid(rgb(PAL_KELP, 0.8)));
    }
    // The underside of the surface: a bright rippling band.
    double wave[2 * 66];
    for (int i = 0; i <= 63; i++) {
        double x = i * W / 63;
        wave[2 * i] = x;
        wave[2 * i + 1] = 16 + sin(x * 0.031) * 4 + sin(x * 0.077 + 1.3) * 2.5;
    }
    wave[2 * 64] = W, wave[2 * 64 + 1] = -2;
    wave[2 * 65] = 0, wave[2 * 65 + 1] = -2;
    fill(c, polygon(wave, 66), linear(rgb(0xffffff, 0.95), rgb(PAL_AQUA, 0.85), 0, 0, 0, 22));
    fill(c, polyline(wave, 64, 1.6), solid(rgb(0xffffff, 0.9)));
    // Boat hull seen from below, with its anchor line.
    double hull[2 * 14];
    for (int i = 0; i < 12; i++) {
        double t = i / 11.0;
        hull[2 * i] = 440 + t * 380;
        hull[2 * i + 1] = 10 + sin(t * PI) * 52 + (t > 0.8 ? (t - 0.8) * -40 : 0);
    }
    hull[2 * 12] = 830, hull[2 * 12 + 1] = -2;
    hull[2 * 13] = 430, hull[2 * 13 + 1] = -2;
    inked(c, polygon(hull, 14), linear(rgb(PAL_WOOD), rgb(PAL_WOOD_DARK), 0, 0, 0, 60), 2.0);
    fill(c, box(630, 14, 190, 4, 2), solid(rgb(PAL_CORAL, 0.9)));
    for (int i = 0; i < 5; i++) fill(c, capsule(470 + i * 70, 6, 480 + i * 70, 8 + sin((i + 0.5) / 5 * PI) * 46, 0.8, 0.8), solid(rgb(PAL_WOOD_DARK)));
    double rope[2 * 12];
    for (int i = 0; i < 12; i++) rope[2 * i] = 790 + sin(i * 0.5) * 6, rope[2 * i + 1] = 40 + i * 17;
    fill(c, polyline(rope, 12, 2.4), solid(rgb(PAL_INK)));
    fill(c, polyline(rope, 12, 1.5), solid(rgb(PAL_SAND)));
    anchor_shape(c, rope[22], rope[23] - 4);
    // A school of little fish.
    for (int i = 0; i < 16; i++) {
        double x = 960 + (i % 6) * 24 + hash_unit(i, 37) * 10, y = 110 + (i / 6) * 18 + hash_unit(i, 38) * 8;
        small_fish(c, x, y, 1.1, rgb(0xc8eef5, 0.85));
    }
    for (int i = 0; i < 10; i++) {
        double x = 250 + (i % 5) * 22 + hash_unit(i, 39) * 8, y = 190 + (i / 5) * 16;
        small_fish(c, x, y, 0.9, rgb(0xc8eef5, 0.6));
    }
    // Bubbles rising from below.
    for (int i = 0; i < 30; i++) {
        double x = hash_unit(i, 40) * W, y = 40 + hash_unit(i, 41) * 240, r = 1.5 + hash_unit(i, 42) * 3;
        fill(c, outline(circle(x, y, r), 1.0), solid(rgb(0xeafcff, 0.6)));
    }
}

void draw_prompt(Canvas *c, const Fonts *f) {
    frame_of(c, 29, 0);
    inked(c, box(256, 48, 250, 44, 22), linear(rgb(PAL_NAVY, 0.82), rgb(PAL_DEEP, 0.82), 0, 4, 0, 92), 2.0);
    fill(c, outline(box(256, 48, 244, 38, 18), 2.0), solid(rgb(PAL_AQUA, 0.9)));
    double size = 50;
    double w_press = text_width(&f->bold, "Press", size), w_dive = text_width(&f->bold, "to dive", size);
    double key = 60, gap = 18;
    double x = 256 - (w_press + key + w_dive + 2 * gap) * 0.5;
    Paint white = linear(rgb(0xffffff), rgb(PAL_AQUA), 0, 30, 0, 66);
    draw_label(c, &f->bold, "Press", x + w_press * 0.5, 66, size, white, rgb(PAL_INK), 2.5);
    double kx = x + w_press + gap + key * 0.5;
    inked(c, box(kx, 50, key * 0.5, 30, 8), linear(rgb(PAL_BRASS_LIGHT), rgb(PAL_BRASS_DARK), 0, 20, 0, 80), 2.0);
    fill(c, box(kx, 46, key * 0.5 - 6, 22, 6), linear(rgb(0xfff0c0), rgb(PAL_BRASS), 0, 24, 0, 68));
    draw_label(c, &f->bold, "X", kx, 64, 44, solid(rgb(PAL_INK)), rgb(PAL_INK), 0);
    draw_label(c, &f->bold, "to dive", kx + key * 0.5 + gap + w_dive * 0.5, 66, size, white, rgb(PAL_INK), 2.5);
}

static void picture_frame(Canvas *c, double w, double h) {
    inked(c, box(w * 0.5, h * 0.5, w * 0.5 - 3, h * 0.5 - 3, 14), solid(rgb(0xf3ead2)), 2.5);
}

static void postcard(Canvas *c) {
    const double w = 640, h = 480;
    picture_frame(c, w, h);
    int top = c->clip_y0, left = c->clip_x0, right = c->clip_x1, bottom = c->clip_y1;
    // The picture inside the cream border.
    c->clip_x0 = left + 22, c->clip_x1 = right - 22, c->clip_y0 = top + 22, c->clip_y1 = bottom - 22;
    fill_rect_all(c, linear(rgb(0x8fd8ff), rgb(0xfff0c8), 0, 22, 0, 280));
    glow(c, 470, 150, 120, rgb(0xfff6b0, 0.7));
    inked(c, circle(470, 150, 46), radial(rgb(0xffffff), rgb(PAL_GOLD), 460, 140, 50), 0);
    for (int i = 0; i < 3; i++) {
        double cx = 120 + i * 150, cy = 90 + (i % 2) * 40;
        fill(c, ellipse(cx, cy, 50, 16), solid(rgb(0xffffff, 0.9)));
        fill(c, ellipse(cx - 20, cy - 10, 26, 16), solid(rgb(0xffffff, 0.9)));
        fill(c, ellipse(cx + 18, cy - 8, 22, 13), solid(rgb(0xffffff, 0.9)));
    }
    for (int i = 0; i < 4; i++) {
        double gx = 200 + i * 40, gy = 170 + (i % 2) * 18;
        double g[10];
        bezier_points(g, 5, gx - 9, gy, gx - 4, gy - 6, gx, gy);
        fill(c, polyline(g, 5, 1.5), solid(rgb(PAL_INK)));
        bezier_points(g, 5, gx, gy, gx + 4, gy - 6, gx + 9, gy);
        fill(c, polyline(g, 5, 1.5), solid(rgb(PAL_INK)));
    }
    // The sea, its waves and a boat waiting.
    fill(c, box(320, 370, 320, 100), linear(rgb(PAL_TEAL), rgb(PAL_DEEP), 0, 280, 0, 460));
    for (int row = 0; row < 6; row++) {
        double pts[2 * 40];
        for (int i = 0; i < 40; i++) {
            double x = i * 16.5;
            pts[2 * i] = x;
            pts[2 * i + 1] = 290 + row * 28 + sin(x * 0.05 + row * 1.7) * 4;
        }
        fill(c, polyline(pts, 40, 1.6), solid(rgb(PAL_FOAM, 0.6 - row * 0.07)));
    }
    fill(c, box(470, 276, 60, 5), solid(rgb(0xfff6b0, 0.7)));
    double hull[8] = {150, 262, 290, 262, 272, 292, 170, 292};
    inked(c, polygon(hull, 4), linear(rgb(PAL_CORAL), rgb(0x9a2f22), 0, 262, 0, 292), 2.0);
    inked(c, box(220, 236, 3, 36), solid(rgb(PAL_WOOD)), 1.5);
    double sail[6] = {226, 202, 226, 258, 270, 258};
    inked(c, polygon(sail, 3), solid(rgb(0xffffff)), 1.8);
    double flag[6] = {218, 200, 218, 212, 200, 206};
    fill(c, polygon(flag, 3), solid(rgb(PAL_GOLD)));
    c->clip_x0 = left, c->clip_x1 = right, c->clip_y0 = top, c->clip_y1 = bottom;
    fill(c, outline(box(w * 0.5, h * 0.5, w * 0.5 - 22, h * 0.5 - 22, 4), 3), solid(rgb(PAL_INK)));
}

static void deep_picture(Canvas *c) {
    const double w = 553, h = 307;
    picture_frame(c, w, h);
    int top = c->clip_y0, left = c->clip_x0, right = c->clip_x1, bottom = c->clip_y1;
    c->clip_x0 = left + 18, c->clip_x1 = right - 18, c->clip_y0 = top + 18, c->clip_y1 = bottom - 18;
    fill_rect_all(c, linear(rgb(PAL_SEA), rgb(PAL_ABYSS), 0, 18, 0, 290));
    light_ray(c, 200, 40, 120, 40, 290, rgb(0xeafcff, 0.25));
    light_ray(c, 330, 25, 80, 60, 260, rgb(0xeafcff, 0.18));
    // The diver, tiny, going down a line into the dark.
    fill(c, capsule(240, 0, 240, 150, 1.2, 1.2), solid(rgb(PAL_SAND, 0.8)));
    DiverPose p = {};
    p.arm_l[0] = 150, p.arm_r[0] = 20, p.arm_r[1] = 10, p.leg_l[0] = 5, p.leg_r[0] = 10, p.leg_r[1] = 20, p.lamp = 1;
    p.mouth = 0.3;
    draw_diver(c, 240, 152, 0.55, &p);
    glow(c, 240, 138, 40, rgb(0xfff2b0, 0.35));
    for (int i = 0; i < 8; i++) fill(c, outline(circle(232 + sin(i * 1.3) * 6, 130 - i * 14, 1.5 + i * 0.3), 1.0), solid(rgb(0xeafcff, 0.6)));
    // Something waits below with a lure.
    glow(c, 430, 220, 36, rgb(0xaef8ff, 0.6));
    fill(c, circle(430, 220, 5), solid(rgb(0xe8ffff)));
    double stalk[10];
    bezier_points(stalk, 5, 430, 220, 440, 250, 470, 262);
    fill(c, polyline(stalk, 5, 1.2), solid(rgb(0x3a4a66, 0.8)));
    fill(c, ellipse(500, 285, 60, 30), solid(rgb(0x0c1420, 0.9)));
    fill(c, circle(478, 272, 4), solid(rgb(0xffe24a, 0.8)));
    for (int i = 0; i < 40; i++)
        fill(c, circle(20 + hash_unit(i, 50) * 513, 20 + hash_unit(i, 51) * 267, 0.8 + hash_unit(i, 52)), solid(rgb(0xd0e8ff, 0.35)));
    c->clip_x0 = left, c->clip_x1 = right, c->clip_y0 = top, c->clip_y1 = bottom;
    fill(c, outline(box(w * 0.5, h * 0.5, w * 0.5 - 18, h * 0.5 - 18, 4), 3), solid(rgb(PAL_INK)));
}

void draw_opening(Canvas *c, const Fonts *f) {
    // 37: the diver walking to the water; its second frame is row 36, standing.
    for (int frame = 0; frame < 2; frame++) {
        DiverPose p = {};
        p.lamp = 0.7, p.mouth = 0.5, p.eyes = EYES_OPEN, p.blush = 0.4;
        if (frame == 0) {
            p.leg_l[0] = 4, p.leg_l[1] = 40, p.lift_l = 0.7;
            p.leg_r[0] = 3, p.arm_l[0] = 10, p.arm_l[1] = 6, p.arm_r[0] = 22, p.arm_r[1] = 22;
        } else {
            p.leg_l[0] = p.leg_r[0] = 5;
            p.arm_l[0] = 12, p.arm_l[1] = 8;
            p.arm_r[0] = 150, p.arm_r[1] = 25;
            p.mouth = 0.9, p.mouth_open = 0.5;
        }
        frame_of(c, 37, frame);
        draw_diver(c, 224, 128, 4.6, &p);
    }
    frame_of(c, 35, 0);
    postcard(c);
    frame_of(c, 34, 0);
    double wave[2 * 50];
    for (int i = 0; i < 50; i++) wave[2 * i] = 40 + i * 11.4, wave[2 * i + 1] = 178 + sin(i * 0.6) * 7;
    fill(c, polyline(wave, 50, 5), solid(rgb(PAL_INK)));
    fill(c, polyline(wave, 50, 3), solid(rgb(PAL_AQUA)));
    label(c, &f->bold, "FATHOMER", 316, 150, 150, 600, linear(rgb(PAL_BRASS_LIGHT), rgb(PAL_BRASS), 0, 40, 0, 150), 5);
    frame_of(c, 33, 0);
    label(c, &f->bold, "Take a breath", 149.5, 54, 40, 285, linear(rgb(0xffffff), rgb(PAL_AQUA), 0, 20, 0, 56), 3);
    frame_of(c, 32, 0);
    deep_picture(c);
    frame_of(c, 31, 0);
    Paint pale = linear(rgb(0xffffff), rgb(PAL_AQUA), 0, 10, 0, 130);
    label(c, &f->bold, "How deep does", 227.5, 62, 58, 440, pale, 3.5);
    label(c, &f->bold, "hope go?", 227.5, 128, 58, 440, linear(rgb(PAL_GOLD), rgb(PAL_ORANGE), 0, 80, 0, 130), 3.5);
}
