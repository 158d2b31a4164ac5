// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/gl_context.h"
#include "os/sdl/sdl_shared.h"

void os_create_gl_context(Window *) {}
void os_delete_gl_context(Window *) {}
int os_swap_buffers(Window *) { return 0; }
int os_set_swap_interval(u8) { return 0; }
void *os_gl_get_proc_address(const char *) { return nullptr; }
void sdl_gl_set_window_attributes(void) {}
