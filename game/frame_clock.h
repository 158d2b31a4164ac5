// Frame timing: the game clock, the frame step and the pacing budget.
#pragma once

#include "os/types.h"

struct FrameClock {
    u64 previous_frame_start_ticks;
    u64 frame_start_ticks;
    u64 total_us;    // running sum of the frames' microseconds
    i32 frame_us;    // the last frame's duration
    u64 total_ms;    // total_us / 1000: the game clock
    i32 delta_ms;    // new total_ms - old total_ms: the step the game uses
    i32 budget_us;   // 1,000,000 / frame rate, fixed at start-up
    bool held;       // the game clock stands (frame_clock_hold)
};

// The process's frame clock, read by the game.
extern FrameClock frame_clock;

// The frame rate is the monitor's refresh rate, never below 30; a reported
// 0 or 1 Hz means the system did not know and counts as 60.
i32 frame_budget_us(i32 refresh_rate);
// Starts the clock at now_ticks with every other field 0.
void frame_clock_start(FrameClock *clock, u64 now_ticks, i32 refresh_rate);
// The top of a frame: measures the pass since the previous one.
void frame_clock_update(FrameClock *clock, u64 now_ticks);
// Stops or restarts the game clock: while held, passes are still measured
// (frame_us) but total_us and total_ms stand and delta_ms is 0, so the game
// resumes at the moment it was held.
void frame_clock_hold(FrameClock *clock, bool hold);
// Microseconds of the budget left at now_ticks (negative after an overrun).
i64 frame_clock_remaining_us(const FrameClock *clock, u64 now_ticks);
