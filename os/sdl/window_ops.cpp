// SDL window operations, cursors and framebuffer presentation.
#include "os/backend.h"
#include "os/sdl/sdl_shared.h"

void backend_show_window(Window *window, bool show) {
    if (show) SDL_ShowWindow(sdl_window_of(window));
    else SDL_HideWindow(sdl_window_of(window));
}

void backend_minimise_window(Window *window, bool minimise) {
    if (minimise) SDL_MinimizeWindow(sdl_window_of(window));
    else SDL_RestoreWindow(sdl_window_of(window));
}

void backend_focus_window(Window *window) { SDL_RaiseWindow(sdl_window_of(window)); }

// SDL destroys a window at once, without messages of its own to follow.
void backend_destroy_window(Window *window) { window_close(window, false); }

void backend_flash_window(Window *window) { SDL_FlashWindow(sdl_window_of(window), SDL_FLASH_UNTIL_FOCUSED); }

static void place_client(Window *window, Rect32 client) {
    SDL_Window *sw = sdl_window_of(window);
    SDL_SetWindowPosition(sw, client.x, client.y);
    // SDL refuses sizes below one pixel; one pixel is as small as it gets.
    SDL_SetWindowSize(sw, client.width > 0 ? client.width : 1, client.height > 0 ? client.height : 1);
    sdl_sync_geometry(window);
}

// SDL places and sizes the client area; the frame around it is what the
// window's geometry last showed.
void backend_move_outer(Window *window, Rect32 outer) {
    i32 left = window->client_pos.x - window->window_pos.x;
    i32 top = window->client_pos.y - window->window_pos.y;
    i32 frame_width = window->window_size.width - window->client_size.width;
    i32 frame_height = window->window_size.height - window->client_size.height;
    place_client(window, Rect32{outer.x + left, outer.y + top, outer.width - frame_width, outer.height - frame_height});
}

void backend_apply_border(Window *window, Vec2i, Vec2i old_client_pos, Size2i old_client_size) {
    SDL_SetWindowBordered(sdl_window_of(window), (window->flags & WINDOW_BORDERLESS) ? SDL_FALSE : SDL_TRUE);
    place_client(window, Rect32{old_client_pos.x, old_client_pos.y, old_client_size.width, old_client_size.height});
}

// SDL's desktop fullscreen is borderless on the display the window is on,
// which is the monitor's once the window has moved there.
void backend_enter_fullscreen(Window *window, Rect32 monitor) {
    SDL_Window *sw = sdl_window_of(window);
    SDL_SetWindowPosition(sw, monitor.x, monitor.y);
    SDL_SetWindowFullscreen(sw, SDL_WINDOW_FULLSCREEN_DESKTOP);
    sdl_sync_geometry(window);
}

// Until the manager has framed the window again, X places the frame where
// the client is asked to go.  SDL_PumpEvents only queues what it reads, so
// no event is lost to the wait.
#define SDL_FRAME_WAIT_MS 250

static void wait_for_frame(SDL_Window *sw) {
    for (int waited = 0; waited < SDL_FRAME_WAIT_MS; waited += 10) {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (SDL_GetWindowBordersSize(sw, &top, &left, &bottom, &right) != 0) return;
        if (top > 0 || left > 0) return;
        SDL_PumpEvents();
        SDL_Delay(10);
    }
}

// SDL places the client area; the frame comes back only as the window
// manager gets round to it, so the outer rectangle is no guide here.
void backend_leave_fullscreen(Window *window, Rect32, Rect32 client) {
    SDL_Window *sw = sdl_window_of(window);
    SDL_SetWindowFullscreen(sw, 0);
    bool bordered = !(window->flags & WINDOW_BORDERLESS);
    SDL_SetWindowBordered(sw, bordered ? SDL_TRUE : SDL_FALSE);
    if (bordered) wait_for_frame(sw);
    place_client(window, client);
}

void backend_apply_topmost(Window *window, bool topmost) {
    SDL_SetWindowAlwaysOnTop(sdl_window_of(window), topmost ? SDL_TRUE : SDL_FALSE);
}

void backend_show_cursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void *backend_system_cursor(u8 index) {
    // SDL has no help cursor: the arrow stands in for it.
    static const SDL_SystemCursor SYSTEM_CURSORS[CURSOR_SYSTEM_COUNT] = {
        SDL_SYSTEM_CURSOR_ARROW,     SDL_SYSTEM_CURSOR_ARROW,  SDL_SYSTEM_CURSOR_HAND,     SDL_SYSTEM_CURSOR_WAIT,
        SDL_SYSTEM_CURSOR_IBEAM,     SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_NO,    SDL_SYSTEM_CURSOR_ARROW,
        SDL_SYSTEM_CURSOR_SIZEALL,   SDL_SYSTEM_CURSOR_SIZEWE, SDL_SYSTEM_CURSOR_SIZENS,   SDL_SYSTEM_CURSOR_SIZENWSE,
        SDL_SYSTEM_CURSOR_SIZENESW,
    };
    if (index == 0 || index >= CURSOR_SYSTEM_COUNT || !sdl_ensure_video()) return nullptr;
    return SDL_CreateSystemCursor(SYSTEM_CURSORS[index]);
}

// A null entry hides the pointer over the windows, as an empty cursor does:
// SDL's own null means "no change".
static SDL_Cursor *blank_cursor(void) {
    static SDL_Cursor *blank;
    static bool tried;
    static const Uint8 nothing[1] = {0};
    if (!tried) blank = SDL_CreateCursor(nothing, nothing, 8, 1, 0, 0);
    tried = true;
    return blank;
}

// The frame loop sets the arrow every frame; SDL is only asked on a change.
void backend_set_cursor(void *cursor) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Cursor *shape = cursor ? (SDL_Cursor *)cursor : blank_cursor();
    if (shape && shape != SDL_GetCursor()) SDL_SetCursor(shape);
}

// SDL reads no cursor files.
void *backend_load_cursor_file(Str) { return nullptr; }

// The framebuffer as an SDL surface over its memory: bytes blue, green, red, unused.
static SDL_Surface *framebuffer_surface(Window *window) {
    Size2i size = {window->framebuffer_size.width, window->framebuffer_size.height};
    if (size.width <= 0 || size.height <= 0) return nullptr;
    return SDL_CreateRGBSurfaceWithFormatFrom(window->framebuffer_pixels, size.width, size.height, 32, size.width * 4,
                                              SDL_PIXELFORMAT_RGB888);
}

void backend_present_framebuffer(Window *window) {
    SDL_Window *sw = sdl_window_of(window);
    SDL_Surface *target = SDL_GetWindowSurface(sw);
    SDL_Surface *source = framebuffer_surface(window);
    if (target && source) {
        SDL_Rect to = {0, 0, window->client_size.width, window->client_size.height};
        SDL_BlitScaled(source, nullptr, target, &to);
        SDL_UpdateWindowSurface(sw);
    }
    SDL_FreeSurface(source);
}

void backend_present_framebuffer_rect(Window *window, Rect32 rect) {
    SDL_Window *sw = sdl_window_of(window);
    SDL_Surface *target = SDL_GetWindowSurface(sw);
    SDL_Surface *source = framebuffer_surface(window);
    if (target && source) {
        SDL_Rect from = {rect.x, rect.y, rect.width, rect.height};
        SDL_Rect to = from;
        SDL_BlitSurface(source, &from, target, &to);
        // The blit clips to what both surfaces hold; only that is shown.
        if (to.w > 0 && to.h > 0) SDL_UpdateWindowSurfaceRects(sw, &to, 1);
    }
    SDL_FreeSurface(source);
}
