#include "game/particles.h"

#include "game/frame_clock.h"

#include <string.h>

#define PI_F64 3.14159265358979323846

DynArray particle_list;

void create_particle_list(void) { particle_list = dynarray_create(sizeof(Particle), 128); }

void add_particle(const Particle *particle) { dynarray_push(&particle_list, sizeof(Particle), particle); }

void clear_particles(void) { particle_list.count = 0; }

u8 color_byte(f32 component) {
    if (!(component > 0.0f)) return 0;  // NaN draws as 0 too
    if (component > 1.0f) return 255;
    return (u8)(component * 255.0f);
}

static void remove_particle(u64 index) {
    Particle *items = (Particle *)particle_list.items;
    memmove(items + index, items + index + 1, (particle_list.count - index - 1) * sizeof(Particle));
    particle_list.count--;
}

void update_particles(void) {
    i32 delta_ms = frame_clock.delta_ms;
    f32 dt = (f32)delta_ms;
    for (u64 i = 0; i < particle_list.count;) {
        Particle *p = (Particle *)particle_list.items + i;
        p->age_ms = (i32)((u32)p->age_ms + (u32)delta_ms);  // wraps, never overflows
        if (!(p->flags & PARTICLE_IMMORTAL) && p->age_ms >= p->lifetime_ms) {
            remove_particle(i);
            continue;
        }
        if (p->flags & PARTICLE_MOVE) {
            p->position.x = p->position.x + p->velocity.x * dt;
            p->position.y = p->position.y + p->velocity.y * dt;
        }
        if (p->flags & PARTICLE_SCALE) {
            p->scale.x = p->scale.x + p->scale_velocity.x * dt;
            p->scale.y = p->scale.y + p->scale_velocity.y * dt;
        }
        if (p->flags & PARTICLE_ROTATE) p->rotation = p->rotation + p->angular_velocity * dt;
        if (p->flags & PARTICLE_COLOR) {
            p->color.r = p->color.r + p->color_velocity.r * dt;
            p->color.g = p->color.g + p->color_velocity.g * dt;
            p->color.b = p->color.b + p->color_velocity.b * dt;
            p->color.a = p->color.a + p->color_velocity.a * dt;
        }
        u8 tint[4] = {color_byte(p->color.r), color_byte(p->color.g), color_byte(p->color.b),
                      color_byte(p->color.a)};
        Vec2f size = {(f32)p->sprite->w * p->scale.x, (f32)p->sprite->h * p->scale.y};
        Vec2f anchor = (p->flags & PARTICLE_CENTERED) ? Vec2f{0.5f, 0.5f} : Vec2f{0.0f, 0.0f};
        f32 radians = (f32)((f64)p->rotation * PI_F64 / 180.0);
        draw_sprite(p->sprite, (u64)(u32)p->age_ms, p->position, size, anchor, radians, tint);
        i++;
    }
}
