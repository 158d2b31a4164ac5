// Start-up and the frame loop.
#pragma once

#include "os/types.h"
#include "os/window.h"

// The game's one window; stays valid after it closes, with WINDOW_OPEN clear.
extern Window *main_window;

// Prepares everything in order; 0, or the exit code (1) when the window cannot be had.
int main_init(void);
// One pass of the frame loop; false (before the game's frame) once the window is closed.
bool run_frame_pass(void);
// The pass in its three steps, for drivers that keep their own time (the
// scripted demo): the clock at ticks, input edges and messages (false once the
// window is closed); the game's frame, drawn; presenting it and feeding sound.
bool frame_pass_begin(u64 ticks);
void frame_pass_draw(void);
void frame_pass_end(void);
// Runs passes until the window is closed.
void run_frame_loop(void);
// main_init, then the frame loop: the process exit code.
int run_game(void);
