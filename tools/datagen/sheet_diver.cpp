// The diver's rows: five moods while falling, waiting, the despair overlay.
#include <math.h>

#include "diver.h"
#include "render/sprite.h"
#include "sheet.h"
#include "style.h"

void frame_of(Canvas *c, int row, int frame) {
    const Sprite *s = &sprite_table[row];
    canvas_frame(c, s->x + frame * s->w, s->y, s->w, s->h);
}

// Scale of the falling diver in its 64-pixel-wide rows.
#define DIVER_K 0.86

static void draw_life_ring(Canvas *c, double cx, double cy) {
    Shape ring = ellipse(cx, cy, 40, 13);
    fill(c, grown(outline(ring, 11), 1.3), solid(rgb(PAL_INK)));
    fill(c, outline(ring, 11), linear(rgb(0xfffdf6), rgb(0xd8d2c4), cx, cy - 18, cx, cy + 18));
    for (int i = 0; i < 4; i++) {
        double a = (i * 90 + 45) * 3.14159265358979 / 180;
        double x = cx + cos(a) * 40, y = cy + sin(a) * 13;
        fill(c, ellipse(x, y, 7, 6.4, a + 1.5708), solid(rgb(PAL_CORAL)));
    }
}

static DiverPose calm_pose() {
    DiverPose p = {};
    p.arm_l[0] = 14, p.arm_l[1] = 8;
    p.arm_r[0] = 14, p.arm_r[1] = 8;
    p.leg_l[0] = 4, p.leg_r[0] = 4;
    p.lamp = 0.6;
    return p;
}

