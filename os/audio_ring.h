// The output ring's rules, written once for every sound backend (used by
// os/audio_output.cpp; tests reach them here).
#pragma once

#include "os/audio.h"

// Where the new bytes of a locked ring piece begin: an offset into the piece,
// or length when nothing in it is new.
u32 audio_region_new_start(u32 written_end, u32 offset, u32 length, u32 ring_size);
// Fills the new part of the ring piece at offset (length bytes at memory) from
// the source, silence without one, and moves written_end to the piece's end
// when anything was new.
void audio_mix_region(u32 offset, u32 length, void *memory);

// A stretch of the ring: length bytes from offset, wrapping at its end.
struct AudioRingSpan {
    u32 offset;
    u32 length;
};
// What the device has played since the previous update, given the cursors it
// reports now: the span to clear, which ends at the play cursor.  Remembers
// the play cursor for the next update.
AudioRingSpan audio_take_played_span(u32 play_cursor, u32 write_cursor);
