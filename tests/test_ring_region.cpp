#include <algorithm>

#include "audio_test_support.h"
#include "os/audio_ring.h"

static const u32 S = AUDIO_RING_SIZE;
static const u32 WINDOW = AUDIO_UPDATE_WINDOW;

TEST_CASE("new part of a ring piece: the first window whole, then only what the cursor advanced") {
    // First update after opening: nothing written yet, wherever the cursor is.
    CHECK(audio_region_new_start(0, 0, WINDOW, S) == 0);
    CHECK(audio_region_new_start(0, 150000, WINDOW, S) == 0);
    CHECK(audio_region_new_start(0, S - 1000, 1000, S) == 0);
    // Write cursor unchanged: nothing new.
    CHECK(audio_region_new_start(WINDOW, 0, WINDOW, S) == WINDOW);
    // Steady running: the cursor moved 2940 bytes, so do the new bytes.
    CHECK(audio_region_new_start(WINDOW, 2940, WINDOW, S) == WINDOW - 2940);
    CHECK(audio_region_new_start(WINDOW + 2940, 5880, WINDOW, S) == WINDOW - 2940);
}

TEST_CASE("new part of a ring piece around written_end and the wrap") {
    // The cursor passed written_end: a fresh window, in either half of the ring.
    CHECK(audio_region_new_start(WINDOW, 40000, WINDOW, S) == 0);
    CHECK(audio_region_new_start(WINDOW, S / 2, WINDOW, S) == 0);
    CHECK(audio_region_new_start(WINDOW, S / 2 + 4, WINDOW, S) == 0);
    CHECK(audio_region_new_start(1000, 100000, WINDOW, S) == 0);
    CHECK(audio_region_new_start(100000, S - 1000, 1000, S) == 0);
    // The piece before the wrap with written_end past it, within one window:
    // filled by the update before, nothing new.
    CHECK(audio_region_new_start(WINDOW - 1000, S - 1000, 1000, S) == 1000);
    CHECK(audio_region_new_start(1, S - WINDOW + 1, WINDOW - 1, S) == WINDOW - 1);
    // ... one byte further apart is more than a window: the cursor passed it.
    CHECK(audio_region_new_start(WINDOW - 999, S - 1000, 1000, S) == 0);
    // written_end late in the ring, the piece early in it: left over from before the wrap.
    CHECK(audio_region_new_start(S, 0, WINDOW, S) == 0);
    CHECK(audio_region_new_start(S, 100, WINDOW, S) == 0);
    CHECK(audio_region_new_start(3 * (S / 4) + 4, S / 4 - 4, WINDOW, S) == 0);
    // The end of the ring exactly reached and the cursor still before it.
    CHECK(audio_region_new_start(S, S - 1000, 1000, S) == 1000);
    CHECK(audio_region_new_start(S - 100, S - 200, 200, S) == 100);
    // written_end further ahead than the piece reaches: the cursor went round
    // the ring past it.
    CHECK(audio_region_new_start(3 * (S / 4), 100, WINDOW, S) == 0);
    CHECK(audio_region_new_start(S - 100, S / 4, WINDOW, S) == 0);
    CHECK(audio_region_new_start(20000, 1000, 16000, S) == 0);
}

// The decision as it stood before stalls were recognised, for comparing the
// outcome of steady running.
static u32 decision_without_stalls(u32 w, u32 a, u32 n) {
    if (w < a) return a > S / 2 ? n : 0;
    if (w > 3 * (S / 4) && a < S / 4) return 0;
    if ((u64)w >= (u64)a + n) return n;
    return w - a;
}

