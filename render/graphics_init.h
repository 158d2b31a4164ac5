// Start-up of the graphics: the GL entry points, the first grey frame, the GL
// facts in the log and the sprite renderer.
#pragma once

#include "os/types.h"
#include "os/window.h"

// GL_MAX_TEXTURE_SIZE, queried once by init_graphics.
extern i32 gl_max_texture_size;

// The name of a GL entry point the renderer calls whose slot is null, or null
// when all are there.
const char *missing_renderer_gl_function(void);
// For a window created with an OpenGL context: loads the entry points, clears
// the window to dark grey, shows and presents it, logs the GPU, the version and
// the largest texture size, and sets up the renderer.  Returns the loader's
// encoded version, or <= 0 when the context is unusable (nothing else is done).
i32 init_graphics(Window *window);
