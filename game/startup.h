// Start-up: the game's state, its window and everything it loads.
#pragma once

#include "os/types.h"
#include "os/window.h"

// The game's one window; stays valid after it closes, with WINDOW_OPEN clear.
extern Window *main_window;

// Whether start-up fits the window to a screen too small for it (true); the
// demo player keeps 1280 x 800 for its screenshots unless asked.
extern bool startup_fits_window;

// The state every run starts from, with a window or without: the random
// seed, the frame arena and the particle list.
void start_game_state(void);
// The game stepped without a window, GL or sound: the same start values,
// steps and events give the same states.  Nothing here asks the display
// anything, so it runs where there is none.
void headless_init(void);
// Prepares everything in order, the window's events going to events (null:
// the input handler); 0, or the exit code (1) when the window cannot be had.
int main_init(WindowEventCallback events);
// main_init, then the frame loop until the window closes: the exit code.
int run_game(void);
