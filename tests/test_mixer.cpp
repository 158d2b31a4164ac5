#include <float.h>
#include <stdlib.h>

#include "audio_test_support.h"

TEST_CASE("sound handles: first handle, null handle, stale handles after destroy and reuse") {
    open_test_mixer(1.0f);
    std::vector<i16> samples = {1, 2, 3, 4};
    SoundHandle a = make_sound(samples, 1.0f);
    CHECK(a == 0x100000000ull);
    SoundHandle b = make_sound(samples, 0.5f);
    CHECK(b == 0x200000001ull);
    REQUIRE(os_get_sound(a));
    CHECK(os_get_sound(a)->length_ms == 0);
    CHECK(os_get_sound(a)->byte_length == 8);
    CHECK(os_get_sound(b)->gain == 0.5f);
    CHECK(os_get_sound(a)->samples != (i16 *)samples.data());  // a copy

    os_destroy_sound(a);
    CHECK(os_get_sound(a) == nullptr);
    CHECK(os_play_sound(a, 1.0f, 0.0f, 0) == 0);
    CHECK(audio_state.sound_count == 2);  // slot 1 still in use

    // The freed slot 0 is reused with the next generation; the old handle stays stale.
    SoundHandle c = make_sound(samples, 1.0f);
    CHECK(c == 0x300000000ull);
    CHECK(os_get_sound(a) == nullptr);
    CHECK(os_play_sound(a, 1.0f, 0.0f, 0) == 0);
    CHECK(os_play_sound(c, 1.0f, 0.0f, 0) != 0);

    // The null handle is refused everywhere, also while slot 0 is free.
    os_destroy_sound(c);
    CHECK(os_get_sound(0) == nullptr);
    CHECK(os_play_sound(0, 1.0f, 0.0f, 0) == 0);
    CHECK(os_play_sound_once(0, 1.0f) == 0);
    CHECK_FALSE(os_is_sound_playing(0));
    CHECK(os_get_voice(0) == nullptr);
    os_stop_voice(0);
    os_destroy_sound(0);
    CHECK(os_get_sound(b) != nullptr);
    // An index past the count is stale whatever its generation.
    CHECK(os_get_sound(((u64)2 << 32) | 5) == nullptr);

    // Destroying the last sound trims the count to 0.
    os_destroy_sound(b);
    CHECK(audio_state.sound_count == 0);
    close_test_mixer();
}

TEST_CASE("with the device closed nothing is created or played and no generation is used") {
    close_test_mixer();
    REQUIRE(audio_create_tables());
    std::vector<i16> samples = {1, 2};
    CHECK(make_sound(samples, 1.0f) == 0);
    CHECK(audio_state.sound_generation == 0);
    audio_device.initialised = true;
    SoundHandle s = make_sound(samples, 1.0f);
    CHECK(s == 0x100000000ull);
    audio_device.initialised = false;
    CHECK(os_play_sound(s, 1.0f, 0.0f, 0) == 0);
    CHECK(audio_state.voice_generation == 0);
    close_test_mixer();
}

TEST_CASE("sounds must be whole frames") {
    open_test_mixer(1.0f);
    i16 samples[4] = {};
    CHECK(os_create_sound(0, samples, 1.0f) == 0);
    CHECK(os_create_sound(6, samples, 1.0f) == 0);
    CHECK(os_create_sound(8, nullptr, 1.0f) == 0);
    CHECK(audio_state.sound_count == 0);
    CHECK(os_create_sound(4, samples, 1.0f) != 0);
    close_test_mixer();
}

TEST_CASE("gains and pans: volume, master and sound gain, one side silenced by a full pan, truncation toward zero") {
    open_test_mixer(0.5f);
    std::vector<i16> samples = {1001, -1001, 3, -3};
    SoundHandle s = make_sound(samples, 2.0f);  // g = 0.5 * 0.5 * 2 = 0.5

    VoiceHandle v = os_play_sound(s, 0.5f, 0.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{500, -500, 1, -1});
    CHECK(os_get_voice(v) == nullptr);  // ran out

    os_play_sound(s, 0.5f, 1.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{0, -500, 0, -1});
    os_play_sound(s, 0.5f, -1.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{500, 0, 1, 0});
    // Half right: left gain 0.25; -250.25 truncates to -250, not -251.
    os_play_sound(s, 0.5f, 0.5f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{250, -500, 0, -1});
    os_play_sound(s, 0.5f, -0.5f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{500, -250, 1, 0});
    close_test_mixer();
}

