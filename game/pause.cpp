#include "game/pause.h"

#include <string.h>

#include "game/draw.h"
#include "game/frame_clock.h"
#include "game/keys.h"
#include "game/volume_keys.h"
#include "os/memory.h"
#include "render/font.h"
#include "render/renderer.h"

static bool paused;
// The picture of the last frame played, shown again while paused.
static SpriteInstance held_picture[RENDERER_MAX_INSTANCES];
static u32 held_count;

static const u8 PAUSE_BAND[4] = {0, 0, 0, 150};

static void hold_picture(void) {
    u32 count = 0;
    const SpriteInstance *drawn = renderer_drawn_batch(&count);
    held_count = count <= RENDERER_MAX_INSTANCES ? count : RENDERER_MAX_INSTANCES;
    if (held_count) memcpy(held_picture, drawn, held_count * sizeof(SpriteInstance));
}

static i32 text_width(Str text) {
    const Font *font = &font_bigger;
    if (!font->glyphs) return 0;
    i32 width = 0;
    for (u64 i = 0; i < text.len; i++) width += font->glyphs[(u8)text.data[i]].width + font->spacing;
    return width;
}

// The line at twice the font's size, so that it reads from across the room:
// drawn at the origin, then each glyph's quad scaled about the centre.
#define PAUSE_TEXT_SCALE 2.0f

static void draw_paused(void) {
    draw_frame_begin();
    for (u32 i = 0; i < held_count; i++) *push_instance() = held_picture[i];
    f32 w = (f32)view_width(), h = (f32)view_height();
    draw_box(Vec2f{w * 0.5f, h * 0.5f}, Vec2f{w, 90.0f}, PAUSE_BAND);
    Str line = STR("Paused");
    u64 first = renderer.instance_buffer.count;
    draw_text(0, 0, line);
    f32 left = w * 0.5f - (f32)text_width(line) * PAUSE_TEXT_SCALE * 0.5f;
    f32 top = h * 0.5f - (f32)font_bigger.line_height * PAUSE_TEXT_SCALE * 0.5f;
    SpriteInstance *glyphs = (SpriteInstance *)renderer.instance_buffer.data;
    for (u64 i = first; i < renderer.instance_buffer.count; i++) {
        SpriteInstance *g = &glyphs[i];
        g->position[0] = left + g->position[0] * PAUSE_TEXT_SCALE;
        g->position[1] = top + g->position[1] * PAUSE_TEXT_SCALE;
        g->size[0] *= PAUSE_TEXT_SCALE;
        g->size[1] *= PAUSE_TEXT_SCALE;
    }
    draw_frame_end();
}

bool pause_frame(void) {
    if (key_pressed(KEY_P)) {
        key_consume_press(KEY_P);
        paused = !paused;
        // Held from the next pass on: this one's step has been taken already.
        frame_clock_hold(&frame_clock, paused);
        volume_set_quiet(paused);
        if (paused) hold_picture();
    }
    if (!paused) return false;
    draw_paused();
    return true;
}

bool game_paused(void) { return paused; }

void pause_reset(void) {
    paused = false;
    held_count = 0;
    frame_clock_hold(&frame_clock, false);
}
