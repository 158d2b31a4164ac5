// The game's one random source.  Every call advances the shared seed, so the
// order of calls within a frame is part of the game's behaviour.
#pragma once

#include "os/types.h"

// In [0, 1).
f32 random_unit(void);

// (2r - 1) * spread + offset: the bracket in float, the rest in double.
f32 random_spread(f64 spread, f64 offset);