TEST_CASE("pan products are formed in double precision") {
    open_test_mixer(1.0f);
    SoundHandle s = make_sound({100, 100}, 1.0f);
    // (1 - 0.1) * 0.9 is 0.81000000 rounded from double but 0.80999994 in
    // single precision, which would give 80.
    os_play_sound(s, 0.9f, 0.1f, 0);
    CHECK(mix_samples(2) == std::vector<i16>{81, 90});
    os_play_sound(s, 0.9f, -0.1f, 0);
    CHECK(mix_samples(2) == std::vector<i16>{90, 81});
    close_test_mixer();
}

TEST_CASE("sums saturate at both ends instead of wrapping, and are exact below the limits") {
    open_test_mixer(1.0f);
    SoundHandle loud = make_sound({30000, -30000, 20000, -20000}, 1.0f);
    os_play_sound(loud, 1.0f, 0.0f, 0);
    os_play_sound(loud, 1.0f, 0.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{32767, -32768, 32767, -32768});

    // The clamp is per voice: a later voice can pull a saturated sum back.
    SoundHandle back = make_sound({-10000, 10000, -10000, 10000}, 1.0f);
    os_play_sound(loud, 1.0f, 0.0f, 0);
    os_play_sound(loud, 1.0f, 0.0f, 0);
    os_play_sound(back, 1.0f, 0.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{22767, -22768, 22767, -22768});

    SoundHandle quiet = make_sound({16000, -16000, 16383, -16384}, 1.0f);
    os_play_sound(quiet, 1.0f, 0.0f, 0);
    os_play_sound(quiet, 1.0f, 0.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{32000, -32000, 32766, -32768});

    // Gains far beyond the 32-bit range still saturate (and stay defined).
    SoundHandle one = make_sound({1, -1, 0, 0}, 1e12f);
    os_play_sound(one, 1.0f, 0.0f, 0);
    CHECK(mix_samples(4) == std::vector<i16>{32767, -32768, 0, 0});
    close_test_mixer();
}

TEST_CASE("a looping voice wraps inside a stretch, and a short one wraps many times") {
    open_test_mixer(1.0f);
    std::vector<i16> samples(2000);  // 4000 bytes
    for (size_t i = 0; i < samples.size(); i++) samples[i] = (i16)(i + 1);
    SoundHandle s = make_sound(samples, 1.0f);
    VoiceHandle v = os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP | 0x6);
    REQUIRE(os_get_voice(v));
    CHECK(os_get_voice(v)->flags == SOUND_LOOP);
    os_get_voice(v)->position = 3900;  // 100 bytes before the end

    std::vector<i16> out = mix_samples(1000);  // 2000 bytes
    for (size_t i = 0; i < 50; i++) REQUIRE(out[i] == samples[1950 + i]);
    for (size_t i = 50; i < 1000; i++) REQUIRE(out[i] == samples[i - 50]);
    REQUIRE(os_get_voice(v));
    CHECK(os_get_voice(v)->position == 1900);

    os_stop_voice(v);
    SoundHandle tiny = make_sound({7, -7, 9, -9}, 1.0f);
    os_play_sound(tiny, 1.0f, 0.0f, SOUND_LOOP);
    out = mix_samples(22);  // five and a half passes
    CHECK(out == std::vector<i16>{7, -7, 9, -9, 7, -7, 9, -9, 7, -7, 9, -9, 7, -7, 9, -9, 7, -7, 9, -9, 7, -7});
    close_test_mixer();
}

TEST_CASE("a voice that ends mid-stretch leaves silence after it and a stale handle") {
    open_test_mixer(1.0f);
    SoundHandle s = make_sound({1, 2, 3, 4, 5, 6}, 1.0f);
    VoiceHandle v = os_play_sound(s, 1.0f, 0.0f, 0);
    CHECK(os_is_sound_playing(s));
    CHECK(mix_samples(10) == std::vector<i16>{1, 2, 3, 4, 5, 6, 0, 0, 0, 0});
    CHECK(os_get_voice(v) == nullptr);
    CHECK_FALSE(os_is_sound_playing(s));
    CHECK(audio_state.voice_count == 1);  // trimmed only by the device update
    audio_trim_voices();
    CHECK(audio_state.voice_count == 0);

    // The slot is reused; stopping the old handle must leave the new voice alone.
    VoiceHandle w = os_play_sound(s, 1.0f, 0.0f, 0);
    CHECK((u32)w == (u32)v);
    CHECK(w != v);
    os_stop_voice(v);
    CHECK(os_get_voice(w) != nullptr);
    CHECK(os_is_sound_playing(s));

    // A voice that reaches the end exactly at the end of a stretch ends there.
    CHECK(mix_samples(6) == std::vector<i16>{1, 2, 3, 4, 5, 6});
    CHECK_FALSE(os_is_sound_playing(s));
    close_test_mixer();
}

