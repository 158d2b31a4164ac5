// The sound device in the browser: a one-second ring in the program's memory
// whose cursors turn with the device's clock, as DirectSound's do.  The
// window an update hands back is final (the ring's rules never rewrite bytes
// between the write cursor and written_end), so it goes to the player at
// once, each frame stamped with the device frame it belongs to: a stalled
// frame loop is carried through the window mixed ahead and is then silence,
// and nothing is ever heard twice.
#include <string.h>

#include "os/audio.h"
#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"
#include "os/web/audio_playback.h"

#define WEB_AUDIO_RING_FRAMES (AUDIO_RING_SIZE / AUDIO_BYTES_PER_FRAME)
#define WEB_AUDIO_WINDOW_FRAMES (AUDIO_UPDATE_WINDOW / AUDIO_BYTES_PER_FRAME)

struct WebAudioRing {
    u8 *bytes;
    // Device frames: the write cursor at the last cursor query, the end of
    // what the player has been given, and the clock at the last query.
    u64 write_frame;
    u64 posted_end;
    u64 queried_at;
    bool queried;
};

static WebAudioRing ring;

static u32 ring_offset(u64 frame) { return (u32)(frame % WEB_AUDIO_RING_FRAMES) * AUDIO_BYTES_PER_FRAME; }

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
    audio_device.device = &ring;
    audio_device.buffer = ring.bytes;
    return true;
}

bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor) {
    u64 now = web_audio_clock();
    // Longer than the window mixed ahead since the last update: the time of
    // everything in the ring has passed, and what a lap brings round to the
    // write cursor is sound already heard.
    if (ring.queried && now - ring.queried_at > WEB_AUDIO_LEAD_FRAMES + WEB_AUDIO_WINDOW_FRAMES)
        memset(ring.bytes, 0, AUDIO_RING_SIZE);
    ring.queried_at = now;
    ring.queried = true;
    ring.write_frame = now + WEB_AUDIO_LEAD_FRAMES;
    // A frame longer than the window but shorter than what the player still
    // holds: the next window goes on where the last one ends, so the sound
    // goes on unbroken instead of starting afresh after a gap.
    if (ring.posted_end > now && ring.posted_end < ring.write_frame) ring.write_frame = ring.posted_end;
    *play_cursor = ring_offset(now);
    *write_cursor = ring_offset(ring.write_frame);
    return true;
}

bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces) {
    *pieces = AudioRingPieces{};
    if (offset >= AUDIO_RING_SIZE || length > AUDIO_RING_SIZE) {
        os_printf("FAILED backend_audio_lock() range %u+%u outside the ring\n", offset, length);
        return false;
    }
    u32 first = AUDIO_RING_SIZE - offset;
    if (first > length) first = length;
    pieces->memory[0] = ring.bytes + offset;
    pieces->length[0] = first;
    if (length > first) {
        pieces->memory[1] = ring.bytes;
        pieces->length[1] = length - first;
    }
    return true;
}

// Only what lies within one window from the write cursor is the player's:
// a range handed back behind the play cursor (the update clearing what was
// played) is the past, and lies further ahead than that.
void backend_audio_unlock(const AudioRingPieces *pieces) {
    if (!pieces->length[0]) return;
    u32 offset = (u32)((u8 *)pieces->memory[0] - ring.bytes);
    u32 length = pieces->length[0] + pieces->length[1];
    u32 ahead = (offset + AUDIO_RING_SIZE - ring_offset(ring.write_frame)) % AUDIO_RING_SIZE;
    u64 start = ring.write_frame + ahead / AUDIO_BYTES_PER_FRAME;
    u64 end = start + length / AUDIO_BYTES_PER_FRAME;
    u64 limit = ring.write_frame + WEB_AUDIO_WINDOW_FRAMES;
    if (end > limit) end = limit;
    if (start < ring.posted_end) start = ring.posted_end;
    while (start < end) {
        u32 at = ring_offset(start) / AUDIO_BYTES_PER_FRAME;
        u32 frames = WEB_AUDIO_RING_FRAMES - at;
        if (frames > end - start) frames = (u32)(end - start);
        // Not running yet: the window is given again, whole, once it is.
        if (!web_audio_post((const i16 *)(ring.bytes + at * AUDIO_BYTES_PER_FRAME), frames, start)) return;
        start += frames;
        ring.posted_end = start;
    }
}

void backend_audio_close(void) {
    web_audio_stop();
    os_free(ring.bytes);
    ring = WebAudioRing{};
}
