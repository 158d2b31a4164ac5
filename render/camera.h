// The view the sprites are drawn into.
#pragma once

#include "os/types.h"

struct Camera {
    struct {
        f32 width, height;
    } view_size;       // the client size / zoom, set every frame
    f32 camera_extra;  // 0.0, never changed
    f32 zoom;          // 1.0, never changed
};
