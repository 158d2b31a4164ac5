// The sound output device: one looping ring in a fixed format, refilled once
// per frame just ahead of the device's write cursor from whatever source the
// program registers (the mixer, in the game).  The device knows nothing of
// what it plays.
#pragma once

#include "os/types.h"

struct Window;

// Output format: 16-bit stereo at 44100 frames per second.
#define AUDIO_FRAMES_PER_SECOND 44100u
#define AUDIO_CHANNELS 2u
#define AUDIO_BYTES_PER_SAMPLE 2u
#define AUDIO_BYTES_PER_FRAME (AUDIO_CHANNELS * AUDIO_BYTES_PER_SAMPLE)
#define AUDIO_BYTES_PER_SECOND (AUDIO_FRAMES_PER_SECOND * AUDIO_BYTES_PER_FRAME)
// The device ring holds one second.
#define AUDIO_RING_SIZE AUDIO_BYTES_PER_SECOND
// Bytes mixed ahead of the device's write cursor on each update (4096 frames,
// about 93 ms).
#define AUDIO_UPDATE_WINDOW (4096u * AUDIO_BYTES_PER_FRAME)

// What the device asks of the program's sound.  Every function may be null.
struct AudioSource {
    // Writes length bytes of new sound at dest (whole frames; a partial frame
    // at the end is the source's to clear).
    void (*fill)(void *dest, u32 length);
    // After each update's fills.
    void (*updated)(void);
    // The device has closed (os_shutdown_audio).
    void (*closed)(void);
};

struct AudioDevice {
    bool initialised;  // the device is running
    u32 ring_size;
    u32 written_end;  // ring offset up to which sound has been written
    void *device;     // the backend's device object
    void *buffer;     // the backend's looping ring buffer
    // The play cursor at the previous update, once there has been one since
    // the device opened: the ring is cleared behind it as it moves.
    bool play_cursor_seen;
    u32 last_play_cursor;
    AudioSource source;
};

extern AudioDevice audio_device;

// Opens the system's default output: &audio_device on success (also when
// already open), null on failure.  The others do nothing while it is closed.
AudioDevice *os_init_audio(Window *window);
void os_update_audio(void);
void os_shutdown_audio(void);
// The sound the device plays from now on; without one it plays silence.
void os_set_audio_source(const AudioSource *source);
