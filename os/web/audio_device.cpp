// The page has no sound output yet: opening fails with one line, so the game
// plays silently, as on a machine without a sound device.
#include "os/backend.h"
#include "os/log.h"

bool backend_audio_open(Window *) {
    os_printf("FAILED backend_audio_open the page has no sound output: the game plays silently\n");
    return false;
}
bool backend_audio_cursors(u32 *, u32 *) { return false; }
bool backend_audio_lock(u32, u32, AudioRingPieces *) { return false; }
void backend_audio_unlock(const AudioRingPieces *) {}
void backend_audio_close(void) {}
