// Stand-in until the SDL backend implements this concern: the failure results.
#include "os/audio.h"
#include "sound/mixer.h"

AudioState *os_init_audio(Window *window) {
    if (audio_state.initialised) return &audio_state;
    audio_state.ring_size = AUDIO_RING_SIZE;
    audio_create_tables();
    return nullptr;
}

void os_update_audio(void) {}

void os_shutdown_audio(void) {}
