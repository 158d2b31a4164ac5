// Built without a display backend there is no sound output: opening fails
// after the tables are made, so every mixer operation does what it does with
// a closed device.
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
