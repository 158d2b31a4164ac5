// The sounds the browser's sound check plays (tools/web_audio_check/): what
// the native mixer makes of them is what the page must hear.
#include "audio_test_support.h"
#include "tools/web_audio_check/known_sounds.h"

static std::vector<i16> mix_known(MixAddFrames add, u32 first_stretch, u32 stretch) {
    open_test_mixer(1.0f);
    start_known_mix();
    std::vector<i16> out(2 * KNOWN_MIX_FRAMES);
    u32 done = 0, bytes = (u32)out.size() * 2;
    for (u32 n = first_stretch; done < bytes; n = stretch) {
        if (n > bytes - done) n = bytes - done;
        audio_mix_with((u8 *)out.data() + done, n, add);
        done += n;
    }
    close_test_mixer();
    return out;
}

TEST_CASE("the known mix is the same on every mix path and in any stretches the device asks for") {
    std::vector<MixAddFrames> paths = {mix_add_frames_scalar, mix_add_frames_sse2};
    if (cpu_supports_avx2()) paths.push_back(mix_add_frames_avx2);
    std::vector<i16> whole = mix_known(mix_add_frames_scalar, 4 * KNOWN_MIX_FRAMES, 0);
    CHECK(known_hash(whole.data(), whole.size()) == KNOWN_MIX_HASH);
    for (MixAddFrames add : paths) {
        // The first update's whole window, then a 60 Hz frame's worth, and
        // then stretches of one frame.
        CHECK(mix_known(add, AUDIO_UPDATE_WINDOW, 2940) == whole);
        CHECK(mix_known(add, 2940, 4) == whole);
    }
    // The page finds the sound's start by its first frame, and the mix is to
    // reach past the 16-bit range and go on past the one-shot voices' ends.
    CHECK((whole[0] != 0 || whole[1] != 0));
    bool saturated = false;
    for (i16 v : whole) saturated = saturated || v == 32767 || v == -32768;
    CHECK(saturated);
    CHECK(KNOWN_MIX_FRAMES > known_sweep_samples().size() / 2);
}

TEST_CASE("the counting sound plays unchanged at unit gains, every frame naming itself") {
    open_test_mixer(1.0f);
    std::vector<i16> counter = known_counter_samples();
    os_play_sound(make_sound(counter, 1.0f), 1.0f, 0.0f, 0);
    std::vector<i16> out = mix_samples(counter.size());
    CHECK(out == counter);
    for (u32 i : {0u, 1u, 16383u, 16384u, KNOWN_COUNTER_FRAMES - 1}) {
        CHECK(out[2 * i] != 0);
        CHECK((u32)((out[2 * i] - 1) | ((out[2 * i + 1] - 1) << 14)) == i);
    }
    close_test_mixer();
}
