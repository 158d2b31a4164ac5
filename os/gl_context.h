// The window's OpenGL context (the GL entry points themselves: render/).
#pragma once

#include "os/types.h"
#include "os/window.h"


// Sets the pixel format, creates the context, stores it in the window and
// makes it current.  Called by os_create_window for WINDOW_OPENGL.
void os_create_gl_context(Window *window);
// Makes no context current and deletes the window's context (window closing).
void os_delete_gl_context(Window *window);
int os_swap_buffers(Window *window);
// 0 when the driver has no swap-interval control; otherwise the interval.
int os_set_swap_interval(u8 interval);
// The pixels the window's context draws into: the client size, or more where
// the display has more pixels than the layout counts them in (a page on a
// high-DPI screen).  The client size without a context.
Size2i os_gl_drawable_size(Window *window);
// The address of a GL entry point of the current context (extension functions
// and core ones alike); null when the name is unknown or there is no GL.
void *os_gl_get_proc_address(const char *name);
