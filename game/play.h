// Play: waiting at the surface, then the endless fall.
#pragma once

#include "os/types.h"

void run_play_frame(void);

// Fall speed after delta_ms at the rate the current speed calls for.
f32 next_speed(f32 speed, i32 delta_ms);
// 0 to 4 by hope.
i32 hope_stage_for(f32 hope);
