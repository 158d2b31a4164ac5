// The output ring: the device's state and the sound source it asks, which
// bytes of a locked piece are new and filling them, and which bytes the device
// has played since the previous update and may be cleared.
#include "os/audio_ring.h"

#include <string.h>

#include "os/backend.h"
#include "os/log.h"

AudioDevice audio_device;

void os_set_audio_source(const AudioSource *source) { audio_device.source = source ? *source : AudioSource{}; }

// The piece starts at the write cursor (or at 0 for the part past the ring's
// end).  In steady running written_end lies at most one update window ahead of
// the cursor.  When the cursor has passed written_end (a frame longer than the
// window: a dragged window, a slow disk, a suspended machine) the ring holds
// nothing new ahead of it, so a fresh window starts at the cursor; waiting for
// the cursor to come round to written_end would replay the old ring for up to
// a second.  A stall that brings the cursor round to within one window behind
// written_end looks like steady running and cannot be told apart.
u32 audio_region_new_start(u32 written_end, u32 offset, u32 length, u32 ring_size) {
    // Nothing mixed since the device opened.
    if (written_end == 0) return 0;
    if (written_end < offset) {
        // written_end past the ring's end and the piece before it: filled
        // before the ring wrapped, as long as the two lie within one window.
        bool filled_before_wrap = (u64)written_end + (ring_size - offset) <= AUDIO_UPDATE_WINDOW;
        return filled_before_wrap ? length : 0;
    }
    // written_end late in the ring with the piece early in it is left over
    // from before the wrap.
    if (written_end > 3 * (ring_size / 4) && offset < ring_size / 4) return 0;
    if ((u64)written_end == (u64)offset + length) return length;
    // Further ahead than the piece reaches: the cursor went round the ring
    // past written_end.
    if ((u64)written_end > (u64)offset + length) return 0;
    return written_end - offset;
}

void audio_mix_region(u32 offset, u32 length, void *memory) {
    u32 start = audio_region_new_start(audio_device.written_end, offset, length, audio_device.ring_size);
    if (start >= length) return;
    audio_device.written_end = offset + length;
    u8 *fresh = (u8 *)memory + start;
    if (audio_device.source.fill) audio_device.source.fill(fresh, length - start);
    else memset(fresh, 0, length - start);
}

// The device has played the ring from the previous play cursor to this one.
// Cleared, it holds silence wherever the cursor has been, so a stalled frame
// loop lets the device play the window mixed ahead and then silence, not the
// sound it played a lap ago.  The span never reaches the bytes the device has
// yet to play: from the play cursor to the write cursor and the window mixed
// from there.  The first update after opening has no previous cursor; the
// ring starts silent, so nothing is cleared then.
// A stall of more than a lap plays the window mixed before it again on each
// further lap, with silence between: nothing runs to clear it once played.
// The cursor's travel is only seen modulo a lap, so the update after such a
// stall clears less than was played; what it misses is mixed over before the
// cursor comes round to it.
AudioRingSpan audio_take_played_span(u32 play_cursor, u32 write_cursor) {
    u32 size = audio_device.ring_size;
    AudioRingSpan span = {play_cursor, 0};
    if (audio_device.play_cursor_seen) {
        u32 played = (play_cursor + size - audio_device.last_play_cursor) % size;
        u32 kept = (write_cursor + size - play_cursor) % size + AUDIO_UPDATE_WINDOW;
        u32 clearable = kept < size ? size - kept : 0;
        span.length = played < clearable ? played : clearable;
        span.offset = (play_cursor + size - span.length) % size;
    }
    audio_device.last_play_cursor = play_cursor;
    audio_device.play_cursor_seen = true;
    return span;
}

bool audio_ring_pieces(u8 *bytes, u32 offset, u32 length, AudioRingPieces *pieces) {
    *pieces = AudioRingPieces{};
    if (offset >= AUDIO_RING_SIZE || length > AUDIO_RING_SIZE) {
        os_printf("FAILED backend_audio_lock() range %u+%u outside the ring\n", offset, length);
        return false;
    }
    u32 first = AUDIO_RING_SIZE - offset;
    if (first > length) first = length;
    pieces->memory[0] = bytes + offset;
    pieces->length[0] = first;
    if (length > first) {
        pieces->memory[1] = bytes;
        pieces->length[1] = length - first;
    }
    return true;
}
