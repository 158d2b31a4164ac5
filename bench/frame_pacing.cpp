// The frame loop with the game's (empty) frame, run for ten seconds: how long
// each pass takes against the frame budget.  Needs a display.
#include <algorithm>
#include <stdio.h>
#include <vector>

#include "game/frame_clock.h"
#include "game/startup.h"
#include "os/clock.h"

static double percentile(const std::vector<int> &sorted, double p) {
    size_t i = (size_t)(p / 100.0 * (double)(sorted.size() - 1) + 0.5);
    return sorted[i];
}

int main(int, char **) {
    if (main_init() != 0) {
        printf("no window (a display is needed)\n");
        return 1;
    }
    std::vector<int> frames;
    frames.reserve(4096);
    u64 start = os_get_ticks();
    // The first pass measures start-up, not a frame: left out.
    run_frame_pass();
    while (os_ticks_to_microseconds(os_get_ticks() - start) < 10000000) {
        if (!run_frame_pass()) break;
        frames.push_back(frame_clock.frame_us);
    }
    if (frames.size() < 2) return 1;
    std::vector<int> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    int over = 0, early = 0;
    for (int f : frames) {
        sum += f;
        over += f > frame_clock.budget_us + 1000;
        early += f < frame_clock.budget_us - 1000;
    }
    printf("frames %zu in %.2f s, budget %d us\n", frames.size(),
           (double)os_ticks_to_microseconds(os_get_ticks() - start) / 1e6, frame_clock.budget_us);
    printf("frame us: mean %.0f, median %.0f, p1 %.0f, p99 %.0f, min %d, max %d\n", sum / (double)frames.size(),
           percentile(sorted, 50), percentile(sorted, 1), percentile(sorted, 99), sorted.front(), sorted.back());
    printf("over budget by more than 1 ms: %d, under by more than 1 ms: %d\n", over, early);
    printf("game clock %llu ms\n", (unsigned long long)frame_clock.total_ms);
    return 0;
}
