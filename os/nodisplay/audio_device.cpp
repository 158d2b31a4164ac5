// Built without a display backend there is no sound output: opening fails,
// so every mixer operation does what it does with a closed device.
#include "os/backend.h"

bool backend_audio_open(Window *window) { return false; }
bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor) { return false; }
bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces) { return false; }
void backend_audio_unlock(const AudioRingPieces *pieces) {}
void backend_audio_close(void) {}
