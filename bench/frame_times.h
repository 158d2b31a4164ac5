// The figures of a run of frame times in microseconds, as the pacing
// benchmarks print them.
#pragma once

#include <stddef.h>

#include <algorithm>
#include <vector>

struct FrameTimes {
    std::vector<int> sorted;
    double mean_us;
};

// Needs at least one frame.
static inline FrameTimes frame_times(const std::vector<int> &frames) {
    FrameTimes t = {frames, 0.0};
    std::sort(t.sorted.begin(), t.sorted.end());
    double sum = 0;
    for (int f : frames) sum += f;
    t.mean_us = sum / (double)frames.size();
    return t;
}

// The frame time at percentile p (0-100), by the nearest rank.
static inline int frame_percentile(const FrameTimes &t, double p) {
    return t.sorted[(size_t)(p / 100.0 * (double)(t.sorted.size() - 1) + 0.5)];
}

// Frames that took longer than limit_us.
static inline int frames_over(const FrameTimes &t, int limit_us) {
    return (int)(t.sorted.end() - std::upper_bound(t.sorted.begin(), t.sorted.end(), limit_us));
}

// Frames that took less than limit_us.
static inline int frames_under(const FrameTimes &t, int limit_us) {
    return (int)(std::lower_bound(t.sorted.begin(), t.sorted.end(), limit_us) - t.sorted.begin());
}
