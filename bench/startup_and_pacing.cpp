// Start-up to the first frame, then the frame loop's pacing on the title
// screen (a light scene, so the pacing is not the renderer's fill rate).
// Usage: bench_startup_and_pacing LAUNCH_US [SECONDS]
//   LAUNCH_US: the wall clock (microseconds since 1970) when the launch began,
//   so that loading the program (and under Wine, Wine itself) is counted.
// Prints one line of key=value figures.  Needs a display.
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <vector>

#include "bench/frame_times.h"
#include "game/frame_clock.h"
#include "game/frame_step.h"
#include "game/startup.h"
#include "os/audio.h"
#include "os/clock.h"

static double wall_us(void) {
    return (double)std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int main(int argc, char **argv) {
    const FrameHooks played = {};
    double at_main = wall_us();
    double launch = argc > 1 ? strtod(argv[1], nullptr) : at_main;
    double seconds = argc > 2 ? strtod(argv[2], nullptr) : 5.0;
    if (main_init(nullptr) != 0) {
        printf("no window (a display is needed)\n");
        return 1;
    }
    double initialised = wall_us();
    if (!frame_pass(&played, main_window)) return 1;
    double first_frame = wall_us();

    std::vector<int> frames;
    frames.reserve(4096);
    u64 start = os_get_ticks();
    while (os_ticks_to_microseconds(os_get_ticks() - start) < (u64)(seconds * 1e6)) {
        if (!frame_pass(&played, main_window)) break;
        frames.push_back(frame_clock.frame_us);
    }
    // As the game does: no sound device left playing into the exit.
    os_shutdown_audio();
    if (frames.size() < 2) return 1;
    FrameTimes t = frame_times(frames);
    printf("to_main_ms=%.0f to_init_ms=%.0f to_first_frame_ms=%.0f budget_us=%d frames=%zu mean_us=%.0f "
           "median_us=%d p1_us=%d p99_us=%d max_us=%d late_2ms=%d\n",
           (at_main - launch) / 1000.0, (initialised - launch) / 1000.0, (first_frame - launch) / 1000.0,
           frame_clock.budget_us, frames.size(), t.mean_us, frame_percentile(t, 50), frame_percentile(t, 1),
           frame_percentile(t, 99), t.sorted.back(), frames_over(t, frame_clock.budget_us + 2000));
    return 0;
}
