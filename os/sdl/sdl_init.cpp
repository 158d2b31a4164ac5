#include "os/log.h"
#include "os/sdl/sdl_shared.h"

bool sdl_ensure_video(void) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // Closing the last window closes only that window; SDL_QUIT then comes
    // from SIGINT and SIGTERM alone.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        os_printf("FAILED SDL_InitSubSystem(video) %s\n", SDL_GetError());
        return false;
    }
    return true;
}
