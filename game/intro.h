// The scripted opening sequence.
#pragma once

// Runs one frame of it; true when it has handed over to play.
bool run_intro_frame(void);
