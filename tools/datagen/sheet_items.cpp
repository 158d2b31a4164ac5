// Pick-ups, hazards, sparks, the crash flash and the trail bubbles.
#include <math.h>

#include "sheet.h"
#include "style.h"

static const double PI = 3.14159265358979323846;

static void bubble(Canvas *c, double x, double y, double r, Color rim, double fill_alpha) {
    fill(c, circle(x, y, r), radial(with_alpha(rim, fill_alpha * 0.3), with_alpha(rim, fill_alpha), x, y, r));
    fill(c, outline(circle(x, y, r - 0.5), 1.0), solid(rim));
    fill(c, circle(x - r * 0.38, y - r * 0.38, r * 0.28), solid(rgb(0xffffff, 0.9)));
}

static void star_points(double *pts, int n, double cx, double cy, double r_out, double r_in, double rot) {
    for (int i = 0; i < 2 * n; i++) {
        double a = rot + i * PI / n;
        double r = i % 2 ? r_in : r_out;
        pts[2 * i] = cx + sin(a) * r;
        pts[2 * i + 1] = cy - cos(a) * r;
    }
}

static void jellyfish(Canvas *c, int f) {
    double squeeze = f ? 0.86 : 1.0;
    double bw = 40 * (f ? 0.84 : 1.06), bh = 30 * (f ? 1.18 : 0.95), by = f ? 46 : 44;
    glow(c, 64, by + 4, 60, rgb(PAL_AQUA, 0.35));
    // Tentacles sway the other way in each frame.
    for (int i = 0; i < 5; i++) {
        double x = 64 + (i - 2) * 13 * squeeze;
        double sway = (f ? -1 : 1) * (i % 2 ? 6 : -5);
        double pts[18];
        double y0 = by + bh * 0.3;
        for (int k = 0; k < 9; k++) {
            double t = k / 8.0;
            pts[2 * k] = x + sin(t * PI * 1.6 + i) * sway * t + (i - 2) * 4 * t;
            pts[2 * k + 1] = y0 + t * (54 - fabs(i - 2.0) * 6);
        }
        fill(c, polyline(pts, 9, 1.8 - 0.3 * fabs(i - 2.0)), solid(rgb(0xf7b7e8, 0.9)));
    }
    // Frilled oral arms.
    for (int i = -1; i <= 1; i += 2) {
        double pts[14];
        bezier_points(pts, 7, 64 + i * 6, by + 8, 64 + i * (f ? 2 : 14), by + 30, 64 + i * 5, by + 48);
        fill(c, polyline(pts, 7, 3.2), solid(rgb(0xff8fc8, 0.85)));
    }
    // Bell: the upper half of an ellipse with a scalloped rim.
    double bell[2 * 26];
    for (int i = 0; i < 17; i++) {
        double a = PI + i * PI / 16;
        bell[2 * i] = 64 + cos(a) * bw;
        bell[2 * i + 1] = by + 6 + sin(a) * (bh + 6);
    }
    for (int i = 0; i < 9; i++) {
        bell[2 * (17 + i)] = 64 + bw - (i + 0.5) * bw * 2 / 9;
        bell[2 * (17 + i) + 1] = by + 6 + (i % 2 ? 2.5 : 5.5);
    }
    Shape shape = polygon(bell, 26);
    fill(c, grown(shape, 1.4), solid(rgb(0x2a6f8a)));
    fill(c, shape, radial(rgb(0xd8fffb, 0.95), rgb(0x6fd6e8, 0.85), 58, by - 12, bw * 1.1));
    fill(c, ellipse(64, by + 4, bw * 0.9, 3.5), solid(rgb(0x4fb8d0, 0.9)));
    // Inner glow and dots.
    fill(c, ellipse(64, by - 4, bw * 0.45, bh * 0.38), solid(rgb(0xff9fd8, 0.65)));
    for (int i = 0; i < 4; i++) fill(c, circle(64 + (i - 1.5) * bw * 0.4, by + 2, 2), solid(rgb(0xffffff, 0.8)));
    fill(c, ellipse(50, by - bh * 0.5, 8, 3.5, -0.5), solid(rgb(0xffffff, 0.8)));
}

