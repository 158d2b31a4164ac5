// The seam beneath the platform layer: the hooks each backend provides, and
// the portable calls the display backends make into the code that holds the
// rules.  Everything above os/ uses the public headers only and never learns
// which backend it runs on.
//
// Two settings pick the backends: the system (files, threads, processes,
// clock, log: os/win32/ or os/posix/) and the display (windows, input, GL,
// sound device, monitors, clipboard: os/win32/, os/sdl/ or os/nodisplay/).
//
// "Per backend" below means every backend of that setting defines the hook;
// the display hooks of os/nodisplay/ do nothing or refuse, since it never has
// a window.  "Once" means portable code under os/ holds it.
//
// Display: every os_ function of os/window.h, os/window_ops.h,
// os/gl_context.h, os/clipboard.h and the system part of os/input.h (cursor,
// buttons, synthetic input) is written once, with its guards and rules, and
// reaches the system only through the display hooks here.  A display backend
// defines no os_ function: it translates hook calls into system calls, and
// its system's messages into the window rules below.
//
// System: os_printf (os/log.cpp), the mutex wrappers with the thread numbers
// and flags (os/thread_rules.cpp) and the process pipes, start, run and close
// (os/process_rules.cpp) are written once over the system hooks here.  The rest of
// the system concerns (files, heap, clock, console, the log's standard output
// and crash filter, libraries, system facts, the other thread and process
// functions) are os_ functions each system backend defines, no logic of them
// written in both.
#pragma once

#include "os/clipboard.h"
#include "os/key_typing.h"
#include "os/process.h"
#include "os/system.h"
#include "os/threads.h"
#include "os/window.h"
#include "os/window_ops.h"

// ---- Monitors --------------------------------------------------------------
// Per backend: reports each monitor of the system through monitor_list_add,
// the first one first.  Reports nothing without a display.
void backend_enumerate_monitors(void);
// Once (os/monitor_list.cpp): copies the record into the list, which takes
// ownership of name.data (heap memory, os_free).  A refresh rate of 0 or 1
// counts as 60; a resolution that is not positive becomes rect_size.
void monitor_list_add(const Monitor *monitor);

// ---- Windows: hooks each backend provides -------------------------------------
// Per backend: whether windows can be made at all (a backend starts its
// connection to the display here); false without a display.
bool backend_display_ready(void);
// What os_create_window asks the system for (window_request_for).
struct WindowRequest {
    Size2i client_size;
    bool placed;     // the outer window's upper-left corner at position; else where the system puts new windows
    Vec2i position;  // screen coordinates
    Str title;       // UTF-8, never empty
    u16 flags;       // the creation flags, for the style
    bool opengl;     // os_create_gl_context follows once the record exists
};
// The system window behind a record.  hdc is what the backend presents on, if it needs one.
struct SystemWindow {
    void *hwnd;
    void *hdc;
};
// Per backend: the system window for the request, with the program's own
// icon where the system shows one; hwnd null when the system refuses.
SystemWindow backend_create_window(const WindowRequest *request);
// Per backend: takes one waiting message and hands it to the rules below;
// false, at once, when none waits.
bool backend_handle_message(void);
// Per backend: blocks until a message waits.
void backend_wait_message(void);
// Per backend: shows or hides, minimises or restores the window.
void backend_show_window(Window *window, bool show);
void backend_minimise_window(Window *window, bool minimise);
// Per backend: raises the window and gives it the keyboard focus.
void backend_focus_window(Window *window);
// Per backend: asks the system to destroy the window; the close sequence
// (window_close) runs as the system reports it, or here where it reports nothing.
void backend_destroy_window(Window *window);
// Per backend: flashes the window's caption or taskbar entry until it has the focus.
void backend_flash_window(Window *window);
// Per backend: the whole framebuffer stretched over the client area, and one
// rectangle of it (counted from the top) copied unscaled to the same place.
void backend_present_framebuffer(Window *window);
void backend_present_framebuffer_rect(Window *window, Rect32 rect);
// Per backend: brings window_pos, window_size, client_size and client_pos up to
// date from the system window in window->hwnd.
void backend_read_geometry(Window *window);
// Per backend: places and sizes the outer window.  The geometry fields follow
// through window_moved and window_resized, as the system reports the change.
void backend_move_outer(Window *window, Rect32 outer);
// Per backend: gives the system window the border state now in window->flags
// (WINDOW_BORDERLESS already switched) and places it so that the client area
// keeps old_client_pos and old_client_size; old_window_pos is the outer
// position before the switch.
void backend_apply_border(Window *window, Vec2i old_window_pos, Vec2i old_client_pos, Size2i old_client_size);
// Per backend: keeps the system window above others, or lets it go.
void backend_apply_topmost(Window *window, bool topmost);
// Per backend: gives the open window an icon from RGBA pixels whose sides
// os_set_window_icon has checked; false when the system cannot take it.
bool backend_set_window_icon(Window *window, const u8 *rgba, i32 width, i32 height);
// Once (os/window_icon.cpp): scales RGBA pixels to out_width x out_height,
// each output pixel the alpha-weighted mean of the source pixels it covers
// (a repeated pixel where it grows), for a system that samples a large icon
// down unfiltered.
void icon_box_filter(const u8 *rgba, i32 width, i32 height, u8 *out, i32 out_width, i32 out_height);
// Per backend: releases the window's device context and system window while it
// closes.  already_destroying: the system is destroying the window itself, so
// it must not be asked a second time.
void backend_release_window(Window *window, bool already_destroying);
// Per backend: routes raw mouse input of the whole process to this window, or
// (off) stops it.  A backend without raw input does nothing; the flags are
// kept all the same.
void backend_register_raw_mouse(Window *window);
void backend_unregister_raw_mouse(void);

