#include <doctest/doctest.h>

#include "os/wheel_steps.h"

// Distinct addresses stand for windows; the records are never read.
static Window *window_at(uintptr_t n) { return (Window *)(0x10000 + n * 0x100); }

TEST_CASE("whole notches give one step each, fine amounts gather until a notch is whole") {
    Window *w = window_at(1);
    CHECK(wheel_take_steps(w, 120) == 1);
    CHECK(wheel_take_steps(w, -120) == -1);
    CHECK(wheel_take_steps(w, 360) == 3);
    CHECK(wheel_take_steps(w, 0) == 0);
    // Twelve tenths down: one step down, at the twelfth.
    for (int i = 0; i < 11; i++) REQUIRE(wheel_take_steps(w, -10) == 0);
    CHECK(wheel_take_steps(w, -10) == -1);
    // Uneven parts carry their remainder into the next notch.
    CHECK(wheel_take_steps(w, 50) == 0);
    CHECK(wheel_take_steps(w, 100) == 1);  // 150: one step, 30 kept
    CHECK(wheel_take_steps(w, 90) == 1);
    CHECK(wheel_take_steps(w, 119) == 0);
    CHECK(wheel_take_steps(w, 1) == 1);
    // The extremes of the signed amount.
    CHECK(wheel_take_steps(w, -32768) == -273);
    CHECK(wheel_take_steps(w, -112) == -1);  // 273 notches left 8 over
    CHECK(wheel_take_steps(w, 2147483647) == 17895697);
    CHECK(wheel_take_steps(w, -2147483647 - 1) == -17895697);
}

TEST_CASE("turning the other way starts over, so a whole notch back is always a step") {
    Window *w = window_at(2);
    CHECK(wheel_take_steps(w, 60) == 0);
    CHECK(wheel_take_steps(w, -120) == -1);
    CHECK(wheel_take_steps(w, -100) == 0);
    CHECK(wheel_take_steps(w, 100) == 0);  // the 100 down is dropped
    CHECK(wheel_take_steps(w, 20) == 1);
    CHECK(wheel_take_steps(w, -119) == 0);
    CHECK(wheel_take_steps(w, 119) == 0);
    CHECK(wheel_take_steps(w, 1) == 1);
}

TEST_CASE("each window gathers on its own, and more windows than slots stay bounded") {
    Window *a = window_at(3), *b = window_at(4);
    CHECK(wheel_take_steps(a, 70) == 0);
    CHECK(wheel_take_steps(b, -70) == 0);
    CHECK(wheel_take_steps(a, 50) == 1);
    CHECK(wheel_take_steps(b, -50) == -1);
    // Many windows in turn: each keeps what it gathered while it is among
    // the recently used, and whole notches are never lost.
    for (uintptr_t n = 10; n < 40; n++) CHECK(wheel_take_steps(window_at(n), 120) == 1);
    CHECK(wheel_take_steps(a, 60) == 0);
    CHECK(wheel_take_steps(b, 60) == 0);
    CHECK(wheel_take_steps(a, 60) == 1);
    CHECK(wheel_take_steps(b, 60) == 1);
}

TEST_CASE("a closed window's part of a notch is forgotten, others keep theirs") {
    Window *closed = window_at(50), *open = window_at(51);
    CHECK(wheel_take_steps(closed, 60) == 0);
    CHECK(wheel_take_steps(open, 60) == 0);
    wheel_forget(closed);
    // A window opened later at the same address starts from zero.
    CHECK(wheel_take_steps(closed, 60) == 0);
    CHECK(wheel_take_steps(closed, 60) == 1);
    CHECK(wheel_take_steps(open, 60) == 1);
    wheel_forget(window_at(52));  // never turned: nothing happens
    CHECK(wheel_take_steps(open, 120) == 1);
}