TEST_CASE("where no stall happened every piece is decided as before") {
    // Every cursor advance of up to one window from written_end's window, at
    // ring positions on both halves and across the end.
    u32 checked = 0;
    for (u32 previous = 4; previous < S; previous += 1236) {
        u32 end = previous + WINDOW;
        u32 w = end > S ? end - S : end;
        for (u32 advance = 0; advance <= WINDOW; advance += 4) {
            u32 cursor = (previous + advance) % S;
            u32 first = S - cursor < WINDOW ? S - cursor : WINDOW;
            u32 start = audio_region_new_start(w, cursor, first, S);
            REQUIRE(start == decision_without_stalls(w, cursor, first));
            u32 w_after = start < first ? cursor + first : w;
            if (first < WINDOW) {
                REQUIRE(audio_region_new_start(w_after, 0, WINDOW - first, S) ==
                        decision_without_stalls(w_after, 0, WINDOW - first));
            }
            checked++;
        }
    }
    CHECK(checked > 500000);
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
    CHECK(audio_device.written_end == WINDOW);
    // The same cursor again changes nothing.
    std::vector<i16> before = ring;
    update_ring(ring, cursor);
    CHECK(ring == before);
    CHECK(audio_device.written_end == WINDOW);

    // About 60 updates per second of ring, past the end twice.
    u32 mixed_total = WINDOW;
    for (int frame = 0; frame < 130; frame++) {
        cursor = (cursor + 2940) % S;
        update_ring(ring, cursor);
        mixed_total += 2940;
        REQUIRE(audio_device.written_end == (cursor + WINDOW > S ? cursor + WINDOW - S : cursor + WINDOW));
    }
    CHECK(mixed_total > 2 * S);
    // The ring holds the sound without a seam: the sample at ring offset o is
    // the one the voice played when the mixer passed o for the last time.
    u32 end = audio_device.written_end;  // ring offset of frame number mixed_total / 4
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
    audio_device.written_end = S - 1000;
    update_ring(ring, S - 4000);
    CHECK(audio_device.written_end == WINDOW - 4000);
    // With no voices the new bytes are silence; bytes before written_end are kept.
    for (u32 o = S - 4000; o < S - 1000; o += 2) REQUIRE(ring[o / 2] == 0x1111);
    for (u32 o = S - 1000; o < S; o += 2) REQUIRE(ring[o / 2] == 0);
    for (u32 o = 0; o < WINDOW - 4000; o += 2) REQUIRE(ring[o / 2] == 0);
    CHECK(ring[(WINDOW - 4000) / 2] == 0x1111);

    // A window that ended exactly at the ring's end, then one starting near 0.
    audio_device.written_end = S;
    std::vector<i16> piece(WINDOW / 2, 0x2222);
    audio_mix_region(64, WINDOW, piece.data());
    CHECK(piece == std::vector<i16>(WINDOW / 2, 0));
    CHECK(audio_device.written_end == 64 + WINDOW);

    // A piece judged as already filled is left alone, written_end too.
    audio_device.written_end = 1000;
    piece.assign(WINDOW / 2, 0x3333);
    audio_mix_region(S - 2000, 2000, piece.data());
    CHECK(piece == std::vector<i16>(WINDOW / 2, 0x3333));
    CHECK(audio_device.written_end == 1000);
    close_test_mixer();
}

// A looping ramp: frame i of the voice holds i % RAMP in both channels, so
// the ring can be checked for a seamless run.
static const u32 RAMP = 30000;

static i16 ring_frame(const std::vector<i16> &ring, u32 offset) { return ring[(offset % S) / 2]; }

// True when the n bytes from the ring offset hold consecutive ramp frames.
static bool ramp_runs_on(const std::vector<i16> &ring, u32 offset, u32 n) {
    for (u32 b = 4; b < n; b += 4) {
        i16 before = ring_frame(ring, offset + b - 4), now = ring_frame(ring, offset + b);
        if ((u32)now != ((u32)before + 1) % RAMP) return false;
    }
    return true;
}

