// Short-lived pictures: the opening sequence's images, sparks, flashes and
// the diver's trail.  Rates are per millisecond of frame time.
#pragma once

#include "game/draw.h"
#include "os/memory.h"
#include "os/types.h"
#include "render/sprite.h"

#define PARTICLE_MOVE 0x01
#define PARTICLE_ROTATE 0x02
#define PARTICLE_COLOR 0x04
#define PARTICLE_SCALE 0x08
#define PARTICLE_IMMORTAL 0x10
#define PARTICLE_CENTERED 0x20

struct Color4f {
    f32 r, g, b, a;
};

struct Particle {
    u8 flags;
    const Sprite *sprite;
    Vec2f position;
    Vec2f scale;
    f32 rotation;  // degrees
    Color4f color;
    Vec2f velocity;
    Vec2f scale_velocity;
    f32 angular_velocity;
    Color4f color_velocity;
    i32 lifetime_ms;
    i32 age_ms;
};

extern DynArray particle_list;

// Done once by start-up: an empty list with room for 128.
void create_particle_list(void);
void add_particle(const Particle *particle);
void clear_particles(void);
// Ages, moves, removes and draws every particle by this frame's delta_ms.
void update_particles(void);

// A colour component as a byte: clamped to [0, 1], then x 255 truncated.
u8 color_byte(f32 component);