// ---- Cursors: hooks each backend provides -----------------------------------------
// Per backend: the system cursor of a table index from 1 to
// CURSOR_SYSTEM_COUNT - 1 (os/window_ops.h), or null.
void *backend_system_cursor(u8 index);
// Per backend: shows a table entry over the program's windows (null hides the cursor).
void backend_set_cursor(void *cursor);
// Per backend: loads a cursor file (UTF-8 path); null when it cannot.
void *backend_load_cursor_file(Str path);
// Per backend: shows or hides the system cursor.
void backend_show_cursor(bool show);

// ---- Windows: creation and the open guard, once ------------------------------
// (os/window_create.cpp, os/window_events.cpp)

// The longest title a window takes, in UTF-16 units.
#define WINDOW_TITLE_MAX_UNITS 0xFFFF
// The side of a WINDOW_POPUP window, whatever size is asked for.
#define WINDOW_POPUP_SIDE 100
// The request for os_create_window's arguments: a popup is WINDOW_POPUP_SIDE
// square at the screen origin, an empty title or one longer than
// WINDOW_TITLE_MAX_UNITS is "Window", and WINDOW_OPENGL gives a context
// unless WINDOW_FRAMEBUFFER is set too.
WindowRequest window_request_for(i32 width, i32 height, Str title, u16 flags);
// The record of a new system window (zero-filled, never freed) joins the
// window list with hwnd and hdc, the flags become flags | WINDOW_OPEN |
// WINDOW_FOCUSED and the geometry is read.  Null when memory runs out.
Window *window_add(void *hwnd, void *hdc, u16 flags);
// A window that exists and whose WINDOW_OPEN flag is set: the guard of every
// operation on a window, and what a backend asks of the records it searches.
bool window_is_open(const Window *window);

// ---- Windows: the rules, once (os/window_events.cpp) ------------------------
// Backends call these as their system's messages arrive.  Each one ignores a
// null window.

