// The two sheets: every sprite row drawn on the pixels the sprite table names.
#pragma once

#include "raster.h"
#include "text.h"

struct Fonts {
    FontFile regular, bold;
};

#define SHEET_SPRITES_W 2048
#define SHEET_SPRITES_H 1888
#define SHEET_BACKGROUND_W 2048
#define SHEET_BACKGROUND_H 1728

// Points the canvas at frame `frame` of sprite row `row`, local (0,0) at its top-left.
void frame_of(Canvas *c, int row, int frame);

void draw_diver_rows(Canvas *c);
void draw_pickups(Canvas *c);
void draw_hazards(Canvas *c);
void draw_effects(Canvas *c);
void draw_surface(Canvas *c);
void draw_prompt(Canvas *c, const Fonts *f);
void draw_opening(Canvas *c, const Fonts *f);
void draw_backgrounds(Canvas *c);
