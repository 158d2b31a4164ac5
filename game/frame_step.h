// One pass of the frame loop, in the one order that every driver shares: the
// game as played, recording and replaying (with a window or without), the
// scripted demo and the tests.  A driver plugs in through FrameHooks; a null
// hook does what the game as played does.
#pragma once

#include "os/types.h"
#include "os/window.h"

struct FrameHooks {
    // Events from the window (set by main_init); null: the input handler.
    WindowEventCallback events;
    // The clock at the pass's ticks; null: the frame clock measures the pass.
    void (*clock)(u64 ticks);
    // After the clock, before the input reset.  False: no frame is left and
    // the loop ends.
    bool (*start)(void);
    // After the messages and the view size, before the game's frame.
    void (*input)(void);
    // After the game's frame, before it is presented.
    void (*end)(void);
    // How long to sleep before the next pass; null: the rest of the budget.
    i64 (*remaining_us)(u64 now_ticks);
};

// One pass: clock, start, input reset, messages (false once the window has
// closed), the arrow cursor over the client area, the game's fixed view and
// camera, input, the window's keys, the game's frame, end, presenting it and
// feeding the sound device.  Without a window there are no messages, cursor,
// presenting or sound, and the view size is the driver's to set.  False when
// the loop ends before the game's frame.
bool frame_step(const FrameHooks *hooks, Window *window, u64 ticks);
// A step at the tick counter's time, then the pacing sleep; false when the
// loop ends.
bool frame_pass(const FrameHooks *hooks, Window *window);
// Passes until one says stop; with a window the sound device is then stopped,
// and then ended runs (may be null).  Where the display drives the passes (a
// web page) this returns at once and the rest follows frame by frame; the
// hooks are copied.
void frame_loop(const FrameHooks *hooks, Window *window, void (*ended)(void));
