// A small anti-aliased rasteriser: shapes are signed-distance functions in a
// local frame, filled with a paint and composited onto a float canvas.
#pragma once

#include <stdint.h>

struct Color {
    double r, g, b, a;  // straight alpha, 0..1
};

// Premultiplied RGBA floats. Drawing is clipped to the clip rectangle and
// placed through the local frame: pixel = origin + scale * local.
struct Canvas {
    int w, h;
    float *px;
    int clip_x0, clip_y0, clip_x1, clip_y1;  // half-open
    double ox, oy, sx, sy;
};

enum ShapeKind {
    SHAPE_CIRCLE,    // p: cx cy r
    SHAPE_ELLIPSE,   // p: cx cy rx ry angle
    SHAPE_BOX,       // p: cx cy half_w half_h corner_radius angle
    SHAPE_CAPSULE,   // p: x0 y0 x1 y1 r0 r1
    SHAPE_POLYGON,   // pts: n points, even-odd fill
    SHAPE_POLYLINE,  // pts: n points, p[0] = radius
};

struct Shape {
    int kind;
    double p[6];
    const double *pts;  // x0 y0 x1 y1 ...
    int n;
    double stroke;  // > 0: only a band of this width around the outline
    double grow;    // pushes the outline outward by this much
};

enum PaintKind { PAINT_SOLID, PAINT_LINEAR, PAINT_RADIAL };
enum BlendMode { BLEND_OVER, BLEND_ERASE, BLEND_ADD };

struct Paint {
    int kind;
    Color c0, c1;
    double x0, y0, x1, y1;  // linear: from (x0,y0) to (x1,y1); radial: centre (x0,y0), radius x1
    int blend;
    double soft;  // extra edge softness in pixels
};

Color rgb(int hex, double a = 1.0);
Color mix(Color a, Color b, double t);
Color with_alpha(Color c, double a);

Paint solid(Color c);
Paint linear(Color c0, Color c1, double x0, double y0, double x1, double y1);
Paint radial(Color c0, Color c1, double cx, double cy, double r);
Paint soft(Paint p, double px);
Paint erase(double strength = 1.0);

Shape circle(double cx, double cy, double r);
Shape ellipse(double cx, double cy, double rx, double ry, double angle = 0);
Shape box(double cx, double cy, double hw, double hh, double radius = 0, double angle = 0);
Shape capsule(double x0, double y0, double x1, double y1, double r0, double r1);
Shape polygon(const double *pts, int n);
Shape polyline(const double *pts, int n, double radius);
Shape outline(Shape s, double width);
Shape grown(Shape s, double by);

Canvas canvas_create(int w, int h);
void canvas_free(Canvas *c);
// Clip to a rectangle and set the local frame to it: local (0,0) is its top-left.
void canvas_frame(Canvas *c, int x, int y, int w, int h, double scale_x = 1, double scale_y = 1);
void canvas_origin(Canvas *c, double ox, double oy, double sx, double sy);

void fill(Canvas *c, Shape s, Paint p);
// Fill the whole clip rectangle.
void fill_rect_all(Canvas *c, Paint p);

// Coverage mask in pixel space, the size of the canvas's clip rectangle.
struct Mask {
    int x0, y0, w, h;
    float *a;
};
Mask mask_for_clip(const Canvas *c);
void mask_free(Mask *m);
void mask_dilate(Mask *dst, const Mask *src, double radius);
void mask_fill(Canvas *c, const Mask *m, Paint p);

// Quadratic Bezier sampled into n points (2n doubles written).
void bezier_points(double *out, int n, double x0, double y0, double cx, double cy, double x1, double y1);

// Deterministic noise.
uint32_t hash_u32(uint32_t x);
double hash_unit(uint32_t a, uint32_t b = 0, uint32_t c = 0);
double value_noise(double x, double y, uint32_t seed);

// Convert to 8-bit straight-alpha RGBA; dither adds an ordered dither to colour.
uint8_t *canvas_to_rgba8(const Canvas *c, bool dither);
