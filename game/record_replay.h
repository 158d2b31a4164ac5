// Recording a game and replaying one: the frame step's hooks behind --record
// and --replay.
#pragma once

#include "game/frame_step.h"
#include "game/launch_options.h"

// Opens the file for the options' mode and fills the hooks that record into
// it or replay from it (a replay is read and checked whole first; --fast
// replays without pacing or a clock of its own, for a pass without a
// window).  0, or the exit code (2) for a file that cannot be written or
// replayed.
int session_open(const LaunchOptions *options, FrameHooks *hooks);
// Once the frame loop has ended: the recording finished, or the replay's
// report.  The process exit code: 3 when a replayed frame's hash differs
// from the recorded one.
int session_close(void);
