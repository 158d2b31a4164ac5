// The cursors of a ring played by a clocked player, and what of each update
// the player is to be given.
#include "os/audio_clocked_ring.h"

static u32 ring_offset(u64 frame) { return (u32)(frame % AUDIO_RING_FRAMES) * AUDIO_BYTES_PER_FRAME; }

ClockedRingCursors clocked_ring_cursors(ClockedRing *ring, u64 now) {
    if (ring->queried && now < ring->queried_at) now = ring->queried_at;
    ClockedRingCursors c = {};
    // Longer than the window mixed ahead since the last update: the player
    // has played all it was given.
    c.stale = ring->queried && now - ring->queried_at > ring->lead_frames + AUDIO_WINDOW_FRAMES;
    ring->queried_at = now;
    ring->queried = true;
    ring->write_frame = now + ring->lead_frames;
    // A frame longer than the window but shorter than what the player still
    // holds: the next window goes on where the last one ends, so the sound
    // goes on unbroken instead of starting afresh after a gap.
    if (ring->given_end > now && ring->given_end < ring->write_frame) ring->write_frame = ring->given_end;
    c.play_cursor = ring_offset(now);
    c.write_cursor = ring_offset(ring->write_frame);
    return c;
}

ClockedRingSpan clocked_ring_to_give(const ClockedRing *ring, u32 offset, u32 length) {
    u32 ahead = (offset % AUDIO_RING_SIZE + AUDIO_RING_SIZE - ring_offset(ring->write_frame)) % AUDIO_RING_SIZE;
    ClockedRingSpan span;
    span.from = ring->write_frame + ahead / AUDIO_BYTES_PER_FRAME;
    span.to = span.from + length / AUDIO_BYTES_PER_FRAME;
    u64 limit = ring->write_frame + AUDIO_WINDOW_FRAMES;
    if (span.to > limit) span.to = limit;
    if (span.from < ring->given_end) span.from = ring->given_end;
    if (span.to < span.from) span.to = span.from;
    return span;
}

void clocked_ring_given(ClockedRing *ring, u64 end) {
    if (end > ring->given_end) ring->given_end = end;
}