static void starfish(Canvas *c) {
    double pts[20];
    star_points(pts, 5, 32, 34, 29, 12, 0.12);
    Shape s = polygon(pts, 10);
    inked(c, grown(s, 2.5), radial(rgb(PAL_GOLD), rgb(PAL_ORANGE), 30, 30, 30), 1.6);
    for (int i = 0; i < 5; i++) {
        double a = 0.12 + i * 2 * PI / 5;
        for (int k = 1; k <= 3; k++)
            fill(c, circle(32 + sin(a) * k * 6.5, 34 - cos(a) * k * 6.5, 1.8 - k * 0.3), solid(rgb(0xfff1b8)));
    }
    fill(c, circle(28, 31, 1.6), solid(rgb(PAL_INK)));
    fill(c, circle(36, 31, 1.6), solid(rgb(PAL_INK)));
    double smile[10];
    bezier_points(smile, 5, 28.5, 36, 32, 39.5, 35.5, 36);
    fill(c, polyline(smile, 5, 0.8), solid(rgb(PAL_INK)));
}

static void pearl_shell(Canvas *c) {
    // Upper shell, open.
    double top[2 * 12];
    for (int i = 0; i < 12; i++) {
        double a = PI + i * PI / 11;
        top[2 * i] = 32 + cos(a) * 27;
        top[2 * i + 1] = 30 + sin(a) * 24;
    }
    inked(c, polygon(top, 12), linear(rgb(0xffd6e0), rgb(0xe89ab4), 32, 6, 32, 30), 1.5);
    for (int i = 1; i < 6; i++) {
        double a = PI + i * PI / 6;
        fill(c, capsule(32, 29, 32 + cos(a) * 24, 30 + sin(a) * 21, 0.8, 0.8), solid(rgb(0xc7708e, 0.8)));
    }
    // Lower shell with the pearl.
    Shape low = ellipse(32, 44, 29, 13);
    inked(c, low, linear(rgb(0xf7b6c8), rgb(0xc7708e), 32, 34, 32, 58), 1.5);
    fill(c, ellipse(32, 41, 22, 7), solid(rgb(0x9c3f63)));
    glow(c, 32, 36, 20, rgb(0xffffff, 0.5));
    inked(c, circle(32, 36, 9), radial(rgb(0xffffff), rgb(0xd8d0e8), 29, 33, 12), 1.2);
    fill(c, circle(29, 33, 2.6), solid(rgb(0xffffff)));
}

static void air_bubbles(Canvas *c) {
    glow(c, 30, 34, 30, rgb(PAL_AQUA, 0.3));
    bubble(c, 28, 36, 19, rgb(0xcff8ff), 0.55);
    bubble(c, 50, 16, 8, rgb(0xcff8ff), 0.55);
    bubble(c, 52, 40, 6, rgb(0xcff8ff), 0.55);
    bubble(c, 12, 12, 5, rgb(0xcff8ff), 0.55);
    // A sparkle on the big bubble.
    double pts[16];
    star_points(pts, 4, 40, 24, 7, 1.6, 0);
    fill(c, polygon(pts, 8), solid(rgb(0xffffff, 0.95)));
}

