// The monitor list from SDL's displays.  SDL lists the primary display first.
#include <stdint.h>
#include <string.h>

#include "os/backend.h"
#include "os/memory.h"
#include "os/sdl/sdl_shared.h"

static Str heap_copy(const char *text) {
    if (!text) return Str{0, nullptr};
    u64 len = strlen(text);
    char *copy = (char *)os_alloc(len + 1);
    if (!copy) return Str{0, nullptr};
    memcpy(copy, text, len + 1);
    return Str{len, copy};
}

void backend_enumerate_monitors(void) {
    if (!sdl_ensure_video()) return;
    int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; i++) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        Monitor m = {};
        if (i == 0) m.flags |= MONITOR_PRIMARY;
        m.position = {bounds.x, bounds.y};
        m.rect_pos = {bounds.x, bounds.y};
        m.rect_size = {bounds.w, bounds.h};
        SDL_Rect usable;
        if (SDL_GetDisplayUsableBounds(i, &usable) == 0) {
            m.work_pos = {usable.x, usable.y};
            m.work_size = {usable.w, usable.h};
        }
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(i, &mode) == 0) {
            m.resolution = {mode.w, mode.h};
            m.refresh_rate = mode.refresh_rate;
        }
        m.name = heap_copy(SDL_GetDisplayName(i));
        // SDL names displays by index; the handle is that index + 1, never null.
        m.handle = (void *)(uintptr_t)(i + 1);
        monitor_list_add(&m);
    }
}
