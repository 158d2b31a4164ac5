#include "game/state_hash.h"

#include "game/entities.h"
#include "game/frame_clock.h"
#include "game/game_vars.h"
#include "game/particles.h"

struct Fold {
    u64 hash;
};

static void fold(Fold *f, const void *data, u64 size) {
    const u8 *p = (const u8 *)data;
    for (u64 i = 0; i < size; i++) {
        f->hash ^= p[i];
        f->hash *= 0x100000001B3ull;
    }
}

// Field by field, so that padding never counts.
template <typename T> static void fold_value(Fold *f, T v) { fold(f, &v, sizeof(v)); }

static i32 row_of(const Sprite *sprite) { return sprite ? (i32)(sprite - sprite_table) : -1; }

static void fold_vec(Fold *f, Vec2f v) { fold_value(f, v.x), fold_value(f, v.y); }

static void fold_color(Fold *f, Color4f c) { fold_value(f, c.r), fold_value(f, c.g), fold_value(f, c.b), fold_value(f, c.a); }

u64 game_state_hash(void) {
    Fold f = {0xCBF29CE484222325ull};
    const GameVars &g = game_vars;
    fold_value(&f, g.game_state), fold_value(&f, g.intro_step), fold_value(&f, g.intro_timer_ms);
    fold_value(&f, g.play_phase), fold_value(&f, g.speed), fold_value(&f, g.depth), fold_value(&f, g.hope);
    fold_value(&f, g.hope_stage), fold_value(&f, g.spawn_timer_ms), fold_value(&f, g.random_seed);
    fold_value(&f, g.show_collision_boxes), fold_value(&f, g.trail_timer_ms), fold_value(&f, g.trail_side);
    fold_value(&f, frame_clock.total_ms), fold_value(&f, frame_clock.delta_ms);

    fold_value(&f, entity_list.count);
    for (u64 i = 0; i < entity_list.count; i++) {
        const Entity &e = ((const Entity *)entity_list.items)[i];
        fold_value(&f, e.flags), fold_value(&f, e.kind), fold_value(&f, row_of(e.sprite));
        fold_vec(&f, e.position), fold_vec(&f, e.half_size), fold_vec(&f, e.velocity);
    }
    fold_value(&f, particle_list.count);
    for (u64 i = 0; i < particle_list.count; i++) {
        const Particle &p = ((const Particle *)particle_list.items)[i];
        fold_value(&f, p.flags), fold_value(&f, row_of(p.sprite)), fold_vec(&f, p.position), fold_vec(&f, p.scale);
        fold_value(&f, p.rotation), fold_color(&f, p.color), fold_vec(&f, p.velocity), fold_vec(&f, p.scale_velocity);
        fold_value(&f, p.angular_velocity), fold_color(&f, p.color_velocity), fold_value(&f, p.lifetime_ms);
        fold_value(&f, p.age_ms);
    }
    return f.hash;
}
