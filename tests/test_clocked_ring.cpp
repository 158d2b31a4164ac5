// The ring over a clocked player (the browser's sound device), run through
// the portable update against a player that hears each frame at its stamp.
#include <string.h>

#include <vector>

#include "audio_test_support.h"
#include "os/audio_clocked_ring.h"
#include "os/audio_ring.h"
#include "os/backend.h"

static const u32 LEAD = 2048;

// Frames of a source that counts: frame n holds n + 1 (never 0) across its
// two samples.
static u32 next_count;
static void fill_counting(void *dest, u32 length) {
    i16 *out = (i16 *)dest;
    for (u32 f = 0; f < length / AUDIO_BYTES_PER_FRAME; f++, next_count++) {
        out[2 * f] = (i16)(1 + next_count % 30000);
        out[2 * f + 1] = (i16)(1 + next_count / 30000);
    }
}

struct Player {
    bool running = true;
    std::vector<u32> heard;  // per device frame: the count heard + 1, 0 for silence
    u32 late = 0;
    u32 given_twice = 0;
};

struct Device {
    std::vector<u8> bytes = std::vector<u8>(AUDIO_RING_SIZE);
    ClockedRing ring = {};
    Player player;
};

// What the browser's device does with a range handed back at device frame now.
static void give(Device *d, const AudioRingPieces *pieces, u64 now) {
    if (!pieces->length[0]) return;
    u32 offset = (u32)((u8 *)pieces->memory[0] - d->bytes.data());
    ClockedRingSpan span = clocked_ring_to_give(&d->ring, offset, pieces->length[0] + pieces->length[1]);
    if (!d->player.running || span.from >= span.to) return;
    if (d->player.heard.size() < span.to) d->player.heard.resize(span.to + AUDIO_RING_FRAMES);
    for (u64 f = span.from; f < span.to; f++) {
        const i16 *s = (const i16 *)(d->bytes.data() + (f % AUDIO_RING_FRAMES) * AUDIO_BYTES_PER_FRAME);
        if (f < now) {
            d->player.late++;
            continue;
        }
        if (d->player.heard[f]) d->player.given_twice++;
        d->player.heard[f] = (s[0] || s[1]) ? (u32)(s[0] - 1) + 30000u * (u32)(s[1] - 1) + 1 : 0;
    }
    clocked_ring_given(&d->ring, span.to);
}

// One frame loop pass's device update (os/audio_output.cpp over the hooks).
static void update(Device *d, u64 now) {
    ClockedRingCursors c = clocked_ring_cursors(&d->ring, now);
    if (c.stale) memset(d->bytes.data(), 0, d->bytes.size());
    AudioRingPieces pieces;
    REQUIRE(audio_ring_pieces(d->bytes.data(), c.write_cursor, AUDIO_UPDATE_WINDOW, &pieces));
    if (pieces.length[0]) audio_mix_region(c.write_cursor, pieces.length[0], pieces.memory[0]);
    if (pieces.length[1]) audio_mix_region(0, pieces.length[1], pieces.memory[1]);
    give(d, &pieces, now);
    AudioRingSpan played = audio_take_played_span(c.play_cursor, c.write_cursor);
    if (played.length && audio_ring_pieces(d->bytes.data(), played.offset, played.length, &pieces)) {
        for (int i = 0; i < 2; i++)
            if (pieces.length[i]) memset(pieces.memory[i], 0, pieces.length[i]);
        give(d, &pieces, now);
    }
}

static void open_device(Device *d) {
    audio_device = AudioDevice{};
    audio_device.initialised = true;
    audio_device.ring_size = AUDIO_RING_SIZE;
    static const AudioSource COUNTING = {fill_counting, nullptr, nullptr};
    os_set_audio_source(&COUNTING);
    next_count = 0;
    d->ring.lead_frames = LEAD;
}

static u64 ms_frames(double ms) { return (u64)(ms * 44.1); }

// Runs frames of the given length until the device frame end.
static void run(Device *d, u64 *now, double frame_ms, u64 end) {
    for (; *now < end; *now += ms_frames(frame_ms)) update(d, *now);
    *now -= ms_frames(frame_ms);
}

// What was heard: every frame sounding must be the count's next, nothing
// heard twice; the lengths of the silences between stretches of sound.
struct Heard {
    bool in_order = true;
    u32 first = 0, last = 0;
    std::vector<u64> silences;
};

static Heard listen(const Player &p, u64 until) {
    Heard h;
    bool started = false;
    u64 silent = 0;
    for (u64 f = 0; f < until && f < p.heard.size(); f++) {
        u32 v = p.heard[f];
        if (!v) {
            silent++;
            continue;
        }
        if (!started) {
            h.first = v - 1;
        } else {
            if (silent) h.silences.push_back(silent);
            if (v - 1 != h.last + 1) h.in_order = false;
        }
        started = true;
        h.last = v - 1;
        silent = 0;
    }
    return h;
}