// The open or closing record whose system window is hwnd, or null.
Window *window_find(void *hwnd);
// Windows of the list (open ones, and ones closing right now), in creation order.
u32 window_count(void);
Window *window_at(u32 index);
// Hands the event to the callback, if one is set.
void window_deliver(WindowEvent *event);
// The close sequence, once per window: clears WINDOW_OPEN, deletes the GL
// context, frees the framebuffer, releases the system window
// (backend_release_window), switches raw mouse off, takes the record out of the
// list and delivers EVENT_CLOSED.  A window already closed is left alone.
void window_close(Window *window, bool already_destroying);
// Pointer moved to a screen position: EVENT_POINTER with pointer_flags 1 when
// it was not inside before (POINTER_INSIDE set), else 0.  True when it just
// entered, so that a backend can arm leave tracking.
bool window_pointer_moved(Window *window, Vec2i screen);
// Pointer left: clears POINTER_INSIDE, EVENT_POINTER with pointer_flags 2.
void window_pointer_left(Window *window, Vec2i screen);
// A system's double-click limits: the time in the system's milliseconds and the
// rectangle's width and height in pixels.
struct DoubleClickLimits {
    u32 time;
    i32 width, height;
};
// A mouse button (BUTTON_MOUSE_LEFT, _MIDDLE or _RIGHT) went down or up.
// client: the press in client coordinates for the double-click memory (kept
// per button); time: the system's message time in milliseconds.
void window_mouse_button(Window *window, u16 button, bool down, Vec2i client, Vec2i screen, u32 time,
                         DoubleClickLimits limits);
// A key went down, repeated or up: codes above 255 are no virtual keys and
// give nothing.
void window_key(Window *window, u32 key, u8 action);
// One UTF-16 code unit typed: backspace (8) gives nothing, carriage return
// (13) becomes line feed (10).
void window_char(Window *window, u32 code);
// A wheel turn, amount in 120ths of a notch (signed): one EVENT_WHEEL of +1
// when amount / 120 is zero or more, else -1.
void window_wheel(Window *window, i32 amount, Vec2i screen);
// The system moved the window; x, y: the new client position it reports.
// Reads the geometry and delivers EVENT_MOVED (open windows only).
void window_moved(Window *window, i32 x, i32 y);
// The system resized the window; width, height: the client size it reports.
// Reads the geometry, resizes the framebuffer if any, delivers EVENT_RESIZED
// (open windows only).
void window_resized(Window *window, i32 width, i32 height);
// Focus gained or lost: WINDOW_FOCUSED follows, raw mouse input follows a
// window that wants it, EVENT_FOCUS.
void window_focus(Window *window, bool gained);
// Files dropped at a client position, as UTF-8 paths: packed into one list
// (backslashes become "/", a NUL after each path, one more after the last),
// delivered with EVENT_DROP and freed when the callback returns.
void window_drop(Window *window, Vec2i client, const Str *paths, u32 count);

// ---- OpenGL context: hooks each display backend provides ---------------------
// A context for the open window, current on the calling thread; null when none
// can be made (the backend prints why).
void *backend_create_gl_context(Window *window);
// Makes no context current and deletes window->gl_context.
void backend_delete_gl_context(Window *window);
// Presents the open window's back buffer; the system's result, 0 for failure.
int backend_swap_buffers(Window *window);
// True when the driver took the interval.
bool backend_set_swap_interval(u8 interval);
// A GL entry point of the current context, or null.
void *backend_gl_get_proc_address(const char *name);
// The pixels of the open window's drawing surface.
Size2i backend_gl_drawable_size(Window *window);

// ---- The system's pointer and keyboard: hooks each display backend provides -
// The cursor in screen coordinates ({0, 0} without a display).
Vec2i backend_cursor_position(void);
// Whether BUTTON_MOUSE_LEFT, _MIDDLE or _RIGHT is down now.
bool backend_mouse_button_down(u16 button);
// Synthetic input as os/input.h describes it; where the system takes none
// from programs, the backend delivers it to the program's own windows.
void backend_send_mouse_move(i32 dx, i32 dy);
void backend_send_mouse_position(i32 x, i32 y);
// One stroke of a key os_key_is_sendable allows.
void backend_send_key(KeyStroke stroke);
// Types the strokes of type_text_strokes for the text.
void backend_type_text(const char *text);