static void seahorse(Canvas *c) {
    // Body as a chain of discs along a curve: head, belly and a curled tail.
    double spine[2 * 24];
    for (int i = 0; i < 24; i++) {
        double t = i / 23.0;
        double x, y;
        if (t < 0.55) {
            double u = t / 0.55;
            x = 46 + sin(u * PI) * 18 - u * 6;
            y = 34 + u * 72;
        } else {
            double u = (t - 0.55) / 0.45;
            double a = u * PI * 1.6;
            x = 40 + 12 * cos(a + PI * 0.1) * (1 - 0.3 * u) - 4;
            y = 118 + 12 * sin(a + PI * 0.1) * (1 - 0.3 * u) + u * 8;
        }
        spine[2 * i] = x;
        spine[2 * i + 1] = y;
    }
    Color body = rgb(PAL_GOLD), dark = rgb(PAL_ORANGE);
    for (int pass = 0; pass < 2; pass++) {
        for (int i = 0; i < 23; i++) {
            double t = i / 23.0;
            double r = t < 0.45 ? 8 + sin(t / 0.45 * PI) * 9 : 8 * (1 - (t - 0.45) / 0.55) + 2;
            Shape s = capsule(spine[2 * i], spine[2 * i + 1], spine[2 * i + 2], spine[2 * i + 3], r, r);
            if (pass == 0)
                fill(c, grown(s, 1.6), solid(rgb(PAL_INK)));
            else
                fill(c, s, linear(body, dark, spine[2 * i] + 6, 0, spine[2 * i] - 10, 0));
        }
    }
    // Dorsal fin, head and snout.
    double fin[2 * 9];
    for (int i = 0; i < 9; i++) {
        double a = -PI / 2 + i * PI / 8;
        fin[2 * i] = 60 + cos(a) * 16;
        fin[2 * i + 1] = 70 + sin(a) * 13;
    }
    inked(c, polygon(fin, 9), solid(rgb(0xffeeb0, 0.9)), 1.2);
    for (int i = 1; i < 8; i++) fill(c, capsule(60, 70, fin[2 * i], fin[2 * i + 1], 0.5, 0.5), solid(rgb(PAL_ORANGE, 0.7)));
    inked(c, ellipse(48, 26, 13, 11, 0.3), solid(body), 1.6);
    inked(c, capsule(38, 30, 20, 36, 4.5, 3.5), solid(body), 1.6);
    fill(c, ellipse(48, 26, 13, 11, 0.3), solid(body));
    double crown[12] = {44, 17, 47, 6, 51, 15, 55, 8, 56, 19, 48, 20};
    inked(c, polygon(crown, 6), solid(dark), 1.2);
    fill(c, circle(46, 25, 3.2), solid(rgb(0xffffff)));
    fill(c, circle(45.3, 25.3, 1.8), solid(rgb(PAL_INK)));
    for (int i = 0; i < 6; i++) {
        double x = spine[2 * (3 + i * 2)], y = spine[2 * (3 + i * 2) + 1];
        fill(c, capsule(x - 6, y, x + 4, y - 1, 0.7, 0.7), solid(with_alpha(dark, 0.9)));
    }
    glow_ellipse(c, 48, 76, 44, 76, rgb(0xfff0a0, 0.18));
}

static void bottle(Canvas *c) {
    glow_ellipse(c, 48, 140, 46, 112, rgb(0xc0fff0, 0.25));
    // Glass, neck and cork.
    Shape glass = box(48, 150, 30, 80, 22);
    inked(c, glass, linear(rgb(0x7fd0b8, 0.75), rgb(0x2f8f7a, 0.8), 20, 0, 78, 0), 2.0);
    inked(c, box(48, 58, 12, 22, 5), linear(rgb(0x7fd0b8, 0.8), rgb(0x2f8f7a, 0.85), 36, 0, 60, 0), 2.0);
    fill(c, box(48, 150, 30, 80, 22), linear(rgb(0x7fd0b8, 0.75), rgb(0x2f8f7a, 0.8), 20, 0, 78, 0));
    fill(c, box(48, 76, 19, 6, 5), linear(rgb(0x7fd0b8, 0.8), rgb(0x2f8f7a, 0.85), 28, 0, 68, 0));
    inked(c, box(48, 30, 10, 12, 3), linear(rgb(0xd9a66a), rgb(PAL_WOOD), 38, 0, 58, 0), 1.6);
    // The rolled letter inside, tied with a red ribbon.
    inked(c, box(48, 150, 16, 52, 6, 0.08), linear(rgb(0xfff6dc), rgb(PAL_SAND), 32, 0, 64, 0), 1.2);
    for (int i = 0; i < 5; i++) fill(c, capsule(40, 118 + i * 14, 56, 117 + i * 14, 0.6, 0.6), solid(rgb(0xb79a62, 0.8)));
    fill(c, box(48, 150, 17, 3.5, 1, 0.08), solid(rgb(PAL_CORAL)));
    // Glints on the glass.
    fill(c, box(30, 150, 3.5, 60, 3.5), solid(rgb(0xffffff, 0.55)));
    fill(c, box(63, 190, 2, 18, 2), solid(rgb(0xffffff, 0.45)));
    double st[16];
    star_points(st, 4, 66, 96, 10, 2, 0);
    fill(c, polygon(st, 8), solid(rgb(0xffffff, 0.95)));
}

