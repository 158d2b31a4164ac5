// Built without a display backend: no OpenGL.
#include "os/backend.h"

void *backend_create_gl_context(Window *) { return nullptr; }
void backend_delete_gl_context(Window *) {}
int backend_swap_buffers(Window *) { return 0; }
bool backend_set_swap_interval(u8) { return false; }
void *backend_gl_get_proc_address(const char *) { return nullptr; }
Size2i backend_gl_drawable_size(Window *window) { return window->client_size; }
