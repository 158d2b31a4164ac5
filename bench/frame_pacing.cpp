// Start-up to the first drawn frame, then the frame loop with the title
// screen (a light scene) for ten seconds: how long each pass takes against the
// frame budget.  Needs a display.
#include <stdio.h>

#include <vector>

#include "bench/frame_times.h"
#include "game/frame_clock.h"
#include "game/frame_step.h"
#include "game/startup.h"
#include "os/audio.h"
#include "os/clock.h"

int main(int, char **) {
    const FrameHooks played = {};
    u64 launched = os_get_ticks();
    if (main_init(nullptr) != 0) {
        printf("no window (a display is needed)\n");
        return 1;
    }
    // The first pass draws and shows the first frame; its pacing sleep is not start-up.
    i32 budget = frame_clock.budget_us;
    frame_clock.budget_us = 0;
    frame_pass(&played, main_window);
    double startup_ms = (double)os_ticks_to_microseconds(os_get_ticks() - launched) / 1000.0;
    frame_clock.budget_us = budget;
    std::vector<int> frames;
    frames.reserve(4096);
    u64 start = os_get_ticks();
    while (os_ticks_to_microseconds(os_get_ticks() - start) < 10000000) {
        if (!frame_pass(&played, main_window)) break;
        frames.push_back(frame_clock.frame_us);
    }
    // As the game does: no sound device left playing into the exit.
    os_shutdown_audio();
    if (frames.size() < 2) return 1;
    FrameTimes t = frame_times(frames);
    int over = frames_over(t, frame_clock.budget_us + 1000);
    int early = frames_under(t, frame_clock.budget_us - 1000);
    printf("frames %zu in %.2f s, budget %d us\n", frames.size(),
           (double)os_ticks_to_microseconds(os_get_ticks() - start) / 1e6, frame_clock.budget_us);
    printf("frame us: mean %.0f, median %d, p1 %d, p99 %d, min %d, max %d\n", t.mean_us, frame_percentile(t, 50),
           frame_percentile(t, 1), frame_percentile(t, 99), t.sorted.front(), t.sorted.back());
    printf("over budget by more than 1 ms: %d, under by more than 1 ms: %d\n", over, early);
    printf("game clock %llu ms; start-up to the first drawn frame %.1f ms\n", (unsigned long long)frame_clock.total_ms,
           startup_ms);
    // Lines for the benchmark table.
    printf("result startup_ms %.1f\n", startup_ms);
    printf("result pacing_mean_us %.0f\n", t.mean_us);
    printf("result pacing_p99_us %d\n", frame_percentile(t, 99));
    printf("result pacing_over_budget %d\n", over);
    printf("result pacing_frames %zu\n", frames.size());
    return 0;
}
