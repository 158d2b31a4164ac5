#include <stdio.h>

#include <filesystem>
#include <string>

#include "audio_test_support.h"
#include "os/memory.h"
#include "os/files.h"
#include "sound/sound_bank.h"
#include "tests/file_test_support.h"
#include "tests/stdout_capture.h"

static void ensure_temp_arena(void) {
    if (!temp_arena.blocks) arena_create(&temp_arena, 1 << 16);
}

// A WAV file of one stereo frame (value, -value).
static void write_wav(const std::string &path, i16 value) {
    const u8 lo = (u8)value, hi = (u8)((u16)value >> 8);
    const u8 nlo = (u8)-value, nhi = (u8)((u16)-value >> 8);
    const u8 bytes[] = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                        1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0, 'd', 'a', 't', 'a',
                        4, 0, 0, 0, lo, hi, nlo, nhi};
    FILE *f = fopen(path.c_str(), "wb");
    REQUIRE(f);
    fwrite(bytes, 1, sizeof bytes, f);
    fclose(f);
}

TEST_CASE("with the device closed load_sounds leaves every handle 0") {
    close_test_mixer();
    ensure_temp_arena();
    sound_bank = SoundBank{};
    load_sounds();
    for (SoundHandle h : sound_bank.music) CHECK(h == 0);
    CHECK(sound_bank.explosion == 0);
    CHECK(sound_bank.pickup == 0);
    CHECK(sound_bank.laugh == 0);
    music_voice = 0;
    play_music(sound_bank.music[0]);
    CHECK(music_voice == 0);
    play_pickup_effect();
    CHECK(audio_state.voice_count == 0);
}

TEST_CASE("load_sounds takes slots 0 to 8 in load order with their gains, a missing file leaving 0") {
    // A scratch directory: the generated sounds lie beside the test executable.
    std::filesystem::path dir = std::filesystem::path(scratch_dir("sound_bank")) / "audio";
    std::filesystem::create_directory(dir);
    const char *names[] = {"music0.wav", "music1.wav", "music3.wav", "music4.wav", "music5.wav",
                           "explode.wav", "bling5.wav", "laugh1.wav"};  // no music2.wav
    for (int i = 0; i < 8; i++) write_wav((dir / names[i]).string(), (i16)(100 * (i + 1)));

    open_test_mixer(1.0f);
    ensure_temp_arena();
    std::string root = utf8_of(dir.parent_path()) + "/";
    capture_stdout_begin();
    load_sounds_from(S(root));
    CHECK(capture_stdout_end().empty());

    const SoundHandle in_order[] = {sound_bank.music[0], sound_bank.music[1], sound_bank.music[3],
                                    sound_bank.music[4], sound_bank.music[5], sound_bank.explosion,
                                    sound_bank.pickup,   sound_bank.laugh};
    const f32 gains[] = {0.4f, 0.8f, 0.3f, 1.0f, 0.6f, 1.0f, 10.0f, 5.0f};
    CHECK(sound_bank.music[2] == 0);
    for (u32 i = 0; i < 8; i++) {
        CAPTURE(i);
        REQUIRE(os_get_sound(in_order[i]));
        CHECK((u32)in_order[i] == i);
        CHECK(os_get_sound(in_order[i])->gain == gains[i]);
        CHECK(os_get_sound(in_order[i])->samples[0] == (i16)(100 * (i + 1)));
    }
    close_test_mixer();
}

