// The portable sine against this C library's sine over many arguments.
#include <doctest/doctest.h>

#include "game/portable_sine.h"

#include <math.h>
#include <string.h>

static long long ulps_between(double a, double b) {
    long long ia, ib;
    memcpy(&ia, &a, 8);
    memcpy(&ib, &b, 8);
    if (ia < 0) ia = (long long)0x8000000000000000ull - ia;
    if (ib < 0) ib = (long long)0x8000000000000000ull - ib;
    return ia > ib ? ia - ib : ib - ia;
}

TEST_CASE("portable sine agrees with the C library within one ulp") {
    unsigned long long state = 0x9E3779B97F4A7C15ull;
    auto next = [&]() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    long long worst = 0;
    for (int i = 0; i < 200000; i++) {
        double x;
        unsigned long long r = next();
        switch (i % 4) {
        case 0: x = (double)(r >> 11) * 0x1.0p-53 * 8.0 - 4.0; break;            // around the kernels
        case 1: x = (double)(r >> 11) * 0x1.0p-53 * 200000.0 - 100000.0; break;  // seeds and clocks
        case 2: x = (double)(r >> 11) * 0x1.0p-53 * 3e9; break;                  // long runs
        default: {
            unsigned long long b = (r & 0x800FFFFFFFFFFFFFull) | ((unsigned long long)(r % 2046 + 1) << 52);
            memcpy(&x, &b, 8);  // any finite exponent
        }
        }
        long long d = ulps_between(portable_sin(x), sin(x));
        if (d > worst) worst = d;
        if (d > 1) {
            CAPTURE(x);
            CHECK(d <= 1);
        }
    }
    CHECK(worst <= 1);
    // Over the seeds the random source passes, the float the game keeps is the same.
    int differing = 0;
    for (float f = 0.5f; f < 50000.0f; f += 1.7634f) differing += (float)portable_sin((double)f) != (float)sin((double)f);
    CHECK(differing == 0);
}
