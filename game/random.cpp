#include "game/random.h"

#include "game/game_vars.h"
#include "game/portable_sine.h"

#include <math.h>

f32 random_unit(void) {
    f32 seed = (f32)((f64)game_vars.random_seed + 1.7634);
    if (seed >= 50000.0f) seed = (f32)((f64)seed - 49999.13);
    game_vars.random_seed = seed;
    f32 x = (f32)portable_sin((f64)seed) * 10000.0f;
    return x - floorf(x);
}

f32 random_spread(f64 spread, f64 offset) {
    f32 unit = 2.0f * random_unit() - 1.0f;
    return (f32)((f64)unit * spread + offset);
}
