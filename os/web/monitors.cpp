// One monitor: the screen the page is shown on.  Browsers tell no refresh
// rate; the page measures it from its animation frames before the program
// starts (Module.refreshRate), and 60 stands where it could not.
#include <emscripten.h>
#include <string.h>

#include "os/backend.h"
#include "os/memory.h"

void backend_enumerate_monitors(void) {
    Monitor m = {};
    m.flags = MONITOR_PRIMARY;
    m.rect_size.width = EM_ASM_INT(return (screen && screen.width) | 0;);
    m.rect_size.height = EM_ASM_INT(return (screen && screen.height) | 0;);
    // The resolution counts device pixels.
    double ratio = EM_ASM_DOUBLE(return window.devicePixelRatio || 1;);
    m.resolution.width = (i32)(m.rect_size.width * ratio);
    m.resolution.height = (i32)(m.rect_size.height * ratio);
    m.refresh_rate = EM_ASM_INT(return Math.round(Module.refreshRate || 0) | 0;);
    static const char NAME[] = "screen";
    char *name = (char *)os_alloc(sizeof(NAME));
    if (name) memcpy(name, NAME, sizeof(NAME));
    m.name = Str{name ? sizeof(NAME) - 1 : 0, name};
    m.handle = (void *)1;
    monitor_list_add(&m);
}
