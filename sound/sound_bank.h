// The game's nine sounds and the rule by which its music changes.
#pragma once

#include "sound/sounds.h"

#define SOUND_BANK_MUSIC_TRACKS 6

// 0 for a sound that did not load: every use of it then does nothing.
struct SoundBank {
    SoundHandle music[SOUND_BANK_MUSIC_TRACKS];
    SoundHandle explosion;
    SoundHandle pickup;
    SoundHandle laugh;
};

extern SoundBank sound_bank;
// The one music voice; 0 before any music.
extern VoiceHandle music_voice;

// Loads the nine files beside the executable, music first, in a fixed order.
#define SOUND_BANK_SOUNDS (SOUND_BANK_MUSIC_TRACKS + 3)
void load_sounds(void);
// The same from dir (ending in "/"); where a WAV file is absent, the Ogg
// Vorbis file of the same name is loaded in its place.
void load_sounds_from(Str dir);
// How many of the SOUND_BANK_SOUNDS loaded.
u32 sound_bank_loaded(void);
// Replaces the music voice with a looping voice of track (no fade).
void play_music(SoundHandle track);
// Music for a hope stage (0 to 4): tracks 1 to 5, started only when that track
// is not already playing.
void play_stage_music(i32 hope_stage);
// Effects are fire-and-forget: their voices end by themselves.
void play_pickup_effect(void);
// The explosion at hope stage 0, the laugh at every other stage.
void play_hazard_effect(i32 hope_stage);
