// The player's say over the sound: M mutes and unmutes, 9 and 0 step the
// master volume down and up.  A pause silences it too, whatever the keys say.
#pragma once

#include "os/types.h"

// The master volume's steps, quietest first; the game starts on
// VOLUME_START_STEP (0.2).
inline const f32 VOLUME_STEPS[] = {0.05f, 0.1f, 0.2f, 0.3f, 0.45f, 0.7f, 1.0f};
#define VOLUME_START_STEP 2

struct VolumeState {
    i32 step;  // index into VOLUME_STEPS
    bool muted;
    bool quiet;  // the game is paused
};

extern VolumeState volume_state;

// The master volume the state asks for.
f32 volume_for(const VolumeState *state);
// Acts on this frame's presses of M, 9 and 0 (consumed) and sets the master
// volume when it changed.
void volume_keys_frame(void);
// The pause's silence, on or off.
void volume_set_quiet(bool quiet);
