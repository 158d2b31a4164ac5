// Where a sprite's pixels are: its animation frame now, and the start-up
// fix-up that makes the table's rows absolute.
#pragma once

#include "os/types.h"
#include "render/sprite.h"

struct SpriteRect {
    u16 x;
    u16 y;
    u16 w;
    u16 h;
};

// Where each sheet sits in the texture array (only x, y and layer are used);
// left zero when the sheet failed to load.
extern Sprite sprite_sheet_placement;
extern Sprite background_sheet_placement;

// The texel rectangle of the sprite's frame at t milliseconds.
SpriteRect sprite_frame_rect(const Sprite *sprite, u64 t);
// Moves every row of sprite_table to its sheet's placement (once, at start-up).
void fix_up_sprite_table(void);