TEST_CASE("stopping voices and destroying sounds end their playback") {
    open_test_mixer(1.0f);
    SoundHandle a = make_sound({100, 100, 100, 100}, 1.0f);
    SoundHandle b = make_sound({10, 10, 10, 10}, 1.0f);
    VoiceHandle va1 = os_play_sound(a, 1.0f, 0.0f, SOUND_LOOP);
    VoiceHandle vb = os_play_sound(b, 1.0f, 0.0f, SOUND_LOOP);
    VoiceHandle va2 = os_play_sound(a, 1.0f, 0.0f, SOUND_LOOP);
    CHECK(mix_samples(4) == std::vector<i16>{210, 210, 210, 210});

    os_stop_voice(va1);
    CHECK(os_is_sound_playing(a));
    CHECK(audio_state.voice_count == 3);  // not trimmed by a stop
    os_stop_voice(va2);
    CHECK_FALSE(os_is_sound_playing(a));
    CHECK(mix_samples(2) == std::vector<i16>{10, 10});

    VoiceHandle va3 = os_play_sound(a, 1.0f, 0.0f, SOUND_LOOP);
    os_destroy_sound(b);
    CHECK(os_get_voice(vb) == nullptr);
    CHECK(os_get_voice(va3) != nullptr);
    CHECK(mix_samples(2) == std::vector<i16>{100, 100});
    CHECK(audio_state.sound_count == 1);
    close_test_mixer();
}

TEST_CASE("the 65th voice doubles the voice table") {
    open_test_mixer(1.0f);
    SoundHandle s = make_sound({1, 1}, 1.0f);
    std::vector<VoiceHandle> voices;
    for (int i = 0; i < 64; i++) voices.push_back(os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP));
    CHECK(audio_state.voice_capacity == 64);
    CHECK(audio_state.voice_count == 64);
    voices.push_back(os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP));
    CHECK(audio_state.voice_capacity == 128);
    CHECK(audio_state.voice_count == 65);
    for (size_t i = 0; i < voices.size(); i++) {
        REQUIRE(os_get_voice(voices[i]) != nullptr);
        CHECK((u32)voices[i] == i);
        CHECK((voices[i] >> 32) == i + 1);
    }
    CHECK(mix_samples(2) == std::vector<i16>{65, 65});
    close_test_mixer();
}

TEST_CASE("handles one past a full table's last slot are stale and touch nothing") {
    open_test_mixer(1.0f);
    std::vector<SoundHandle> sounds;
    for (u32 i = 0; i < AUDIO_SOUND_TABLE_START; i++) sounds.push_back(make_sound({1, 1}, 1.0f));
    REQUIRE(audio_state.sound_count == audio_state.sound_capacity);
    // The index of the slot that would come next, with the generation it would get.
    SoundHandle past = ((u64)(audio_state.sound_generation + 1) << 32) | audio_state.sound_capacity;
    CHECK(os_get_sound(past) == nullptr);
    CHECK(os_play_sound(past, 1.0f, 0.0f, 0) == 0);
    CHECK_FALSE(os_is_sound_playing(past));
    os_destroy_sound(past);
    CHECK(audio_state.sound_count == AUDIO_SOUND_TABLE_START);

    for (u32 i = 0; i < AUDIO_VOICE_TABLE_START; i++) os_play_sound(sounds[0], 1.0f, 0.0f, SOUND_LOOP);
    REQUIRE(audio_state.voice_count == audio_state.voice_capacity);
    VoiceHandle past_voice = ((u64)(audio_state.voice_generation + 1) << 32) | audio_state.voice_capacity;
    CHECK(os_get_voice(past_voice) == nullptr);
    os_stop_voice(past_voice);
    CHECK(audio_state.voice_count == AUDIO_VOICE_TABLE_START);
    close_test_mixer();
}