void draw_pickups(Canvas *c) {
    for (int f = 0; f < 2; f++) {
        frame_of(c, 10, f);
        jellyfish(c, f);
    }
    frame_of(c, 9, 0);
    starfish(c);
    frame_of(c, 8, 0);
    pearl_shell(c);
    frame_of(c, 7, 0);
    air_bubbles(c);
    frame_of(c, 6, 0);
    seahorse(c);
    frame_of(c, 5, 0);
    bottle(c);
}

static void chain(Canvas *c) {
    Color rust = rgb(PAL_RUST), dark = rgb(0x5c2c18), light = rgb(0xc77a45);
    for (int i = 0; i < 11; i++) {
        double x = 18 + i * 28.5;
        if (i % 2 == 0) {
            Shape ring = ellipse(x, 16, 17, 10);
            fill(c, grown(outline(ring, 6), 1.3), solid(rgb(PAL_INK)));
            fill(c, outline(ring, 6), linear(light, dark, x, 6, x, 26));
        } else {
            inked(c, box(x, 16, 17, 3.4, 3.4), linear(light, dark, x, 12, x, 20), 1.3);
        }
        // Rust pits.
        for (int k = 0; k < 3; k++)
            fill(c, circle(x - 10 + hash_unit(i, k, 4) * 20, 8 + hash_unit(i, k, 5) * 16, 1.2), solid(with_alpha(dark, 0.8)));
    }
    (void)rust;
}

static void piranha(Canvas *c, int f) {
    // Facing left; the tail beats between frames.
    double tail_dy = f ? 7 : -7;
    double tail[8] = {66, 32, 92, 14 + tail_dy, 86, 32 + tail_dy * 0.3, 92, 50 + tail_dy};
    inked(c, polygon(tail, 4), linear(rgb(0xb8402c), rgb(0x6e1e1a), 66, 0, 92, 0), 1.5);
    double fin[6] = {38, 14, 58, 4, 62, 18};
    inked(c, polygon(fin, 3), solid(rgb(0x8a2a22)), 1.3);
    Shape body = ellipse(42, 32, 30, 21, f ? 0.05 : -0.05);
    inked(c, body, linear(rgb(0x7a8a9a), rgb(0x3a4452), 42, 11, 42, 53), 1.6);
    fill(c, ellipse(40, 42, 24, 9, 0), solid(rgb(0xd04a34, 0.9)));
    // Jaw and teeth.
    double jaw[8] = {8, 34, 30, 34, 26, 46, 12, 42};
    fill(c, polygon(jaw, 4), solid(rgb(0x3a1018)));
    for (int i = 0; i < 4; i++) {
        double x = 11 + i * 5;
        double up[6] = {x, 34, x + 4, 34, x + 2, 38.5};
        double dn[6] = {x + 1.5, 43 - i * 0.4, x + 5, 42 - i * 0.4, x + 3.2, 38.5};
        fill(c, polygon(up, 3), solid(rgb(0xffffff)));
        fill(c, polygon(dn, 3), solid(rgb(0xffffff)));
    }
    // Angry eye.
    fill(c, circle(24, 24, 5.5), solid(rgb(0xffe24a)));
    fill(c, circle(23, 25, 2.6), solid(rgb(PAL_INK)));
    fill(c, capsule(16, 16, 31, 21, 1.6, 1.4), solid(rgb(PAL_INK)));
    fill(c, box(58, 30, 1.2, 12, 1, 0.1), solid(rgb(0x2a3038, 0.7)));
}