TEST_CASE("at 60 frames a second and through frames up to the window and the lead, the sound is unbroken") {
    Device d;
    open_device(&d);
    u64 now = 1000;
    run(&d, &now, 16.7, 44100);
    // Frames longer than the window mixed ahead (93 ms) but shorter than all
    // the player holds (139 ms) go on where the last window ended.
    for (double ms : {100.0, 110.0, 122.0}) {
        now += ms_frames(ms);
        update(&d, now);
        run(&d, &now, 16.7, now + 22050);
    }
    Heard h = listen(d.player, now);
    CHECK(h.in_order);
    CHECK(h.first == 0);
    CHECK(h.silences.empty());
    CHECK(d.player.late == 0);
    CHECK(d.player.given_twice == 0);
    // A sound starts a window and the lead after its update.
    CHECK(d.player.heard[1000 + LEAD] == 1);
    close_test_mixer();
}

TEST_CASE("a stalled frame loop is heard as the window mixed ahead, then silence, and nothing twice") {
    Device d;
    open_device(&d);
    u64 now = 0;
    run(&d, &now, 16.7, 30000);
    // Half a second, just over a lap (where the write cursor comes round to
    // within a window behind written_end and the ring holds sound already
    // heard), just over two laps, and a hidden tab's minute.
    std::vector<double> stalls = {500.0, 1050.0, 2030.0, 60000.0};
    for (double ms : stalls) {
        u64 stalled_at = now;
        now += ms_frames(ms);
        update(&d, now);
        run(&d, &now, 16.7, now + 30000);
        CHECK(d.player.heard[stalled_at + LEAD + AUDIO_WINDOW_FRAMES - 100] != 0);
        CHECK(d.player.heard[stalled_at + LEAD + AUDIO_WINDOW_FRAMES + 100] == 0);
    }
    Heard h = listen(d.player, now);
    CHECK(h.in_order);
    CHECK(h.first == 0);
    REQUIRE(h.silences.size() == stalls.size());
    // Silent for the stall but its first window (and, past a lap, the part of
    // the next window that would have been heard before).
    for (size_t i = 0; i < stalls.size(); i++) {
        CHECK(h.silences[i] >= ms_frames(stalls[i]) - AUDIO_WINDOW_FRAMES);
        CHECK(h.silences[i] <= ms_frames(stalls[i]) + ms_frames(16.7));
    }
    CHECK(d.player.late == 0);
    CHECK(d.player.given_twice == 0);
    close_test_mixer();
}

TEST_CASE("until the player runs nothing is given; then the window from the write cursor, whole") {
    Device d;
    open_device(&d);
    d.player.running = false;
    u64 now = 0;
    run(&d, &now, 16.7, 20000);
    CHECK(d.player.heard.empty());
    // The sound went on silently meanwhile; what is heard starts a lead
    // after the first update the player runs for.
    d.player.running = true;
    u64 heard_from = now + LEAD;
    run(&d, &now, 16.7, now + 20000);
    Heard h = listen(d.player, now);
    CHECK(h.in_order);
    CHECK(h.silences.empty());
    CHECK(h.first > 10000);
    CHECK(d.player.heard[heard_from] != 0);
    CHECK(d.player.heard[heard_from - 1] == 0);
    close_test_mixer();
}

TEST_CASE("what the player is given of a range handed back") {
    ClockedRing ring = {};
    ring.lead_frames = LEAD;
    ClockedRingCursors c = clocked_ring_cursors(&ring, 3 * AUDIO_RING_FRAMES + 100);
    CHECK_FALSE(c.stale);
    CHECK(c.play_cursor == 100 * AUDIO_BYTES_PER_FRAME);
    CHECK(c.write_cursor == (100 + LEAD) * AUDIO_BYTES_PER_FRAME);
    // The window from the write cursor, and no further.
    ClockedRingSpan s = clocked_ring_to_give(&ring, c.write_cursor, AUDIO_RING_SIZE / 2);
    CHECK(s.from == ring.write_frame);
    CHECK(s.to == ring.write_frame + AUDIO_WINDOW_FRAMES);
    // A range behind the play cursor gives nothing.
    s = clocked_ring_to_give(&ring, 0, c.play_cursor);
    CHECK(s.from == s.to);
    // What was given is not given again.
    clocked_ring_given(&ring, ring.write_frame + 1000);
    s = clocked_ring_to_give(&ring, c.write_cursor, AUDIO_UPDATE_WINDOW);
    CHECK(s.from == ring.write_frame + 1000);
    // The clock never goes back, and a query long after the last is stale.
    c = clocked_ring_cursors(&ring, 5);
    CHECK(c.play_cursor == 100 * AUDIO_BYTES_PER_FRAME);
    CHECK(clocked_ring_cursors(&ring, 3 * AUDIO_RING_FRAMES + 100 + LEAD + AUDIO_WINDOW_FRAMES + 1).stale);
}
