// Audio output: the sound and voice tables, the mixer's operations on them and
// the output device that plays the mixed ring buffer.
#pragma once

#include "os/types.h"

struct Window;

// Generational handles: slot index in the low 32 bits, the slot's generation
// in the high 32 bits.  0 is the null handle.
typedef u64 SoundHandle;
typedef u64 VoiceHandle;

// Voice flags: only this bit is kept.
enum : u32 {
    SOUND_LOOP = 0x1,
};

// Output format: 16-bit stereo at 44100 frames per second.
#define AUDIO_FRAMES_PER_SECOND 44100u
#define AUDIO_BYTES_PER_FRAME 4u
#define AUDIO_BYTES_PER_SECOND 176400u
// The device ring holds one second.
#define AUDIO_RING_SIZE 176400u
// Bytes mixed ahead of the device's write cursor on each update (about 93 ms).
#define AUDIO_UPDATE_WINDOW 0x4000u
#define AUDIO_SOUND_TABLE_START 16u
#define AUDIO_VOICE_TABLE_START 64u

struct Sound {
    u32 generation;  // 0: slot free
    u32 length_ms;   // byte_length / 176
    f32 gain;
    u32 byte_length;
    i16 *samples;  // interleaved left/right, owned by the table
};

struct Voice {
    u32 generation;  // 0: slot free
    u32 sound;       // slot index of the sound
    u32 position;    // byte offset of the next sample to play
    f32 pan;         // -1 left only, 0 centre, +1 right only
    f32 volume;
    u32 flags;
};

struct AudioState {
    bool initialised;  // the output device is running
    u32 ring_size;
    u32 written_end;  // ring offset up to which samples have been mixed
    f32 master_volume;

    u32 sound_generation;
    u32 sound_capacity;
    u32 sound_count;  // one past the highest slot in use
    Sound *sounds;

    u32 voice_generation;
    u32 voice_capacity;
    u32 voice_count;  // one past the highest slot in use, trimmed after each update
    Voice *voices;

    void *device;  // the backend's device object
    void *buffer;  // the backend's looping ring buffer
    // The play cursor at the previous update, once there has been one since
    // the device opened: the ring is cleared behind it as it moves.
    bool play_cursor_seen;
    u32 last_play_cursor;
};

extern AudioState audio_state;

// Mixer (portable).  With the device closed, creating and playing return 0.
SoundHandle os_create_sound(u32 byte_length, const void *samples, f32 gain);
void os_destroy_sound(SoundHandle sound);
VoiceHandle os_play_sound(SoundHandle sound, f32 volume, f32 pan, u32 flags);
VoiceHandle os_play_sound_once(SoundHandle sound, f32 volume);
void os_stop_voice(VoiceHandle voice);
bool os_is_sound_playing(SoundHandle sound);
// Valid only until the next operation that can grow that table.
Sound *os_get_sound(SoundHandle sound);
Voice *os_get_voice(VoiceHandle voice);
void os_set_master_volume(f32 volume);

// Output device (backend).  os_init_audio gives &audio_state on success (also
// when already open) and null on failure; the others do nothing while closed.
AudioState *os_init_audio(Window *window);
void os_update_audio(void);
void os_shutdown_audio(void);
