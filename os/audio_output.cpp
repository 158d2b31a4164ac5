// The sound output device's rules, written once over the backend's ring
// (os/backend.h): open it, refill the window ahead of its write cursor once per
// frame through the region decision, clear what it has played, close it.
#include <string.h>

#include "os/audio.h"
#include "os/backend.h"
#include "os/log.h"
#include "sound/mixer.h"

AudioState *os_init_audio(Window *window) {
    if (audio_state.initialised) return &audio_state;
    audio_state.ring_size = AUDIO_RING_SIZE;
    if (!audio_create_tables()) return nullptr;
    // The tables stay after a failure: with the device closed every mixer
    // operation answers 0, so the program runs silently.
    if (!backend_audio_open(window)) return nullptr;
    audio_state.initialised = true;
    return &audio_state;
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
    if (!audio_state.initialised) return;
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
    audio_trim_voices();
}

void os_shutdown_audio(void) {
    if (!audio_state.initialised) return;
    backend_audio_close();
    audio_release_tables();
    audio_state.device = nullptr;
    audio_state.buffer = nullptr;
    audio_state.initialised = false;
    audio_state.written_end = 0;
    audio_state.play_cursor_seen = false;
}
