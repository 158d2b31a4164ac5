// What the SDL display backend's files share.  Only files under os/sdl/
// include SDL.
#pragma once

#include <SDL.h>

#include "os/window.h"

// Starts SDL's video and event subsystems on first use; false (with a log
// line) when no display can be reached.
bool sdl_ensure_video(void);
// Sets the GL attributes (version, profile, buffers) that a window must be
// created with for backend_create_gl_context to succeed on it.  Called by
// backend_create_window before SDL_CreateWindow for a window that gets one.
void sdl_gl_set_window_attributes(void);
// The SDL window behind a platform window (kept in Window.hwnd).
inline SDL_Window *sdl_window_of(const Window *window) { return window ? (SDL_Window *)window->hwnd : nullptr; }
// The platform window of an SDL window id, if it is one of ours.
Window *sdl_find_window(Uint32 window_id);

// Where keys go: the window with SDL's keyboard focus, or else the program's
// latest open window that counts itself focused; null when there is none.
Window *sdl_keyboard_window(void);

// The virtual-key code of a key's position (US layout), 0 for none; and back.
u8 sdl_vk_from_scancode(SDL_Scancode scancode);
SDL_Scancode sdl_scancode_from_vk(u16 vk);

// Where the pointer was last seen over one of the program's windows, in screen
// coordinates: kept from motion events (real and synthetic alike).
extern Vec2i sdl_pointer;
// Reads the window's geometry and delivers EVENT_MOVED and EVENT_RESIZED for
// what changed: SDL reports a change once, from the system or from our own
// calls, but not always as an event.
void sdl_sync_geometry(Window *window);