// ---- Clipboard: hooks each display backend provides ---------------------------
// The clipboard rules (os/clipboard_rules.cpp) open it, work and close it again; the
// format ids are the ones of os/clipboard.h and the system's registered ones.
// False when it cannot be opened (nodisplay: never).
bool backend_clipboard_open(void);
void backend_clipboard_close(void);
// The format after `format` in the system's order, 0 giving the first; 0 after the last.
u32 backend_clipboard_next_format(u32 format);
// The format's registered name as UTF-8 in out (at most 127 characters of it
// are read); its length in bytes, 0 when it has none or it does not fit.
u32 backend_clipboard_format_name(u32 format, char *out, u32 out_size);
// A heap copy of the format's whole block with a zero byte behind it; empty
// when the format is absent or its block is empty.
ClipboardData backend_clipboard_read(u32 format);
// The UTF-16 text a format holds, up to its first zero unit and never past its
// block, as UTF-8 with a zero byte behind it; empty when there is none.
ClipboardData backend_clipboard_read_text(u32 format);
// Empties the clipboard before the set operations place anything (nothing to
// do where placing replaces the whole clipboard).
void backend_clipboard_empty(void);
// Places the text as the system's text formats (CLIPBOARD_UNICODE_TEXT and
// CLIPBOARD_TEXT, each with its zero character); true when all took it.
bool backend_clipboard_place_text(Str text);
// Places size bytes as the format; from then on the system owns them.
bool backend_clipboard_place(u32 format, const void *bytes, u64 size);
// The id of a named format, registered if need be; 0 when there is none.
u32 backend_clipboard_register_format(const char *name);
// Copies the client area of the window (null: the primary screen) as a bitmap
// and places it as CLIPBOARD_BITMAP, opening the clipboard itself.
bool backend_copy_window_to_clipboard(Window *window);
// Once (os/clipboard_text.cpp), for backends whose clipboard holds UTF-8 text
// only.  The block a text format holds for the text, as backend_clipboard_read
// gives it (CLIPBOARD_TEXT its bytes, CLIPBOARD_UNICODE_TEXT as UTF-16, each
// with its zero character); empty for other formats and for no text.
ClipboardData clipboard_text_block(const char *text, u32 format);
// The text as backend_clipboard_read_text gives it; empty for no text or a
// format other than CLIPBOARD_UNICODE_TEXT.
ClipboardData clipboard_text_utf8(const char *text, u32 format);
// A NUL-terminated copy of the text (os_free) for a system that takes C
// strings: it ends at the text's first zero byte.  Null without memory.
char *clipboard_text_terminated(Str text);

// ---- Threads: hooks each system backend provides ------------------------------
// The system's recursive lock in mutex->storage, which os_create_mutex zeroed first.
void backend_mutex_init(Mutex *mutex);
void backend_mutex_destroy(Mutex *mutex);
void backend_mutex_lock(Mutex *mutex);
void backend_mutex_unlock(Mutex *mutex);
// A new thread record (flags 0, handle set before the entry can read it) whose
// thread runs the entry at once; null, with nothing left, when the system refuses.
Thread *backend_start_thread(ThreadEntry entry, u32 number, u64 user_data);
// Called only for records marked THREAD_RUNNING, after the flags are switched.
void backend_suspend_thread(Thread *thread);
void backend_resume_thread(Thread *thread);
// Ends the thread with exit code 1; the caller zeroes the record.
void backend_terminate_thread(Thread *thread);

// ---- Child processes: hooks each system backend provides ----------------------
// A pipe whose two ends the child could inherit; on failure both stay null.
bool backend_create_pipe(Process *process, void **read_end, void **write_end);
// Keeps a pipe end from the children started after it.
bool backend_make_private(void *handle);
// Closes a handle of the record, if any, and zeroes it.
void backend_close_handle(void **handle);
// Starts the command with the record's child_stdin as its standard input and
// child_stdout as its standard output and error, noting it in process_info.
bool backend_create_child(Process *process, Str command, bool show_window);
// Reads up to max bytes, waiting for some: the count, 0 at the pipe's end, -1 on failure.
i64 backend_read_pipe(void *handle, void *buffer, u32 max);
// Waits for the child's end and gives its exit code; false when it cannot be had.
bool backend_wait_exit_code(Process *process, u32 *code);
// Ends a child that still runs (exit code 0 where the system has one to give).
void backend_end_child(Process *process);
// Lets go of the child in process_info (the pipes are the caller's).
void backend_release_child(Process *process);
// os_run_process without a callback: the child started without pipes, its
// exit code asked for at once (PROCESS_STILL_ACTIVE while it runs), 1 on failure.
u32 backend_run_detached(Str command, bool show_window);

