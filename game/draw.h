// The game's pushes into the sprite batch: every picture of the game goes
// through these few calls.
#pragma once

#include "os/types.h"
#include "os/window.h"
#include "render/camera.h"
#include "render/sprite.h"

struct Vec2f {
    f32 x, y;
};

// Start and end of a frame's drawing.
void draw_frame_begin(void);
void draw_frame_end(void);

// A sprite at (x, y) with its anchor, size, rotation (radians) and tint; the
// frame of an animated row is chosen by anim_ms.
void draw_sprite(const Sprite *sprite, u64 anim_ms, Vec2f position, Vec2f size, Vec2f anchor,
                 f32 rotation, const u8 tint[4]);
// At its natural size with its top-left corner at (x, y).
void draw_sprite_at(const Sprite *sprite, u64 anim_ms, f32 x, f32 y);
// Stretched over the whole window.
void draw_full_window(const Sprite *sprite);
// A solid square centred on position.
void draw_box(Vec2f position, Vec2f size, const u8 fill[4]);

// The size the game is laid out for whatever its window's size: the window
// shows it scaled and letterboxed, so play is the same at every size.
#define GAME_VIEW_WIDTH 1280
#define GAME_VIEW_HEIGHT 800
// The size the game is laid out for this frame: GAME_VIEW_WIDTH x
// GAME_VIEW_HEIGHT, or in a replay the recorded one.  Set by the frame step.
extern Size2i game_view_size;
i32 view_width(void);
i32 view_height(void);

// The camera the frame step sizes to the client area each frame.
extern Camera camera;
// A window-less replay: the frame's pushes are made, nothing reaches GL.
extern bool draw_headless;
