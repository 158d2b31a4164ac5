// The sound device over SDL: SDL pulls from a one-second ring of our own on
// its audio thread, and the ring's cursors follow what it has pulled, so the
// portable update sees the same looping buffer that DirectSound gives.
#include <SDL.h>

#include "os/audio.h"
#include "os/backend.h"
#include "os/log.h"
#include "os/memory.h"

// Frames SDL asks for at a time: about 23 ms, well inside the update window.
#define AUDIO_SDL_CHUNK_FRAMES 1024

struct SdlAudioRing {
    SDL_AudioDeviceID device;
    u8 *bytes;
    // The chunk most recently handed to SDL: it starts at the play cursor and
    // ends at the write cursor.  Both are guarded by the device lock.
    u32 play_cursor;
    u32 write_cursor;
};

static SdlAudioRing ring;

// SDL's audio thread: copies the next stretch of the ring, wrapping at its end.
static void SDLCALL pull_from_ring(void *userdata, Uint8 *stream, int length) {
    SdlAudioRing *r = (SdlAudioRing *)userdata;
    u32 start = r->write_cursor;
    u32 at = start;
    u32 left = (u32)length;
    while (left > 0) {
        u32 piece = AUDIO_RING_SIZE - at;
        if (piece > left) piece = left;
        SDL_memcpy(stream, r->bytes + at, piece);
        stream += piece;
        left -= piece;
        at = (at + piece) % AUDIO_RING_SIZE;
    }
    r->play_cursor = start;
    r->write_cursor = at;
}

bool backend_audio_open(Window *window) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        os_printf("FAILED SDL_InitSubSystem(audio) %s\n", SDL_GetError());
        return false;
    }
    ring = SdlAudioRing{};
    ring.bytes = (u8 *)os_alloc_zeroed(AUDIO_RING_SIZE);
    if (!ring.bytes) {
        os_printf("FAILED os_alloc_zeroed(ring) out of memory\n");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec want = {};
    want.freq = AUDIO_FRAMES_PER_SECOND;
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = AUDIO_SDL_CHUNK_FRAMES;
    want.callback = pull_from_ring;
    want.userdata = &ring;
    // No changes allowed: SDL converts to whatever the hardware takes, so the
    // ring always holds the fixed format and chunks stay this size.
    ring.device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (ring.device == 0) {
        os_printf("FAILED SDL_OpenAudioDevice() %s\n", SDL_GetError());
        os_free(ring.bytes);
        ring = SdlAudioRing{};
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(ring.device, 0);
    audio_device.device = &ring;
    audio_device.buffer = ring.bytes;
    return true;
}

bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor) {
    SDL_LockAudioDevice(ring.device);
    *play_cursor = ring.play_cursor;
    *write_cursor = ring.write_cursor;
    SDL_UnlockAudioDevice(ring.device);
    return true;
}

// The device stays locked until the pieces come back, so SDL never copies a
// half-written stretch.
bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces) {
    if (!audio_ring_pieces(ring.bytes, offset, length, pieces)) return false;
    SDL_LockAudioDevice(ring.device);
    return true;
}

void backend_audio_unlock(const AudioRingPieces *pieces) { SDL_UnlockAudioDevice(ring.device); }

void backend_audio_close(void) {
    SDL_CloseAudioDevice(ring.device);
    os_free(ring.bytes);
    ring = SdlAudioRing{};
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