static void fishhook(Canvas *c) {
    Color steel = rgb(0xc8d2dc), dark = rgb(0x5a6672);
    double shank[2 * 10];
    bezier_points(shank, 4, 18, 10, 18, 30, 18, 42);
    double bend[2 * 9];
    for (int i = 0; i < 9; i++) {
        double a = PI * i / 8.0;
        bend[2 * i] = 12 - cos(a) * 6 + 0.0;
        bend[2 * i + 1] = 42 + sin(a) * 9;
    }
    // Shank joins the bend's right end (x 18).
    double path[2 * 13];
    for (int i = 0; i < 4; i++) path[2 * i] = shank[2 * i], path[2 * i + 1] = shank[2 * i + 1];
    for (int i = 0; i < 9; i++) path[2 * (4 + i)] = bend[2 * (8 - i)], path[2 * (4 + i) + 1] = bend[2 * (8 - i) + 1];
    fill(c, polyline(path, 13, 3.6), solid(rgb(PAL_INK)));
    fill(c, polyline(path, 13, 2.3), linear(steel, dark, 10, 0, 22, 0));
    double barb[6] = {5, 28, 9.5, 34, 4.5, 35};
    inked(c, polygon(barb, 3), solid(steel), 1.0);
    // Eye and a snapped line.
    fill(c, grown(outline(circle(18, 7, 3.2), 2.0), 1.0), solid(rgb(PAL_INK)));
    fill(c, outline(circle(18, 7, 3.2), 2.0), solid(steel));
    double line[8] = {18, 4, 21, 2, 24, 3, 28, 0};
    fill(c, polyline(line, 4, 0.6), solid(rgb(0xe0e0e0, 0.9)));
    fill(c, capsule(20, 14, 20, 36, 0.6, 0.6), solid(rgb(0xffffff, 0.7)));
}

static void poison_can(Canvas *c) {
    inked(c, box(16, 36, 12, 22, 3), linear(rgb(0x5a5f3a), rgb(0x2e3320), 4, 0, 28, 0), 1.6);
    for (int i = 0; i < 3; i++) inked(c, box(16, 20 + i * 16, 13, 1.6, 1), solid(rgb(0x4a4e2e)), 0.8);
    // Bent lid and a skull.
    inked(c, box(16, 13, 11, 2.5, 1.5, -0.15), solid(rgb(0x6a6f45)), 1.2);
    fill(c, circle(16, 32, 5.2), solid(rgb(0xe8f0c8)));
    fill(c, box(16, 37.5, 3.2, 2.2, 1), solid(rgb(0xe8f0c8)));
    fill(c, circle(14, 32, 1.5), solid(rgb(PAL_INK)));
    fill(c, circle(18, 32, 1.5), solid(rgb(PAL_INK)));
    fill(c, capsule(10, 42, 22, 46, 1.2, 1.2), solid(rgb(0xe8f0c8)));
    fill(c, capsule(22, 42, 10, 46, 1.2, 1.2), solid(rgb(0xe8f0c8)));
    // Sludge oozing out below.
    fill(c, ellipse(12, 59, 4, 3), solid(rgb(0x8bd13a, 0.9)));
    fill(c, ellipse(20, 61, 2.5, 2.2), solid(rgb(0x8bd13a, 0.8)));
    fill(c, capsule(12, 55, 12, 58, 2, 3), solid(rgb(0x8bd13a, 0.9)));
}

