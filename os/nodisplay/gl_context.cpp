// Built without a display backend: no OpenGL.
#include "os/gl_context.h"

void os_create_gl_context(Window *) {}
void os_delete_gl_context(Window *) {}
int os_swap_buffers(Window *) { return 0; }
int os_set_swap_interval(u8) { return 0; }
void *os_gl_get_proc_address(const char *) { return nullptr; }
