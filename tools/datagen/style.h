// The one palette and the inked drawing style shared by every picture.
#pragma once

#include "raster.h"

#define PAL_INK 0x14202c
#define PAL_ABYSS 0x04060c
#define PAL_NAVY 0x0c1e36
#define PAL_DEEP 0x123a66
#define PAL_SEA 0x1f6fa8
#define PAL_TEAL 0x1f9a9a
#define PAL_AQUA 0x7fe0dc
#define PAL_FOAM 0xeafcff
#define PAL_SAND 0xe8d3a0
#define PAL_BRASS 0xd09a3c
#define PAL_BRASS_LIGHT 0xf6d27e
#define PAL_BRASS_DARK 0x7e531f
#define PAL_SUIT 0x6b8c8c
#define PAL_SUIT_DARK 0x3f5a5e
#define PAL_LEAD 0x3a3f4a
#define PAL_SKIN 0xf4c6a0
#define PAL_BLUSH 0xf08a86
#define PAL_CORAL 0xe8573f
#define PAL_ORANGE 0xf59b35
#define PAL_GOLD 0xffd75a
#define PAL_PEARL 0xfff4e8
#define PAL_KELP 0x3f9a5a
#define PAL_PURPLE 0x6a2f7e
#define PAL_VIOLET 0x9b5cc4
#define PAL_GLOOM 0x1d1026
#define PAL_RUST 0x9a4f2a
#define PAL_WOOD 0x8a5a34
#define PAL_WOOD_DARK 0x5a3820

// Shape with a dark ink outline of the given width (local units) behind it.
void inked(Canvas *c, Shape s, Paint p, double ink = 1.3);
// A glow: additive radial falloff.
void glow(Canvas *c, double cx, double cy, double r, Color col);
void glow_ellipse(Canvas *c, double cx, double cy, double rx, double ry, Color col);
