// Start-up and the frame loop.
#pragma once

#include "os/window.h"

// The game's one window; stays valid after it closes, with WINDOW_OPEN clear.
extern Window *main_window;

// Prepares everything in order; 0, or the exit code (1) when the window cannot be had.
int main_init(void);
// One pass of the frame loop; false (before the game's frame) once the window is closed.
bool run_frame_pass(void);
// Runs passes until the window is closed.
void run_frame_loop(void);
// main_init, then the frame loop: the process exit code.
int run_game(void);
