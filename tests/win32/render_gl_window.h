// A shown window with a current OpenGL context for the renderer's scene tests,
// with every GL slot loaded for it.
#pragma once

#include "os/window.h"

// The same window for every caller; null when no context could be had.
Window *render_test_gl_window(void);
// The encoded version load_gl_functions returned for it.
int render_test_gl_version(void);
