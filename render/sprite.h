// Sprites: texel rectangles in the texture array, optionally a strip of frames.
#pragma once

#include "os/types.h"

#pragma pack(push, 1)
struct Sprite {
    u16 x;  // left texel of the first frame
    u16 y;  // top texel, counted down from the top of the layer
    u16 w;  // width of one frame
    u16 h;
    u8 layer;
    u16 frame_count;  // 0 or 1: not animated; frame k starts at x + k * w
    u16 frame_ms;
};
#pragma pack(pop)

static_assert(sizeof(Sprite) == 13, "Sprite is packed");
static_assert(offsetof(Sprite, layer) == 8, "");
static_assert(offsetof(Sprite, frame_count) == 9, "");
static_assert(offsetof(Sprite, frame_ms) == 11, "");

#define SPRITE_TABLE_ROWS 43
// Rows 0 to 37 lie on the sprite sheet, 38 to 42 on the background sheet.
#define SPRITE_FIRST_BACKGROUND_ROW 38

// Relative to their sheet until the start-up fix-up makes them absolute.
extern Sprite sprite_table[SPRITE_TABLE_ROWS];
