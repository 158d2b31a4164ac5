#include "raster.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

static double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
static double maxd(double a, double b) { return a > b ? a : b; }
static double mind(double a, double b) { return a < b ? a : b; }

Color rgb(int hex, double a) {
    return Color{((hex >> 16) & 255) / 255.0, ((hex >> 8) & 255) / 255.0, (hex & 255) / 255.0, a};
}

Color mix(Color a, Color b, double t) {
    return Color{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color with_alpha(Color c, double a) { return Color{c.r, c.g, c.b, a}; }

Paint solid(Color c) {
    Paint p = {};
    p.kind = PAINT_SOLID;
    p.c0 = c;
    p.c1 = c;
    return p;
}

Paint linear(Color c0, Color c1, double x0, double y0, double x1, double y1) {
    Paint p = solid(c0);
    p.kind = PAINT_LINEAR;
    p.c1 = c1;
    p.x0 = x0, p.y0 = y0, p.x1 = x1, p.y1 = y1;
    return p;
}

Paint radial(Color c0, Color c1, double cx, double cy, double r) {
    Paint p = solid(c0);
    p.kind = PAINT_RADIAL;
    p.c1 = c1;
    p.x0 = cx, p.y0 = cy, p.x1 = r;
    return p;
}

Paint soft(Paint p, double px) {
    p.soft = px;
    return p;
}

Paint erase(double strength) {
    Paint p = solid(Color{0, 0, 0, strength});
    p.blend = BLEND_ERASE;
    return p;
}

Shape circle(double cx, double cy, double r) {
    Shape s = {};
    s.kind = SHAPE_CIRCLE;
    s.p[0] = cx, s.p[1] = cy, s.p[2] = r;
    return s;
}

Shape ellipse(double cx, double cy, double rx, double ry, double angle) {
    Shape s = {};
    s.kind = SHAPE_ELLIPSE;
    s.p[0] = cx, s.p[1] = cy, s.p[2] = rx, s.p[3] = ry, s.p[4] = angle;
    return s;
}

Shape box(double cx, double cy, double hw, double hh, double radius, double angle) {
    Shape s = {};
    s.kind = SHAPE_BOX;
    s.p[0] = cx, s.p[1] = cy, s.p[2] = hw, s.p[3] = hh, s.p[4] = radius, s.p[5] = angle;
    return s;
}

Shape capsule(double x0, double y0, double x1, double y1, double r0, double r1) {
    Shape s = {};
    s.kind = SHAPE_CAPSULE;
    s.p[0] = x0, s.p[1] = y0, s.p[2] = x1, s.p[3] = y1, s.p[4] = r0, s.p[5] = r1;
    return s;
}

Shape polygon(const double *pts, int n) {
    Shape s = {};
    s.kind = SHAPE_POLYGON;
    s.pts = pts;
    s.n = n;
    return s;
}

Shape polyline(const double *pts, int n, double radius) {
    Shape s = {};
    s.kind = SHAPE_POLYLINE;
    s.pts = pts;
    s.n = n;
    s.p[0] = radius;
    return s;
}

Shape grown(Shape s, double by) {
    s.grow += by;
    return s;
}

Shape outline(Shape s, double width) {
    s.stroke = width;
    return s;
}

Canvas canvas_create(int w, int h) {
    Canvas c = {};
    c.w = w;
    c.h = h;
    c.px = (float *)calloc((size_t)w * h * 4, sizeof(float));
    canvas_frame(&c, 0, 0, w, h);
    return c;
}

void canvas_free(Canvas *c) {
    free(c->px);
    *c = Canvas{};
}

void canvas_frame(Canvas *c, int x, int y, int w, int h, double scale_x, double scale_y) {
    c->clip_x0 = x < 0 ? 0 : x;
    c->clip_y0 = y < 0 ? 0 : y;
    c->clip_x1 = x + w > c->w ? c->w : x + w;
    c->clip_y1 = y + h > c->h ? c->h : y + h;
    canvas_origin(c, x, y, scale_x, scale_y);
}

void canvas_origin(Canvas *c, double ox, double oy, double sx, double sy) {
    c->ox = ox;
    c->oy = oy;
    c->sx = sx;
    c->sy = sy;
}

static double seg_dist(double px, double py, double ax, double ay, double bx, double by, double *t_out) {
    double dx = bx - ax, dy = by - ay;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0;
    if (t_out) *t_out = t;
    double ex = px - (ax + t * dx), ey = py - (ay + t * dy);
    return sqrt(ex * ex + ey * ey);
}

static double shape_distance(const Shape *s, double x, double y) {
    double d = 0;
    const double *p = s->p;
    switch (s->kind) {
    case SHAPE_CIRCLE:
        d = hypot(x - p[0], y - p[1]) - p[2];
        break;
    case SHAPE_ELLIPSE: {
        double ca = cos(p[4]), sa = sin(p[4]);
        double lx = (x - p[0]) * ca + (y - p[1]) * sa;
        double ly = -(x - p[0]) * sa + (y - p[1]) * ca;
        double k0 = hypot(lx / p[2], ly / p[3]);
        double k1 = hypot(lx / (p[2] * p[2]), ly / (p[3] * p[3]));
        d = k1 > 0 ? k0 * (k0 - 1) / k1 : -mind(p[2], p[3]);
        break;
    }
    case SHAPE_BOX: {
        double ca = cos(p[5]), sa = sin(p[5]);
        double lx = (x - p[0]) * ca + (y - p[1]) * sa;
        double ly = -(x - p[0]) * sa + (y - p[1]) * ca;
        double r = mind(p[4], mind(p[2], p[3]));
        double qx = fabs(lx) - (p[2] - r), qy = fabs(ly) - (p[3] - r);
        d = hypot(maxd(qx, 0), maxd(qy, 0)) + mind(maxd(qx, qy), 0) - r;
        break;
    }
    case SHAPE_CAPSULE: {
        double t;
        double e = seg_dist(x, y, p[0], p[1], p[2], p[3], &t);
        d = e - (p[4] + (p[5] - p[4]) * t);
        break;
    }
    case SHAPE_POLYGON: {
        double best = 1e30;
        bool inside = false;
        for (int i = 0, j = s->n - 1; i < s->n; j = i++) {
            double ax = s->pts[2 * j], ay = s->pts[2 * j + 1];
            double bx = s->pts[2 * i], by = s->pts[2 * i + 1];
            best = mind(best, seg_dist(x, y, ax, ay, bx, by, 0));
            if ((ay > y) != (by > y) && x < ax + (bx - ax) * (y - ay) / (by - ay)) inside = !inside;
        }
        d = inside ? -best : best;
        break;
    }
    case SHAPE_POLYLINE: {
        double best = 1e30;
        for (int i = 1; i < s->n; i++)
            best = mind(best, seg_dist(x, y, s->pts[2 * i - 2], s->pts[2 * i - 1], s->pts[2 * i], s->pts[2 * i + 1], 0));
        d = best - p[0];
        break;
    }
    }
    d -= s->grow;
    if (s->stroke > 0) d = fabs(d) - s->stroke * 0.5;
    return d;
}

static void shape_bounds(const Shape *s, double *x0, double *y0, double *x1, double *y1) {
    const double *p = s->p;
    double r = 0, cx = 0, cy = 0;
    switch (s->kind) {
    case SHAPE_CIRCLE: cx = p[0], cy = p[1], r = p[2]; break;
    case SHAPE_ELLIPSE: cx = p[0], cy = p[1], r = maxd(p[2], p[3]); break;
    case SHAPE_BOX: cx = p[0], cy = p[1], r = hypot(p[2], p[3]); break;
    case SHAPE_CAPSULE: {
        double m = maxd(p[4], p[5]) + s->grow;
        *x0 = mind(p[0], p[2]) - m - s->stroke;
        *x1 = maxd(p[0], p[2]) + m + s->stroke;
        *y0 = mind(p[1], p[3]) - m - s->stroke;
        *y1 = maxd(p[1], p[3]) + m + s->stroke;
        return;
    }
    case SHAPE_POLYGON:
    case SHAPE_POLYLINE: {
        double m = (s->kind == SHAPE_POLYLINE ? p[0] : 0) + s->stroke + s->grow;
        *x0 = *y0 = 1e30;
        *x1 = *y1 = -1e30;
        for (int i = 0; i < s->n; i++) {
            *x0 = mind(*x0, s->pts[2 * i] - m), *x1 = maxd(*x1, s->pts[2 * i] + m);
            *y0 = mind(*y0, s->pts[2 * i + 1] - m), *y1 = maxd(*y1, s->pts[2 * i + 1] + m);
        }
        return;
    }
    }
    r += s->stroke + s->grow;
    *x0 = cx - r, *x1 = cx + r, *y0 = cy - r, *y1 = cy + r;
}

static Color paint_at(const Paint *p, double x, double y) {
    if (p->kind == PAINT_LINEAR) {
        double dx = p->x1 - p->x0, dy = p->y1 - p->y0;
        double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? clamp01(((x - p->x0) * dx + (y - p->y0) * dy) / len2) : 0;
        return mix(p->c0, p->c1, t);
    }
    if (p->kind == PAINT_RADIAL) {
        double t = p->x1 > 0 ? clamp01(hypot(x - p->x0, y - p->y0) / p->x1) : 1;
        return mix(p->c0, p->c1, t);
    }
    return p->c0;
}

static void blend_pixel(float *d, const Paint *p, Color c, double cov) {
    if (p->blend == BLEND_ERASE) {
        double k = 1 - cov * p->c0.a;
        for (int i = 0; i < 4; i++) d[i] = (float)(d[i] * k);
        return;
    }
    double a = clamp01(c.a) * cov;
    if (a <= 0) return;
    if (p->blend == BLEND_ADD) {
        d[0] = (float)(d[0] + c.r * a);
        d[1] = (float)(d[1] + c.g * a);
        d[2] = (float)(d[2] + c.b * a);
        d[3] = (float)(d[3] + a * (1 - d[3]));
        return;
    }
    double k = 1 - a;
    d[0] = (float)(c.r * a + d[0] * k);
    d[1] = (float)(c.g * a + d[1] * k);
    d[2] = (float)(c.b * a + d[2] * k);
    d[3] = (float)(a + d[3] * k);
}

void fill(Canvas *c, Shape s, Paint p) {
    double bx0, by0, bx1, by1;
    shape_bounds(&s, &bx0, &by0, &bx1, &by1);
    double scale = mind(c->sx, c->sy);
    double margin = (2 + p.soft) / scale;
    int px0 = (int)floor(c->ox + (bx0 - margin) * c->sx);
    int px1 = (int)ceil(c->ox + (bx1 + margin) * c->sx);
    int py0 = (int)floor(c->oy + (by0 - margin) * c->sy);
    int py1 = (int)ceil(c->oy + (by1 + margin) * c->sy);
    if (px0 < c->clip_x0) px0 = c->clip_x0;
    if (py0 < c->clip_y0) py0 = c->clip_y0;
    if (px1 > c->clip_x1) px1 = c->clip_x1;
    if (py1 > c->clip_y1) py1 = c->clip_y1;
    for (int y = py0; y < py1; y++) {
        double ly = (y + 0.5 - c->oy) / c->sy;
        for (int x = px0; x < px1; x++) {
            double lx = (x + 0.5 - c->ox) / c->sx;
            double d = shape_distance(&s, lx, ly) * scale;
            double cov = clamp01(0.5 - d / (1 + p.soft));
            if (cov <= 0) continue;
            blend_pixel(c->px + ((size_t)y * c->w + x) * 4, &p, paint_at(&p, lx, ly), cov);
        }
    }
}

void fill_rect_all(Canvas *c, Paint p) {
    for (int y = c->clip_y0; y < c->clip_y1; y++) {
        double ly = (y + 0.5 - c->oy) / c->sy;
        for (int x = c->clip_x0; x < c->clip_x1; x++) {
            double lx = (x + 0.5 - c->ox) / c->sx;
            blend_pixel(c->px + ((size_t)y * c->w + x) * 4, &p, paint_at(&p, lx, ly), 1.0);
        }
    }
}

Mask mask_for_clip(const Canvas *c) {
    Mask m = {};
    m.x0 = c->clip_x0;
    m.y0 = c->clip_y0;
    m.w = c->clip_x1 - c->clip_x0;
    m.h = c->clip_y1 - c->clip_y0;
    m.a = (float *)calloc((size_t)m.w * m.h, sizeof(float));
    return m;
}

void mask_free(Mask *m) {
    free(m->a);
    *m = Mask{};
}

void mask_dilate(Mask *dst, const Mask *src, double radius) {
    int r = (int)ceil(radius) + 1;
    for (int y = 0; y < src->h; y++) {
        for (int x = 0; x < src->w; x++) {
            double best = 0;
            for (int dy = -r; dy <= r; dy++) {
                int sy = y + dy;
                if (sy < 0 || sy >= src->h) continue;
                for (int dx = -r; dx <= r; dx++) {
                    int sx = x + dx;
                    if (sx < 0 || sx >= src->w) continue;
                    double v = src->a[(size_t)sy * src->w + sx];
                    if (v <= best) continue;
                    double k = clamp01(radius + 0.5 - sqrt((double)(dx * dx + dy * dy)));
                    if (v * k > best) best = v * k;
                }
            }
            dst->a[(size_t)y * dst->w + x] = (float)best;
        }
    }
}

void mask_fill(Canvas *c, const Mask *m, Paint p) {
    for (int y = 0; y < m->h; y++) {
        int cy = m->y0 + y;
        double ly = (cy + 0.5 - c->oy) / c->sy;
        for (int x = 0; x < m->w; x++) {
            double cov = m->a[(size_t)y * m->w + x];
            if (cov <= 0) continue;
            int cx = m->x0 + x;
            double lx = (cx + 0.5 - c->ox) / c->sx;
            blend_pixel(c->px + ((size_t)cy * c->w + cx) * 4, &p, paint_at(&p, lx, ly), cov);
        }
    }
}

void bezier_points(double *out, int n, double x0, double y0, double cx, double cy, double x1, double y1) {
    for (int i = 0; i < n; i++) {
        double t = n > 1 ? (double)i / (n - 1) : 0;
        double u = 1 - t;
        out[2 * i] = u * u * x0 + 2 * u * t * cx + t * t * x1;
        out[2 * i + 1] = u * u * y0 + 2 * u * t * cy + t * t * y1;
    }
}

uint32_t hash_u32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

double hash_unit(uint32_t a, uint32_t b, uint32_t c) {
    return hash_u32(a * 0x9E3779B1U ^ hash_u32(b * 0x85EBCA77U ^ hash_u32(c + 0x27d4eb2fU))) / 4294967296.0;
}

double value_noise(double x, double y, uint32_t seed) {
    double fx = floor(x), fy = floor(y);
    int ix = (int)fx, iy = (int)fy;
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = hash_unit((uint32_t)ix, (uint32_t)iy, seed);
    double b = hash_unit((uint32_t)(ix + 1), (uint32_t)iy, seed);
    double cc = hash_unit((uint32_t)ix, (uint32_t)(iy + 1), seed);
    double d = hash_unit((uint32_t)(ix + 1), (uint32_t)(iy + 1), seed);
    return (a + (b - a) * tx) + ((cc + (d - cc) * tx) - (a + (b - a) * tx)) * ty;
}

uint8_t *canvas_to_rgba8(const Canvas *c, bool dither) {
    static const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    uint8_t *out = (uint8_t *)calloc((size_t)c->w * c->h * 4, 1);
    for (int y = 0; y < c->h; y++) {
        for (int x = 0; x < c->w; x++) {
            const float *s = c->px + ((size_t)y * c->w + x) * 4;
            uint8_t *d = out + ((size_t)y * c->w + x) * 4;
            double a = clamp01(s[3]);
            int a8 = (int)floor(a * 255 + 0.5);
            if (a8 == 0) continue;
            double off = dither ? (BAYER[y & 3][x & 3] + 0.5) / 16.0 - 0.5 : 0;
            for (int i = 0; i < 3; i++) {
                int v = (int)floor(clamp01(s[i] / a) * 255 + 0.5 + off);
                d[i] = (uint8_t)(v < 0 ? 0 : (v > 255 ? 255 : v));
            }
            d[3] = (uint8_t)a8;
        }
    }
    return out;
}
