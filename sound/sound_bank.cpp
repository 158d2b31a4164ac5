// The sound bank: the nine sound files, their gains and the music voice.
#include "sound/sound_bank.h"
#include "os/memory.h"
#include "os/files.h"
#include "sound/ogg.h"
#include "sound/wav.h"

SoundBank sound_bank;
VoiceHandle music_voice;

struct SoundFile {
    SoundHandle *handle;
    Str file;  // relative to the executable's directory
    f32 gain;
};

// The WAV file where it is there; only where it is absent, the Ogg Vorbis file
// of the same name, as the web build carries its music.
static SoundHandle load_sound_file(Str dir, Str wav_name, f32 gain) {
    Str parts[] = {dir, wav_name, Str{0, nullptr}};
    Str path = arena_concat(&temp_arena, parts);
    if (os_file_exists(path)) return init_wav_from_file_data(path, gain);
    Str stem = {path.len - 4, path.data};
    Str ogg_parts[] = {stem, STR(".ogg"), Str{0, nullptr}};
    return init_ogg_from_file_data(arena_concat(&temp_arena, ogg_parts), gain);
}

void load_sounds(void) {
    // A null directory would end the list of parts early.
    Str dir = os_get_exe_dir();
    load_sounds_from(dir.data ? dir : STR(""));
}

void load_sounds_from(Str dir) {
    const SoundFile files[] = {
        {&sound_bank.music[0], STR("audio/music0.wav"), 0.4f},
        {&sound_bank.music[1], STR("audio/music1.wav"), 0.8f},
        {&sound_bank.music[2], STR("audio/music2.wav"), 0.8f},
        {&sound_bank.music[3], STR("audio/music3.wav"), 0.3f},
        {&sound_bank.music[4], STR("audio/music4.wav"), 1.0f},
        {&sound_bank.music[5], STR("audio/music5.wav"), 0.6f},
        {&sound_bank.explosion, STR("audio/explode.wav"), 1.0f},
        // The pick-up file is quiet: played ten times louder than recorded.
        {&sound_bank.pickup, STR("audio/bling5.wav"), 10.0f},
        {&sound_bank.laugh, STR("audio/laugh1.wav"), 5.0f},
    };
    for (const SoundFile &f : files) *f.handle = load_sound_file(dir, f.file, f.gain);
}

u32 sound_bank_loaded(void) {
    static_assert(sizeof(SoundBank) == SOUND_BANK_SOUNDS * sizeof(SoundHandle), "every sound is counted");
    u32 loaded = (sound_bank.explosion != 0) + (sound_bank.pickup != 0) + (sound_bank.laugh != 0);
    for (SoundHandle track : sound_bank.music) loaded += track != 0;
    return loaded;
}

void play_music(SoundHandle track) {
    os_stop_voice(music_voice);
    music_voice = os_play_sound(track, 1.0f, 0.0f, SOUND_LOOP);
}

void play_stage_music(i32 hope_stage) {
    if (hope_stage < 0 || hope_stage > 4) return;
    SoundHandle track = sound_bank.music[hope_stage + 1];
    if (!os_is_sound_playing(track)) play_music(track);
}

void play_pickup_effect(void) { os_play_sound(sound_bank.pickup, 1.0f, 0.0f, 0); }

void play_hazard_effect(i32 hope_stage) {
    os_play_sound(hope_stage == 0 ? sound_bank.explosion : sound_bank.laugh, 1.0f, 0.0f, 0);
}
