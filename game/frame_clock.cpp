#include "game/frame_clock.h"

#include "os/clock.h"

FrameClock frame_clock;

i32 frame_budget_us(i32 refresh_rate) {
    i32 rate = refresh_rate;
    if (rate == 0 || rate == 1) rate = 60;
    if (rate < 30) rate = 30;
    return 1000000 / rate;
}

void frame_clock_start(FrameClock *clock, u64 now_ticks, i32 refresh_rate) {
    *clock = FrameClock{};
    clock->budget_us = frame_budget_us(refresh_rate);
    clock->previous_frame_start_ticks = now_ticks;
    clock->frame_start_ticks = now_ticks;
}

void frame_clock_update(FrameClock *clock, u64 now_ticks) {
    clock->previous_frame_start_ticks = clock->frame_start_ticks;
    clock->frame_start_ticks = now_ticks;
    u64 us = os_ticks_to_microseconds(clock->frame_start_ticks - clock->previous_frame_start_ticks);
    // A pass longer than 35 minutes (a suspended machine) would wrap the 32-bit
    // duration and run the game clock backwards; the total takes the full value.
    clock->frame_us = us > 0x7FFFFFFFu ? 0x7FFFFFFF : (i32)us;
    if (!clock->held) clock->total_us += us;
    u64 old_ms = clock->total_ms;
    clock->total_ms = clock->total_us / 1000;
    clock->delta_ms = (i32)(clock->total_ms - old_ms);
}

void frame_clock_hold(FrameClock *clock, bool hold) { clock->held = hold; }

i64 frame_clock_remaining_us(const FrameClock *clock, u64 now_ticks) {
    u64 elapsed = os_ticks_to_microseconds(now_ticks - clock->frame_start_ticks);
    return (i64)clock->budget_us - (i64)elapsed;
}
