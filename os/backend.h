// The seam beneath the platform layer: what each display backend (os/win32/,
// os/sdl/, os/nodisplay/) provides, and the portable calls it makes into the
// code that holds the rules.  Everything above os/ uses the public headers
// only and never learns which backend it runs on.
//
// Two settings pick the backends: the system (files, threads, processes,
// clock, log: os/win32/ or os/posix/) and the display (windows, input, GL,
// sound device, monitors, clipboard: os/win32/, os/sdl/ or os/nodisplay/).
//
// "Per backend" below means every display backend defines the hook; those of
// os/nodisplay/ do nothing, since it never has a window.  "Once" means
// portable code under os/ holds it and the backends call it.
//
// Public functions each display backend defines itself (pure translations):
// os_create_window, os_pump_messages, os_wait_message (os/window.h);
// os_show_window, os_minimise_window, os_focus_window, os_destroy_window,
// os_flash_window, os_show_cursor, os_present_framebuffer,
// os_present_framebuffer_rect (os/window_ops.h); the whole of os/gl_context.h;
// os_get_cursor_pos, os_is_mouse_button_down and the synthetic input of
// os/input.h, whose typing sends the strokes of the key plan written once in
// os/key_typing.h (type_text_strokes, os_key_is_sendable).  Everything else in
// those headers is written once.
//
// System: os_printf (os/log.cpp), the mutex wrappers with the thread numbers
// and flags (os/threads.cpp) and the process pipes, start, run and close
// (os/process.cpp) are written once over the system hooks here.  The rest of
// the system concerns (files, heap, clock, console, the log's standard output
// and crash filter, libraries, system facts, the other thread and process
// functions) are os_ functions each system backend defines, no logic of them
// written in both.
#pragma once

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

// ---- Windows: the rules, once (os/window_events.cpp) ------------------------
// Backends call these as their system's messages arrive.  Each one ignores a
// null window.

// Window creation's common steps after the system window exists: the record
// (zero-filled, never freed) joins the window list with hwnd and hdc, the
// flags become flags | WINDOW_OPEN | WINDOW_FOCUSED, the geometry is read, and
// the window gets its framebuffer or else, with WINDOW_OPENGL, its GL context.
// Null when memory runs out; the backend then destroys its system window.
Window *window_add(void *hwnd, void *hdc, u16 flags);
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
// Keeps what it made in audio_state.device and audio_state.buffer.  False
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
