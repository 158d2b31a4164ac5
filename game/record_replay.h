// Recording a game and replaying one: the frame loop's hooks and the runs
// behind --record and --replay.  Without either, every hook does nothing.
#pragma once

#include "game/launch_options.h"
#include "os/window.h"

// What main_init installs: the input handler itself, wrapped to note each
// event while recording, or a sink for live input while replaying (closing
// the window still ends the loop).
WindowEventCallback session_event_callback(void);
// After the clock's update, before the input reset: a replay puts the
// recorded step in place of the measured one and hands over the events that
// came before the reset.  False when a replay has no frame left.
bool session_frame_start(void);
// After the message pump: writes the frame's step, size and events, or hands
// a replayed frame's pumped events to the input handler.
void session_frame_input(void);
// After game_frame: the state hash is written or compared.
void session_frame_end(void);
// What is left of the pass: the budget's rest, or during a replay the
// recorded step's (up to a second).
i64 session_remaining_us(u64 now_ticks);

// Runs --record FILE or --replay FILE [--fast]: the process exit code.  2 for
// a recording that cannot be written or replayed, 3 when a replayed frame's
// hash differs from the recorded one.
int run_launch(const LaunchOptions *options);
