// The sound device in the browser: a one-second ring in the program's memory,
// its cursors turning with the Web Audio player's clock
// (os/audio_clocked_ring.h), each update's window handed to the player.
#include <string.h>

#include "os/audio_clocked_ring.h"
#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/web/audio_playback.h"

struct WebAudioRing {
    u8 *bytes;
    ClockedRing clock;
};

static WebAudioRing ring;

bool backend_audio_open(Window *window) {
    ring = WebAudioRing{};
    ring.bytes = (u8 *)os_alloc_zeroed(AUDIO_RING_SIZE);
    if (!ring.bytes) {
        os_printf("FAILED os_alloc_zeroed(ring) out of memory\n");
        return false;
    }
    char failure[256];
    if (!web_audio_start(failure, sizeof failure)) {
        os_printf("FAILED %s\n", failure);
        os_free(ring.bytes);
        ring = WebAudioRing{};
        return false;
    }
    ring.clock.lead_frames = WEB_AUDIO_LEAD_FRAMES;
    audio_device.device = &ring;
    audio_device.buffer = ring.bytes;
    return true;
}

bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor) {
    ClockedRingCursors c = clocked_ring_cursors(&ring.clock, web_audio_clock());
    if (c.stale) memset(ring.bytes, 0, AUDIO_RING_SIZE);
    *play_cursor = c.play_cursor;
    *write_cursor = c.write_cursor;
    return true;
}

bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces) {
    return audio_ring_pieces(ring.bytes, offset, length, pieces);
}

void backend_audio_unlock(const AudioRingPieces *pieces) {
    if (!pieces->length[0]) return;
    u32 offset = (u32)((u8 *)pieces->memory[0] - ring.bytes);
    ClockedRingSpan span = clocked_ring_to_give(&ring.clock, offset, pieces->length[0] + pieces->length[1]);
    while (span.from < span.to) {
        u32 at = (u32)(span.from % AUDIO_RING_FRAMES);
        u32 frames = AUDIO_RING_FRAMES - at;
        if (frames > span.to - span.from) frames = (u32)(span.to - span.from);
        // Not heard yet: the window is given again, whole, once it is.
        if (!web_audio_post((const i16 *)(ring.bytes + at * AUDIO_BYTES_PER_FRAME), frames, span.from)) return;
        span.from += frames;
        clocked_ring_given(&ring.clock, span.from);
    }
}

void backend_audio_close(void) {
    web_audio_stop();
    os_free(ring.bytes);
    ring = WebAudioRing{};
}