// ---- Sound device ----------------------------------------------------------
// Per backend: the hooks below.  Once (os/audio_output.cpp): os_init_audio,
// os_update_audio and os_shutdown_audio over them.  The device plays one looping ring
// of AUDIO_RING_SIZE bytes in the fixed format (16-bit stereo, 44100 frames
// per second).  Each hook prints its own failure lines ("FAILED <step> <why>").

// The part of the ring handed out for writing: the second piece is empty
// unless the range runs past the ring's end, and then it starts at offset 0.
struct AudioRingPieces {
    void *memory[2];
    u32 length[2];
};

// Opens the default output and starts the ring playing, silent, in a loop.
// Keeps what it made in audio_device.device and audio_device.buffer.  False
// when any step failed; everything made so far is released again.
bool backend_audio_open(Window *window);
// The ring's play cursor and write cursor (byte offsets below the ring size;
// bytes from the write cursor on are not yet the device's, bytes before the
// play cursor it is done with and the update clears).  False on failure.
bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor);
// Hands out length bytes of the ring from offset (wrapping at its end) for
// writing; the device does not read them until backend_audio_unlock.  False,
// with nothing handed out, on failure.
bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces);
void backend_audio_unlock(const AudioRingPieces *pieces);
// Stops the ring and releases the device; each step runs even if one failed.
void backend_audio_close(void);

// Once (os/audio_ring.cpp), for backends whose ring is memory of their own:
// the pieces of length bytes from offset in the ring at bytes.  False, with
// nothing handed out and its failure line printed, for a range outside it.
bool audio_ring_pieces(u8 *bytes, u32 offset, u32 length, AudioRingPieces *pieces);

// ---- Gamepads ----------------------------------------------------------------
// Per backend: reads every pad once per pump (os_pump_messages calls it after
// the messages) and hands what it finds to the rules below.  Where the system
// has no pads, or no library for them, it does nothing and logs nothing.
void backend_poll_gamepads(void);
// A pad as the system reports it, before any rule: buttons as bits
// 1 << GAMEPAD_SOUTH and so on (the trigger bits are not looked at: the
// triggers' values decide them), sticks from -32768 to 32767 with y growing
// downward, triggers from 0 to GAMEPAD_AXIS_MAX.
struct GamepadRaw {
    u16 buttons;
    i16 left_x, left_y;
    i16 right_x, right_y;
    u16 left_trigger, right_trigger;
};
// Once (os/gamepad_rules.cpp): a pad came (EVENT_GAMEPAD); a pad went (its
// held buttons released and its axes back to 0, each as its own event, then
// EVENT_GAMEPAD); a pad's state, from which every button and axis that
// changed is delivered as an event.  Pads outside 0 to GAMEPAD_COUNT - 1 are
// ignored; a state for a pad not yet come makes it come first.
void gamepad_attached(u8 pad);
void gamepad_detached(u8 pad);
void gamepad_update(u8 pad, const GamepadRaw *raw);
// The rules on their own: a stick's value through the radial dead zone, and
// the buttons a state holds (triggers over the threshold, the left stick's
// direction on the d-pad).
Vec2i gamepad_stick_value(i32 x, i32 y, i32 dead_zone);
u16 gamepad_held_buttons(const GamepadRaw *raw);

// ---- Fullscreen: hooks each display backend provides --------------------------
// (the rules, once: os/window_fullscreen.cpp, os/window_fit.cpp)
// Per backend: takes the border away and makes the window cover monitor (the
// rectangle of the monitor that holds most of it); WINDOW_FULLSCREEN is
// already set.  The geometry follows as the system reports the change.
void backend_enter_fullscreen(Window *window, Rect32 monitor);
// Per backend: gives back the border that window->flags name and puts the
// window where it was before: its outer rectangle outer, its client area
// client (a backend places whichever its system takes); WINDOW_FULLSCREEN is
// already clear.
void backend_leave_fullscreen(Window *window, Rect32 outer, Rect32 client);
// Once: a closing window's kept place is let go.
void window_forget_fullscreen(Window *window);
