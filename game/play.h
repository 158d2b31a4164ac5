// Play: waiting at the surface, then the endless fall.
#pragma once

#include "os/types.h"

void run_play_frame(void);

// Fall speed after delta_ms at the rate the current speed calls for.
f32 next_speed(f32 speed, i32 delta_ms);
// The kind of the next spawned object for a draw of random_unit: 3 to 13.
u8 spawn_kind_for(f32 unit);
// 0 to 4 by hope.
i32 hope_stage_for(f32 hope);
