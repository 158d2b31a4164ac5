// Small value records shared by the renderer's instance and camera records.
#pragma once

#include "os/types.h"

struct Vec2f {
    f32 x;
    f32 y;
};

struct Vec3f {
    f32 x;
    f32 y;
    f32 z;
};

struct Color8 {
    u8 r;
    u8 g;
    u8 b;
    u8 a;
};

static_assert(sizeof(Vec2f) == 8 && sizeof(Vec3f) == 12 && sizeof(Color8) == 4, "no padding");
