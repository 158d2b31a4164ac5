// Operations on an existing window, the system cursor and the software
// framebuffer.  Every operation taking a window, except the framebuffer ones,
// does nothing for a null window or one whose WINDOW_OPEN flag is clear.
#pragma once

#include "os/system.h"
#include "os/types.h"
#include "os/window.h"

void os_show_window(Window *window, bool show);
void os_minimise_window(Window *window, bool minimise);
void os_focus_window(Window *window);
// The closing itself happens in the window procedure.
void os_destroy_window(Window *window);
void os_flash_window(Window *window);
// Moves and resizes the outer window; with client set the rectangle is the wanted client area.
void os_move_window(Window *window, i32 x, i32 y, i32 width, i32 height, bool client);
void os_set_window_position(Window *window, i32 x, i32 y, bool client);
// Keeps the centre of the outer rectangle (or, with client, of the client area).
void os_set_window_size(Window *window, i32 width, i32 height, bool client);
// Centres the outer window on the first listed monitor.
void os_center_window(Window *window);
// Switches to or from WINDOW_BORDERLESS, keeping the client area on the same pixels.
void os_set_window_border(Window *window, bool bordered);
void os_set_window_topmost(Window *window, bool topmost);
// The longest icon side a window takes, in pixels.
#define OS_WINDOW_ICON_MAX_SIDE 1024
// Gives the window its icon from width x height RGBA pixels (straight alpha,
// top row first), replacing the one it had; the pixels are copied.  False,
// with nothing changed, for null pixels, a side outside 1 to
// OS_WINDOW_ICON_MAX_SIDE, or a system that cannot take the icon.
bool os_set_window_icon(Window *window, const u8 *rgba, i32 width, i32 height);

// Cursor table indices of the system cursors.
enum : u8 {
    CURSOR_NONE = 0,  // hides the cursor over the window
    CURSOR_ARROW = 1,
    CURSOR_HAND = 2,
    CURSOR_WAIT = 3,
    CURSOR_TEXT = 4,
    CURSOR_CROSS = 5,
    CURSOR_FORBIDDEN = 6,
    CURSOR_HELP = 7,
    CURSOR_MOVE = 8,
    CURSOR_SIZE_WE = 9,
    CURSOR_SIZE_NS = 10,
    CURSOR_SIZE_NWSE = 11,
    CURSOR_SIZE_NESW = 12,
    CURSOR_SYSTEM_COUNT = 13,
};

void os_show_cursor(Window *window, bool show);
// Indices at or above the table's capacity are ignored; a null entry hides the cursor.
void os_set_cursor(u8 index);
// Loads a cursor file into the next entry; its index, or 0 on failure or a full table.
u8 os_load_cursor(Str path);

struct CursorTable {
    void **handles;
    u8 count;
    u8 capacity;
};

extern CursorTable cursor_table;
// Room for 32 null handles and the count CURSOR_SYSTEM_COUNT; the backend
// fills the system entries.  False when the memory could not be had.
bool cursor_table_create(CursorTable *table);
// Creates the process's table on first use, its system entries filled by the
// display backend.
void cursor_table_ensure(void);
// Appends a handle, growing the table; the new index, or 0 when it is full.
u8 cursor_table_add(CursorTable *table, void *handle);

// Returns the capacity in bytes (0 when the memory could not be had).
u64 os_create_framebuffer(Window *window);
void os_resize_framebuffer(Window *window);
void os_destroy_framebuffer(Window *window);
// An open window with a framebuffer that has its memory.
bool os_framebuffer_presentable(const Window *window);
// Stretches the whole framebuffer over the client area.
void os_present_framebuffer(Window *window);
// Copies one rectangle unscaled to the same place in the window.
void os_present_framebuffer_rect(Window *window, i32 x, i32 y, i32 width, i32 height);

// Geometry shared by the backends.
struct Rect32 {
    i32 x, y, width, height;
};

// The smallest power of two holding width x height 32-bit pixels (1 when empty).
u64 os_framebuffer_capacity_for(i32 width, i32 height);
// The outer rectangle that gives the wanted client rectangle, from the window's current frame.
Rect32 os_outer_rect_for_client(const Window *window, Rect32 client);
// The outer rectangle after a resize about the centre (of the client area when client is set).
Rect32 os_resized_about_centre(const Window *window, i32 width, i32 height, bool client);
// Where a window of the given outer size sits centred on an area starting at the screen origin.
Vec2i os_centred_position(Size2i area, Size2i window_size);

// ---- Fitting the screen and fullscreen ----------------------------------------

// Gives the window a client of width x height centred on the first
// monitor's work area, or where the work area cannot hold that with the
// frame, the largest client of the same aspect that it can, so that the
// title bar is on the screen.  A window that has that client and fits is left
// where it is.  Where the system has not told a bordered window's frame yet
// (some do only once a window manager has taken the shown window) and the
// frame could decide, the messages of up to FIT_FRAME_WAIT_MS are handled
// first, as os_pump_messages does, for it to be told.
void os_fit_window(Window *window, i32 width, i32 height);
#define FIT_FRAME_WAIT_MS 250
// Switches the window between its place and borderless fullscreen on the
// monitor that holds most of it; leaving puts it back where it was, at its old
// size and border.  The state asked for already: nothing happens.  Entering
// lists the monitors afresh (os_get_monitors), so that a monitor plugged in
// since counts: records from an earlier list are not to be kept past it.
void os_set_window_fullscreen(Window *window, bool fullscreen);

// The outer rectangle os_fit_window gives a window that wants client and
// whose frame adds frame to it, on a work area: centred, and shrunk keeping
// the aspect where it must be.  Without room for any client, client and frame
// as they are, at the work area's corner.
Rect32 os_fitted_outer_rect(Rect32 work, Size2i client, Size2i frame);
// The rectangle of the monitor (of count) that overlaps rect the most; the
// first one where none does.  Zero-sized for no monitors.
Rect32 os_monitor_rect_for(const Monitor *monitors, i32 count, Rect32 rect);
