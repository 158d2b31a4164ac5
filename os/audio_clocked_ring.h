// A sound ring emulated over a player that takes blocks of frames, each
// stamped with the device frame it is to be heard at, and plays silence where
// none has arrived (a browser's audio graph).  The ring's cursors turn with
// the player's clock, as a sound card's do.  The window an update hands back
// is final (the ring's rules never rewrite bytes between the write cursor and
// written_end), so it goes to the player at once: a stalled frame loop is
// carried through the window mixed ahead and is then silence, and nothing is
// heard twice.  Backends over such a player keep one of these per device.
#pragma once

#include "os/audio.h"

#define AUDIO_RING_FRAMES (AUDIO_RING_SIZE / AUDIO_BYTES_PER_FRAME)
#define AUDIO_WINDOW_FRAMES (AUDIO_UPDATE_WINDOW / AUDIO_BYTES_PER_FRAME)

struct ClockedRing {
    // How far ahead of the play cursor the write cursor lies: what a block
    // given now needs to reach the player before its time.
    u32 lead_frames;
    // Device frames: the write cursor at the last query, the end of what the
    // player has been given, and the clock at the last query.
    u64 write_frame;
    u64 given_end;
    u64 queried_at;
    bool queried;
};

struct ClockedRingCursors {
    u32 play_cursor;
    u32 write_cursor;
    // The time of everything in the ring has passed: it is to be cleared
    // before anything is mixed, or a lap would bring sound already heard
    // round to the write cursor.
    bool stale;
};

// The ring's cursors at device frame now (never less than at the last query).
ClockedRingCursors clocked_ring_cursors(ClockedRing *ring, u64 now);

// Frames [from, to) of the device's time.
struct ClockedRingSpan {
    u64 from;
    u64 to;
};
// What of a range handed back (length bytes from ring offset) the player is
// still to be given: the part within one window from the write cursor that it
// has not had.  A range behind the play cursor (the update clearing what was
// played) is the past and gives nothing.
ClockedRingSpan clocked_ring_to_give(const ClockedRing *ring, u32 offset, u32 length);
// The player has taken frames up to end.
void clocked_ring_given(ClockedRing *ring, u64 end);