TEST_CASE("with master volume 0 every stretch is silent while voices advance") {
    open_test_mixer(0.0f);
    SoundHandle s = make_sound({1000, 1000, 2000, 2000}, 1.0f);
    VoiceHandle v = os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP);
    CHECK(mix_samples(6) == std::vector<i16>(6, 0));
    REQUIRE(os_get_voice(v));
    CHECK(os_get_voice(v)->position == 4);
    close_test_mixer();
}

TEST_CASE("a partial frame at the end of a stretch is cleared and not mixed") {
    open_test_mixer(1.0f);
    SoundHandle s = make_sound({5, 6, 7, 8}, 1.0f);
    VoiceHandle v = os_play_sound(s, 1.0f, 0.0f, SOUND_LOOP);
    std::vector<i16> out(3, 0x5555);
    audio_mix(out.data(), 6);
    CHECK(out == std::vector<i16>{5, 6, 0});
    CHECK(os_get_voice(v)->position == 4);
    close_test_mixer();
}

// Random sources, destinations, lengths, alignments and gains, including gains
// that saturate nearly every sum and the largest and smallest finite floats.
static void check_path_matches_scalar(MixAddFrames path) {
    srand(12345);
    const f32 gains[] = {0.0f,    1.0f,  -1.0f,   0.2f,      0.333333f, 1.7f,     10.0f,
                         -3.5f,   1e-7f, 1e-40f, 123456.0f, FLT_MAX,   -FLT_MAX, FLT_MIN};
    for (int round = 0; round < 1000; round++) {
        u32 frames = (u32)(rand() % 70);
        u32 shift = (u32)(rand() % 8);  // unaligned starts
        std::vector<i16> src(frames * 2 + 8), a(frames * 2 + 8), b;
        for (i16 &x : src) x = (i16)(rand() & 0xFFFF);
        for (i16 &x : a) x = (round % 5 == 0) ? (i16)(rand() % 2 ? 32767 : -32768) : (i16)(rand() & 0xFFFF);
        b = a;
        f32 left = gains[rand() % COUNT_OF(gains)] * (f32)(rand() % 1000) / 999.0f;
        f32 right = gains[rand() % COUNT_OF(gains)];
        path(a.data() + shift, src.data() + shift, frames, left, right);
        mix_add_frames_scalar(b.data() + shift, src.data() + shift, frames, left, right);
        REQUIRE(a == b);
    }

    // Whole mix steps with many voices, pans and loops.
    open_test_mixer(0.2f);
    std::vector<i16> samples(3000);
    for (i16 &x : samples) x = (i16)(rand() & 0xFFFF);
    SoundHandle s = make_sound(samples, 10.0f);
    for (int i = 0; i < 12; i++) {
        VoiceHandle v = os_play_sound(s, (f32)(rand() % 100) / 37.0f, (f32)(rand() % 201 - 100) / 100.0f,
                                      (u32)(i & 1));
        os_get_voice(v)->position = (u32)(rand() % 1500) * 4;
    }
    std::vector<Voice> saved(audio_state.voices, audio_state.voices + audio_state.voice_count);
    std::vector<i16> simd(4101, 1), scalar(4101, 2);
    audio_mix_with(simd.data(), 8202, path);
    std::vector<Voice> after(audio_state.voices, audio_state.voices + audio_state.voice_count);
    memcpy(audio_state.voices, saved.data(), saved.size() * sizeof(Voice));
    audio_mix_with(scalar.data(), 8202, mix_add_frames_scalar);
    CHECK(simd == scalar);
    CHECK(memcmp(after.data(), audio_state.voices, after.size() * sizeof(Voice)) == 0);
    close_test_mixer();
}

TEST_CASE("the SSE2 path stores exactly what the scalar path stores") { check_path_matches_scalar(mix_add_frames_sse2); }

// Alone, so that ctest reports the case as skipped on a processor without AVX2.
TEST_CASE("the AVX2 path stores exactly what the scalar path stores, and is chosen where it runs" *
          doctest::test_suite("alone")) {
    if (!cpu_supports_avx2()) {
        MESSAGE("skipped: this processor has no AVX2; the mixer uses the SSE2 path");
        CHECK((mix_fastest_path() == mix_add_frames_sse2));
        return;
    }
    CHECK((mix_fastest_path() == mix_add_frames_avx2));
    check_path_matches_scalar(mix_add_frames_avx2);
}
