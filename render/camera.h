// The game's camera: what part of the world the frame shows.
#pragma once

#include "render/vec.h"

struct Camera {
    Vec2f view_size;    // the client size divided by zoom, set every frame
    f32 camera_extra;   // 0, passed through to the shaders
    f32 zoom;           // 1
};
