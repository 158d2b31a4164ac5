#include "game/draw.h"

#include "game/frame_clock.h"
#include "render/gl_functions.h"
#include "render/renderer.h"
#include "render/sprite_frames.h"
#include "render/texture_array.h"

#include <string.h>

static const u8 TINT_WHITE[4] = {255, 255, 255, 255};

Camera camera = {{0.0f, 0.0f}, 0.0f, 1.0f};
Size2i game_view_size;
bool draw_headless;

void draw_frame_begin(void) {
    if (draw_headless) return;
    renderer.view_size = game_view_size;
    begin_frame();
    glUseProgram(renderer.shader.program);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_ARRAY, texture_array.name);
    set_frame_uniforms(&camera, frame_clock.total_ms);
    renderer.instance_buffer.count = 0;
}

void draw_frame_end(void) {
    if (!draw_headless) draw_instances();
}

void draw_sprite(const Sprite *sprite, u64 anim_ms, Vec2f position, Vec2f size, Vec2f anchor,
                 f32 rotation, const u8 tint[4]) {
    SpriteInstance *inst = push_instance();
    memset(inst, 0, sizeof(*inst));
    SpriteRect rect = sprite_frame_rect(sprite, anim_ms);
    inst->position[0] = position.x;
    inst->position[1] = position.y;
    inst->size[0] = size.x;
    inst->size[1] = size.y;
    inst->anchor[0] = anchor.x;
    inst->anchor[1] = anchor.y;
    inst->rotation = rotation;
    memcpy(inst->tint, tint, 4);
    inst->tex_x = rect.x;
    inst->tex_y = rect.y;
    inst->tex_w = rect.w;
    inst->tex_h = rect.h;
    inst->layer = sprite->layer;
}

void draw_sprite_at(const Sprite *sprite, u64 anim_ms, f32 x, f32 y) {
    draw_sprite(sprite, anim_ms, Vec2f{x, y}, Vec2f{(f32)sprite->w, (f32)sprite->h}, Vec2f{0, 0}, 0.0f,
                TINT_WHITE);
}

void draw_full_window(const Sprite *sprite) {
    // Sized from the renderer's window, which a headless replay lacks.
    if (draw_headless) return;
    push_rect(sprite->x, sprite->y, sprite->w, sprite->h, sprite->layer);
}

void draw_box(Vec2f position, Vec2f size, const u8 fill[4]) {
    SpriteInstance *inst = push_instance();
    memset(inst, 0, sizeof(*inst));
    inst->position[0] = position.x;
    inst->position[1] = position.y;
    inst->size[0] = size.x;
    inst->size[1] = size.y;
    inst->anchor[0] = 0.5f;
    inst->anchor[1] = 0.5f;
    memcpy(inst->fill_color, fill, 4);
    memcpy(inst->tint, TINT_WHITE, 4);
}

i32 view_width(void) { return game_view_size.width; }

i32 view_height(void) { return game_view_size.height; }
