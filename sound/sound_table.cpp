// The sound and voice tables and the operations on their handles.
#include <string.h>

#include "os/memory.h"
#include "sound/mixer.h"

AudioState audio_state;

// Both records begin with their generation, so one slot taker serves both.
static_assert(offsetof(Sound, generation) == 0, "");
static_assert(offsetof(Voice, generation) == 0, "");

static u32 slot_generation(const u8 *items, u64 record_size, u32 index) {
    u32 generation;
    memcpy(&generation, items + index * record_size, sizeof generation);
    return generation;
}

// The first free slot below the count, else the slot at the count (doubling
// the table when it is full).  False, with the table unchanged, when growing
// failed.
static bool take_slot(void **items, u32 *capacity, u32 *count, u64 record_size, u32 *index) {
    u8 *base = (u8 *)*items;
    for (u32 i = 0; i < *count; i++) {
        if (slot_generation(base, record_size, i) == 0) {
            *index = i;
            return true;
        }
    }
    if (*count == *capacity) {
        if (!base || *capacity == 0 || *capacity > 0x7FFFFFFFu) return false;
        u8 *grown = (u8 *)os_realloc(base, (u64)*capacity * 2 * record_size);
        if (!grown) return false;
        memset(grown + (u64)*capacity * record_size, 0, (u64)*capacity * record_size);
        *items = grown;
        *capacity *= 2;
    }
    *index = (*count)++;
    return true;
}

// Generation 0 marks a free slot, so a wrapped counter skips it.
static u32 next_generation(u32 *counter) {
    if (++*counter == 0) *counter = 1;
    return *counter;
}

static u64 make_handle(u32 index, u32 generation) { return (u64)index | ((u64)generation << 32); }

// The record a handle names: its slot below the count, holding the handle's
// generation (never 0); else null.
static void *slot_of(void *items, u64 record_size, u32 count, u64 handle) {
    u32 index = (u32)handle;
    u32 generation = (u32)(handle >> 32);
    if (index >= count || generation == 0) return nullptr;
    return slot_generation((const u8 *)items, record_size, index) == generation ? (u8 *)items + index * record_size
                                                                                : nullptr;
}

Sound *os_get_sound(SoundHandle sound) {
    return (Sound *)slot_of(audio_state.sounds, sizeof(Sound), audio_state.sound_count, sound);
}

Voice *os_get_voice(VoiceHandle voice) {
    return (Voice *)slot_of(audio_state.voices, sizeof(Voice), audio_state.voice_count, voice);
}

SoundHandle os_create_sound(u32 byte_length, const void *samples, f32 gain) {
    if (!audio_device.initialised || !audio_create_tables()) return 0;
    // Whole frames only: an empty looping voice would never leave the mixer.
    if (!samples || byte_length == 0 || byte_length % AUDIO_BYTES_PER_FRAME != 0) return 0;
    i16 *copy = (i16 *)os_alloc(byte_length);
    if (!copy) return 0;
    memcpy(copy, samples, byte_length);
    u32 index;
    if (!take_slot((void **)&audio_state.sounds, &audio_state.sound_capacity, &audio_state.sound_count, sizeof(Sound),
                   &index)) {
        os_free(copy);
        return 0;
    }
    Sound *s = &audio_state.sounds[index];
    s->generation = next_generation(&audio_state.sound_generation);
    s->length_ms = byte_length / 176;
    s->gain = gain;
    s->byte_length = byte_length;
    s->samples = copy;
    return make_handle(index, s->generation);
}

void os_destroy_sound(SoundHandle sound) {
    Sound *s = os_get_sound(sound);
    if (!s) return;
    u32 index = (u32)sound;
    os_free(s->samples);
    memset(s, 0, sizeof *s);
    for (u32 i = 0; i < audio_state.voice_count; i++) {
        Voice *v = &audio_state.voices[i];
        if (v->generation != 0 && v->sound == index) memset(v, 0, sizeof *v);
    }
    while (audio_state.sound_count > 0 && audio_state.sounds[audio_state.sound_count - 1].generation == 0)
        audio_state.sound_count--;
}

VoiceHandle os_play_sound(SoundHandle sound, f32 volume, f32 pan, u32 flags) {
    if (!audio_device.initialised || !os_get_sound(sound)) return 0;
    u32 index;
    if (!take_slot((void **)&audio_state.voices, &audio_state.voice_capacity, &audio_state.voice_count, sizeof(Voice),
                   &index))
        return 0;
    Voice *v = &audio_state.voices[index];
    v->generation = next_generation(&audio_state.voice_generation);
    v->sound = (u32)sound;
    v->position = 0;
    v->pan = pan;
    v->volume = volume;
    v->flags = flags & SOUND_LOOP;
    return make_handle(index, v->generation);
}

VoiceHandle os_play_sound_once(SoundHandle sound, f32 volume) { return os_play_sound(sound, volume, 0.0f, 0); }

void os_stop_voice(VoiceHandle voice) {
    Voice *v = os_get_voice(voice);
    if (v) memset(v, 0, sizeof *v);
}

bool os_is_sound_playing(SoundHandle sound) {
    if (!os_get_sound(sound)) return false;
    u32 index = (u32)sound;
    for (u32 i = 0; i < audio_state.voice_count; i++) {
        const Voice *v = &audio_state.voices[i];
        if (v->generation != 0 && v->sound == index) return true;
    }
    return false;
}

void os_set_master_volume(f32 volume) { audio_state.master_volume = volume; }

// What the output device asks of the mixer.
static const AudioSource MIXER_SOURCE = {audio_mix, audio_trim_voices, audio_release_tables};

bool audio_create_tables(void) {
    if (!audio_state.sounds) {
        audio_state.sounds = (Sound *)os_alloc_zeroed(AUDIO_SOUND_TABLE_START * sizeof(Sound));
        if (!audio_state.sounds) return false;
        audio_state.sound_capacity = AUDIO_SOUND_TABLE_START;
        audio_state.sound_count = 0;
    }
    if (!audio_state.voices) {
        audio_state.voices = (Voice *)os_alloc_zeroed(AUDIO_VOICE_TABLE_START * sizeof(Voice));
        if (!audio_state.voices) return false;
        audio_state.voice_capacity = AUDIO_VOICE_TABLE_START;
        audio_state.voice_count = 0;
    }
    os_set_audio_source(&MIXER_SOURCE);
    return true;
}

void audio_release_tables(void) {
    for (u32 i = 0; i < audio_state.sound_count; i++)
        if (audio_state.sounds[i].generation != 0) os_free(audio_state.sounds[i].samples);
    if (audio_state.sounds) os_free(audio_state.sounds);
    if (audio_state.voices) os_free(audio_state.voices);
    audio_state.sounds = nullptr;
    audio_state.voices = nullptr;
    audio_state.sound_capacity = 0;
    audio_state.voice_capacity = 0;
    audio_state.sound_count = 0;
    audio_state.voice_count = 0;
}

void audio_trim_voices(void) {
    while (audio_state.voice_count > 0 && audio_state.voices[audio_state.voice_count - 1].generation == 0)
        audio_state.voice_count--;
}