void draw_diver_rows(Canvas *c) {
    for (int f = 0; f < 2; f++) {
        // 23: joyful, arms flung up, kicking.
        DiverPose p = calm_pose();
        p.arm_l[0] = p.arm_r[0] = f ? 150 : 128;
        p.arm_l[1] = p.arm_r[1] = f ? 10 : 28;
        p.leg_l[0] = f ? 16 : 6, p.leg_l[1] = f ? 30 : 0;
        p.leg_r[0] = f ? 6 : 16, p.leg_r[1] = f ? 0 : 30;
        p.mouth = 1, p.mouth_open = 1, p.eyes = EYES_HAPPY, p.blush = 1, p.lamp = 1, p.brows = 0.3;
        frame_of(c, 23, f);
        draw_diver(c, 48, 28 - f * 1.5, 0.8, &p);

        // 24: happy, one arm sweeping up in turn.
        p = calm_pose();
        double *up = f ? p.arm_r : p.arm_l, *down = f ? p.arm_l : p.arm_r;
        up[0] = 15, up[1] = 150;
        down[0] = 18, down[1] = 5;
        p.leg_l[0] = f ? 2 : 7, p.leg_r[0] = f ? 7 : 2;
        p.leg_l[1] = f ? 0 : 16, p.leg_r[1] = f ? 16 : 0;
        p.mouth = 0.8, p.mouth_open = 0.35, p.eyes = EYES_OPEN, p.blush = 0.6, p.lamp = 0.9;
        frame_of(c, 24, f);
        draw_diver(c, 32, 30, DIVER_K, &p);

        // 25: calm, a slow kick.
        p = calm_pose();
        p.leg_l[0] = f ? 3 : 7, p.leg_l[1] = f ? 12 : 0;
        p.leg_r[0] = f ? 7 : 3, p.leg_r[1] = f ? 0 : 12;
        p.arm_l[0] = f ? 12 : 8, p.arm_r[0] = f ? 8 : 12;
        p.mouth = 0.15, p.lamp = 0.6;
        frame_of(c, 25, f);
        draw_diver(c, 32, 30, DIVER_K, &p);

        // 26: worried, hugging itself, glancing about.
        p = calm_pose();
        p.arm_l[0] = p.arm_r[0] = 20;
        p.arm_l[1] = p.arm_r[1] = f ? -72 : -80;
        p.leg_l[0] = 1, p.leg_r[0] = 1;
        p.leg_l[1] = f ? 6 : 0, p.leg_r[1] = f ? 0 : 6;
        p.mouth = -0.45, p.brows = 0.9, p.eyes = EYES_WIDE, p.lamp = 0.3;
        frame_of(c, 26, f);
        draw_diver(c, 32 + (f ? 0.8 : -0.8), 30, DIVER_K, &p);

        // 27: despairing, hands to the helmet, trembling, tears.
        p = calm_pose();
        p.arm_l[0] = p.arm_r[0] = 135;
        p.arm_l[1] = p.arm_r[1] = 80;
        p.arms_front = true;
        p.leg_l[0] = p.leg_r[0] = -2;
        p.leg_l[1] = p.leg_r[1] = 14;
        p.mouth = -1, p.mouth_open = 0.6, p.brows = 1, p.eyes = EYES_SAD, p.tears = f + 1, p.lamp = 0.05;
        frame_of(c, 27, f);
        draw_diver(c, 32 + (f ? 1.0 : -1.0), 66, DIVER_K, &p);
        // Sighing bubbles drift up from the helmet.
        for (int i = 0; i < 3; i++) {
            double bx = 32 + (i % 2 ? 6 : -5) + (f ? 2 : -2), by = 34 - i * 12 - f * 5, r = 2.5 + i * 1.2;
            fill(c, outline(circle(bx, by, r), 1.2), solid(rgb(0xbfe8f5, 0.8)));
            fill(c, circle(bx - r * 0.35, by - r * 0.35, r * 0.3), solid(rgb(0xffffff, 0.8)));
        }
    }

    // 28: waiting at the surface in a life ring, waving.
    DiverPose p = calm_pose();
    p.arm_r[0] = 140, p.arm_r[1] = 25;
    p.arm_l[0] = 40, p.arm_l[1] = 50;
    p.mouth = 0.7, p.mouth_open = 0.5, p.eyes = EYES_OPEN, p.blush = 0.5, p.lamp = 0.8;
    frame_of(c, 28, 0);
    // The ring's far half lies behind the body, its near half in front.
    for (int half = 0; half < 2; half++) {
        if (half == 0) {
            draw_life_ring(c, 80, 92);
            draw_diver(c, 80, 34, 0.86, &p);
        } else {
            int top = c->clip_y0;
            c->clip_y0 = (int)(c->oy + 92);
            draw_life_ring(c, 80, 92);
            c->clip_y0 = top;
        }
    }
    // Ripples around the waist.
    fill(c, outline(ellipse(80, 100, 70, 14), 1.6), solid(rgb(PAL_FOAM, 0.55)));

    // 22: the dark of despair, two flickering frames.
    for (int f = 0; f < 2; f++) {
        frame_of(c, 22, f);
        fill(c, ellipse(48, 84, 38, 62), soft(radial(rgb(PAL_GLOOM, 0.1), rgb(PAL_PURPLE, 0.45), 48, 84, 62), 8));
        // Claws of gloom reach in from the rim toward the diver.
        for (int i = 0; i < 14; i++) {
            double a = i * 0.4488 + f * 0.22 + hash_unit(i, f, 22) * 0.2;
            double reach = 0.62 + hash_unit(i, f, 23) * 0.12;
            double x = 48 + cos(a) * 40, y = 84 + sin(a) * 66;
            double tx = 48 + cos(a + 0.25) * 40 * reach, ty = 84 + sin(a + 0.25) * 66 * reach;
            Shape wisp = capsule(x, y, tx, ty, 5 + hash_unit(i, f, 24) * 2, 1.2);
            // Edge-lit in violet so the gloom still shows against the black depths.
            fill(c, grown(wisp, 2.0), soft(solid(rgb(PAL_VIOLET, 0.45)), 2));
            fill(c, wisp, soft(solid(rgb(0x140a1c, 0.85)), 1));
        }
        // A pair of faint eyes in the murk.
        double ey = 18 + f * 3;
        fill(c, ellipse(30, ey, 5, 2.2, 0.3), solid(rgb(0xb08ad0, 0.75)));
        fill(c, ellipse(66, ey, 5, 2.2, -0.3), solid(rgb(0xb08ad0, 0.75)));
    }
}
