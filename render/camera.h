// The game's camera: what part of the world the frame shows.
#pragma once

#include "os/types.h"

struct Camera {
    f32 view_size[2];  // width, height: the client size divided by zoom, set every frame
    f32 camera_extra;  // 0, passed through to the shaders
    f32 zoom;          // 1
};