TEST_CASE("after a stall of any length sound resumes on the first update, on either half of the ring") {
    std::vector<i16> samples(2 * RAMP);
    for (u32 i = 0; i < RAMP; i++) samples[2 * i] = samples[2 * i + 1] = (i16)i;
    // Stalls from one frame to past two rings, in steps that land the cursor
    // on every part of the ring.
    int stalls = 0, resumed_at_once = 0, indistinguishable = 0;
    for (u32 stall = 2940; stall < 2 * S + 3 * WINDOW; stall += 1996) {
        for (u32 start_cursor : {0u, 60000u, S / 2 + 4, S - 8000}) {
            open_test_mixer(1.0f);
            os_play_sound(make_sound(samples, 1.0f), 1.0f, 0.0f, SOUND_LOOP);
            std::vector<i16> ring(S / 2, 0x7777);
            u32 cursor = start_cursor;
            update_ring(ring, cursor);
            for (int frame = 0; frame < 5; frame++) update_ring(ring, cursor = (cursor + 2940) % S);
            u32 end_before = audio_device.written_end;
            i16 last_mixed = ring_frame(ring, end_before + S - 4);

            cursor = (cursor + stall) % S;
            update_ring(ring, cursor);
            stalls++;
            // Bytes still ahead of the cursor from before the stall: only when
            // it came round to within a window behind written_end.
            u32 ahead = (end_before + S - cursor) % S;
            if (ahead != 0 && ahead <= WINDOW) {
                indistinguishable++;
                REQUIRE(ramp_runs_on(ring, end_before + S - 4, WINDOW - ahead + 4));
                close_test_mixer();
                continue;
            }
            // The whole window from the cursor is new and picks up where the
            // voice stopped.
            REQUIRE(audio_device.written_end == (cursor + WINDOW > S ? cursor + WINDOW - S : cursor + WINDOW));
            REQUIRE((u32)ring_frame(ring, cursor) == ((u32)last_mixed + 1) % RAMP);
            REQUIRE(ramp_runs_on(ring, cursor, WINDOW));
            // Steady running again from there.
            for (int frame = 0; frame < 40; frame++) {
                u32 end = audio_device.written_end;
                update_ring(ring, cursor = (cursor + 2940) % S);
                REQUIRE(ramp_runs_on(ring, end + S - 4, 2944));
            }
            resumed_at_once++;
            close_test_mixer();
        }
    }
    CHECK(stalls == resumed_at_once + indistinguishable);
    CHECK(indistinguishable > 0);
    CHECK(resumed_at_once > 5 * indistinguishable);
}

TEST_CASE("the span the device has played since the previous update") {
    open_test_mixer(1.0f);
    // The first update after opening knows no earlier cursor, also at 0.
    AudioRingSpan span = audio_take_played_span(0, 1764);
    CHECK(span.length == 0);
    CHECK(audio_device.play_cursor_seen);
    // A cursor that has not moved: nothing played.
    span = audio_take_played_span(0, 1764);
    CHECK(span.length == 0);
    // From 0 on; in the middle of the ring; across its end; up to 0.
    span = audio_take_played_span(2940, 2940 + 1764);
    CHECK((span.offset == 0 && span.length == 2940));
    audio_take_played_span(50000, 51764);
    span = audio_take_played_span(52940, 54704);
    CHECK((span.offset == 50000 && span.length == 2940));
    audio_take_played_span(S - 1000, 764);
    span = audio_take_played_span(1940, 3704);
    CHECK((span.offset == S - 1000 && span.length == 2940));
    audio_take_played_span(S - 2940, S - 1176);
    span = audio_take_played_span(0, 1764);
    CHECK((span.offset == S - 2940 && span.length == 2940));

    // Nearly a lap: the span stops short of the write cursor's window, which
    // now reaches round past the previous cursor.
    audio_take_played_span(10000, 11764);
    span = audio_take_played_span(5000, 5000 + 1764);
    CHECK(span.length == S - 1764 - WINDOW);
    CHECK(span.offset == 5000 + 1764 + WINDOW);
    close_test_mixer();
}

// A device that plays the ring at its own pace, LEAD bytes behind its write
// cursor, and keeps what it played, fed by updates as os_update_audio makes
// them: the window from the write cursor mixed, then (when clearing) the
// played span silenced.
static const u32 LEAD = 3528;  // 20 ms

struct ModelDevice {
    std::vector<i16> ring = std::vector<i16>(S / 2, 0);
    u32 play = 0;
    std::vector<i16> heard;
};

static void device_plays(ModelDevice &d, u32 bytes) {
    for (u32 b = 0; b < bytes; b += 2) {
        d.heard.push_back(d.ring[d.play / 2]);
        d.play = (d.play + 2) % S;
    }
}

static void device_update(ModelDevice &d, bool clear) {
    u32 write = (d.play + LEAD) % S;
    update_ring(d.ring, write);
    AudioRingSpan span = audio_take_played_span(d.play, write);
    if (!clear) return;
    for (u32 b = 0; b < span.length; b += 2) d.ring[(span.offset + b) % S / 2] = 0;
}

// Sounding 50 ms blocks of what was heard that repeat the block one lap earlier.
static int blocks_heard_a_lap_before(const std::vector<i16> &heard) {
    const size_t block = 2 * 2205, lap = S / 2;
    int repeats = 0;
    for (size_t at = lap; at + block <= heard.size(); at += block) {
        bool silent = std::all_of(heard.begin() + at, heard.begin() + at + block, [](i16 s) { return s == 0; });
        if (!silent && std::equal(heard.begin() + at, heard.begin() + at + block, heard.begin() + at - lap)) repeats++;
    }
    return repeats;
}

