// Exact argument reduction by the bits of 2/pi, then minimax kernels on
// [-pi/4, pi/4].  Every step is a plain double operation or integer
// arithmetic, so the result does not depend on the C library.
#include "game/portable_sine.h"

#include <string.h>

// floor(2/pi * 2^1280), most significant word first.
static const u32 TWO_OVER_PI_WORDS[40] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D,
};

static f64 bits_to_f64(u64 bits) {
    f64 d;
    memcpy(&d, &bits, 8);
    return d;
}

static u64 f64_to_bits(f64 d) {
    u64 bits;
    memcpy(&bits, &d, 8);
    return bits;
}

// 2^e for a normal result.
static f64 pow2(i32 e) { return bits_to_f64((u64)(e + 1023) << 52); }

// sin(x + y) for |x + y| <= pi/4, y a small correction to x (has_tail false:
// y is 0 and is left out).
static f64 kernel_sin(f64 x, f64 y, bool has_tail) {
    const f64 S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
              S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
              S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
    f64 z = x * x;
    f64 w = z * z;
    f64 r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
    f64 v = z * x;
    if (!has_tail) return x + v * (S1 + z * r);
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos(x + y) for |x + y| <= pi/4.
static f64 kernel_cos(f64 x, f64 y) {
    const f64 C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
              C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
              C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;
    f64 z = x * x;
    f64 w = z * z;
    f64 r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
    f64 hz = 0.5 * z;
    w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// 64 bits of a little-endian limb array starting at bit pos (pos >= 0).
static u64 bits_at(const u32 *limbs, i32 limb_count, i32 pos) {
    u64 out = 0;
    for (i32 b = 0; b < 64; b += 32) {
        i32 p = pos + b;
        i32 limb = p / 32, shift = p % 32;
        u64 lo = limb < limb_count ? limbs[limb] : 0;
        u64 hi = limb + 1 < limb_count ? limbs[limb + 1] : 0;
        u64 word = ((lo | (hi << 32)) >> shift) & 0xFFFFFFFFu;
        out |= word << b;
    }
    return out;
}

static void split(f64 a, f64 *hi, f64 *lo) {
    f64 c = 134217729.0 * a;
    *hi = c - (c - a);
    *lo = a - *hi;
}

// x = n * pi/2 + (y + yy) with |y + yy| <= pi/4; returns n mod 4.
// x must be finite with x >= pi/4.
static i32 reduce_pio2(f64 x, f64 *y, f64 *yy) {
    u64 bits = f64_to_bits(x);
    i32 exponent = (i32)((bits >> 52) & 0x7FF) - 1075;  // x = m * 2^exponent
    u64 m = (bits & 0xFFFFFFFFFFFFFull) | (1ull << 52);

    // Bits of 2/pi whose products with m are multiples of 8 are skipped; seven
    // words leave well over 120 good bits below the binary point.
    i32 k0 = exponent - 3 >= 0 ? (exponent - 3) / 32 : 0;
    u32 w[7];
    for (i32 i = 0; i < 7; i++) w[i] = TWO_OVER_PI_WORDS[k0 + 6 - i];
    u32 q[9] = {0};
    u32 mw[2] = {(u32)m, (u32)(m >> 32)};
    for (i32 i = 0; i < 2; i++) {
        u64 carry = 0;
        for (i32 j = 0; j < 7; j++) {
            u64 t = (u64)mw[i] * w[j] + q[i + j] + carry;
            q[i + j] = (u32)t;
            carry = t >> 32;
        }
        q[i + 7] += (u32)carry;
    }
    i32 point = 32 * (k0 + 7) - exponent;  // bit of q worth 1
    u32 n = (u32)(bits_at(q, 9, point) & 7);
    u64 f_hi = bits_at(q, 9, point - 64);
    u64 f_lo = bits_at(q, 9, point - 128);
    f64 sign = 1.0;
    if (f_hi >> 63) {  // fraction >= 1/2: round to the next multiple
        n += 1;
        f_lo = ~f_lo + 1;
        f_hi = ~f_hi + (f_lo == 0 ? 1 : 0);
        sign = -1.0;
    }
    if (f_hi == 0 && f_lo == 0) {
        *y = 0.0;
        *yy = 0.0;
        return (i32)(n & 3);
    }
    i32 lz = 0;
    while (!(f_hi >> 63)) {
        f_hi = (f_hi << 1) | (f_lo >> 63);
        f_lo <<= 1;
        lz++;
    }
    f64 hi = (f64)(f_hi >> 11) * pow2(-53 - lz);
    f64 lo = ((f64)(f_hi & 0x7FF) * pow2(64) + (f64)f_lo) * pow2(-128 - lz);

    // (hi + lo) * pi/2 in double-double.
    const f64 PIO2_HI = bits_to_f64(0x3FF921FB54442D18ull);
    const f64 PIO2_LO = bits_to_f64(0x3C91A62633145C07ull);
    f64 p = hi * PIO2_HI;
    f64 ah, al, bh, bl;
    split(hi, &ah, &al);
    split(PIO2_HI, &bh, &bl);
    f64 err = ((ah * bh - p) + ah * bl + al * bh) + al * bl;
    f64 tail = err + (hi * PIO2_LO + lo * PIO2_HI);
    f64 s = p + tail;
    *y = sign * s;
    *yy = sign * (tail - (s - p));
    return (i32)(n & 3);
}

f64 portable_sin(f64 x) {
    u64 magnitude = f64_to_bits(x) & 0x7FFFFFFFFFFFFFFFull;
    if (magnitude >= 0x7FF0000000000000ull) return x - x;
    if (magnitude <= 0x3FE921FB54442D18ull) return kernel_sin(x, 0.0, false);
    if (x < 0) return -portable_sin(-x);
    f64 y, yy;
    switch (reduce_pio2(x, &y, &yy)) {
    case 0: return kernel_sin(y, yy, true);
    case 1: return kernel_cos(y, yy);
    case 2: return -kernel_sin(y, yy, true);
    default: return -kernel_cos(y, yy);
    }
}
