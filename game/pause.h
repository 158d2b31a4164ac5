// P stops the game where it stands and P again lets it go on: the simulation
// and the game clock stand, the last picture stays under a "Paused" line and
// the sound is silent.
#pragma once

#include "os/types.h"

// Acts on this frame's press of P (consumed).  True while paused: the frame
// has been drawn and the game must not run it.
bool pause_frame(void);
bool game_paused(void);
// Not paused, nothing held: the state a run starts in.
void pause_reset(void);
