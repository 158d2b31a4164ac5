// The particles made by collisions and by the diver's trail.
#pragma once

#include "game/draw.h"
#include "os/types.h"

void add_pickup_sparks(Vec2f at);  // 5
void add_hazard_sparks(Vec2f at);  // 5
void add_crash_sparks(Vec2f at);   // 12
void add_crash_flash(Vec2f at);    // 1
// side 0 drifts right, 1 left; the sprite follows the hope stage (1 or 2).
void add_trail_particle(Vec2f at, u8 side, i32 hope_stage);
