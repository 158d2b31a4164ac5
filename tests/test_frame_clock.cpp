#include <doctest/doctest.h>

#include "game/frame_clock.h"
#include "os/clock.h"

// Ticks counted in microseconds for the length of one case.
struct MicrosecondTicks {
    u64 saved = os_counter_frequency;
    MicrosecondTicks() { os_counter_frequency = 1000000; }
    ~MicrosecondTicks() { os_counter_frequency = saved; }
};

TEST_CASE("the frame budget follows the refresh rate, never below 30 frames per second") {
    CHECK(frame_budget_us(60) == 16666);
    CHECK(frame_budget_us(144) == 6944);
    CHECK(frame_budget_us(24) == 33333);
    CHECK(frame_budget_us(30) == 33333);
    CHECK(frame_budget_us(29) == 33333);
    CHECK(frame_budget_us(0) == 16666);
    CHECK(frame_budget_us(1) == 16666);
    CHECK(frame_budget_us(2) == 33333);
    CHECK(frame_budget_us(-5) == 33333);
}

TEST_CASE("starting the clock sets both tick stamps and zeroes the rest") {
    FrameClock c;
    c.total_ms = 99;
    c.delta_ms = 7;
    frame_clock_start(&c, 5000, 144);
    CHECK(c.previous_frame_start_ticks == 5000);
    CHECK(c.frame_start_ticks == 5000);
    CHECK(c.total_us == 0);
    CHECK(c.total_ms == 0);
    CHECK(c.delta_ms == 0);
    CHECK(c.frame_us == 0);
    CHECK(c.budget_us == 6944);
}

TEST_CASE("frames of 16,666 us step 16 or 17 ms and the steps add up to the game clock") {
    MicrosecondTicks ticks;
    FrameClock c;
    frame_clock_start(&c, 1000, 60);
    u64 now = 1000;
    i64 sum = 0;
    int sixteens = 0, seventeens = 0;
    for (int i = 0; i < 600; i++) {
        now += 16666;
        frame_clock_update(&c, now);
        CHECK(c.frame_us == 16666);
        sum += c.delta_ms;
        sixteens += c.delta_ms == 16;
        seventeens += c.delta_ms == 17;
    }
    CHECK(sixteens + seventeens == 600);
    CHECK(seventeens == 399);
    CHECK(c.total_us == 600u * 16666u);
    CHECK(c.total_ms == 9999);
    CHECK(sum == (i64)c.total_ms);
}

TEST_CASE("uneven frames: sub-millisecond remainders carry over") {
    MicrosecondTicks ticks;
    FrameClock c;
    frame_clock_start(&c, 0, 60);
    const u64 steps[] = {400, 400, 400, 2999, 1, 250000, 0, 16667};
    u64 now = 0;
    i64 sum = 0;
    for (u64 s : steps) {
        now += s;
        frame_clock_update(&c, now);
        sum += c.delta_ms;
        CHECK(c.total_ms == c.total_us / 1000);
    }
    CHECK(c.total_us == now);
    CHECK(sum == (i64)c.total_ms);
    CHECK(c.frame_us == 16667);
}

TEST_CASE("a pass longer than 35 minutes does not run the clock backwards") {
    MicrosecondTicks ticks;
    FrameClock c;
    frame_clock_start(&c, 0, 60);
    frame_clock_update(&c, 3000000000ull);
    CHECK(c.frame_us == 0x7FFFFFFF);
    CHECK(c.total_ms == 3000000);
    CHECK(c.delta_ms == 3000000);
}

TEST_CASE("the remaining budget is negative after an overrun") {
    MicrosecondTicks ticks;
    FrameClock c;
    frame_clock_start(&c, 0, 60);
    frame_clock_update(&c, 100000);
    CHECK(frame_clock_remaining_us(&c, 100000) == 16666);
    CHECK(frame_clock_remaining_us(&c, 110000) == 6666);
    CHECK(frame_clock_remaining_us(&c, 120000) == -3334);
}

TEST_CASE("a held clock measures passes but the game clock stands, and goes on from there when let go") {
    MicrosecondTicks ticks;
    FrameClock c;
    frame_clock_start(&c, 0, 60);
    const u64 tick = 1000;  // one millisecond
    frame_clock_update(&c, 16 * tick);
    frame_clock_hold(&c, true);
    frame_clock_update(&c, 500 * tick);
    CHECK(c.frame_us == 484000);
    CHECK(c.total_ms == 16);
    CHECK(c.delta_ms == 0);
    frame_clock_update(&c, 900 * tick);
    CHECK(c.total_ms == 16);
    frame_clock_hold(&c, false);
    frame_clock_update(&c, 917 * tick);
    CHECK(c.total_ms == 33);
    CHECK(c.delta_ms == 17);
}
