#include "style.h"

void inked(Canvas *c, Shape s, Paint p, double ink) {
    if (ink > 0) fill(c, grown(s, ink), solid(rgb(PAL_INK)));
    fill(c, s, p);
}

void glow(Canvas *c, double cx, double cy, double r, Color col) {
    fill(c, circle(cx, cy, r), radial(col, with_alpha(col, 0), cx, cy, r));
}

void glow_ellipse(Canvas *c, double cx, double cy, double rx, double ry, Color col) {
    // The radial paint runs in the ellipse's own frame: squash the canvas frame to a circle.
    double ox = c->ox, oy = c->oy, sx = c->sx, sy = c->sy;
    double k = ry / rx;
    canvas_origin(c, ox + cx * sx, oy + cy * sy, sx, sy * k);
    fill(c, circle(0, 0, rx), radial(col, with_alpha(col, 0), 0, 0, rx));
    canvas_origin(c, ox, oy, sx, sy);
}
