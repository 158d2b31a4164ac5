// One frame of the game: title, opening sequence or play, simulated and drawn.
#pragma once

#include "render/camera.h"

// The camera the frame loop sizes to the client area each frame.
extern Camera camera;

void game_frame(void);
