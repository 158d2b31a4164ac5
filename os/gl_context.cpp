// The window's OpenGL context: which windows make one, and when a swap is
// refused.  The backends make, present and delete contexts.
#include "os/backend.h"
#include "os/gl_context.h"

void os_create_gl_context(Window *window) {
    if (window_is_open(window)) window->gl_context = backend_create_gl_context(window);
}

void os_delete_gl_context(Window *window) {
    if (!window || !window->gl_context) return;
    backend_delete_gl_context(window);
    window->gl_context = nullptr;
}

// A closed window has no surface left to present on.
int os_swap_buffers(Window *window) {
    if (!window_is_open(window) || !window->gl_context) return 0;
    return backend_swap_buffers(window);
}

int os_set_swap_interval(u8 interval) { return backend_set_swap_interval(interval) ? interval : 0; }

Size2i os_gl_drawable_size(Window *window) {
    if (!window) return Size2i{0, 0};
    if (!window_is_open(window) || !window->gl_context) return window->client_size;
    return backend_gl_drawable_size(window);
}

void *os_gl_get_proc_address(const char *name) { return name ? backend_gl_get_proc_address(name) : nullptr; }
