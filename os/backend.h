// The seam beneath the platform layer: what each display backend (os/win32/,
// os/sdl/, os/nodisplay/) provides, and the portable calls it makes into the
// code that holds the rules.  Everything above os/ uses the public headers
// only and never learns which backend it runs on.
//
// Two settings pick the backends: the system (files, threads, processes,
// clock, log: os/win32/ or os/posix/) and the display (windows, input, GL,
// sound device, monitors, clipboard: os/win32/, os/sdl/ or os/nodisplay/).
#pragma once

#include "os/system.h"

struct Window;

// ---- Monitors --------------------------------------------------------------
// Implemented per display backend: reports each monitor of the system through
// monitor_list_add, the first one first.  Reports nothing without a display.
void backend_enumerate_monitors(void);
// Implemented once (os/monitor_list.cpp): copies the record into the list,
// which takes ownership of name.data (heap memory, os_free).  A refresh rate of
// 0 or 1 counts as 60; a resolution that is not positive becomes rect_size.
void monitor_list_add(const Monitor *monitor);

// ---- Sound device ----------------------------------------------------------
// os_init_audio, os_update_audio and os_shutdown_audio are written once
// (os/audio_output.cpp) over these hooks.  The device plays one looping ring
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
// bytes from the write cursor on are not yet the device's).  False on failure.
bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor);
// Hands out length bytes of the ring from offset (wrapping at its end) for
// writing; the device does not read them until backend_audio_unlock.  False,
// with nothing handed out, on failure.
bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces);
void backend_audio_unlock(const AudioRingPieces *pieces);
// Stops the ring and releases the device; each step runs even if one failed.
void backend_audio_close(void);