// Plays a looping ramp that is never 0 through the model device: steady
// frames, then a stall of the given bytes, then steady frames again.
static ModelDevice play_with_stall(bool clear, u32 stall) {
    std::vector<i16> samples(2 * RAMP);
    for (u32 i = 0; i < RAMP; i++) samples[2 * i] = samples[2 * i + 1] = (i16)(i + 1);
    open_test_mixer(1.0f);
    os_play_sound(make_sound(samples, 1.0f), 1.0f, 0.0f, SOUND_LOOP);
    ModelDevice d;
    d.play = 40000;
    for (int frame = 0; frame < 100; frame++) {
        device_update(d, clear);
        device_plays(d, 2940);
    }
    device_update(d, clear);
    device_plays(d, stall);
    for (int frame = 0; frame < 100; frame++) {
        device_update(d, clear);
        device_plays(d, 2940);
    }
    close_test_mixer();
    return d;
}

TEST_CASE("with the played ring cleared a stall is heard as silence and steady play as before") {
    // Steady play: the same sound to the sample.
    CHECK(play_with_stall(true, 2940).heard == play_with_stall(false, 2940).heard);

    const size_t stall_at = 100 * 2940 / 2;  // in samples
    for (u32 stall : {S * 3 / 10, S * 7 / 10, S * 19 / 20, S * 5 / 2}) {
        CAPTURE(stall);
        ModelDevice kept = play_with_stall(false, stall);
        ModelDevice cleared = play_with_stall(true, stall);
        // Without clearing the ring plays its previous lap again.
        CHECK(blocks_heard_a_lap_before(kept.heard) >= (int)((stall - LEAD - WINDOW) / 8820) - 1);
        // Cleared: the window mixed before the stall, then silence.
        const std::vector<i16> &h = cleared.heard;
        auto sounding = [&](size_t from, size_t to) {
            return std::none_of(h.begin() + from, h.begin() + to, [](i16 s) { return s == 0; });
        };
        size_t ahead = (LEAD + WINDOW) / 2;
        CHECK(sounding(stall_at, stall_at + ahead));
        size_t stall_end = stall_at + stall / 2;
        for (size_t i = stall_at + ahead; i < stall_end; i++) {
            // Past a lap, the device comes round to that window once a lap.
            size_t into_lap = (i - stall_at) % (S / 2);
            if (into_lap < ahead) {
                REQUIRE(h[i] == h[stall_at + into_lap]);
            } else {
                REQUIRE(h[i] == 0);
            }
        }
        // Fresh sound from the first window after the stall on.
        CHECK(sounding(stall_end + LEAD / 2, h.size()));
        if (stall < S) CHECK(blocks_heard_a_lap_before(h) == 0);
    }
}

static u32 fills, filled_bytes;
static void fill_with_sevens(void *dest, u32 length) {
    fills++;
    filled_bytes += length;
    memset(dest, 7, length);
}

TEST_CASE("the ring takes its new bytes from the registered source, and silence without one") {
    close_test_mixer();
    audio_device.ring_size = S;
    std::vector<u8> piece(WINDOW, 0xEE);
    audio_mix_region(0, WINDOW, piece.data());
    CHECK(std::count(piece.begin(), piece.end(), 0) == (long)WINDOW);

    const AudioSource source = {fill_with_sevens, nullptr, nullptr};
    os_set_audio_source(&source);
    fills = filled_bytes = 0;
    // Only the part past written_end is asked for.
    audio_mix_region(2940, WINDOW, piece.data());
    CHECK(fills == 1);
    CHECK(filled_bytes == 2940);
    CHECK(piece[WINDOW - 2941] == 0);
    CHECK(piece[WINDOW - 2940] == 7);
    audio_mix_region(2940, WINDOW, piece.data());  // nothing new
    CHECK(fills == 1);

    // The mixer registers itself with its tables; a null source stops it.
    REQUIRE(audio_create_tables());
    CHECK((audio_device.source.fill == &audio_mix));
    os_set_audio_source(nullptr);
    CHECK((audio_device.source.fill == nullptr));
    close_test_mixer();
}
