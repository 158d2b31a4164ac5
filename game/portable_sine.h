// A sine that gives the same bits on every C library, so the simulation
// replays identically on every build.
#pragma once

#include "os/types.h"

// Double-precision sine, within one ulp of the true value for every finite x;
// NaN for infinities and NaN.
f64 portable_sin(f64 x);

// float(sin(double(v))), the single-precision form the game uses.
static inline f32 portable_sinf(f32 v) { return (f32)portable_sin((f64)v); }
