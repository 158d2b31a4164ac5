#include "audio_test_support.h"

static const u32 S = AUDIO_RING_SIZE;
static const u32 WINDOW = AUDIO_UPDATE_WINDOW;

TEST_CASE("new part of a ring piece: the first window whole, then only what the cursor advanced") {
    // First update after opening: nothing written yet.
    CHECK(audio_region_new_start(0, 0, WINDOW, S) == 0);
    // Write cursor unchanged: nothing new.
    CHECK(audio_region_new_start(WINDOW, 0, WINDOW, S) == WINDOW);
    // Steady running: the cursor moved 2940 bytes, so do the new bytes.
    CHECK(audio_region_new_start(WINDOW, 2940, WINDOW, S) == WINDOW - 2940);
    CHECK(audio_region_new_start(WINDOW + 2940, 5880, WINDOW, S) == WINDOW - 2940);
    // A cursor that went back within the written range: nothing new.
    CHECK(audio_region_new_start(20000, 1000, 16000, S) == 16000);
}

TEST_CASE("new part of a ring piece around written_end and the wrap") {
    // The cursor passed written_end in the first half of the ring: whole window.
    CHECK(audio_region_new_start(WINDOW, 40000, WINDOW, S) == 0);
    CHECK(audio_region_new_start(WINDOW, S / 2, WINDOW, S) == 0);
    // ... in the second half: taken as filled before the wrap, nothing mixed.
    CHECK(audio_region_new_start(WINDOW, S / 2 + 4, WINDOW, S) == WINDOW);
    CHECK(audio_region_new_start(1000, 100000, WINDOW, S) == WINDOW);
    // written_end late in the ring, the piece early in it: left over from before the wrap.
    CHECK(audio_region_new_start(S, 0, WINDOW, S) == 0);
    CHECK(audio_region_new_start(S, 100, WINDOW, S) == 0);
    CHECK(audio_region_new_start(3 * (S / 4) + 4, S / 4 - 4, WINDOW, S) == 0);
    // At exactly three quarters the ordinary rule applies.
    CHECK(audio_region_new_start(3 * (S / 4), 100, WINDOW, S) == WINDOW);
    // written_end late but the piece beyond the first quarter: ordinary rule.
    CHECK(audio_region_new_start(S - 100, S / 4, WINDOW, S) == WINDOW);
    CHECK(audio_region_new_start(S - 100, S - 200, 200, S) == 100);
}

// Fills the ring like the device update: the window from the write cursor,
// split in two pieces where it passes the end of the ring.
static void update_ring(std::vector<i16> &ring, u32 cursor) {
    u32 first = S - cursor < WINDOW ? S - cursor : WINDOW;
    audio_mix_region(cursor, first, (u8 *)ring.data() + cursor);
    if (first < WINDOW) audio_mix_region(0, WINDOW - first, ring.data());
}

TEST_CASE("audio_mix_region mixes only new bytes and a looping voice runs on without a seam") {
    open_test_mixer(1.0f);
    std::vector<i16> samples(2 * 1000);  // 1000 frames: not a divisor of the ring
    for (size_t i = 0; i < samples.size(); i++) samples[i] = (i16)(i * 7 - 5000);
    os_play_sound(make_sound(samples, 1.0f), 1.0f, 0.0f, SOUND_LOOP);

    std::vector<i16> ring(S / 2, 0x4321);
    u32 cursor = 0;
    update_ring(ring, cursor);
    CHECK(audio_state.written_end == WINDOW);
    // The same cursor again changes nothing.
    std::vector<i16> before = ring;
    update_ring(ring, cursor);
    CHECK(ring == before);
    CHECK(audio_state.written_end == WINDOW);

    // About 60 updates per second of ring, past the end twice.
    u32 mixed_total = WINDOW;
    for (int frame = 0; frame < 130; frame++) {
        cursor = (cursor + 2940) % S;
        update_ring(ring, cursor);
        mixed_total += 2940;
        REQUIRE(audio_state.written_end == (cursor + WINDOW > S ? cursor + WINDOW - S : cursor + WINDOW));
    }
    CHECK(mixed_total > 2 * S);
    // The ring holds the sound without a seam: the sample at ring offset o is
    // the one the voice played when the mixer passed o for the last time.
    u32 end = audio_state.written_end;  // ring offset of frame number mixed_total / 4
    for (u32 back = 4; back <= S; back += 4) {
        u32 offset = (end + S - back) % S;
        u64 frame = (mixed_total - back) / 4;
        const i16 *expect = &samples[(frame % 1000) * 2];
        REQUIRE(ring[offset / 2] == expect[0]);
        REQUIRE(ring[offset / 2 + 1] == expect[1]);
    }
    close_test_mixer();
}

TEST_CASE("a window across the ring's end is mixed in two pieces and written_end ends at the second") {
    open_test_mixer(1.0f);
    std::vector<i16> ring(S / 2, 0x1111);
    audio_state.written_end = S - 1000;
    update_ring(ring, S - 4000);
    CHECK(audio_state.written_end == WINDOW - 4000);
    // With no voices the new bytes are silence; bytes before written_end are kept.
    for (u32 o = S - 4000; o < S - 1000; o += 2) REQUIRE(ring[o / 2] == 0x1111);
    for (u32 o = S - 1000; o < S; o += 2) REQUIRE(ring[o / 2] == 0);
    for (u32 o = 0; o < WINDOW - 4000; o += 2) REQUIRE(ring[o / 2] == 0);
    CHECK(ring[(WINDOW - 4000) / 2] == 0x1111);

    // A window that ended exactly at the ring's end, then one starting near 0.
    audio_state.written_end = S;
    std::vector<i16> piece(WINDOW / 2, 0x2222);
    audio_mix_region(64, WINDOW, piece.data());
    CHECK(piece == std::vector<i16>(WINDOW / 2, 0));
    CHECK(audio_state.written_end == 64 + WINDOW);

    // A piece judged as already filled is left alone, written_end too.
    audio_state.written_end = 1000;
    piece.assign(WINDOW / 2, 0x3333);
    audio_mix_region(120000, WINDOW, piece.data());
    CHECK(piece == std::vector<i16>(WINDOW / 2, 0x3333));
    CHECK(audio_state.written_end == 1000);
    close_test_mixer();
}
