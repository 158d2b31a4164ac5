// A shown window with a current OpenGL context for the renderer's scene tests,
// made by the platform layer and started by init_graphics, with every GL slot
// loaded for it.
#pragma once

#include <string>

#include "os/window.h"

// The same window for every caller; null when no context could be had.
Window *render_test_gl_window(void);
// What init_graphics returned for it.
int render_test_gl_version(void);
// What init_graphics logged.
const std::string &render_test_gl_start_log(void);
