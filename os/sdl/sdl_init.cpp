#include "os/log.h"
#include "os/sdl/sdl_shared.h"

bool sdl_ensure_video(void) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // Closing the last window closes only that window; SDL_QUIT then comes
    // from SIGINT and SIGTERM alone.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The software framebuffer goes through the driver's own window surface,
    // not through a GL renderer that SDL would start (and load GL for) behind it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        os_printf("FAILED SDL_InitSubSystem(video) %s\n", SDL_GetError());
        return false;
    }
    // Unless asked for by name, SDL's display-less drivers mean no display was
    // reached: a program must not go on running in an invisible window.
    const char *driver = SDL_GetCurrentVideoDriver();
    bool displayless = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (displayless && !SDL_getenv("SDL_VIDEODRIVER")) {
        os_printf("FAILED SDL_InitSubSystem(video) no display reached (only SDL's %s driver)\n", driver);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    return true;
}
