// The diver and the objects rising past it.  Motion is per frame; only the
// diver's steering and the timers follow delta_ms.
#pragma once

#include "game/draw.h"
#include "os/memory.h"
#include "os/types.h"
#include "render/sprite.h"

#define ENTITY_DEAD 0x01
#define ENTITY_HORIZONTAL 0x02  // crosses the screen instead of rising

// Kinds.  Pick-ups and hazards are named for the pictures they show.
#define ENTITY_DIVER 1
#define ENTITY_DIVER_WAITING 2
#define ENTITY_JELLYFISH 3  // sways sideways
#define ENTITY_STARFISH 4   // rocks
#define ENTITY_PEARL_SHELL 5
#define ENTITY_AIR_BUBBLES 6
#define ENTITY_SEAHORSE 7
#define ENTITY_BOTTLE 8
#define ENTITY_CHAIN 9
#define ENTITY_PIRANHA 10   // crosses from the right
#define ENTITY_FISHHOOK 11  // spins
#define ENTITY_POISON_CAN 12  // rocks
#define ENTITY_URCHIN 13
#define ENTITY_FIRST_PICKUP ENTITY_JELLYFISH
#define ENTITY_LAST_PICKUP ENTITY_BOTTLE
#define ENTITY_FIRST_HAZARD ENTITY_CHAIN
#define ENTITY_LAST_HAZARD ENTITY_URCHIN

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
