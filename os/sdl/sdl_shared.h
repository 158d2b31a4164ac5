// What the SDL display backend's files share.  Only files under os/sdl/
// include SDL.
#pragma once

#include <SDL.h>

#include "os/window.h"

// Starts SDL's video and event subsystems on first use; false (with a log
// line) when no display can be reached.
bool sdl_ensure_video(void);
// Sets the GL attributes (version, profile, buffers) that a window must be
// created with for os_create_gl_context to succeed on it.  Called by
// os_create_window before SDL_CreateWindow for WINDOW_OPENGL.
void sdl_gl_set_window_attributes(void);
// The SDL window behind a platform window (kept in Window.hwnd).
inline SDL_Window *sdl_window_of(const Window *window) { return window ? (SDL_Window *)window->hwnd : nullptr; }
