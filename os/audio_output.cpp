// The sound output device's rules, written once over the backend's ring
// (os/backend.h): open it, refill the window ahead of its write cursor once per
// frame from the registered source through the region decision, clear what it
// has played, close it.
#include <string.h>

#include "os/audio.h"
#include "os/audio_ring.h"
#include "os/backend.h"
#include "os/log.h"

AudioDevice *os_init_audio(Window *window) {
    if (audio_device.initialised) return &audio_device;
    audio_device.ring_size = AUDIO_RING_SIZE;
    // After a failure the program runs silently: with the device closed the
    // mixer creates and plays nothing.
    if (!backend_audio_open(window)) return nullptr;
    audio_device.initialised = true;
    return &audio_device;
}

// Silence for the device to play when the frame loop stalls, once the window
// mixed ahead runs out, instead of the sound it played a lap ago.
static void clear_played(u32 play_cursor, u32 write_cursor) {
    AudioRingSpan span = audio_take_played_span(play_cursor, write_cursor);
    if (span.length == 0) return;
    AudioRingPieces pieces = {};
    if (!backend_audio_lock(span.offset, span.length, &pieces)) return;
    for (int i = 0; i < 2; i++)
        if (pieces.length[i]) memset(pieces.memory[i], 0, pieces.length[i]);
    backend_audio_unlock(&pieces);
}

void os_update_audio(void) {
    if (!audio_device.initialised) return;
    u32 play_cursor, write_cursor;
    if (!backend_audio_cursors(&play_cursor, &write_cursor)) return;
    AudioRingPieces pieces = {};
    if (!backend_audio_lock(write_cursor, AUDIO_UPDATE_WINDOW, &pieces)) {
        os_printf("?is this expected? maybe if you lock too late or something\n");
        return;
    }
    if (pieces.length[0]) audio_mix_region(write_cursor, pieces.length[0], pieces.memory[0]);
    if (pieces.length[1]) audio_mix_region(0, pieces.length[1], pieces.memory[1]);
    backend_audio_unlock(&pieces);
    clear_played(play_cursor, write_cursor);
    if (audio_device.source.updated) audio_device.source.updated();
}

void os_shutdown_audio(void) {
    if (!audio_device.initialised) return;
    backend_audio_close();
    AudioSource source = audio_device.source;
    audio_device = AudioDevice{};
    if (source.closed) source.closed();
}
