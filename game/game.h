// The game's frame: runs the current state and draws it.
#pragma once

#include "render/camera.h"

// The camera the frame loop sizes to the client area each frame.
extern Camera camera;

void game_frame(void);
