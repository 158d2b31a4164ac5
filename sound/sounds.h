// The sounds and voices the program plays, mixed in software into the output
// device's ring (os/audio.h), which asks the mixer for its bytes.
#pragma once

#include "os/audio.h"

// Generational handles: slot index in the low 32 bits, the slot's generation
// in the high 32 bits.  0 is the null handle.
typedef u64 SoundHandle;
typedef u64 VoiceHandle;

// Voice flags: only this bit is kept.
enum : u32 {
    SOUND_LOOP = 0x1,
};

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
    f32 master_volume;

    u32 sound_generation;
    u32 sound_capacity;
    u32 sound_count;  // one past the highest slot in use
    Sound *sounds;

    u32 voice_generation;
    u32 voice_capacity;
    u32 voice_count;  // one past the highest slot in use, trimmed after each update
    Voice *voices;
};

extern AudioState audio_state;

// With the output device closed, creating and playing return 0.  The first
// sound created makes the tables and registers the mix as the device's
// source; closing the device frees them.
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