static void urchin(Canvas *c) {
    for (int i = 0; i < 22; i++) {
        double a = i * 2 * PI / 22 + hash_unit(i, 0, 9) * 0.12;
        double len = 26 + hash_unit(i, 1, 9) * 5;
        double x1 = 32 + sin(a) * len, y1 = 33 - cos(a) * len;
        fill(c, capsule(32, 33, x1, y1, 3.6, 0.9), solid(rgb(PAL_INK)));
        fill(c, capsule(32, 33, x1, y1, 2.6, 0.4), linear(rgb(PAL_PURPLE), rgb(PAL_VIOLET), 32, 33, x1, y1));
    }
    inked(c, circle(32, 33, 15), radial(rgb(0x8a4aa0), rgb(0x2e1238), 27, 27, 19), 1.6);
    // Glaring eyes.
    fill(c, ellipse(26, 32, 4, 3.2, 0.2), solid(rgb(0xff5a4a)));
    fill(c, ellipse(38, 32, 4, 3.2, -0.2), solid(rgb(0xff5a4a)));
    fill(c, circle(26.5, 32.5, 1.5), solid(rgb(PAL_INK)));
    fill(c, circle(37.5, 32.5, 1.5), solid(rgb(PAL_INK)));
    fill(c, capsule(21, 26, 30, 29, 1.2, 1.2), solid(rgb(PAL_INK)));
    fill(c, capsule(43, 26, 34, 29, 1.2, 1.2), solid(rgb(PAL_INK)));
    double grin[10];
    bezier_points(grin, 5, 26, 41, 32, 37.5, 38, 41);
    fill(c, polyline(grin, 5, 1.0), solid(rgb(PAL_INK)));
}

void draw_hazards(Canvas *c) {
    frame_of(c, 4, 0);
    chain(c);
    for (int f = 0; f < 2; f++) {
        frame_of(c, 3, f);
        piranha(c, f);
    }
    frame_of(c, 2, 0);
    fishhook(c);
    frame_of(c, 1, 0);
    poison_can(c);
    frame_of(c, 0, 0);
    urchin(c);
}

void draw_effects(Canvas *c) {
    double pts[24];
    // 21: pick-up glint.
    frame_of(c, 21, 0);
    glow(c, 16, 16, 15, rgb(PAL_GOLD, 0.6));
    star_points(pts, 4, 16, 16, 15, 3, 0);
    fill(c, polygon(pts, 8), radial(rgb(0xffffff), rgb(PAL_GOLD), 16, 16, 14));
    star_points(pts, 4, 16, 16, 8, 1.5, PI / 4);
    fill(c, polygon(pts, 8), solid(rgb(0xffffff, 0.9)));
    // 20: hazard spark, a violet shard of gloom.
    frame_of(c, 20, 0);
    glow(c, 16, 16, 15, rgb(PAL_VIOLET, 0.45));
    double shard[12] = {16, 2, 20, 12, 29, 15, 19, 19, 14, 30, 12, 18};
    inked(c, polygon(shard, 6), radial(rgb(0xd8a8ff), rgb(PAL_PURPLE), 16, 16, 14), 1.0);
    // 19: crash spark, an ember.
    frame_of(c, 19, 0);
    glow(c, 16, 16, 15, rgb(PAL_ORANGE, 0.55));
    star_points(pts, 6, 16, 16, 14, 5, 0.3);
    fill(c, polygon(pts, 12), radial(rgb(0xfff4c0), rgb(PAL_CORAL), 16, 16, 14));
    // 18: crash flash.
    frame_of(c, 18, 0);
    fill(c, circle(32, 32, 31), radial(rgb(0xffffff, 1.0), rgb(PAL_ORANGE, 0.0), 32, 32, 31));
    fill(c, circle(32, 32, 14), radial(rgb(0xffffff, 0.9), rgb(0xfff0a0, 0.0), 32, 32, 14));
    // 17 and 16: trail bubbles, clear while the diver hopes, murky when not.
    for (int row = 16; row <= 17; row++) {
        frame_of(c, row, 0);
        Color rim = row == 17 ? rgb(0xd8f8ff) : rgb(0x9ab8a0);
        bubble(c, 4.5, 21.5, 4.0, rim, row == 17 ? 0.5 : 0.4);
        bubble(c, 5.0, 12.0, 3.0, rim, row == 17 ? 0.5 : 0.4);
        bubble(c, 3.8, 4.5, 2.3, rim, row == 17 ? 0.5 : 0.4);
    }
}
