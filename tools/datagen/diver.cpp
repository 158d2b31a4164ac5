#include "diver.h"

#include <math.h>

#include "style.h"

static const double DEG = 3.14159265358979323846 / 180.0;

static void limb(Canvas *c, double sx, double sy, double side, double a_deg, double b_deg, double l1, double l2, double r1,
                 double r2, Color col, double *ex, double *ey) {
    double a = a_deg * DEG, b = (a_deg + b_deg) * DEG;
    double mx = sx + side * sin(a) * l1, my = sy + cos(a) * l1;
    double hx = mx + side * sin(b) * l2, hy = my + cos(b) * l2;
    Color dark = mix(col, rgb(PAL_INK), 0.35);
    inked(c, capsule(sx, sy, mx, my, r1, r1 * 0.92), linear(col, dark, sx - side * r1, sy, sx + side * r1, sy));
    inked(c, capsule(mx, my, hx, hy, r1 * 0.92, r2), linear(col, dark, mx - side * r1, my, mx + side * r1, my));
    // Cuff rings of the suit.
    fill(c, capsule(mx - 0.01, my, mx + 0.01, my, r1 * 0.55, r1 * 0.55), solid(with_alpha(dark, 0.5)));
    *ex = hx;
    *ey = hy;
}

static void leg(Canvas *c, double side, const double *angles, double lift) {
    double hx = side * 9.5, hy = 66;
    double l1 = 24 * (1 - 0.45 * lift), l2 = 23 * (1 - 0.3 * lift);
    double fx, fy;
    limb(c, hx, hy, side, angles[0], -angles[1], l1, l2, 8, 7, rgb(PAL_SUIT), &fx, &fy);
    // Lead boots.
    inked(c, box(fx + side * 1.5, fy + 3.5, 9.5, 6, 4), linear(rgb(0x58606e), rgb(PAL_LEAD), fx, fy - 2, fx, fy + 9));
    fill(c, box(fx + side * 1.5, fy + 8, 9, 1.6, 1.5), solid(rgb(0x22262e)));
}

static void arm(Canvas *c, double side, const double *angles) {
    double hx, hy;
    limb(c, side * 16, 31, side, angles[0], angles[1], 21, 19, 6.8, 6, rgb(PAL_SUIT), &hx, &hy);
    // Gloves.
    inked(c, circle(hx, hy, 6.3), radial(rgb(PAL_BRASS_LIGHT), rgb(PAL_BRASS_DARK), hx - 2, hy - 2, 8));
}

static void eye(Canvas *c, double x, double y, int kind, double side) {
    Color ink = rgb(PAL_INK);
    if (kind == EYES_HAPPY) {
        double pts[14];
        bezier_points(pts, 7, x - 2.4, y + 0.8, x, y - 2.6, x + 2.4, y + 0.8);
        fill(c, polyline(pts, 7, 0.75), solid(ink));
    } else if (kind == EYES_SHUT) {
        double pts[14];
        bezier_points(pts, 7, x - 2.4, y - 0.2, x, y + 1.8, x + 2.4, y - 0.2);
        fill(c, polyline(pts, 7, 0.7), solid(ink));
    } else if (kind == EYES_WIDE) {
        fill(c, circle(x, y, 2.7), solid(rgb(0xffffff)));
        fill(c, outline(circle(x, y, 2.7), 0.6), solid(ink));
        fill(c, circle(x + side * 0.3, y + 0.4, 1.3), solid(ink));
    } else {
        fill(c, ellipse(x, y, 1.6, 2.1), solid(ink));
        fill(c, circle(x + 0.5, y - 0.8, 0.55), solid(rgb(0xffffff)));
        if (kind == EYES_SAD) {
            // A heavy upper lid.
            double lid[8] = {x - 2.6, y - 3.2, x + 2.6, y - 3.2, x + 2.6, y - 0.3 + side * 0.9, x - 2.6, y - 0.3 - side * 0.9};
            fill(c, polygon(lid, 4), solid(rgb(PAL_SKIN)));
            fill(c, capsule(x - 2.2, y - 0.3 - side * 0.8, x + 2.2, y - 0.3 + side * 0.8, 0.45, 0.45), solid(ink));
        }
    }
}

