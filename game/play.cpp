#include "game/play.h"

#include "game/draw.h"
#include "game/entities.h"
#include "game/frame_clock.h"
#include "game/game_vars.h"
#include "game/keys.h"
#include "game/particles.h"
#include "game/random.h"
#include "render/font.h"
#include "render/sprite_rows.h"
#include "sound/sound_bank.h"

f32 next_speed(f32 speed, i32 delta_ms) {
    f64 rate = speed > 9.0f   ? 0.000000125
               : speed > 8.0f ? 0.00000025
               : speed > 7.0f ? 0.0000005
               : speed > 6.0f ? 0.00000125
               : speed > 5.0f ? 0.0000025
               : speed > 4.0f ? 0.000005
               : speed > 3.0f ? 0.0000125
               : speed > 2.0f ? 0.000025
               : speed > 1.0f ? 0.00005
                              : 0.0001;
    return (f32)((f64)speed + (f64)delta_ms * rate);
}

u8 spawn_kind_for(f32 unit) { return (u8)(i32)(unit * 11.0f + 3.0f); }

i32 hope_stage_for(f32 hope) {
    if (hope >= 100.0f) return 4;
    if (hope >= 60.0f) return 3;
    if (hope >= 0.0f) return 2;
    if (hope > -100.0f) return 1;
    return 0;
}

// By hope stage, from the abyss up.
static const SpriteRow STAGE_BACKGROUND_ROW[5] = {SPRITE_BACKGROUND_ABYSS, SPRITE_BACKGROUND_GLOOMY, SPRITE_BACKGROUND,
                                                  SPRITE_BACKGROUND_HOPEFUL, SPRITE_BACKGROUND_JOYFUL};

static void draw_surface(void) {
    draw_sprite_at(&sprite_table[SPRITE_SURFACE], frame_clock.total_ms, 0.0f, 150.0f - game_vars.depth);
}

static void run_waiting(void) {
    draw_full_window(&sprite_table[SPRITE_BACKGROUND]);
    draw_surface();
    draw_sprite_at(&sprite_table[SPRITE_START_PROMPT], frame_clock.total_ms, 360.0f, 580.0f);
    if (!key_pressed(KEY_X)) return;
    game_vars.play_phase = PLAY_PHASE_FALLING;
    if (entity_list.count > 0) {
        Entity *diver = (Entity *)entity_list.items;
        diver->kind = ENTITY_DIVER;
        diver->sprite = &sprite_table[SPRITE_DIVER];
        diver->half_size = Vec2f{(f32)((f64)diver->sprite->w * 0.5 * 0.5), (f32)((f64)diver->sprite->h * 0.7 * 0.5)};
    }
    play_music(sound_bank.music[3]);
}

static void change_stage(i32 stage) {
    game_vars.hope_stage = stage;
    for (u64 i = 0; i < entity_list.count; i++) {
        Entity *e = (Entity *)entity_list.items + i;
        if (e->kind == ENTITY_DIVER) e->sprite = diver_sprite_for_stage(stage);
    }
    play_stage_music(stage);
}

static void run_falling(void) {
    i32 delta_ms = frame_clock.delta_ms;
    game_vars.speed = next_speed(game_vars.speed, delta_ms);

    if (key_pressed(KEY_PLUS)) game_vars.hope = game_vars.hope + 10.0f;
    if (key_pressed(KEY_MINUS)) game_vars.hope = game_vars.hope - 10.0f;
    game_vars.hope = (f32)((f64)game_vars.hope - (f64)delta_ms * 0.00002);

    i32 stage = hope_stage_for(game_vars.hope);
    if (stage != game_vars.hope_stage) change_stage(stage);

    draw_full_window(&sprite_table[STAGE_BACKGROUND_ROW[game_vars.hope_stage]]);
    draw_surface();

    game_vars.spawn_timer_ms -= delta_ms;
    if (game_vars.spawn_timer_ms <= 0) {
        spawn_entity(spawn_kind_for(random_unit()));
        game_vars.spawn_timer_ms += 1000;
    }
}

void run_play_frame(void) {
    draw_frame_begin();
    game_vars.depth = (f32)frame_clock.delta_ms * game_vars.speed + game_vars.depth;
    if (game_vars.play_phase == PLAY_PHASE_SETUP) {
        create_entity_list();
        game_vars.play_phase = PLAY_PHASE_WAITING;
    }
    if (game_vars.play_phase == PLAY_PHASE_WAITING) {
        run_waiting();
    } else {
        run_falling();
    }
    if (key_pressed(KEY_R)) game_vars.show_collision_boxes ^= 1;
    do_entities();
    update_particles();
    draw_hud(game_vars.depth / 1000.0f, game_vars.speed, game_vars.hope);
    draw_frame_end();
}
