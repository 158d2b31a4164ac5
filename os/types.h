// Fixed-width names and the string shape used across the whole program.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef uint8_t u8;
typedef uint16_t u16;
typedef uint32_t u32;
typedef uint64_t u64;
typedef int8_t i8;
typedef int16_t i16;
typedef int32_t i32;
typedef int64_t i64;
typedef float f32;
typedef double f64;

#define COUNT_OF(a) (sizeof(a) / sizeof((a)[0]))

// UTF-8 text: a byte count and a pointer, not NUL-terminated in general.
// {0, nullptr} is the empty or failed string.
struct Str {
    u64 len;
    const char *data;
};

// A Str over a string literal (the terminating NUL is not counted).
#define STR(lit) (Str{sizeof(lit) - 1, (lit)})

// A Str over a NUL-terminated C string; null gives the empty string.
Str str_from_cstr(const char *s);
bool str_equal(Str a, Str b);
