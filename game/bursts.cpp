#include "game/bursts.h"

#include "game/particles.h"
#include "game/random.h"
#include "render/sprite_rows.h"

#define SPARK_FLAGS (PARTICLE_MOVE | PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_SCALE | PARTICLE_CENTERED)

// A spark that shrinks from 1 + s to 1 - s over its second of life.
static void add_shrinking_spark(Vec2f at, const Sprite *sprite, f64 spread, f64 offset) {
    Particle p = {};
    p.flags = SPARK_FLAGS;
    p.sprite = sprite;
    p.position = at;
    f32 s = random_spread(spread, offset);
    p.scale = Vec2f{1.0f + s, 1.0f + s};
    f32 rate = (f32)(((1.0 - (f64)s) - (1.0 + (f64)s)) / 1000.0);
    p.scale_velocity = Vec2f{rate, rate};
    f32 vx = random_spread(0.15, 0.0);
    f32 vy = random_spread(0.15, 0.0);
    p.velocity = Vec2f{vx, vy};
    p.angular_velocity = (2.0f * random_unit() - 1.0f) * 0.5f;
    p.color = Color4f{1, 1, 1, 2};
    p.color_velocity = Color4f{0, 0, 0, -0.002f};
    p.lifetime_ms = 1000;
    add_particle(&p);
}

void add_pickup_sparks(Vec2f at) {
    for (int i = 0; i < 5; i++) add_shrinking_spark(at, &sprite_table[SPRITE_PICKUP_SPARK], 0.8, 0.1);
}

void add_hazard_sparks(Vec2f at) {
    for (int i = 0; i < 5; i++) add_shrinking_spark(at, &sprite_table[SPRITE_HAZARD_SPARK], 0.3, 0.3);
}

void add_crash_sparks(Vec2f at) {
    for (int i = 0; i < 12; i++) {
        Particle p = {};
        p.flags = SPARK_FLAGS;
        p.sprite = &sprite_table[SPRITE_CRASH_SPARK];
        p.position = at;
        f32 a = random_spread(0.8, 1.0);
        f32 b = random_spread(0.8, 1.0);
        f32 c = random_spread(0.8, 1.0);
        f32 d = random_spread(0.8, 1.0);
        p.scale = Vec2f{a, b};
        p.scale_velocity = Vec2f{(c - a) / 600.0f, (d - b) / 600.0f};
        f32 vx = random_spread(0.3, 0.0);
        f32 vy = random_spread(0.3, 0.0);
        p.velocity = Vec2f{vx, vy};
        p.angular_velocity = (2.0f * random_unit() - 1.0f) * 2.0f;
        p.color = Color4f{1, 1, 1, 1};
        p.color_velocity = Color4f{0, 0, 0, -0.0016666667f};
        p.lifetime_ms = 600;
        add_particle(&p);
    }
}

void add_crash_flash(Vec2f at) {
    Particle p = {};
    p.flags = PARTICLE_ROTATE | PARTICLE_COLOR | PARTICLE_SCALE | PARTICLE_CENTERED;
    p.sprite = &sprite_table[SPRITE_CRASH_FLASH];
    p.position = at;
    p.scale = Vec2f{1, 1};
    p.scale_velocity = Vec2f{0.00875f, 0.00875f};
    p.angular_velocity = 5.0f;
    p.color = Color4f{1, 1, 1, 1};
    p.color_velocity = Color4f{0, 0, 0, -0.00125f};
    p.lifetime_ms = 800;
    add_particle(&p);
}

void add_trail_particle(Vec2f at, u8 side, i32 hope_stage) {
    Particle p = {};
    p.flags = PARTICLE_MOVE | PARTICLE_COLOR | PARTICLE_CENTERED;
    p.sprite = &sprite_table[hope_stage == 2 ? SPRITE_TRAIL : SPRITE_TRAIL_GLOOMY];
    p.position = at;
    p.scale = Vec2f{1, 1};
    f64 r = (f64)random_unit();
    p.velocity = Vec2f{side == 0 ? (f32)(r * 0.08 + 0.02) : (f32)(r * -0.08 - 0.02), -0.1f};
    p.color = Color4f{1, 1, 1, 2};
    p.color_velocity = Color4f{0, 0, 0, -0.00066666666f};
    p.lifetime_ms = 3000;
    add_particle(&p);
}