TEST_CASE("the Ogg Vorbis file of a sound is loaded only where its WAV file is absent") {
    std::string root = scratch_dir("sound_bank_ogg");
    std::filesystem::create_directory(fs_path(root + "audio"));
    Str exe_dir = os_get_exe_dir();
    std::string tone = read_raw(std::string(exe_dir.data, exe_dir.len) + "../ogg_fixtures/tone.ogg");
    REQUIRE(!tone.empty());
    write_wav(root + "audio/music0.wav", 7);
    write_raw(root + "audio/music0.ogg", tone);  // beside its WAV: not used
    write_raw(root + "audio/music1.ogg", tone);  // in place of its WAV
    write_raw(root + "audio/music2.wav", "RIFF");  // a bad WAV is not replaced
    write_raw(root + "audio/music2.ogg", tone);
    write_raw(root + "audio/bling5.ogg", tone);

    open_test_mixer(1.0f);
    ensure_temp_arena();
    sound_bank = SoundBank{};
    load_sounds_from(S(root));
    REQUIRE(os_get_sound(sound_bank.music[0]));
    CHECK(os_get_sound(sound_bank.music[0])->byte_length == 4);
    CHECK(os_get_sound(sound_bank.music[0])->samples[0] == 7);
    REQUIRE(os_get_sound(sound_bank.music[1]));
    CHECK(os_get_sound(sound_bank.music[1])->byte_length == 22050 * 4);
    CHECK(os_get_sound(sound_bank.music[1])->gain == 0.8f);
    CHECK(sound_bank.music[2] == 0);
    REQUIRE(os_get_sound(sound_bank.pickup));
    CHECK(os_get_sound(sound_bank.pickup)->gain == 10.0f);
    CHECK(sound_bank_loaded() == 3);
    close_test_mixer();
}

TEST_CASE("play_music replaces the one looping music voice, and a missing track leaves silence") {
    open_test_mixer(1.0f);
    sound_bank = SoundBank{};
    sound_bank.music[0] = make_sound({1, 1}, 1.0f);
    sound_bank.music[3] = make_sound({3, 3}, 1.0f);
    music_voice = 0;

    play_music(sound_bank.music[0]);
    VoiceHandle first = music_voice;
    REQUIRE(os_get_voice(first));
    CHECK(os_get_voice(first)->flags == SOUND_LOOP);
    CHECK(os_get_voice(first)->volume == 1.0f);
    CHECK(os_get_voice(first)->pan == 0.0f);
    CHECK(mix_samples(4) == std::vector<i16>{1, 1, 1, 1});

    play_music(sound_bank.music[3]);
    CHECK(os_get_voice(first) == nullptr);
    CHECK(os_is_sound_playing(sound_bank.music[3]));
    CHECK_FALSE(os_is_sound_playing(sound_bank.music[0]));
    CHECK(mix_samples(2) == std::vector<i16>{3, 3});

    play_music(sound_bank.music[1]);  // never loaded
    CHECK(music_voice == 0);
    CHECK_FALSE(os_is_sound_playing(sound_bank.music[3]));
    CHECK(mix_samples(2) == std::vector<i16>{0, 0});
    close_test_mixer();
}

TEST_CASE("stage music starts tracks 1 to 5 for stages 0 to 4 and never restarts a playing track") {
    open_test_mixer(1.0f);
    sound_bank = SoundBank{};
    for (int t = 0; t < SOUND_BANK_MUSIC_TRACKS; t++) sound_bank.music[t] = make_sound({(i16)t, (i16)t}, 1.0f);
    music_voice = 0;

    play_music(sound_bank.music[3]);  // the fall begins
    VoiceHandle fall = music_voice;
    play_stage_music(2);
    CHECK(music_voice == fall);
    for (int stage = 0; stage <= 4; stage++) {
        play_stage_music(stage);
        CHECK(os_is_sound_playing(sound_bank.music[stage + 1]));
        CHECK(os_get_voice(music_voice)->sound == (u32)sound_bank.music[stage + 1]);
    }
    VoiceHandle top = music_voice;
    play_stage_music(4);
    play_stage_music(5);
    play_stage_music(-1);
    CHECK(music_voice == top);
    close_test_mixer();
}

TEST_CASE("effects overlap and end by themselves, the hazard effect following the hope stage") {
    open_test_mixer(1.0f);
    sound_bank = SoundBank{};
    sound_bank.pickup = make_sound({10, 10}, 1.0f);
    sound_bank.explosion = make_sound({200, 200}, 1.0f);
    sound_bank.laugh = make_sound({3000, 3000}, 1.0f);
    play_pickup_effect();
    play_pickup_effect();  // two pick-ups in one frame
    play_hazard_effect(0);
    play_hazard_effect(3);
    CHECK(audio_state.voice_count == 4);
    CHECK(mix_samples(4) == std::vector<i16>{3220, 3220, 0, 0});
    CHECK_FALSE(os_is_sound_playing(sound_bank.pickup));
    CHECK_FALSE(os_is_sound_playing(sound_bank.laugh));
    close_test_mixer();
}
