// The diver and the objects rising past it.  Motion is per frame; only the
// diver's steering and the timers follow delta_ms.
#pragma once

#include "game/draw.h"
#include "os/memory.h"
#include "os/types.h"
#include "render/sprite.h"

#define ENTITY_DEAD 0x01
#define ENTITY_HORIZONTAL 0x02  // crosses the screen instead of rising

#define ENTITY_DIVER 1
#define ENTITY_DIVER_WAITING 2
#define ENTITY_FIRST_PICKUP 3
#define ENTITY_LAST_PICKUP 8
#define ENTITY_FIRST_HAZARD 9
#define ENTITY_LAST_HAZARD 13

struct Entity {
    u8 flags;
    u8 kind;
    const Sprite *sprite;
    Vec2f position;   // centre
    Vec2f half_size;  // of the collision box
    Vec2f velocity;   // pixels per frame
};

extern DynArray entity_list;

// The list with the waiting diver as its only entity.
void create_entity_list(void);
// Appends an object of kind 3 to 13 with random motion.
void spawn_entity(u8 kind);
// A random point just below the bottom edge, the whole sprite within the width.
void place_at_bottom(Entity *entity);
// Updates, collides, removes and draws every entity.
void do_entities(void);

// Diver sprite row of a hope stage.
const Sprite *diver_sprite_for_stage(i32 stage);
