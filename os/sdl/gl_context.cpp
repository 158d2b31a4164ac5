// OpenGL contexts through SDL: a core context of 4.5 where the driver gives
// one, else 4.4, the oldest the renderer can run on.
#include "os/backend.h"
#include "os/log.h"
#include "os/sdl/sdl_shared.h"

void sdl_gl_set_window_attributes(void) {
    // The driver stays loaded for the life of the process, as on Windows:
    // SDL would otherwise unload and reload it with every last GL window.
    static bool library_loaded;
    if (!library_loaded) library_loaded = SDL_GL_LoadLibrary(nullptr) == 0;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    // No alpha in the window's buffer: the Windows build gets none either, and
    // a compositor would show an alpha buffer see-through.
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

void *backend_create_gl_context(Window *window) {
    SDL_Window *sw = sdl_window_of(window);
    if (!sw) return nullptr;
    if (!(SDL_GetWindowFlags(sw) & SDL_WINDOW_OPENGL)) {
        os_printf("FAILED SDL_GL_CreateContext: the window was not made for OpenGL\n");
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GLContext context = SDL_GL_CreateContext(sw);
    if (!context) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 4);
        context = SDL_GL_CreateContext(sw);
    }
    if (!context) {
        os_printf("FAILED SDL_GL_CreateContext(4.4 core) %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_GL_MakeCurrent(sw, context);
    return context;
}

void backend_delete_gl_context(Window *window) {
    SDL_GL_MakeCurrent(sdl_window_of(window), nullptr);
    SDL_GL_DeleteContext((SDL_GLContext)window->gl_context);
}

int backend_swap_buffers(Window *window) {
    SDL_GL_SwapWindow(sdl_window_of(window));
    return 1;
}

bool backend_set_swap_interval(u8 interval) {
    return SDL_GL_GetCurrentContext() && SDL_GL_SetSwapInterval(interval) == 0;
}

// On a high-DPI display the drawable may have more pixels than the window's size counts.
Size2i backend_gl_drawable_size(Window *window) {
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(sdl_window_of(window), &width, &height);
    if (width <= 0 || height <= 0) return window->client_size;
    return Size2i{width, height};
}

void *backend_gl_get_proc_address(const char *name) {
    return SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GL_GetProcAddress(name) : nullptr;
}