static void face(Canvas *c, const DiverPose *p) {
    Color ink = rgb(PAL_INK);
    fill(c, circle(0, 3, 12), radial(rgb(PAL_SKIN), rgb(0xe0a884), -2, 0, 14));
    if (p->blush > 0) {
        fill(c, ellipse(-7, 6, 2.4, 1.5), soft(solid(rgb(PAL_BLUSH, 0.7 * p->blush)), 1.5));
        fill(c, ellipse(7, 6, 2.4, 1.5), soft(solid(rgb(PAL_BLUSH, 0.7 * p->blush)), 1.5));
    }
    eye(c, -4.4, 1.2, p->eyes, -1);
    eye(c, 4.4, 1.2, p->eyes, 1);
    // Brows: +1 lifts the inner ends (worry), -1 lowers them (anger).
    double in = -4.6 - 1.8 * p->brows, out = -4.4 + 0.9 * p->brows;
    fill(c, capsule(-6.4, out, -2.2, in, 0.6, 0.6), solid(ink));
    fill(c, capsule(6.4, out, 2.2, in, 0.6, 0.6), solid(ink));
    // Mouth: a curve, opened into a filled shape.
    double m = p->mouth, w = 4.4 - 0.8 * (m < 0 ? -m : 0);
    double y0 = 7.6 - 0.8 * m, yc = 7.6 + 4.2 * m;
    if (p->mouth_open > 0) {
        double pts[24];
        bezier_points(pts, 7, -w, y0, 0, yc + 3.5 * p->mouth_open * (m >= 0 ? 1 : -0.2), w, y0);
        double top_c = m >= 0 ? y0 + 0.5 : yc - 2.5 * p->mouth_open;
        bezier_points(pts + 14, 5, w * 0.8, y0, 0, top_c, -w * 0.8, y0);
        fill(c, polygon(pts, 12), solid(rgb(0x7a2430)));
        fill(c, polyline(pts, 12, 0.55), solid(ink));
        if (m >= 0) fill(c, ellipse(0, y0 + 2.6 * p->mouth_open + 0.6, 2.2, 1.1), solid(rgb(PAL_BLUSH)));
    } else {
        double pts[14];
        bezier_points(pts, 7, -w, y0, 0, yc, w, y0);
        fill(c, polyline(pts, 7, 0.7), solid(ink));
    }
    if (p->tears) {
        double ty = p->tears == 1 ? 5.5 : 8.5;
        fill(c, ellipse(-5.5, ty, 1.0, 1.5), solid(rgb(0x8fd8ff, 0.95)));
        fill(c, ellipse(5.8, ty + 2.5, 1.0, 1.5), solid(rgb(0x8fd8ff, 0.95)));
        fill(c, capsule(-5.5, 3, -5.5, ty, 0.5, 0.7), solid(rgb(0x8fd8ff, 0.6)));
    }
}

void draw_diver(Canvas *c, double cx, double cy, double k, const DiverPose *p) {
    double ox = c->ox, oy = c->oy, osx = c->sx, osy = c->sy;
    canvas_origin(c, ox + cx * osx, oy + cy * osy, k * osx, k * osy);

    // Back to front: legs, torso, arms, collar, helmet.
    leg(c, -1, p->leg_l, p->lift_l);
    leg(c, 1, p->leg_r, p->lift_r);
    Color suit = rgb(PAL_SUIT), suit_dark = rgb(PAL_SUIT_DARK);
    inked(c, box(0, 47, 17, 23, 10), linear(suit, suit_dark, -17, 30, 17, 64));
    // Seams and the lead weight belt.
    fill(c, capsule(0, 30, 0, 58, 0.6, 0.6), solid(with_alpha(suit_dark, 0.8)));
    inked(c, box(0, 63, 17.5, 4.2, 2), solid(rgb(PAL_WOOD_DARK)), 1.0);
    inked(c, box(0, 63, 4.2, 3.6, 1), solid(rgb(PAL_BRASS)), 0.8);
    if (!p->arms_front) {
        arm(c, -1, p->arm_l);
        arm(c, 1, p->arm_r);
    }
    inked(c, ellipse(0, 24, 24, 9.5), linear(rgb(PAL_BRASS_LIGHT), rgb(PAL_BRASS_DARK), 0, 16, 0, 33));
    for (int i = -2; i <= 2; i++) fill(c, circle(i * 9, 24 + (i * i) * 0.5, 1.4), solid(rgb(PAL_BRASS_DARK)));

    // Helmet.
    inked(c, circle(0, 0, 22), radial(rgb(PAL_BRASS_LIGHT), rgb(PAL_BRASS_DARK), -8, -9, 30), 1.5);
    inked(c, box(0, -23, 5, 3.5, 1.5), solid(rgb(PAL_BRASS_DARK)), 1.0);
    Color lamp = mix(rgb(0x8a7a5a), rgb(0xfff6c0), p->lamp);
    inked(c, box(0, -26.5, 4, 2.4, 2), solid(lamp), 1.0);
    if (p->lamp > 0) glow(c, 0, -27, 10 + 6 * p->lamp, rgb(0xfff2b0, 0.55 * p->lamp));
    // Faceplate: rim, glass, face, reflection.
    inked(c, circle(0, 2, 15.5), solid(rgb(PAL_BRASS_DARK)), 0.8);
    for (int i = 0; i < 6; i++) {
        double a = (i * 60 + 30) * DEG;
        fill(c, circle(sin(a) * 14, 2 - cos(a) * 14, 1.3), solid(rgb(PAL_BRASS_LIGHT)));
    }
    fill(c, circle(0, 2, 12.8), solid(rgb(0x2b5f6e)));
    face(c, p);
    fill(c, circle(0, 2, 12.8), radial(rgb(0x9fe8ff, 0.0), rgb(0x9fe8ff, 0.35), -1, 3, 13));
    double hl[14];
    bezier_points(hl, 7, -9.5, -2.5, -7.5, -8.5, -1.5, -9.8);
    fill(c, polyline(hl, 7, 1.1), solid(rgb(0xffffff, 0.75)));
    fill(c, circle(6.5, -7.5, 1.0), solid(rgb(0xffffff, 0.7)));
    if (p->arms_front) {
        arm(c, -1, p->arm_l);
        arm(c, 1, p->arm_r);
    }

    canvas_origin(c, ox, oy, osx, osy);
}
